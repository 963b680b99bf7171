#include "skinui/skin_image.h"

#include <cstdio>
#include <cwctype>

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/module_resources.h"
#include "skinui/attribute_values.h"
#include "skinui/image_string.h"
#include "skinui/skin_resources.h"

// Static linkage keeps this copy of the decoder private to the skin library.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_ONLY_JPEG
#define STBI_MAX_DIMENSIONS 4096
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#endif
#include <stb/stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace SkinUI {
namespace {

// Builds the premultiplied image from straight RGBA bytes.
SkinImagePtr FromRgba(const uint8_t* rgba, int width, int height, uint32_t mask) {
  auto image = std::make_shared<SkinImage>();
  image->width = width;
  image->height = height;
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  image->pixels.resize(count);
  for (size_t i = 0; i < count; ++i) {
    uint32_t r = rgba[i * 4], g = rgba[i * 4 + 1], b = rgba[i * 4 + 2];
    const uint32_t a = rgba[i * 4 + 3];
    if (a != 255) {
      r = r * a / 255;
      g = g * a / 255;
      b = b * a / 255;
      image->hasAlpha = true;
    }
    uint32_t pixel = (a << 24) | (r << 16) | (g << 8) | b;
    if (pixel == mask) {
      pixel = 0;
      image->hasAlpha = true;
    }
    image->pixels[i] = pixel;
  }
  return image;
}

bool ReadDiskBytes(const std::wstring& path, std::vector<uint8_t>& bytes) {
  std::wstring platformPath = path;
  for (wchar_t& c : platformPath) {
    if (c == Platform::kOtherSeparator) c = Platform::kPathSeparator;
  }
  if (!Platform::FileExists(platformPath)) return false;
  const std::string narrow = Platform::WideToMultiByte(platformPath, Platform::kCodePageAnsi);
  if (narrow.empty()) return false;
  std::FILE* file = std::fopen(narrow.c_str(), "rb");
  if (!file) return false;
  uint8_t chunk[65536];
  size_t got;
  bool ok = true;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    bytes.insert(bytes.end(), chunk, chunk + got);
    if (bytes.size() > 64u * 1024u * 1024u) {
      ok = false;
      break;
    }
  }
  if (std::ferror(file)) ok = false;
  std::fclose(file);
  return ok && !bytes.empty();
}

}  // namespace

SkinImagePtr DecodeSkinImage(const uint8_t* bytes, size_t size, uint32_t mask) {
  if (!bytes || size == 0 || size > 0x7FFFFFFF) return nullptr;
  int width = 0, height = 0, channels = 0;
  stbi_uc* rgba = stbi_load_from_memory(bytes, static_cast<int>(size), &width, &height, &channels, 4);
  if (!rgba) return nullptr;
  SkinImagePtr image;
  if (width > 0 && height > 0) image = FromRgba(rgba, width, height, mask);
  stbi_image_free(rgba);
  return image;
}

SkinImagePtr LoadSkinImage(const std::wstring& name, const std::wstring& type, uint32_t mask) {
  if (name.empty()) return nullptr;
  if (type == kColorImageType) {
    const uint32_t color = ParseColor(name);
    const uint8_t rgba[4] = {static_cast<uint8_t>(color >> 16), static_cast<uint8_t>(color >> 8),
                             static_cast<uint8_t>(color), static_cast<uint8_t>(color >> 24)};
    return FromRgba(rgba, 1, 1, mask);
  }
  std::vector<uint8_t> bytes;
  if (!type.empty()) {
    Platform::ModuleResource resource;
    const bool numeric = name[0] >= L'0' && name[0] <= L'9';
    const bool found = numeric ? Platform::FindModuleResource(type, static_cast<unsigned>(ParseInt(name)), resource)
                               : Platform::FindModuleResource(type, name, resource);
    if (found && resource.data && resource.size > 0) bytes.assign(resource.data, resource.data + resource.size);
  } else {
    CSkinResources::ReadResourceBytes(name, bytes);
  }
  // Last resort: the name itself as a path (relative to the current directory).
  if (bytes.empty() && !ReadDiskBytes(name, bytes)) return nullptr;
  return DecodeSkinImage(bytes.data(), bytes.size(), mask);
}

}  // namespace SkinUI
