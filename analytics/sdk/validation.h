// The SDK's checks on ids, keys and string values. Each failing check writes
// its one message to standard error and returns false; nothing is thrown.
#pragma once
#include <string>

namespace analytics_sdk {

// Ids ("Distinct ID", "Original ID"): 1 to 255 bytes.
bool CheckName(const std::string& value, const std::string& what);
// Event names and property keys: 1 to 100 bytes, a variable-name shape.
bool CheckKey(const std::string& value, const std::string& what);
// Tab, LF, CR, 32..126 and well-formed 2-4 byte sequences (no surrogates,
// no overlongs, nothing above U+10FFFF); the empty text is valid.
bool IsValidUtf8(const std::string& text);

constexpr size_t kMaxStringValueBytes = 8192;

}  // namespace analytics_sdk
