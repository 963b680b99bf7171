// Process-wide skin resource state: the resource directory, the skin archive
// (opened once from the executable's "ZIPRES" resource or from a file and
// kept), and reading skin files from there with the markup loader's error
// texts. UI thread only; nothing here is locked.
// Limits: skin files above 4 MiB are refused; there is no fallback to the
// disk when an open archive lacks a file.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace SkinUI {

class CSkinArchive;

// How a window finds its skin.
enum class SkinResourceKind { kFiles = 1, kArchiveFile = 2, kMarkupResource = 3, kArchiveResource = 4 };

constexpr const wchar_t* kArchiveResourceType = L"ZIPRES";
constexpr unsigned kSkinArchiveResourceId = 147;
constexpr const wchar_t* kMemoryArchiveName = L"membuffer";
constexpr size_t kMaxSkinFileSize = 4u * 1024u * 1024u;

class CSkinResources {
 public:
  // Stored with a trailing separator (added when the path ends in neither "\" nor "/").
  static void SetResourceDirectory(const std::wstring& path);
  static const std::wstring& ResourceDirectory();

  // Once per process: later calls find the name "membuffer" and do nothing.
  static void SetArchiveFromMemory(const uint8_t* bytes, size_t size);
  static void SetArchiveFile(const std::wstring& name, bool keep);
  // Kind 4: copies the module resource "ZIPRES"/id and opens it. False when
  // the resource is missing or empty (the window then stays without content).
  static bool OpenArchiveFromModuleResource(unsigned id);
  // What a window does at creation before building its skin: the resource
  // directory defaults to the executable's folder plus `skinFolder`; kind 2
  // opens and keeps `archiveFile`; kind 4 opens resource "ZIPRES"
  // `resourceName` (a number). False when the window must stay empty.
  static bool PrepareForWindow(SkinResourceKind kind, const std::wstring& skinFolder, const std::wstring& archiveFile,
                               const std::wstring& resourceName);

  static const std::wstring& ArchiveName();
  static bool ArchiveKept();
  static const CSkinArchive* KeptArchive();

  // Bytes of a skin file, or false with one of the loader's error texts.
  static bool ReadSkinFile(const std::wstring& name, std::vector<uint8_t>& bytes, std::wstring& error);
  // The same lookup without the size limit and without error texts (images).
  static bool ReadResourceBytes(const std::wstring& name, std::vector<uint8_t>& bytes);

  // Back to the state before the first window (tests, tools).
  static void Reset();
  // The resource directory followed by `name`, with the platform's separator.
  static std::wstring DiskPath(const std::wstring& name);
};

}  // namespace SkinUI
