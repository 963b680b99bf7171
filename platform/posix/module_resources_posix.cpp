// Module resources on POSIX: a process-wide table filled by the linked-in
// blobs' registrars before main() runs.
#include "platform/module_resources.h"

#include <map>
#include <mutex>
#include <utility>

namespace Platform {
namespace {

// Numeric ids and names share one key space per type, as on Windows where
// an id is a name that happens to be a small integer.
using Key = std::pair<std::wstring, std::wstring>;

struct ResourceTable {
  std::mutex lock;
  std::map<Key, ModuleResource> entries;
};

ResourceTable& Table() {
  static ResourceTable table;  // constructed on first use, so registrars may run in any order
  return table;
}

Key IdKey(const std::wstring& type, unsigned id) { return {type, L"#" + std::to_wstring(id)}; }

bool Find(const Key& key, ModuleResource& out) {
  ResourceTable& table = Table();
  std::lock_guard<std::mutex> guard(table.lock);
  auto it = table.entries.find(key);
  if (it == table.entries.end()) return false;
  out = it->second;
  return true;
}

void Register(Key key, const uint8_t* data, size_t size) {
  ResourceTable& table = Table();
  std::lock_guard<std::mutex> guard(table.lock);
  table.entries[std::move(key)] = ModuleResource{data, size};
}

}  // namespace

bool FindModuleResource(const std::wstring& type, unsigned id, ModuleResource& out) {
  return Find(IdKey(type, id), out);
}

bool FindModuleResource(const std::wstring& type, const std::wstring& name, ModuleResource& out) {
  return Find({type, name}, out);
}

void RegisterModuleResource(const std::wstring& type, unsigned id, const uint8_t* data, size_t size) {
  Register(IdKey(type, id), data, size);
}

void RegisterModuleResource(const std::wstring& type, const std::wstring& name, const uint8_t* data,
                            size_t size) {
  Register({type, name}, data, size);
}

bool UnregisterModuleResource(const std::wstring& type, unsigned id) {
  ResourceTable& table = Table();
  std::lock_guard<std::mutex> guard(table.lock);
  return table.entries.erase(IdKey(type, id)) > 0;
}

}  // namespace Platform
