// The utilities' exception: a wide message kept as narrow text for what().
#pragma once
#include <stdexcept>
#include <string>

#include "utils/text.h"

namespace Utils {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::wstring& message = std::wstring()) : std::runtime_error(ToNarrow(message, 0)) {}
};

}  // namespace Utils
