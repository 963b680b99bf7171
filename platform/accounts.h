// Administrator probes and the console user.
// POSIX: the process counts as administrator when it runs with effective
// uid 0 (like an elevated token); an account has administrator privilege
// when it is uid 0 or belongs to the sudo, wheel or admin group.
#pragma once
#include <string>

namespace Platform {

bool IsProcessUserAdmin();
bool IsAccountAdmin(const std::wstring& userName);
// The user of the active session (POSIX: the login user of the process).
bool ConsoleUserName(std::wstring& name);

}  // namespace Platform
