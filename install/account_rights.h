// The two account probes the package and the uninstaller are told about:
// does the console session's user have an administrator account, and is
// this process elevated (a member of the administrators group).
#pragma once

bool ConsoleUserIsAdministrator();
bool ProcessIsElevated();
