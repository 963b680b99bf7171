#include "skinui/layouts/linear_layout.h"

#include <algorithm>
#include <vector>

namespace SkinUI {
namespace {

// One axis of a rectangle or size, so the vertical and horizontal cases share code.
struct AxisView {
  bool vertical;
  int Main(SkinSize s) const { return vertical ? s.cy : s.cx; }
  int Cross(SkinSize s) const { return vertical ? s.cx : s.cy; }
  SkinSize Make(int main, int cross) const { return vertical ? SkinSize{cross, main} : SkinSize{main, cross}; }
  int MainStart(const SkinRect& r) const { return vertical ? r.top : r.left; }
  int MainEnd(const SkinRect& r) const { return vertical ? r.bottom : r.right; }
  int CrossStart(const SkinRect& r) const { return vertical ? r.left : r.top; }
  int CrossEnd(const SkinRect& r) const { return vertical ? r.right : r.bottom; }
  int FixedMain(const CControlUI& c) const { return vertical ? c.GetFixedHeight() : c.GetFixedWidth(); }
  int FixedCross(const CControlUI& c) const { return vertical ? c.GetFixedWidth() : c.GetFixedHeight(); }
  int MinMain(const CControlUI& c) const { return vertical ? c.GetMinHeight() : c.GetMinWidth(); }
  int MaxMain(const CControlUI& c) const { return vertical ? c.GetMaxHeight() : c.GetMaxWidth(); }
  int MinCross(const CControlUI& c) const { return vertical ? c.GetMinWidth() : c.GetMinHeight(); }
  int MaxCross(const CControlUI& c) const { return vertical ? c.GetMaxWidth() : c.GetMaxHeight(); }
  SkinRect Rect(int mainStart, int mainEnd, int crossStart, int crossEnd) const {
    return vertical ? SkinRect{crossStart, mainStart, crossEnd, mainEnd} : SkinRect{mainStart, crossStart, mainEnd, crossEnd};
  }
};

int ClampMain(const AxisView& axis, const CControlUI& child, int size) {
  size = std::min(size, axis.MaxMain(child));
  return std::max(size, axis.MinMain(child));
}

struct Slot {
  CControlUI* child = nullptr;
  int estimate = 0;  // along the main axis, 0 = flexible
};

// Sums run in 64 bits; coordinates are kept where an int holds them.
int ToCoordinate(long long value) {
  return static_cast<int>(std::clamp<long long>(value, -(1LL << 29), 1LL << 29));
}

}  // namespace

void LayOutLinear(CContainerUI& box, const SkinRect& inner, LayoutAxis layoutAxis) {
  const AxisView axis{layoutAxis == LayoutAxis::kVertical};
  const int innerMain = axis.MainEnd(inner) - axis.MainStart(inner);
  const int innerCross = axis.CrossEnd(inner) - axis.CrossStart(inner);

  // First pass: estimates of the children that stack.
  std::vector<Slot> slots;
  long long fixedTotal = 0;
  int adjustables = 0;
  for (int i = 0; i < box.GetCount(); ++i) {
    CControlUI* child = box.GetItemAt(i);
    if (!child->IsVisible() || child->IsFloat()) continue;
    const SkinRect& padding = child->GetPadding();
    const int padMain = axis.MainStart(padding) + axis.MainEnd(padding);
    const int padCross = axis.CrossStart(padding) + axis.CrossEnd(padding);
    const int offeredCross =
        std::min(axis.FixedCross(*child) ? axis.FixedCross(*child) : axis.MaxCross(*child), innerCross - padCross);
    const int offeredMain = std::min(axis.FixedMain(*child) ? axis.FixedMain(*child) : axis.MaxMain(*child), innerMain);
    const SkinSize estimate = child->EstimateSize(axis.Make(offeredMain, offeredCross));
    Slot slot{child, axis.Main(estimate)};
    if (slot.estimate == 0) ++adjustables;
    else slot.estimate = ClampMain(axis, *child, slot.estimate);
    fixedTotal += slot.estimate + padMain;
    slots.push_back(slot);
  }
  if (!slots.empty()) fixedTotal += static_cast<long long>(slots.size() - 1) * box.GetChildPadding();
  const int share = adjustables > 0 ? ToCoordinate(std::max(0LL, (innerMain - fixedTotal) / adjustables)) : 0;

  // What the children after slot i still need (fixed sizes, paddings, gaps).
  std::vector<long long> needAfter(slots.size() + 1, 0);
  for (size_t i = slots.size(); i-- > 0;) {
    const SkinRect& padding = slots[i].child->GetPadding();
    needAfter[i] = needAfter[i + 1] + slots[i].estimate + axis.MainStart(padding) + axis.MainEnd(padding);
    if (i + 1 < slots.size()) needAfter[i] += box.GetChildPadding();
  }

  // Second pass: place them.
  long long position = axis.MainStart(inner);
  int adjustableSeen = 0;
  size_t slotIndex = 0;
  for (int i = 0; i < box.GetCount(); ++i) {
    CControlUI* child = box.GetItemAt(i);
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      child->SetFloatPos(inner);
      continue;
    }
    const Slot& slot = slots[slotIndex];
    const SkinRect& padding = child->GetPadding();
    position += axis.MainStart(padding);
    int size = slot.estimate;
    if (size == 0) {
      ++adjustableSeen;
      size = share;
      if (adjustableSeen == adjustables) {
        const long long after = needAfter[slotIndex + 1] + (slotIndex + 1 < slots.size() ? box.GetChildPadding() : 0);
        size = ToCoordinate(std::max(0LL, axis.MainEnd(inner) - position - axis.MainEnd(padding) - after));
      }
      size = ClampMain(axis, *child, size);
    }

    int cross = axis.FixedCross(*child);
    if (cross == 0) cross = innerCross - axis.CrossStart(padding) - axis.CrossEnd(padding);
    cross = std::max(0, cross);
    cross = std::min(cross, axis.MaxCross(*child));
    cross = std::max(cross, axis.MinCross(*child));

    const unsigned align = axis.vertical ? box.GetChildAlign() : box.GetChildVAlign();
    int crossStart;
    if (align == (axis.vertical ? DT_CENTER : DT_VCENTER)) {
      crossStart = axis.CrossStart(inner) + (innerCross - cross) / 2;
    } else if (align == (axis.vertical ? DT_RIGHT : DT_BOTTOM)) {
      crossStart = axis.CrossEnd(inner) - axis.CrossEnd(padding) - cross;
    } else {
      crossStart = axis.CrossStart(inner) + axis.CrossStart(padding);
    }
    const int start = ToCoordinate(position);
    child->SetPos(axis.Rect(start, ToCoordinate(position + size), crossStart, ToCoordinate(static_cast<long long>(crossStart) + cross)), false);
    position += size + axis.MainEnd(padding) + box.GetChildPadding();
    ++slotIndex;
  }
}

}  // namespace SkinUI
