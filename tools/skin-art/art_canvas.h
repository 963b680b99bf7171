// A tiny anti-aliased RGBA canvas for the skin artwork generator: filled
// shapes by coverage (4x4 supersampling), gradients, text through the
// platform text engine, and PNG output.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace SkinArt {

struct Color {
  float r = 0, g = 0, b = 0, a = 1;
};

Color Rgb(uint32_t rgb, float alpha = 1.0f);
Color Mix(const Color& a, const Color& b, float t);

class Canvas {
 public:
  Canvas(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }

  // Paints `color` (or a colour per pixel) where `inside` holds, weighted by coverage.
  void Fill(const std::function<bool(float x, float y)>& inside, const std::function<Color(float x, float y)>& color);
  void Fill(const std::function<bool(float x, float y)>& inside, const Color& color);
  void FillRoundRect(float left, float top, float right, float bottom, float radius, const Color& color);
  void FillRoundRectGradient(float left, float top, float right, float bottom, float radius, const Color& top_color,
                             const Color& bottom_color);
  void StrokeRoundRect(float left, float top, float right, float bottom, float radius, float width, const Color& color);
  void FillCircle(float cx, float cy, float radius, const Color& color);
  void StrokeLine(float x0, float y0, float x1, float y1, float width, const Color& color);
  void StrokeArc(float cx, float cy, float radius, float width, float startDeg, float sweepDeg, const Color& color);
  // Text centred on (cx, cy) in the skin's face.
  void Text(const std::wstring& text, int size, bool bold, float cx, float cy, const Color& color);

  bool WritePng(const std::string& path) const;

 private:
  void Blend(int x, int y, const Color& color, float coverage);

  int width_;
  int height_;
  std::vector<Color> pixels_;
};

}  // namespace SkinArt
