#include "platform/user_locale.h"

#include <cstdlib>

namespace Platform {

bool UserDefaultLocale(std::string& language, std::string& country) {
  language.clear();
  country.clear();
  std::string value;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* set = std::getenv(name);
    if (set && *set) {
      value = set;
      break;
    }
  }
  const size_t cut = value.find_first_of(".@");
  if (cut != std::string::npos) value.resize(cut);
  const size_t underscore = value.find('_');
  if (underscore == std::string::npos || underscore == 0 || underscore + 1 == value.size()) return false;
  language = value.substr(0, underscore);
  country = value.substr(underscore + 1);
  return true;
}

}  // namespace Platform
