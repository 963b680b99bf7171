#include "install/account_rights.h"

#include <string>

#include "utils/system_probes.h"

bool ConsoleUserIsAdministrator() {
  std::wstring user;
  return Utils::ConsoleUserName(user) && Utils::IsAccountAdmin(user);
}

bool ProcessIsElevated() { return Utils::IsUserAdmin(); }
