// Plain geometry records of the skin framework (window client coordinates,
// right and bottom exclusive, as Windows RECTs).
#pragma once

namespace SkinUI {

struct SkinPoint {
  int x = 0;
  int y = 0;
};

struct SkinSize {
  int cx = 0;
  int cy = 0;
};

struct SkinRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool IsZero() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  bool Contains(SkinPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  bool Intersects(const SkinRect& other) const {
    return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
  }
  bool operator==(const SkinRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
  bool operator!=(const SkinRect& o) const { return !(*this == o); }
};

}  // namespace SkinUI
