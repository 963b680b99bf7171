// The skin archive: a 7z file (LZMA2, solid) opened once and decompressed
// completely into memory, then searched by relative path.
// Limits: directories are skipped; when an entry fails to extract, the
// archive keeps the entries read before it; a solid block, and all entries
// together, may not exceed 64 MiB unpacked (hostile headers cannot make us
// allocate more).
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace SkinUI {

class CSkinArchive {
 public:
  struct Entry {
    std::wstring name;  // path inside the archive as stored ("/" separators)
    uint32_t index = 0; // index in the archive's file table
    uint64_t size = 0;
    std::vector<uint8_t> data;
  };

  // Null when the archive database cannot be opened.
  static std::unique_ptr<CSkinArchive> OpenFromMemory(const uint8_t* bytes, size_t size);
  // The path is converted to narrow text with the system code page.
  static std::unique_ptr<CSkinArchive> OpenFromFile(const std::wstring& path);

  // "\" counts as "/"; names compare without regard to case and must have the
  // same length. The first match in archive order wins.
  bool FindItem(const std::wstring& name, uint32_t& index, uint64_t& size) const;
  // Copies the entry with that archive index into `buffer`, which must hold
  // at least `bufferSize` >= the entry's size bytes.
  bool ReadItem(uint32_t index, uint8_t* buffer, size_t bufferSize) const;

  const std::vector<Entry>& Entries() const { return entries_; }

 private:
  CSkinArchive() = default;
  const Entry* EntryByIndex(uint32_t index) const;

  std::vector<Entry> entries_;
};

}  // namespace SkinUI
