#include "skinui/skin_archive.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwctype>

#include "platform/code_page.h"

extern "C" {
#include "7z.h"
#include "7zCrc.h"
}

namespace SkinUI {
namespace {

// Refuse any single allocation above this: the skin is well under 1 MiB, and
// a damaged header may claim absurd sizes.
constexpr size_t kMaxAllocation = 64u * 1024u * 1024u;

void* BoundedAlloc(ISzAllocPtr, size_t size) {
  if (size == 0 || size > kMaxAllocation) return nullptr;
  return std::malloc(size);
}
void BoundedFree(ISzAllocPtr, void* address) { std::free(address); }
const ISzAlloc kAllocator = {BoundedAlloc, BoundedFree};

// A look-in stream straight over the caller's bytes: "look" hands out the
// rest of the buffer, so nothing is copied.
struct MemoryLookStream {
  ILookInStream vt;
  const uint8_t* data;
  size_t size;
  size_t pos;
};

MemoryLookStream* Self(ILookInStreamPtr p) {
  return reinterpret_cast<MemoryLookStream*>(const_cast<ILookInStream*>(p));
}

SRes Look(ILookInStreamPtr p, const void** buf, size_t* size) {
  MemoryLookStream* s = Self(p);
  const size_t available = s->size - s->pos;
  if (*size > available) *size = available;
  *buf = s->data + s->pos;
  return SZ_OK;
}

SRes Skip(ILookInStreamPtr p, size_t offset) {
  MemoryLookStream* s = Self(p);
  if (offset > s->size - s->pos) return SZ_ERROR_INPUT_EOF;
  s->pos += offset;
  return SZ_OK;
}

SRes Read(ILookInStreamPtr p, void* buf, size_t* size) {
  MemoryLookStream* s = Self(p);
  const size_t available = s->size - s->pos;
  if (*size > available) *size = available;
  if (*size > 0) std::memcpy(buf, s->data + s->pos, *size);
  s->pos += *size;
  return SZ_OK;
}

SRes Seek(ILookInStreamPtr p, Int64* pos, ESzSeek origin) {
  MemoryLookStream* s = Self(p);
  Int64 base = 0;
  if (origin == SZ_SEEK_CUR) base = static_cast<Int64>(s->pos);
  else if (origin == SZ_SEEK_END) base = static_cast<Int64>(s->size);
  const Int64 target = base + *pos;
  if (target < 0 || static_cast<UInt64>(target) > s->size) return SZ_ERROR_READ;
  s->pos = static_cast<size_t>(target);
  *pos = target;
  return SZ_OK;
}

// The database and the block cache, freed together however we leave.
struct ArchiveReader {
  CSzArEx db;
  UInt32 blockIndex = 0xFFFFFFFF;
  Byte* cache = nullptr;
  size_t cacheSize = 0;

  ArchiveReader() { SzArEx_Init(&db); }
  ~ArchiveReader() {
    ISzAlloc_Free(&kAllocator, cache);
    SzArEx_Free(&db, &kAllocator);
  }
  ArchiveReader(const ArchiveReader&) = delete;
  ArchiveReader& operator=(const ArchiveReader&) = delete;
};

std::wstring Utf16ToWide(const std::vector<UInt16>& units) {
  std::wstring text;
  for (size_t i = 0; i < units.size() && units[i] != 0; ++i) {
    uint32_t c = units[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
      ++i;
    }
    text += static_cast<wchar_t>(c);
  }
  return text;
}

wchar_t FoldCase(wchar_t c) { return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c))); }

// Markup writes paths with "\"; the archive stores "/".
wchar_t FoldRequested(wchar_t c) { return c == L'\\' ? L'/' : FoldCase(c); }

}  // namespace

std::unique_ptr<CSkinArchive> CSkinArchive::OpenFromMemory(const uint8_t* bytes, size_t size) {
  if (!bytes || size == 0) return nullptr;
  static const bool crcReady = (CrcGenerateTable(), true);
  (void)crcReady;

  MemoryLookStream stream{{Look, Skip, Read, Seek}, bytes, size, 0};
  ArchiveReader reader;
  if (SzArEx_Open(&reader.db, &stream.vt, &kAllocator, &kAllocator) != SZ_OK) return nullptr;

  std::unique_ptr<CSkinArchive> archive(new CSkinArchive());
  std::vector<UInt16> name;
  size_t total = 0;
  for (UInt32 i = 0; i < reader.db.NumFiles; ++i) {
    if (SzArEx_IsDir(&reader.db, i)) continue;
    const size_t nameLength = SzArEx_GetFileNameUtf16(&reader.db, i, nullptr);
    name.assign(nameLength + 1, 0);
    SzArEx_GetFileNameUtf16(&reader.db, i, name.data());

    size_t offset = 0;
    size_t processed = 0;
    const SRes result = SzArEx_Extract(&reader.db, &stream.vt, i, &reader.blockIndex, &reader.cache,
                                       &reader.cacheSize, &offset, &processed, &kAllocator, &kAllocator);
    if (result != SZ_OK || (processed > 0 && (!reader.cache || offset > reader.cacheSize ||
                                             processed > reader.cacheSize - offset))) {
      break;  // keep what was read so far
    }
    if (processed > kMaxAllocation - total) break;  // the whole skin, too, stays within the bound
    total += processed;
    Entry entry;
    entry.name = Utf16ToWide(name);
    entry.index = i;
    entry.size = processed;
    if (processed > 0) entry.data.assign(reader.cache + offset, reader.cache + offset + processed);
    archive->entries_.push_back(std::move(entry));
  }
  return archive;
}

std::unique_ptr<CSkinArchive> CSkinArchive::OpenFromFile(const std::wstring& path) {
  const std::string narrow = Platform::WideToMultiByte(path, Platform::kCodePageAnsi);
  if (narrow.empty()) return nullptr;
  std::FILE* file = std::fopen(narrow.c_str(), "rb");
  if (!file) return nullptr;
  std::vector<uint8_t> bytes;
  uint8_t chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    bytes.insert(bytes.end(), chunk, chunk + got);
    if (bytes.size() > kMaxAllocation) break;
  }
  std::fclose(file);
  if (bytes.size() > kMaxAllocation) return nullptr;
  return OpenFromMemory(bytes.data(), bytes.size());
}

bool CSkinArchive::FindItem(const std::wstring& name, uint32_t& index, uint64_t& size) const {
  for (const Entry& entry : entries_) {
    if (entry.name.size() != name.size()) continue;
    bool equal = true;
    for (size_t i = 0; i < name.size() && equal; ++i) equal = FoldCase(entry.name[i]) == FoldRequested(name[i]);
    if (equal) {
      index = entry.index;
      size = entry.size;
      return true;
    }
  }
  return false;
}

const CSkinArchive::Entry* CSkinArchive::EntryByIndex(uint32_t index) const {
  for (const Entry& entry : entries_) {
    if (entry.index == index) return &entry;
  }
  return nullptr;
}

bool CSkinArchive::ReadItem(uint32_t index, uint8_t* buffer, size_t bufferSize) const {
  const Entry* entry = EntryByIndex(index);
  if (!entry || !buffer || bufferSize < entry->data.size()) return false;
  if (!entry->data.empty()) std::memcpy(buffer, entry->data.data(), entry->data.size());
  return true;
}

}  // namespace SkinUI
