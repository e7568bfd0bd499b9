#include <gtest/gtest.h>

#include <png.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/png_writer.h"
#include "test_support.h"

namespace obrix {
namespace {

// Reads an 8-bit RGB PNG back into a canvas; an empty canvas when the file is not one.
Canvas ReadRgbPng(const std::string& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return Canvas();
  if (image.format != PNG_FORMAT_RGB) {
    png_image_free(&image);
    return Canvas();
  }
  std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return Canvas();
  Canvas c(int(image.width), int(image.height));
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x) {
      const png_byte* p = &rgb[(size_t(y) * image.width + size_t(x)) * 3];
      c.SetPixel(x, y, Rgb(p[0], p[1], p[2]));
    }
  return c;
}

TEST(PngWriter, ReadsBackPixelForPixel) {
  test::TempDir dir;
  // Distinct channel values catch swapped channels; an odd width and a tall canvas catch row stride faults.
  const struct {
    int width, height;
  } sizes[] = {{1, 1}, {3, 2}, {301, 257}};
  for (const auto& size : sizes) {
    SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
    Canvas canvas(size.width, size.height);
    for (int y = 0; y < size.height; ++y)
      for (int x = 0; x < size.width; ++x) canvas.SetPixel(x, y, Rgb(x % 256, y % 256, (x * 7 + y * 3 + 1) % 256));
    const std::string path = dir.file("shot.png");
    ASSERT_TRUE(WritePng(canvas, path));
    const Canvas back = ReadRgbPng(path);
    ASSERT_EQ(back.width(), size.width);
    ASSERT_EQ(back.height(), size.height);
    for (int y = 0; y < size.height; ++y)
      for (int x = 0; x < size.width; ++x) ASSERT_EQ(back.GetPixel(x, y), canvas.GetPixel(x, y)) << x << "," << y;
  }
}

TEST(PngWriter, FailsWithoutWritingWhenItCannot) {
  test::TempDir dir;
  EXPECT_FALSE(WritePng(Canvas(4, 4), dir.file("missing/shot.png")));
  EXPECT_FALSE(WritePng(Canvas(64, 64), "/dev/full"));  // the write itself fails
  EXPECT_FALSE(WritePng(Canvas(), dir.file("empty.png")));
  EXPECT_EQ(std::fopen(dir.file("empty.png").c_str(), "rb"), nullptr);
}

}  // namespace
}  // namespace obrix
