// The installer's languages: the fourteen-entry locale table, loading a
// language's texts from the skin archive's "language.json" into the
// multi-language string table, the language an earlier installation chose,
// and the texts the windows read by id. UI thread only; nothing throws.
// Limits: without an open archive, or without a usable "language.json"
// (missing, empty, above 4 MiB), the string table stays as it was and the
// loaders return index 0.
#pragma once
#include <optional>
#include <string>

namespace SkinUI {
class CWindowHostUI;
}

namespace Utils {

constexpr int kLocaleCount = 14;
// "en-US", "zh-CN", ... by index; empty outside 0..13.
std::string LocaleCode(int index);

// Fills the string table with the texts of the chosen locale: `languageName`
// when it matches a locale code exactly, else `defaultIndex`. Returns the
// chosen index (0 when nothing could be loaded).
int LoadLanguageTable(int defaultIndex, const std::wstring& languageName);
// Reads [Install] Language of "config.ini" in `directory` (default "en-US"),
// loads that language and asks the window to lay itself out again.
int ApplyConfiguredLanguage(const std::wstring& directory, SkinUI::CWindowHostUI* host);

std::optional<std::wstring> MultiLanguageText(int id);
// The low-disk-space prompt (text 104), or a built-in Chinese text.
std::wstring DiskSpaceText();

}  // namespace Utils
