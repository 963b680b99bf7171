// Skin images: decoding (stb_image, 8-bit RGBA) into premultiplied 32-bit
// pixels with an optional mask colour, and loading by name from the skin
// archive, the resource directory, module resources or a "*COLOR*" value.
// Limits: images larger than 4096 pixels on a side are refused; failures are
// silent (no image).
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace SkinUI {

struct SkinImage {
  int width = 0;
  int height = 0;
  bool hasAlpha = false;
  // Top-down rows; each pixel 0xAARRGGBB with colours premultiplied by alpha
  // (in memory: blue, green, red, alpha).
  std::vector<uint32_t> pixels;
};

using SkinImagePtr = std::shared_ptr<const SkinImage>;

// Null when the bytes are not a decodable image.
SkinImagePtr DecodeSkinImage(const uint8_t* bytes, size_t size, uint32_t mask);
// `type`: empty for a skin file, "*COLOR*" for a colour value, otherwise a
// module resource type. Null when the image cannot be found or decoded.
SkinImagePtr LoadSkinImage(const std::wstring& name, const std::wstring& type, uint32_t mask);

}  // namespace SkinUI
