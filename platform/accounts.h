// Administrator probes and the console user.
// POSIX: administrator means uid 0, or membership of the sudo/wheel/admin group.
#pragma once
#include <string>

namespace Platform {

bool IsProcessUserAdmin();
bool IsAccountAdmin(const std::wstring& userName);
// The user of the active session (POSIX: the login user of the process).
bool ConsoleUserName(std::wstring& name);

}  // namespace Platform
