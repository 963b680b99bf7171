// Readers for the value conventions shared by every attribute setter:
// decimal integers, comma lists, ARGB colours, "true"-only booleans and
// attribute lists (name="value" pairs separated by single spaces).
// Limits: nothing here reports malformed input; each reader returns what a
// prefix of the text gives (0 for what is missing), never reading past it.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "skinui/geometry.h"

namespace SkinUI {

// Leading white space, an optional sign and decimal digits; 0 without
// digits; the magnitude is limited to 2^20 (no skin needs more).
int ParseInt(const std::wstring& text);
// Comma-separated integers; missing ones read as 0.
std::vector<int> ParseIntList(const std::wstring& text, size_t count);
SkinRect ParseRect(const std::wstring& text);  // "l,t,r,b"
SkinSize ParseSize(const std::wstring& text);  // "cx,cy"
// AARRGGBB in hexadecimal after an optional "#" (and an optional "0x").
uint32_t ParseColor(const std::wstring& text);
// True only for exactly "true".
inline bool ParseBool(const std::wstring& text) { return text == L"true"; }
// The pairs of an attribute list, in order; parsing stops at the first
// deviation from name="value" pairs separated by exactly one space.
std::vector<std::pair<std::wstring, std::wstring>> ParseAttributeList(const std::wstring& list);
// Case-insensitive comparison for ASCII names (element and window attributes).
bool EqualsNoCase(const std::wstring& a, const std::wstring& b);

}  // namespace SkinUI
