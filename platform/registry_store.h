// Per-user registry key with string values (the Windows HKCU REG_SZ model).
// POSIX: an INI-format store under $XDG_CONFIG_HOME (or ~/.config), one file
// per key path; see registry_store_posix.cpp for the exact file name.
#pragma once
#include <optional>
#include <string>

namespace Platform {

// keyPath uses backslashes, e.g. L"Software\\PelkoSoft\\Velmora".
std::optional<std::wstring> ReadUserRegistryString(const std::wstring& keyPath,
                                                   const std::wstring& valueName);
bool WriteUserRegistryString(const std::wstring& keyPath, const std::wstring& valueName,
                             const std::wstring& value);
// Where the store keeps a key (for tools and the demo to show).
std::wstring UserRegistryStorePath(const std::wstring& keyPath);

}  // namespace Platform
