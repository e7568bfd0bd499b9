#include "platform/png_writer.h"

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace obrix {

bool WritePng(const Canvas& c, const std::string& path) {
  if (c.width() <= 0 || c.height() <= 0) return false;
  std::vector<uint8_t> rgb(size_t(c.width()) * size_t(c.height()) * 3);
  std::vector<png_bytep> rows(size_t(c.height()));
  for (int y = 0; y < c.height(); ++y) {
    uint8_t* row = rgb.data() + size_t(y) * size_t(c.width()) * 3;
    rows[size_t(y)] = row;
    for (int x = 0; x < c.width(); ++x) {
      const Colour col = c.GetPixel(x, y);
      *row++ = uint8_t(RedOf(col));
      *row++ = uint8_t(GreenOf(col));
      *row++ = uint8_t(BlueOf(col));
    }
  }

  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    std::fclose(f);
    return false;
  }
  // libpng reports a failure by a long jump back here; no object with a destructor is made after this point.
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    return false;
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, png_uint_32(c.width()), png_uint_32(c.height()), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_rows(png, info, rows.data());
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  const bool flushed = std::fflush(f) == 0 && !std::ferror(f);
  return std::fclose(f) == 0 && flushed;
}

}  // namespace obrix
