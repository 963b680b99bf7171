// Module resources: named blobs carried inside the executable, found by type
// and by numeric id or name (the skin archive is type "ZIPRES", id 147).
// POSIX: blobs are linked in as objects that register themselves at static
// initialisation; Windows will read the executable's resource section.
// Limits: types and names compare exactly (no case folding); the data is
// read-only and lives as long as the process.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace Platform {

struct ModuleResource {
  const uint8_t* data = nullptr;
  size_t size = 0;
};

// False when the module holds no such resource; `out` is left untouched then.
bool FindModuleResource(const std::wstring& type, unsigned id, ModuleResource& out);
bool FindModuleResource(const std::wstring& type, const std::wstring& name, ModuleResource& out);

// Adds a blob to the process's table (POSIX link-time resources, tests).
// A later registration of the same type and id or name replaces the earlier.
void RegisterModuleResource(const std::wstring& type, unsigned id, const uint8_t* data, size_t size);
void RegisterModuleResource(const std::wstring& type, const std::wstring& name, const uint8_t* data,
                            size_t size);
// Removes a registration (tests); true when one was removed.
bool UnregisterModuleResource(const std::wstring& type, unsigned id);

// Static-initialisation helper for linked-in blobs.
struct ModuleResourceRegistrar {
  ModuleResourceRegistrar(const wchar_t* type, unsigned id, const uint8_t* data, size_t size) {
    RegisterModuleResource(type, id, data, size);
  }
};

}  // namespace Platform
