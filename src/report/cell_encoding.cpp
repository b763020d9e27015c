#include "report/cell_encoding.hpp"

namespace tamvek::report {

namespace {

std::uint64_t zigzag(std::int32_t value) {
  return value >= 0 ? 2 * static_cast<std::uint64_t>(value)
                    : 2 * static_cast<std::uint64_t>(-static_cast<std::int64_t>(value)) - 1;
}

void add_varint(std::string& bytes, std::uint64_t code) {
  while (code >= 0x80) {
    bytes += static_cast<char>((code & 0x7f) | 0x80);
    code >>= 7;
  }
  bytes += static_cast<char>(code);
}

}  // namespace

std::string zigzag_varints(std::span<const std::int32_t> values) {
  std::string bytes;
  bytes.reserve(values.size() * 2);
  for (const std::int32_t value : values) add_varint(bytes, zigzag(value));
  return bytes;
}

std::string zero_run_varints(std::span<const std::int32_t> values) {
  std::string bytes;
  std::uint64_t zeros = 0;
  for (const std::int32_t value : values) {
    if (value == 0) {
      ++zeros;
      continue;
    }
    if (zeros > 0) add_varint(bytes, 2 * (zeros - 1) + 1);
    zeros = 0;
    add_varint(bytes, 2 * zigzag(value));
  }
  if (zeros > 0) add_varint(bytes, 2 * (zeros - 1) + 1);
  return bytes;
}

std::string base64(std::string_view bytes) {
  static constexpr char alphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  const auto byte = [&](std::size_t at) { return static_cast<std::uint32_t>(
                                              static_cast<unsigned char>(bytes[at])); };
  for (; i + 3 <= bytes.size(); i += 3) {
    const std::uint32_t group = byte(i) << 16 | byte(i + 1) << 8 | byte(i + 2);
    text += alphabet[group >> 18];
    text += alphabet[(group >> 12) & 63];
    text += alphabet[(group >> 6) & 63];
    text += alphabet[group & 63];
  }
  if (const std::size_t left = bytes.size() - i; left > 0) {
    const std::uint32_t group = byte(i) << 16 | (left == 2 ? byte(i + 1) << 8 : 0);
    text += alphabet[group >> 18];
    text += alphabet[(group >> 12) & 63];
    text += left == 2 ? alphabet[(group >> 6) & 63] : '=';
    text += '=';
  }
  return text;
}

}  // namespace tamvek::report
