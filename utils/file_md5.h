// MD5 digest of a file as 32 lowercase hex digits; empty on any failure.
#pragma once
#include <string>

namespace Utils {

std::string FileMd5Hex(const std::string& path);

}  // namespace Utils
