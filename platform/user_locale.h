// The user's default locale as ISO 639 language and ISO 3166 country codes.
// POSIX: the first of LC_ALL, LC_MESSAGES, LANG that is set, read as
// "ll_CC[.codeset][@modifier]"; "C", "POSIX" or a value without a country
// give false.
#pragma once
#include <string>

namespace Platform {

bool UserDefaultLocale(std::string& language, std::string& country);

}  // namespace Platform
