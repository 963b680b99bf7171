// Image strings and image loading: premultiplied pixels, the mask, colour
// images, the disk fallback and undecodable data.
#include <gtest/gtest.h>

#include <filesystem>

#include "skin_test_support.h"
#include "skinui/image_string.h"
#include "skinui/skin_image.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace SkinUI {
namespace {

std::string Png(const std::vector<uint8_t>& rgba, int width, int height) {
  std::string out;
  stbi_write_png_to_func(
      [](void* context, void* data, int size) { static_cast<std::string*>(context)->append(static_cast<char*>(data), size); },
      &out, width, height, 4, rgba.data(), width * 4);
  return out;
}

SkinImagePtr Decode(const std::string& bytes, uint32_t mask = 0) {
  return DecodeSkinImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), mask);
}

TEST(SkinImage, PremultipliesTranslucentPixelsAndCopiesOpaqueOnes) {
  const SkinImagePtr image = Decode(Png({200, 100, 50, 128, 200, 100, 50, 255}, 2, 1));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->pixels[0], 0x80643219u);  // 100, 50, 25 at alpha 128 (rounded down)
  EXPECT_EQ(image->pixels[1], 0xFFC86432u);
  EXPECT_TRUE(image->hasAlpha);
  const SkinImagePtr opaque = Decode(Png({1, 2, 3, 255}, 1, 1));
  EXPECT_FALSE(opaque->hasAlpha);
}

TEST(SkinImage, MaskMakesMatchingPixelsTransparent) {
  const SkinImagePtr image = Decode(Png({255, 0, 0, 255, 0, 255, 0, 255}, 2, 1), 0xFFFF0000u);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->pixels[0], 0u);
  EXPECT_EQ(image->pixels[1], 0xFF00FF00u);
  EXPECT_TRUE(image->hasAlpha);
}

TEST(SkinImage, ColourTypeGivesOnePixel) {
  const SkinImagePtr blue = LoadSkinImage(L"#FF0000FF", kColorImageType, 0);
  ASSERT_TRUE(blue);
  EXPECT_EQ(blue->width, 1);
  EXPECT_EQ(blue->pixels[0], 0xFF0000FFu);
  EXPECT_EQ(LoadSkinImage(L"80FFFFFF", kColorImageType, 0)->pixels[0], 0x80808080u);
}

TEST(SkinImage, UndecodableOrMissingImagesGiveNothing) {
  const std::string png = Png({1, 2, 3, 4}, 1, 1);
  EXPECT_FALSE(Decode("not an image"));
  EXPECT_FALSE(Decode(png.substr(0, png.size() / 2)));
  EXPECT_FALSE(Decode(""));
  SkinTest::UseEmbeddedArchive();
  EXPECT_FALSE(LoadSkinImage(L"res\\common\\minbtn4.png", L"", 0));
  EXPECT_TRUE(LoadSkinImage(L"res\\common\\minbtn1.png", L"", 0));
}

TEST(SkinImage, ImageMissingFromTheArchiveIsReadFromTheGivenPath) {
  SkinTest::UseEmbeddedArchive();
  SkinTest::TempDir dir;
  SkinTest::WriteFile(dir.Path() / "extra" / "dot.png", Png({9, 9, 9, 255}, 1, 1));
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  const SkinImagePtr image = LoadSkinImage(L"extra\\dot.png", L"", 0);
  std::filesystem::current_path(previous);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->pixels[0], 0xFF090909u);
}

TEST(ImageString, ParsesPlainNamesAndKeyValuePairs) {
  const ImageDrawSpec plain = ParseImageString(L"res\\mainWnd\\bg1.png");
  EXPECT_EQ(plain.name, L"res\\mainWnd\\bg1.png");
  EXPECT_TRUE(plain.type.empty());

  const ImageDrawSpec full = ParseImageString(
      L"file='res\\mainWnd\\installPrg2.png'  corner='2,2,2,2' mask='#FF0000' fade='128' hole='true' xtiled='false' "
      L"source='1,2,3,4' dest='0,2,15,16' unknown='x' empty=''");
  EXPECT_EQ(full.name, L"res\\mainWnd\\installPrg2.png");
  EXPECT_EQ(full.corner, (SkinRect{2, 2, 2, 2}));
  EXPECT_TRUE(full.hasMask);
  EXPECT_EQ(full.mask, 0x00FF0000u);
  EXPECT_EQ(full.fade, 128);
  EXPECT_TRUE(full.hole);
  EXPECT_FALSE(full.xtiled);
  EXPECT_EQ(full.sourceRect, (SkinRect{1, 2, 3, 4}));
  EXPECT_TRUE(full.hasDest);
  EXPECT_EQ(full.dest, (SkinRect{0, 2, 15, 16}));

  // Without a space after a closing quote the list stops there.
  const ImageDrawSpec cut = ParseImageString(L"file='a.png'dest='1,1,2,2'");
  EXPECT_EQ(cut.name, L"a.png");
  EXPECT_FALSE(cut.hasDest);

  const ImageDrawSpec colour = ParseImageString(L"color='#FF00FF00' dest='0,0,1,1'");
  EXPECT_EQ(colour.type, kColorImageType);
  EXPECT_EQ(colour.name, L"#FF00FF00");
  const ImageDrawSpec resource = ParseImageString(L"res='101' restype='PNG'");
  EXPECT_EQ(resource.name, L"101");
  EXPECT_EQ(resource.type, L"PNG");
  EXPECT_EQ(ParseImageString(L"file='unterminated").name, L"file='unterminated");
}

}  // namespace
}  // namespace SkinUI
