#include "utils/language/language_table.h"

#include <json/json.h>

#include <array>
#include <memory>
#include <vector>

#include "platform/file_system.h"
#include "platform/private_profile.h"
#include "skinui/multi_language.h"
#include "skinui/skin_archive.h"
#include "skinui/skin_resources.h"
#include "skinui/window_host.h"
#include "utils/text.h"

namespace Utils {
namespace {

constexpr int kDiskSpaceTextId = 104;
constexpr const wchar_t* kDiskSpaceFallback = L"安装目录所在磁盘的可用空间不足，至少需要 1 GB 可用空间，请选择其他安装目录。";

const std::array<std::string, kLocaleCount>& Locales() {
  static const std::array<std::string, kLocaleCount> locales = {
      "en-US", "zh-CN", "zh-TW", "id-ID", "tr-TR", "de-DE", "fr-FR",
      "es-ES", "pt-PT", "ja-JP", "ko-KR", "pl-PL", "nl-NL", "it-IT"};
  return locales;
}

int ChooseLocale(int defaultIndex, const std::wstring& languageName) {
  const bool defaultKnown = defaultIndex >= 0 && defaultIndex < kLocaleCount;
  if (languageName.empty()) return defaultKnown ? defaultIndex : 0;
  const std::string narrow = ToNarrow(languageName, 0);
  for (int i = 0; i < kLocaleCount; ++i) {
    if (Locales()[static_cast<size_t>(i)] == narrow) return i;
  }
  return defaultIndex;
}

void AddTexts(const Json::Value& element, const std::string& locale) {
  if (!element.isObject()) return;
  const Json::Value& text = element[locale];
  const Json::Value& id = element["id"];
  if (!text.isString() || !id.isInt()) return;
  SkinUI::SetMultiLanguageText(id.asInt(), Utf8ToWide(text.asString()));
}

}  // namespace

std::string LocaleCode(int index) {
  if (index < 0 || index >= kLocaleCount) return std::string();
  return Locales()[static_cast<size_t>(index)];
}

int LoadLanguageTable(int defaultIndex, const std::wstring& languageName) {
  const SkinUI::CSkinArchive* archive = SkinUI::CSkinResources::KeptArchive();
  if (!archive) return 0;
  uint32_t index = 0;
  uint64_t size = 0;
  if (!archive->FindItem(L"language.json", index, size)) return 0;
  if (size == 0 || size > SkinUI::kMaxSkinFileSize) return 0;
  std::vector<uint8_t> bytes(static_cast<size_t>(size) + 1, 0);
  if (!archive->ReadItem(index, bytes.data(), bytes.size())) return 0;

  const int chosen = ChooseLocale(defaultIndex, languageName);
  const std::string locale = LocaleCode(chosen);
  Json::CharReaderBuilder builder;
  const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  Json::Value root;
  std::string errors;
  const char* begin = reinterpret_cast<const char*>(bytes.data());
  if (!locale.empty() && reader->parse(begin, begin + size, &root, &errors) && (root.isArray() || root.isObject())) {
    for (const Json::Value& element : root) AddTexts(element, locale);
  }
  return chosen;
}

int ApplyConfiguredLanguage(const std::wstring& directory, SkinUI::CWindowHostUI* host) {
  std::wstring path = directory;
  if (!path.empty() && path.back() != L'/' && path.back() != L'\\') path += Platform::kPathSeparator;
  path += L"config.ini";
  std::wstring language;
  if (Platform::FileExists(path)) language = Platform::GetProfileString(L"Install", L"Language", L"en-US", path, 260);
  const int index = LoadLanguageTable(0, language);
  if (host) host->NeedUpdate();
  return index;
}

std::optional<std::wstring> MultiLanguageText(int id) {
  const std::wstring* text = SkinUI::FindMultiLanguageText(id);
  if (!text) return std::nullopt;
  return *text;
}

std::wstring DiskSpaceText() {
  const std::wstring* text = SkinUI::FindMultiLanguageText(kDiskSpaceTextId);
  return text ? *text : std::wstring(kDiskSpaceFallback);
}

}  // namespace Utils
