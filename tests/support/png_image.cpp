#include "support/png_image.hpp"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tamvek::testing {
namespace {

[[noreturn]] void fail(const std::string& what) { throw std::runtime_error(what); }

// Bits of a deflate stream, lowest bit of each byte first.
class BitReader {
 public:
  explicit BitReader(std::string_view bytes) : bytes_(bytes) {}

  unsigned bits(int count) {
    while (held_ < count) {
      if (at_ >= bytes_.size()) fail("deflate stream cut short");
      buffer_ |= std::uint64_t{static_cast<std::uint8_t>(bytes_[at_++])} << held_;
      held_ += 8;
    }
    const auto value = static_cast<unsigned>(buffer_ & ((std::uint64_t{1} << count) - 1));
    buffer_ >>= count;
    held_ -= count;
    return value;
  }
  // Stored blocks and the stream's trailer begin on a byte boundary.
  void to_byte_boundary() {
    buffer_ = 0;
    held_ = 0;
  }
  std::uint8_t byte() {
    if (at_ >= bytes_.size()) fail("deflate stream cut short");
    return static_cast<std::uint8_t>(bytes_[at_++]);
  }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
  std::uint64_t buffer_ = 0;
  int held_ = 0;
};

constexpr int max_code_bits = 15;

// A canonical Huffman code as counts of codes of each length and the symbols in code order.
struct Huffman {
  std::array<int, max_code_bits + 1> count{};
  std::vector<int> symbol;

  explicit Huffman(const std::vector<int>& lengths) : symbol(lengths.size()) {
    for (int length : lengths) ++count[static_cast<std::size_t>(length)];
    int left = 1;
    for (int length = 1; length <= max_code_bits; ++length) {
      left = 2 * left - count[static_cast<std::size_t>(length)];
      if (left < 0) fail("deflate code lengths over-subscribed");
    }
    std::array<int, max_code_bits + 2> offset{};
    for (int length = 1; length <= max_code_bits; ++length) {
      offset[static_cast<std::size_t>(length) + 1] =
          offset[static_cast<std::size_t>(length)] + count[static_cast<std::size_t>(length)];
    }
    for (std::size_t s = 0; s < lengths.size(); ++s) {
      if (lengths[s] != 0) symbol[static_cast<std::size_t>(offset[static_cast<std::size_t>(lengths[s])]++)] = static_cast<int>(s);
    }
  }

  int decode(BitReader& in) const {
    int code = 0, first = 0, index = 0;
    for (int length = 1; length <= max_code_bits; ++length) {
      code |= static_cast<int>(in.bits(1));
      const int n = count[static_cast<std::size_t>(length)];
      if (code - n < first) return symbol[static_cast<std::size_t>(index + code - first)];
      index += n;
      first = (first + n) << 1;
      code <<= 1;
    }
    fail("deflate code not in its table");
  }
};

constexpr std::array<int, 29> length_base{3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                          31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> length_extra{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> distance_base{1,   2,   3,   4,   5,   7,    9,    13,   17,   25,
                                            33,  49,  65,  97,  129, 193,  257,  385,  513,  769,
                                            1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> distance_extra{0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6,
                                             6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void inflate_codes(BitReader& in, const Huffman& literal, const Huffman& distance, std::vector<std::uint8_t>& out) {
  for (;;) {
    const int symbol = literal.decode(in);
    if (symbol < 256) {
      out.push_back(static_cast<std::uint8_t>(symbol));
      continue;
    }
    if (symbol == 256) return;
    const auto k = static_cast<std::size_t>(symbol - 257);
    if (k >= length_base.size()) fail("deflate length code out of range");
    const auto length = static_cast<std::size_t>(length_base[k]) + in.bits(length_extra[k]);
    const auto d = static_cast<std::size_t>(distance.decode(in));
    if (d >= distance_base.size()) fail("deflate distance code out of range");
    const auto back = static_cast<std::size_t>(distance_base[d]) + in.bits(distance_extra[d]);
    if (back > out.size()) fail("deflate distance reaches before the data");
    for (std::size_t i = 0; i < length; ++i) out.push_back(out[out.size() - back]);
  }
}

void inflate_stored(BitReader& in, std::vector<std::uint8_t>& out) {
  in.to_byte_boundary();
  const unsigned length = in.byte() | (unsigned{in.byte()} << 8);
  const unsigned complement = in.byte() | (unsigned{in.byte()} << 8);
  if ((length ^ 0xffffu) != complement) fail("deflate stored block length damaged");
  for (unsigned i = 0; i < length; ++i) out.push_back(in.byte());
}

void inflate_fixed(BitReader& in, std::vector<std::uint8_t>& out) {
  static const Huffman literal = [] {
    std::vector<int> lengths(288, 8);
    for (int s = 144; s < 256; ++s) lengths[static_cast<std::size_t>(s)] = 9;
    for (int s = 256; s < 280; ++s) lengths[static_cast<std::size_t>(s)] = 7;
    return Huffman(lengths);
  }();
  static const Huffman distance(std::vector<int>(30, 5));
  inflate_codes(in, literal, distance, out);
}

void inflate_dynamic(BitReader& in, std::vector<std::uint8_t>& out) {
  const auto literal_count = static_cast<std::size_t>(in.bits(5)) + 257;
  const auto distance_count = static_cast<std::size_t>(in.bits(5)) + 1;
  const auto length_code_count = static_cast<std::size_t>(in.bits(4)) + 4;
  if (literal_count > 286 || distance_count > 30) fail("deflate block has too many codes");
  static constexpr std::array<int, 19> order{16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
  std::vector<int> code_lengths(19, 0);
  for (std::size_t i = 0; i < length_code_count; ++i) {
    code_lengths[static_cast<std::size_t>(order[i])] = static_cast<int>(in.bits(3));
  }
  const Huffman length_code(code_lengths);
  std::vector<int> lengths;
  while (lengths.size() < literal_count + distance_count) {
    const int symbol = length_code.decode(in);
    if (symbol < 16) {
      lengths.push_back(symbol);
      continue;
    }
    int repeated = 0;
    unsigned times = 0;
    if (symbol == 16) {
      if (lengths.empty()) fail("deflate length repeat with nothing before it");
      repeated = lengths.back();
      times = 3 + in.bits(2);
    } else {
      times = symbol == 17 ? 3 + in.bits(3) : 11 + in.bits(7);
    }
    if (lengths.size() + times > literal_count + distance_count) fail("deflate code lengths run over");
    lengths.insert(lengths.end(), times, repeated);
  }
  if (lengths[256] == 0) fail("deflate block has no end code");
  const auto split = lengths.begin() + static_cast<std::ptrdiff_t>(literal_count);
  inflate_codes(in, Huffman(std::vector<int>(lengths.begin(), split)), Huffman(std::vector<int>(split, lengths.end())), out);
}

std::uint32_t adler32(const std::vector<std::uint8_t>& data) {
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

std::uint32_t crc32(std::string_view bytes) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  std::uint32_t c = 0xffffffffu;
  for (char ch : bytes) c = table[(c ^ static_cast<std::uint8_t>(ch)) & 0xff] ^ (c >> 8);
  return c ^ 0xffffffffu;
}

std::uint32_t big_endian(std::string_view bytes, std::size_t at) {
  if (at + 4 > bytes.size()) fail("PNG cut short");
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
  return value;
}

int paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

// Undoes each scanline's filter in place; `data` holds a filter byte before every line.
void unfilter(std::vector<std::uint8_t>& data, std::size_t height, std::size_t stride, std::size_t pixel) {
  for (std::size_t y = 0; y < height; ++y) {
    std::uint8_t* line = data.data() + y * (stride + 1) + 1;
    const std::uint8_t* above = y == 0 ? nullptr : line - (stride + 1);
    const int filter = line[-1];
    for (std::size_t i = 0; i < stride; ++i) {
      const int a = i >= pixel ? line[i - pixel] : 0;
      const int b = above ? above[i] : 0;
      const int c = above && i >= pixel ? above[i - pixel] : 0;
      int predicted = 0;
      switch (filter) {
        case 0: break;
        case 1: predicted = a; break;
        case 2: predicted = b; break;
        case 3: predicted = (a + b) / 2; break;
        case 4: predicted = paeth(a, b, c); break;
        default: fail("PNG line filter " + std::to_string(filter) + " unknown");
      }
      line[i] = static_cast<std::uint8_t>(line[i] + predicted);
    }
  }
}

}  // namespace

std::string to_string(const Rgb& colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.r, colour.g, colour.b);
  return text;
}

Rgb PngImage::at(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) {
    throw std::out_of_range("pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") outside a picture of " +
                            std::to_string(width) + " by " + std::to_string(height));
  }
  const auto at = 3 * (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x));
  return {rgb[at], rgb[at + 1], rgb[at + 2]};
}

std::vector<std::uint8_t> inflate_zlib(std::string_view stream) {
  if (stream.size() < 6) fail("zlib stream cut short");
  const auto method = static_cast<std::uint8_t>(stream[0]), flags = static_cast<std::uint8_t>(stream[1]);
  if ((method & 0x0f) != 8 || (method * 256 + flags) % 31 != 0 || (flags & 0x20) != 0) fail("not a zlib deflate stream");
  BitReader in(stream.substr(2));
  std::vector<std::uint8_t> out;
  for (bool last = false; !last;) {
    last = in.bits(1) == 1;
    switch (in.bits(2)) {
      case 0: inflate_stored(in, out); break;
      case 1: inflate_fixed(in, out); break;
      case 2: inflate_dynamic(in, out); break;
      default: fail("deflate block type 3");
    }
  }
  in.to_byte_boundary();
  std::uint32_t check = 0;
  for (int i = 0; i < 4; ++i) check = (check << 8) | in.byte();
  if (check != adler32(out)) fail("zlib stream's Adler-32 does not match its data");
  return out;
}

PngImage decode_png(std::string_view bytes) {
  static constexpr std::string_view signature("\x89PNG\r\n\x1a\n", 8);
  if (bytes.substr(0, 8) != signature) fail("not a PNG file");
  PngImage image;
  std::size_t pixel = 0;
  std::string compressed;
  bool ended = false;
  for (std::size_t at = 8; !ended;) {
    const std::size_t length = big_endian(bytes, at);
    if (at + 12 + length > bytes.size()) fail("PNG chunk cut short");
    const std::string_view type = bytes.substr(at + 4, 4);
    const std::string_view body = bytes.substr(at + 8, length);
    if (crc32(bytes.substr(at + 4, length + 4)) != big_endian(bytes, at + 8 + length)) {
      fail("PNG chunk " + std::string(type) + " damaged (CRC)");
    }
    if (type == "IHDR") {
      if (length != 13) fail("PNG header of the wrong size");
      image.width = static_cast<int>(big_endian(body, 0));
      image.height = static_cast<int>(big_endian(body, 4));
      const int depth = static_cast<std::uint8_t>(body[8]), colour_type = static_cast<std::uint8_t>(body[9]);
      if (depth != 8 || (colour_type != 2 && colour_type != 6)) fail("PNG is not 8-bit RGB or RGBA");
      if (body[10] != 0 || body[11] != 0 || body[12] != 0) fail("PNG is interlaced or of an unknown method");
      if (image.width <= 0 || image.height <= 0 || image.width > 16384 || image.height > 16384) fail("PNG size out of range");
      pixel = colour_type == 2 ? 3 : 4;
    } else if (type == "IDAT") {
      compressed.append(body);
    } else if (type == "IEND") {
      ended = true;
    }
    at += 12 + length;
  }
  if (pixel == 0) fail("PNG without a header");
  std::vector<std::uint8_t> data = inflate_zlib(compressed);
  const auto width = static_cast<std::size_t>(image.width), height = static_cast<std::size_t>(image.height);
  const std::size_t stride = width * pixel;
  if (data.size() != height * (stride + 1)) fail("PNG data of the wrong size for its picture");
  unfilter(data, height, stride, pixel);
  image.rgb.reserve(width * height * 3);
  for (std::size_t y = 0; y < height; ++y) {
    const std::uint8_t* line = data.data() + y * (stride + 1) + 1;
    for (std::size_t x = 0; x < width; ++x) image.rgb.insert(image.rgb.end(), line + x * pixel, line + x * pixel + 3);
  }
  return image;
}

PngImage read_png(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) fail("cannot open " + path);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return decode_png(bytes.str());
}

}  // namespace tamvek::testing
