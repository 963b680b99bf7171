// The platform's text engine: font metrics, text measurement and glyph
// rasterisation for the skin's fonts. Linux: FreeType + fontconfig, with the
// skin's face "微软雅黑" served by WenQuanYi Micro Hei. Limits: left-to-right
// text only, no shaping or bidi; word wrapping breaks at spaces and between
// CJK characters; sizes are pixel heights of the em square (a GDI height of
// -size). When no font can be opened, metrics fall back to estimates from
// the size so callers always get a usable answer.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace Platform {

struct FontSpec {
  std::wstring face;  // as written in the skin, mapped by the engine
  int size = 12;      // pixels
  bool bold = false;
  bool underline = false;
  bool italic = false;
};

struct FontMetrics {
  int ascent = 0;
  int descent = 0;
  int height = 0;  // ascent + descent: the line height
};

struct TextExtent {
  int width = 0;
  int height = 0;
};

// An 8-bit coverage mask of rendered text, row-major, `width` bytes per row.
struct TextBitmap {
  int width = 0;
  int height = 0;
  int baseline = 0;  // row of the baseline of the first line
  std::vector<uint8_t> coverage;
};

FontMetrics GetFontMetrics(const FontSpec& font);
// Width of one line (newlines are not interpreted) and the line height.
TextExtent MeasureTextLine(const FontSpec& font, const std::wstring& text);
// Wrapped into lines of at most `maxWidth` pixels (a word longer than that
// gets its own line and is broken between characters); explicit "\n" breaks.
TextExtent MeasureTextWrapped(const FontSpec& font, const std::wstring& text, int maxWidth);
// Splits like MeasureTextWrapped and returns the lines.
std::vector<std::wstring> WrapTextLines(const FontSpec& font, const std::wstring& text, int maxWidth);
// Renders one line of text in grey-level coverage.
TextBitmap RenderTextLine(const FontSpec& font, const std::wstring& text);

// The font file the engine chose for a face (diagnostics and tests); empty
// when none could be found.
std::string ResolvedFontFile(const FontSpec& font);

}  // namespace Platform
