// The process-wide multi-language string table (decimal id text -> text),
// filled by the markup's MultiLanguage declarations and the language loader.
// UI thread only.
#pragma once
#include <string>

namespace SkinUI {

void SetMultiLanguageText(int id, const std::wstring& text);
// Null when the id has no text.
const std::wstring* FindMultiLanguageText(int id);
void ClearMultiLanguageTexts();

}  // namespace SkinUI
