#include "skinui/multi_language.h"

#include <map>

namespace SkinUI {
namespace {

std::map<std::wstring, std::wstring>& Table() {
  static std::map<std::wstring, std::wstring> table;
  return table;
}

}  // namespace

void SetMultiLanguageText(int id, const std::wstring& text) { Table()[std::to_wstring(id)] = text; }

const std::wstring* FindMultiLanguageText(int id) {
  auto it = Table().find(std::to_wstring(id));
  return it == Table().end() ? nullptr : &it->second;
}

void ClearMultiLanguageTexts() { Table().clear(); }

}  // namespace SkinUI
