// The skin archive: the embedded "ZIPRES" 147 resource and its 69 files,
// name lookup rules, the skin-file read errors and the 4 MiB limit, and
// damaged archives.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "platform/module_resources.h"
#include "skin_test_support.h"
#include "skinui/skin_archive.h"
#include "skinui/skin_image.h"
#include "skinui/skin_resources.h"

namespace SkinUI {
namespace {

using SkinTest::TempDir;

std::vector<uint8_t> EmbeddedArchiveBytes() {
  Platform::ModuleResource resource;
  EXPECT_TRUE(Platform::FindModuleResource(kArchiveResourceType, kSkinArchiveResourceId, resource));
  return std::vector<uint8_t>(resource.data, resource.data + resource.size);
}

// Path -> expected pixel size (0 x 0 for markup).
std::map<std::wstring, std::pair<int, int>> ExpectedFiles() {
  std::map<std::wstring, std::pair<int, int>> files;
  for (const wchar_t* xml : {L"mainWnd.xml", L"MessageBox1Wnd.xml", L"MessageBox2Wnd.xml", L"InstalledPathTipWnd.xml",
                             L"NetworkTipWnd.xml", L"exitTipWnd.xml"}) {
    files[xml] = {0, 0};
  }
  for (const wchar_t* name : {L"closebtn1", L"closebtn2", L"closebtn3", L"minbtn1", L"minbtn2", L"minbtn3",
                              L"closebtnM_1", L"closebtnM_2", L"closebtnM_3"}) {
    files[std::wstring(L"res/common/") + name + L".png"] = {24, 24};
  }
  for (const wchar_t* name : {L"icoNetwork", L"icoQuest", L"icoWarn"}) {
    files[std::wstring(L"res/MessageBoxWnd/") + name + L".png"] = {40, 40};
  }
  const std::wstring main = L"res/mainWnd/";
  for (int i = 1; i <= 4; ++i) files[main + L"bg" + std::to_wstring(i) + L".png"] = {600, 400};
  files[main + L"logo.png"] = {263, 58};
  for (int i = 1; i <= 3; ++i) {
    files[main + L"installBtn" + std::to_wstring(i) + L".png"] = {200, 46};
    files[main + L"experienceBtn" + std::to_wstring(i) + L".png"] = {200, 46};
    files[main + L"backBtn" + std::to_wstring(i) + L".png"] = {64, 30};
    files[main + L"chDirBtn" + std::to_wstring(i) + L".png"] = {81, 36};
  }
  files[main + L"customeBtn1.png"] = files[main + L"customeBtn2.png"] = {16, 16};
  files[main + L"Cb1.png"] = files[main + L"Cb2.png"] = {15, 14};
  files[main + L"finished.png"] = {80, 80};
  files[main + L"installDirEdit.png"] = {340, 36};
  files[main + L"installPrg1.png"] = {410, 8};
  files[main + L"installPrg2.png"] = {520, 8};
  files[main + L"tipLbl.png"] = {120, 36};
  wchar_t frame[64];
  for (int i = 0; i < 25; ++i) {
    swprintf(frame, 64, L"res/mainWnd/installBtnAnimate/%03d.png", i);
    files[frame] = {200, 200};
  }
  return files;
}

TEST(SkinArchive, EmbeddedResourceHoldsTheSixtyNineSkinFilesAtTheirSizes) {
  const std::vector<uint8_t> bytes = EmbeddedArchiveBytes();
  ASSERT_GT(bytes.size(), 8u);
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + 6, std::begin({0x37, 0x7A, 0xBC, 0xAF, 0x27, 0x1C})));

  const auto archive = CSkinArchive::OpenFromMemory(bytes.data(), bytes.size());
  ASSERT_TRUE(archive);
  const auto expected = ExpectedFiles();
  ASSERT_EQ(expected.size(), 69u);
  std::set<std::wstring> names;
  for (const CSkinArchive::Entry& entry : archive->Entries()) {
    names.insert(entry.name);
    EXPECT_EQ(entry.size, entry.data.size());
    auto it = expected.find(entry.name);
    ASSERT_NE(it, expected.end()) << "unexpected entry";
    if (it->second.first == 0) continue;
    const SkinImagePtr image = DecodeSkinImage(entry.data.data(), entry.data.size(), 0);
    ASSERT_TRUE(image) << "undecodable image";
    EXPECT_EQ(image->width, it->second.first);
    EXPECT_EQ(image->height, it->second.second);
  }
  EXPECT_EQ(names.size(), 69u);
}

TEST(SkinArchive, LookupIgnoresCaseAndSeparatorButNotLength) {
  SkinTest::UseEmbeddedArchive();
  const CSkinArchive* archive = CSkinResources::KeptArchive();
  ASSERT_TRUE(archive);
  uint32_t index = 0, other = 0;
  uint64_t size = 0;
  struct Case {
    const wchar_t* name;
    bool found;
  };
  const Case cases[] = {
      {L"mainWnd.xml", true},          {L"MainWnd.xml", true},           {L"ExitTipWnd.xml", true},
      {L"res\\mainWnd\\bg1.png", true}, {L"RES/MAINWND/BG1.PNG", true},   {L"res/mainWnd/bg1.pn", false},
      {L"mainWnd.xml ", false},         {L"res\\common\\minbtn4.png", false}, {L"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(archive->FindItem(c.name, index, size), c.found) << (&c - cases);
  ASSERT_TRUE(archive->FindItem(L"res\\mainWnd\\bg1.png", index, size));
  ASSERT_TRUE(archive->FindItem(L"RES/MAINWND/BG1.PNG", other, size));
  EXPECT_EQ(index, other);
  std::vector<uint8_t> buffer(static_cast<size_t>(size));
  EXPECT_TRUE(archive->ReadItem(index, buffer.data(), buffer.size()));
  EXPECT_FALSE(archive->ReadItem(index, buffer.data(), buffer.size() - 1));  // too small a buffer
}

TEST(SkinArchive, LaterWindowsReuseTheFirstOpenedArchive) {
  SkinTest::UseEmbeddedArchive();
  const CSkinArchive* first = CSkinResources::KeptArchive();
  const uint8_t garbage[] = {1, 2, 3};
  CSkinResources::SetArchiveFromMemory(garbage, sizeof garbage);
  EXPECT_TRUE(CSkinResources::OpenArchiveFromModuleResource(kSkinArchiveResourceId));
  EXPECT_EQ(CSkinResources::KeptArchive(), first);
  EXPECT_EQ(CSkinResources::ArchiveName(), kMemoryArchiveName);
}

TEST(SkinArchive, MissingResourceLeavesNoArchive) {
  CSkinResources::Reset();
  EXPECT_FALSE(CSkinResources::OpenArchiveFromModuleResource(999));
  EXPECT_EQ(CSkinResources::KeptArchive(), nullptr);
  EXPECT_TRUE(CSkinResources::ArchiveName().empty());
}

TEST(SkinArchive, WindowPreparationOpensTheResourceArchiveNamedByTheWindow) {
  CSkinResources::Reset();
  EXPECT_FALSE(CSkinResources::PrepareForWindow(SkinResourceKind::kArchiveResource, L"", L"", L"999"));
  EXPECT_FALSE(CSkinResources::PrepareForWindow(SkinResourceKind::kArchiveResource, L"", L"", L"14x"));
  EXPECT_TRUE(CSkinResources::PrepareForWindow(SkinResourceKind::kArchiveResource, L"", L"", L"147"));
  EXPECT_TRUE(CSkinResources::KeptArchive());
  const std::wstring& directory = CSkinResources::ResourceDirectory();
  ASSERT_FALSE(directory.empty());
  EXPECT_EQ(directory.back(), L'/');  // the executable's folder
  CSkinResources::Reset();
}

// Reads through an archive file built with 7zz, and from the disk.
class SkinFileReads : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto content = dir_.Path() / "content";
    SkinTest::WriteFile(content / "exact.xml", std::string(kMaxSkinFileSize, '<'));
    SkinTest::WriteFile(content / "over.xml", std::string(kMaxSkinFileSize + 1, '<'));
    SkinTest::WriteFile(content / "empty.xml", "");
    SkinTest::WriteFile(content / "small.xml", "<Window/>");
    ASSERT_TRUE(SkinTest::Make7z(content, dir_.Path() / "skin.7z"));
    CSkinResources::Reset();
  }
  void TearDown() override { CSkinResources::Reset(); }

  std::wstring Read(const std::wstring& name, size_t* size = nullptr) {
    std::vector<uint8_t> bytes;
    std::wstring error;
    const bool ok = CSkinResources::ReadSkinFile(name, bytes, error);
    if (size) *size = bytes.size();
    return ok ? L"ok" : error;
  }

  TempDir dir_;
};

TEST_F(SkinFileReads, ArchiveModeGivesEachErrorText) {
  CSkinResources::SetResourceDirectory(dir_.WidePath());
  CSkinResources::SetArchiveFile(L"skin.7z", true);
  size_t size = 0;
  EXPECT_EQ(Read(L"exact.xml", &size), L"ok");  // the limit is inclusive
  EXPECT_EQ(size, kMaxSkinFileSize);
  EXPECT_EQ(Read(L"over.xml"), L"File too large");
  EXPECT_EQ(Read(L"empty.xml"), L"File is empty");
  EXPECT_EQ(Read(L"absent.xml"), L"Could not find ziped file");
  EXPECT_EQ(Read(L"SMALL.XML"), L"ok");

  CSkinResources::SetArchiveFile(L"no-such.7z", true);
  EXPECT_EQ(Read(L"small.xml"), L"Error opening zip file");
}

TEST_F(SkinFileReads, ArchiveNotKeptIsOpenedForEachRead) {
  CSkinResources::SetResourceDirectory(dir_.WidePath());
  CSkinResources::SetArchiveFile(L"skin.7z", false);
  EXPECT_EQ(CSkinResources::KeptArchive(), nullptr);
  EXPECT_EQ(Read(L"small.xml"), L"ok");
}

TEST_F(SkinFileReads, DiskModeGivesEachErrorText) {
  CSkinResources::SetResourceDirectory((dir_.Path() / "content").wstring());
  EXPECT_EQ(Read(L"exact.xml"), L"ok");
  EXPECT_EQ(Read(L"over.xml"), L"File too large");
  EXPECT_EQ(Read(L"empty.xml"), L"File is empty");
  EXPECT_EQ(Read(L"absent.xml"), L"Error opening file");
  EXPECT_EQ(Read(L"."), L"Error opening file");  // a folder is not a skin file
}

TEST(SkinArchive, DamagedArchivesFailOrKeepWhatWasReadWithoutCrashing) {
  const std::vector<uint8_t> good = EmbeddedArchiveBytes();
  // Truncated: the header at the end is gone.
  for (size_t keep : {size_t{0}, size_t{5}, size_t{32}, good.size() / 2, good.size() - 1}) {
    EXPECT_FALSE(CSkinArchive::OpenFromMemory(good.data(), keep)) << keep;
  }
  // A flipped byte in the packed stream: the database opens, extraction
  // fails its check, and the archive keeps the entries read before.
  std::vector<uint8_t> damaged = good;
  damaged[good.size() / 3] ^= 0x5A;
  const auto archive = CSkinArchive::OpenFromMemory(damaged.data(), damaged.size());
  if (archive) {
    EXPECT_LT(archive->Entries().size(), 69u);
  }

  CSkinResources::Reset();
  CSkinResources::SetArchiveFromMemory(good.data(), 100);
  std::vector<uint8_t> bytes;
  std::wstring error;
  EXPECT_FALSE(CSkinResources::ReadSkinFile(L"mainWnd.xml", bytes, error));
  EXPECT_EQ(error, L"Error opening zip file");
  CSkinResources::Reset();
}

}  // namespace
}  // namespace SkinUI
