// The stacking arithmetic shared by the vertical and horizontal layouts:
// fixed children take their estimated size, flexible ones (estimate 0)
// share what is left in integer parts, the last flexible child taking the
// remainder so the stack ends exactly at the inner edge.
#pragma once
#include "skinui/layouts/container.h"

namespace SkinUI {

enum class LayoutAxis { kVertical, kHorizontal };

// Places the children of `box` inside `inner` along `axis`.
void LayOutLinear(CContainerUI& box, const SkinRect& inner, LayoutAxis axis);

}  // namespace SkinUI
