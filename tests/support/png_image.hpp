#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tamvek::testing {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};
std::string to_string(const Rgb& colour);  // "#rrggbb"

// A picture as 8-bit red, green and blue, row by row from the top left.
struct PngImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;
  Rgb at(int x, int y) const;  // throws std::out_of_range outside the picture
};

// Decodes a non-interlaced PNG of 8-bit RGB or RGBA (alpha dropped), the kind a
// browser's screenshot is. Throws std::runtime_error saying what is wrong.
PngImage decode_png(std::string_view bytes);
PngImage read_png(const std::string& path);

// The data of a zlib stream (stored, fixed and dynamic Huffman blocks), its
// Adler-32 checked. Throws std::runtime_error on a damaged stream.
std::vector<std::uint8_t> inflate_zlib(std::string_view stream);

}  // namespace tamvek::testing
