// Image strings and attribute values as untrusted text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "skinui/attribute_values.h"
#include "skinui/image_string.h"
#include "skinui/skin_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 16 * 1024) return 0;
  std::wstring text;
  for (size_t i = 0; i < size; ++i) text += static_cast<wchar_t>(data[i]);
  const SkinUI::ImageDrawSpec drawing = SkinUI::ParseImageString(text);
  if (drawing.type == SkinUI::kColorImageType) SkinUI::LoadSkinImage(drawing.name, drawing.type, drawing.mask);
  SkinUI::ParseRect(text);
  SkinUI::ParseColor(text);
  SkinUI::ParseAttributeList(text);
  // The same bytes as an image file.
  SkinUI::DecodeSkinImage(data, size, 0);
  return 0;
}
