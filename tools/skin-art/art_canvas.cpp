#include "tools/skin-art/art_canvas.h"

#include <algorithm>
#include <cmath>

#include "platform/text_engine.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#endif
#include <stb/stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace SkinArt {
namespace {

constexpr int kSamples = 4;

float RoundRectDistance(float x, float y, float left, float top, float right, float bottom, float radius) {
  const float cx = (left + right) / 2, cy = (top + bottom) / 2;
  const float hx = (right - left) / 2 - radius, hy = (bottom - top) / 2 - radius;
  const float qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
  const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
  return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

}  // namespace

Color Rgb(uint32_t rgb, float alpha) {
  return Color{((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f, alpha};
}

Color Mix(const Color& a, const Color& b, float t) {
  return Color{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Canvas::Canvas(int width, int height) : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, Color{0, 0, 0, 0}) {}

void Canvas::Blend(int x, int y, const Color& color, float coverage) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || coverage <= 0) return;
  Color& d = pixels_[static_cast<size_t>(y) * width_ + x];
  const float sa = std::clamp(color.a * coverage, 0.0f, 1.0f);
  const float oa = sa + d.a * (1 - sa);
  if (oa <= 0) return;
  d.r = (color.r * sa + d.r * d.a * (1 - sa)) / oa;
  d.g = (color.g * sa + d.g * d.a * (1 - sa)) / oa;
  d.b = (color.b * sa + d.b * d.a * (1 - sa)) / oa;
  d.a = oa;
}

void Canvas::Fill(const std::function<bool(float, float)>& inside, const std::function<Color(float, float)>& color) {
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      int hits = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          if (inside(x + (sx + 0.5f) / kSamples, y + (sy + 0.5f) / kSamples)) ++hits;
        }
      }
      if (hits) Blend(x, y, color(x + 0.5f, y + 0.5f), static_cast<float>(hits) / (kSamples * kSamples));
    }
  }
}

void Canvas::Fill(const std::function<bool(float, float)>& inside, const Color& color) {
  Fill(inside, [&color](float, float) { return color; });
}

void Canvas::FillRoundRect(float left, float top, float right, float bottom, float radius, const Color& color) {
  Fill([=](float x, float y) { return RoundRectDistance(x, y, left, top, right, bottom, radius) <= 0; }, color);
}

void Canvas::FillRoundRectGradient(float left, float top, float right, float bottom, float radius, const Color& a,
                                   const Color& b) {
  Fill([=](float x, float y) { return RoundRectDistance(x, y, left, top, right, bottom, radius) <= 0; },
       [=](float, float y) { return Mix(a, b, std::clamp((y - top) / std::max(1.0f, bottom - top), 0.0f, 1.0f)); });
}

void Canvas::StrokeRoundRect(float left, float top, float right, float bottom, float radius, float width,
                             const Color& color) {
  Fill([=](float x, float y) {
    const float d = RoundRectDistance(x, y, left, top, right, bottom, radius);
    return d <= 0 && d > -width;
  }, color);
}

void Canvas::FillCircle(float cx, float cy, float radius, const Color& color) {
  Fill([=](float x, float y) { return std::hypot(x - cx, y - cy) <= radius; }, color);
}

void Canvas::StrokeLine(float x0, float y0, float x1, float y1, float width, const Color& color) {
  const float dx = x1 - x0, dy = y1 - y0;
  const float length2 = std::max(1e-6f, dx * dx + dy * dy);
  Fill([=](float x, float y) {
    const float t = std::clamp(((x - x0) * dx + (y - y0) * dy) / length2, 0.0f, 1.0f);
    return std::hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= width / 2;
  }, color);
}

void Canvas::StrokeArc(float cx, float cy, float radius, float width, float startDeg, float sweepDeg,
                       const Color& color) {
  const float pi = 3.14159265f;
  Fill([=](float x, float y) {
    const float r = std::hypot(x - cx, y - cy);
    if (std::fabs(r - radius) > width / 2) return false;
    float angle = std::atan2(y - cy, x - cx) * 180 / pi - startDeg;
    while (angle < 0) angle += 360;
    while (angle >= 360) angle -= 360;
    return angle <= sweepDeg;
  }, color);
}

void Canvas::Text(const std::wstring& text, int size, bool bold, float cx, float cy, const Color& color) {
  const Platform::FontSpec font{L"微软雅黑", size, bold, false, false};
  const Platform::TextBitmap bitmap = Platform::RenderTextLine(font, text);
  const int left = static_cast<int>(std::lround(cx - bitmap.width / 2.0f));
  const int top = static_cast<int>(std::lround(cy - bitmap.height / 2.0f));
  for (int y = 0; y < bitmap.height; ++y) {
    for (int x = 0; x < bitmap.width; ++x) {
      const uint8_t coverage = bitmap.coverage[static_cast<size_t>(y) * bitmap.width + x];
      if (coverage) Blend(left + x, top + y, color, coverage / 255.0f);
    }
  }
}

bool Canvas::WritePng(const std::string& path) const {
  std::vector<uint8_t> rgba(pixels_.size() * 4);
  for (size_t i = 0; i < pixels_.size(); ++i) {
    const Color& c = pixels_[i];
    rgba[i * 4 + 0] = static_cast<uint8_t>(std::lround(std::clamp(c.r, 0.0f, 1.0f) * 255));
    rgba[i * 4 + 1] = static_cast<uint8_t>(std::lround(std::clamp(c.g, 0.0f, 1.0f) * 255));
    rgba[i * 4 + 2] = static_cast<uint8_t>(std::lround(std::clamp(c.b, 0.0f, 1.0f) * 255));
    rgba[i * 4 + 3] = static_cast<uint8_t>(std::lround(std::clamp(c.a, 0.0f, 1.0f) * 255));
  }
  return stbi_write_png(path.c_str(), width_, height_, 4, rgba.data(), width_ * 4) != 0;
}

}  // namespace SkinArt
