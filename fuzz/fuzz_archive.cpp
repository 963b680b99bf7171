// The skin archive reader over untrusted bytes, with a lookup and a read.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "skinui/skin_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto archive = SkinUI::CSkinArchive::OpenFromMemory(data, size);
  if (!archive) return 0;
  uint32_t index = 0;
  uint64_t itemSize = 0;
  for (const auto& entry : archive->Entries()) {
    if (archive->FindItem(entry.name, index, itemSize) && itemSize < (1u << 24)) {
      std::vector<uint8_t> buffer(static_cast<size_t>(itemSize));
      archive->ReadItem(index, buffer.data(), buffer.size());
    }
  }
  return 0;
}
