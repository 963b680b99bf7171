#include "skinui/skin_resources.h"

#include <cstdio>
#include <memory>

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/module_resources.h"
#include "platform/process_info.h"
#include "skinui/skin_archive.h"

namespace SkinUI {
namespace {

struct ResourceState {
  std::wstring directory;
  std::wstring archiveName;
  bool archiveKept = false;
  std::unique_ptr<CSkinArchive> archive;
};

ResourceState& State() {
  static ResourceState state;
  return state;
}

std::wstring ToPlatformSeparators(std::wstring path) {
  for (wchar_t& c : path) {
    if (c == Platform::kOtherSeparator) c = Platform::kPathSeparator;
  }
  return path;
}

enum class DiskRead { kOk, kCannotOpen, kEmpty, kTooLarge, kShort };

DiskRead ReadDiskFile(const std::wstring& path, std::vector<uint8_t>& bytes, size_t limit) {
  if (!Platform::FileExists(path)) return DiskRead::kCannotOpen;  // folders open on POSIX
  const std::string narrow = Platform::WideToMultiByte(path, Platform::kCodePageAnsi);
  if (narrow.empty()) return DiskRead::kCannotOpen;
  std::FILE* file = std::fopen(narrow.c_str(), "rb");
  if (!file) return DiskRead::kCannotOpen;
  struct Closer {
    std::FILE* f;
    ~Closer() { std::fclose(f); }
  } closer{file};
  if (std::fseek(file, 0, SEEK_END) != 0) return DiskRead::kCannotOpen;
  const long length = std::ftell(file);
  if (length < 0) return DiskRead::kCannotOpen;
  std::fseek(file, 0, SEEK_SET);
  if (length == 0) return DiskRead::kEmpty;
  if (static_cast<unsigned long>(length) > limit) return DiskRead::kTooLarge;
  bytes.resize(static_cast<size_t>(length));
  if (std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
    bytes.clear();
    return DiskRead::kShort;
  }
  return DiskRead::kOk;
}

// The archive every read uses: the kept one, or one opened for this read.
const CSkinArchive* ArchiveForRead(std::unique_ptr<CSkinArchive>& temporary) {
  ResourceState& state = State();
  if (state.archiveKept) return state.archive.get();
  temporary = CSkinArchive::OpenFromFile(CSkinResources::DiskPath(state.archiveName));
  return temporary.get();
}

}  // namespace

void CSkinResources::SetResourceDirectory(const std::wstring& path) {
  std::wstring directory = path;
  if (!directory.empty() && directory.back() != L'\\' && directory.back() != L'/') directory += Platform::kPathSeparator;
  State().directory = directory;
}

const std::wstring& CSkinResources::ResourceDirectory() { return State().directory; }

void CSkinResources::SetArchiveFromMemory(const uint8_t* bytes, size_t size) {
  ResourceState& state = State();
  if (state.archiveName == kMemoryArchiveName) return;
  state.archive.reset();
  state.archiveName = kMemoryArchiveName;
  state.archiveKept = true;
  state.archive = CSkinArchive::OpenFromMemory(bytes, size);
}

void CSkinResources::SetArchiveFile(const std::wstring& name, bool keep) {
  ResourceState& state = State();
  if (name == state.archiveName && keep == state.archiveKept) return;
  state.archive.reset();
  state.archiveName = name;
  state.archiveKept = keep;
  if (keep) state.archive = CSkinArchive::OpenFromFile(DiskPath(name));
}

bool CSkinResources::OpenArchiveFromModuleResource(unsigned id) {
  Platform::ModuleResource resource;
  if (!Platform::FindModuleResource(kArchiveResourceType, id, resource)) return false;
  if (!resource.data || resource.size == 0) return false;
  // The archive is decompressed completely while opening, so the resource
  // bytes are not needed afterwards and no copy is kept.
  SetArchiveFromMemory(resource.data, resource.size);
  return true;
}

bool CSkinResources::PrepareForWindow(SkinResourceKind kind, const std::wstring& skinFolder,
                                      const std::wstring& archiveFile, const std::wstring& resourceName) {
  if (State().directory.empty()) {
    const std::wstring executable = Platform::ExecutablePath();
    const size_t slash = executable.find_last_of(L"/\\");
    SetResourceDirectory((slash == std::wstring::npos ? std::wstring() : executable.substr(0, slash + 1)) + skinFolder);
  }
  switch (kind) {
    case SkinResourceKind::kArchiveFile:
      SetArchiveFile(archiveFile, true);
      return true;
    case SkinResourceKind::kArchiveResource: {
      unsigned id = 0;
      for (wchar_t c : resourceName) {
        if (c < L'0' || c > L'9' || id > 0xFFFF) return false;
        id = id * 10 + static_cast<unsigned>(c - L'0');
      }
      return !resourceName.empty() && OpenArchiveFromModuleResource(id);
    }
    case SkinResourceKind::kFiles:
    case SkinResourceKind::kMarkupResource:
      return true;
  }
  return false;
}

const std::wstring& CSkinResources::ArchiveName() { return State().archiveName; }
bool CSkinResources::ArchiveKept() { return State().archiveKept; }
const CSkinArchive* CSkinResources::KeptArchive() { return State().archiveKept ? State().archive.get() : nullptr; }

bool CSkinResources::ReadSkinFile(const std::wstring& name, std::vector<uint8_t>& bytes, std::wstring& error) {
  bytes.clear();
  ResourceState& state = State();
  if (state.archiveName.empty()) {
    switch (ReadDiskFile(DiskPath(name), bytes, kMaxSkinFileSize)) {
      case DiskRead::kOk: return true;
      case DiskRead::kCannotOpen: error = L"Error opening file"; return false;
      case DiskRead::kEmpty: error = L"File is empty"; return false;
      case DiskRead::kTooLarge: error = L"File too large"; return false;
      case DiskRead::kShort: error = L"Could not read file"; return false;
    }
    return false;
  }
  std::unique_ptr<CSkinArchive> temporary;
  const CSkinArchive* archive = ArchiveForRead(temporary);
  if (!archive) {
    error = L"Error opening zip file";
    return false;
  }
  uint32_t index = 0;
  uint64_t size = 0;
  if (!archive->FindItem(name, index, size)) {
    error = L"Could not find ziped file";
    return false;
  }
  if (size == 0) {
    error = L"File is empty";
    return false;
  }
  if (size > kMaxSkinFileSize) {
    error = L"File too large";
    return false;
  }
  bytes.resize(static_cast<size_t>(size));
  if (!archive->ReadItem(index, bytes.data(), bytes.size())) {
    bytes.clear();
    error = L"Could not unzip file";
    return false;
  }
  return true;
}

bool CSkinResources::ReadResourceBytes(const std::wstring& name, std::vector<uint8_t>& bytes) {
  bytes.clear();
  ResourceState& state = State();
  if (state.archiveName.empty()) {
    return ReadDiskFile(DiskPath(name), bytes, static_cast<size_t>(-1)) == DiskRead::kOk;
  }
  std::unique_ptr<CSkinArchive> temporary;
  const CSkinArchive* archive = ArchiveForRead(temporary);
  uint32_t index = 0;
  uint64_t size = 0;
  if (!archive || !archive->FindItem(name, index, size) || size == 0) return false;
  bytes.resize(static_cast<size_t>(size));
  if (!archive->ReadItem(index, bytes.data(), bytes.size())) {
    bytes.clear();
    return false;
  }
  return true;
}

void CSkinResources::Reset() {
  ResourceState& state = State();
  state.archive.reset();
  state.archiveName.clear();
  state.archiveKept = false;
  state.directory.clear();
}

std::wstring CSkinResources::DiskPath(const std::wstring& name) {
  return ToPlatformSeparators(State().directory + name);
}

}  // namespace SkinUI
