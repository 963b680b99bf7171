// Registers the linked-in skin archive as module resource "ZIPRES" 147.
#include <cstddef>
#include <cstdint>

#include "platform/module_resources.h"

extern "C" const uint8_t velmora_skin_archive_begin[];
extern "C" const uint8_t velmora_skin_archive_end[];

namespace {

const Platform::ModuleResourceRegistrar kSkinArchive(
    L"ZIPRES", 147, velmora_skin_archive_begin,
    static_cast<size_t>(velmora_skin_archive_end - velmora_skin_archive_begin));

}  // namespace
