// Helpers for the skin tests: a temporary folder, files, 7z archives built
// with the real 7zz, and the embedded archive opened as the windows open it.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "skinui/geometry.h"
#include "skinui/skin_resources.h"
#include "tests/support/scratch_folder.h"

namespace SkinUI {
// Readable rectangles in test failures.
inline void PrintTo(const SkinRect& r, std::ostream* os) {
  *os << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}
}  // namespace SkinUI

namespace SkinTest {

using TempDir = ScratchFolder;

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadFile(const std::filesystem::path& path) { return ScratchFolder::Read(path); }

// Packs the files under `folder` into `archive` the way the build does.
inline bool Make7z(const std::filesystem::path& folder, const std::filesystem::path& archive) {
  const std::string command = "cd '" + folder.string() + "' && 7zz a -t7z -m0=lzma2 -md=1m -ms=on -bso0 -bsp0 '" +
                              archive.string() + "' . >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

// The process's resource state back to "no archive", then the embedded one opened.
inline void UseEmbeddedArchive() {
  SkinUI::CSkinResources::Reset();
  ASSERT_TRUE(SkinUI::CSkinResources::OpenArchiveFromModuleResource(SkinUI::kSkinArchiveResourceId));
}

}  // namespace SkinTest
