// Text engine on FreeType and fontconfig. Faces are resolved once per face
// name and style and kept open for the process's life; every call takes one
// lock, since FreeType objects are not thread-safe.
#include "platform/text_engine.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <tuple>

#include "platform/code_page.h"

namespace Platform {
namespace {

// Larger requests are served at this size.
constexpr int kMaxFontSize = 1024;

// Skin faces that this system does not have, mapped to the nearest installed
// family with the same metrics role.
std::string MapFamily(const std::wstring& face) {
  if (face == L"微软雅黑" || face == L"Microsoft YaHei" || face.empty()) return "WenQuanYi Micro Hei";
  return WideToMultiByte(face, kCodePageUtf8);
}

struct FaceDeleter {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using FacePtr = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceDeleter>;

struct LibraryDeleter {
  void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
using LibraryPtr = std::unique_ptr<std::remove_pointer_t<FT_Library>, LibraryDeleter>;

struct FontFile {
  std::string path;
  int index = 0;
};

class Engine {
 public:
  static Engine& Instance() {
    static Engine engine;
    return engine;
  }
  std::mutex lock;

  // A face sized for `font`, or null when no font could be opened.
  FT_Face Face(const FontSpec& font) {
    if (!library_) return nullptr;
    const FontFile file = Resolve(font);
    if (file.path.empty()) return nullptr;
    const auto key = std::make_tuple(file.path, file.index, std::clamp(font.size, 1, kMaxFontSize));
    auto it = faces_.find(key);
    if (it == faces_.end()) {
      FT_Face face = nullptr;
      if (FT_New_Face(library_.get(), file.path.c_str(), file.index, &face) != 0) face = nullptr;
      if (face && FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(std::get<2>(key))) != 0) {
        FT_Done_Face(face);
        face = nullptr;
      }
      it = faces_.emplace(key, FacePtr(face)).first;
    }
    return it->second.get();
  }

  FontFile Resolve(const FontSpec& font) {
    const auto key = std::make_tuple(font.face, font.bold, font.italic);
    auto it = files_.find(key);
    if (it != files_.end()) return it->second;
    FontFile result;
    if (fontconfigReady_) {
      FcPattern* pattern = FcPatternCreate();
      const std::string family = MapFamily(font.face);
      FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
      FcPatternAddInteger(pattern, FC_WEIGHT, font.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
      FcPatternAddInteger(pattern, FC_SLANT, font.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
      FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
      FcDefaultSubstitute(pattern);
      FcResult match = FcResultNoMatch;
      FcPattern* found = FcFontMatch(nullptr, pattern, &match);
      if (found) {
        FcChar8* path = nullptr;
        int index = 0;
        if (FcPatternGetString(found, FC_FILE, 0, &path) == FcResultMatch && path) {
          result.path = reinterpret_cast<const char*>(path);
          if (FcPatternGetInteger(found, FC_INDEX, 0, &index) == FcResultMatch) result.index = index;
        }
        FcPatternDestroy(found);
      }
      FcPatternDestroy(pattern);
    }
    files_.emplace(key, result);
    return result;
  }

 private:
  Engine() {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) == 0) library_.reset(library);
    fontconfigReady_ = FcInit() == FcTrue;
  }
  ~Engine() {
    faces_.clear();
    // Hands fontconfig's configuration back, so leak checkers stay quiet.
    if (fontconfigReady_) FcFini();
  }

  LibraryPtr library_;
  bool fontconfigReady_ = false;
  std::map<std::tuple<std::string, int, int>, FacePtr> faces_;
  std::map<std::tuple<std::wstring, bool, bool>, FontFile> files_;
};

FontMetrics MetricsOf(FT_Face face, const FontSpec& font) {
  FontMetrics metrics;
  const int size = std::clamp(font.size, 1, kMaxFontSize);
  if (!face) {
    metrics.ascent = size;
    metrics.descent = (size + 3) / 4;
  } else {
    // Windows sizes lines by the OS/2 "win" metrics; use them when present
    // so layouts come out as they do there.
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const double scale = static_cast<double>(size) / std::max<int>(1, face->units_per_EM);
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
      metrics.ascent = static_cast<int>(std::lround(os2->usWinAscent * scale));
      metrics.descent = static_cast<int>(std::lround(os2->usWinDescent * scale));
    } else {
      metrics.ascent = static_cast<int>(face->size->metrics.ascender >> 6);
      metrics.descent = static_cast<int>(-(face->size->metrics.descender >> 6));
    }
  }
  metrics.height = metrics.ascent + metrics.descent;
  return metrics;
}

// Advance of one character in 26.6 units.
long AdvanceOf(FT_Face face, const FontSpec& font, wchar_t c) {
  if (!face) return static_cast<long>(std::clamp(font.size, 1, kMaxFontSize)) * (c < 0x2E80 ? 32 : 64);
  if (FT_Load_Char(face, static_cast<FT_ULong>(c), FT_LOAD_DEFAULT) != 0) return 0;
  long advance = face->glyph->advance.x;
  if (font.bold) advance += 64;  // synthetic emboldening widens each glyph by a pixel
  return advance;
}

int PixelsOf(long advance26) { return static_cast<int>(std::min<long>((advance26 + 32) >> 6, 1L << 28)); }

bool IsBreakableAfter(wchar_t c) { return c == L' ' || c >= 0x2E80; }
bool IsBreakableBefore(wchar_t c) { return c >= 0x2E80; }

std::vector<std::wstring> Wrap(FT_Face face, const FontSpec& font, const std::wstring& text, int maxWidth) {
  std::vector<std::wstring> lines;
  std::wstring line;
  long lineWidth = 0;
  const long limit = static_cast<long>(std::max(1, maxWidth)) * 64;
  for (wchar_t c : text) {
    if (c == L'\n') {
      lines.push_back(line);
      line.clear();
      lineWidth = 0;
      continue;
    }
    if (c == L'\r') continue;
    const long advance = AdvanceOf(face, font, c);
    if (!line.empty() && lineWidth + advance > limit && c != L' ') {
      // Break at the last opportunity in the line, else right here.
      size_t cut = line.size();
      if (!IsBreakableBefore(c)) {
        for (size_t i = line.size(); i > 0; --i) {
          if (IsBreakableAfter(line[i - 1])) {
            cut = i;
            break;
          }
        }
      }
      std::wstring rest = line.substr(cut);
      std::wstring head = line.substr(0, cut);
      while (!head.empty() && head.back() == L' ') head.pop_back();
      lines.push_back(head);
      line = rest;
      lineWidth = 0;
      for (wchar_t r : line) lineWidth += AdvanceOf(face, font, r);
    }
    line += c;
    lineWidth += advance;
  }
  lines.push_back(line);
  return lines;
}

long LineAdvance(FT_Face face, const FontSpec& font, const std::wstring& text) {
  long width = 0;
  for (wchar_t c : text) width += AdvanceOf(face, font, c);
  return width;
}

}  // namespace

FontMetrics GetFontMetrics(const FontSpec& font) {
  Engine& engine = Engine::Instance();
  std::lock_guard<std::mutex> guard(engine.lock);
  return MetricsOf(engine.Face(font), font);
}

TextExtent MeasureTextLine(const FontSpec& font, const std::wstring& text) {
  Engine& engine = Engine::Instance();
  std::lock_guard<std::mutex> guard(engine.lock);
  FT_Face face = engine.Face(font);
  return TextExtent{PixelsOf(LineAdvance(face, font, text)), MetricsOf(face, font).height};
}

TextExtent MeasureTextWrapped(const FontSpec& font, const std::wstring& text, int maxWidth) {
  Engine& engine = Engine::Instance();
  std::lock_guard<std::mutex> guard(engine.lock);
  FT_Face face = engine.Face(font);
  const std::vector<std::wstring> lines = Wrap(face, font, text, maxWidth);
  TextExtent extent;
  for (const std::wstring& line : lines) extent.width = std::max(extent.width, PixelsOf(LineAdvance(face, font, line)));
  extent.height = static_cast<int>(lines.size()) * MetricsOf(face, font).height;
  return extent;
}

std::vector<std::wstring> WrapTextLines(const FontSpec& font, const std::wstring& text, int maxWidth) {
  Engine& engine = Engine::Instance();
  std::lock_guard<std::mutex> guard(engine.lock);
  return Wrap(engine.Face(font), font, text, maxWidth);
}

TextBitmap RenderTextLine(const FontSpec& font, const std::wstring& text) {
  Engine& engine = Engine::Instance();
  std::lock_guard<std::mutex> guard(engine.lock);
  FT_Face face = engine.Face(font);
  const FontMetrics metrics = MetricsOf(face, font);
  TextBitmap bitmap;
  bitmap.width = std::max(1, PixelsOf(LineAdvance(face, font, text)) + 2);
  bitmap.height = std::max(1, metrics.height);
  bitmap.baseline = metrics.ascent;
  bitmap.coverage.assign(static_cast<size_t>(bitmap.width) * bitmap.height, 0);
  if (!face) return bitmap;
  long pen = 0;
  for (wchar_t c : text) {
    if (FT_Load_Char(face, static_cast<FT_ULong>(c), FT_LOAD_RENDER) != 0) continue;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& glyph = slot->bitmap;
    const int originX = PixelsOf(pen) + slot->bitmap_left;
    const int originY = metrics.ascent - slot->bitmap_top;
    for (unsigned row = 0; row < glyph.rows; ++row) {
      const int y = originY + static_cast<int>(row);
      if (y < 0 || y >= bitmap.height) continue;
      for (unsigned col = 0; col < glyph.width; ++col) {
        const int x = originX + static_cast<int>(col);
        if (x < 0 || x >= bitmap.width) continue;
        const uint8_t value = glyph.buffer[row * glyph.pitch + col];
        uint8_t& cell = bitmap.coverage[static_cast<size_t>(y) * bitmap.width + x];
        cell = std::max(cell, value);
        if (font.bold && x + 1 < bitmap.width) {
          uint8_t& next = bitmap.coverage[static_cast<size_t>(y) * bitmap.width + x + 1];
          next = std::max(next, value);
        }
      }
    }
    pen += slot->advance.x + (font.bold ? 64 : 0);
  }
  if (font.underline) {
    const int y = std::min(bitmap.height - 1, metrics.ascent + 1);
    for (int x = 0; x < bitmap.width; ++x) bitmap.coverage[static_cast<size_t>(y) * bitmap.width + x] = 255;
  }
  return bitmap;
}

std::string ResolvedFontFile(const FontSpec& font) {
  Engine& engine = Engine::Instance();
  std::lock_guard<std::mutex> guard(engine.lock);
  return engine.Resolve(font).path;
}

}  // namespace Platform
