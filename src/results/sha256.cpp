#include "results/sha256.hpp"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "results/sha256_blocks.hpp"

namespace tamvek::results {
namespace {

// Chosen once: the processor's instructions where it has them.
const auto compress_blocks = processor_has_sha256() ? sha256_blocks_processor : sha256_blocks_plain;

}  // namespace

Sha256::Sha256()
    : state_{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab,
             0x5be0cd19} {}

void Sha256::add(std::string_view bytes) {
  length_ += bytes.size();
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t size = bytes.size();
  if (in_block_ > 0) {
    const std::size_t take = std::min(size, block_.size() - in_block_);
    std::copy(data, data + take, block_.begin() + static_cast<std::ptrdiff_t>(in_block_));
    in_block_ += take, data += take, size -= take;
    if (in_block_ < block_.size()) return;
    compress_blocks(state_, block_.data(), 1);
    in_block_ = 0;
  }
  const std::size_t blocks = size / block_.size();
  compress_blocks(state_, data, blocks);
  data += blocks * block_.size(), size -= blocks * block_.size();
  std::copy(data, data + size, block_.begin());
  in_block_ = size;
}

std::string Sha256::hex() {
  // The padding: a one bit, zeros, and the length in bits in the last 8 bytes.
  const std::uint64_t bits = length_ * 8;
  unsigned char padding[72] = {0x80};
  const std::size_t zeros = (in_block_ < 56 ? 56 : 120) - in_block_;
  for (int i = 0; i < 8; ++i) padding[zeros + static_cast<std::size_t>(i)] = static_cast<unsigned char>(bits >> (56 - 8 * i));
  add(std::string_view(reinterpret_cast<const char*>(padding), zeros + 8));
  static constexpr char digits[] = "0123456789abcdef";
  std::string text;
  for (const std::uint32_t word : state_)
    for (int shift = 28; shift >= 0; shift -= 4) text += digits[(word >> shift) & 0xf];
  return text;
}

std::string sha256_hex(std::string_view bytes) {
  Sha256 digest;
  digest.add(bytes);
  return digest.hex();
}

std::optional<FileDigest> digest_of_file(const std::filesystem::path& path) {
  std::FILE* file = std::fopen(path.string().c_str(), "rb");
  if (file == nullptr) return std::nullopt;
  Sha256 digest;
  FileDigest result;
  std::vector<char> block(1 << 16);
  std::size_t got = 0;
  while ((got = std::fread(block.data(), 1, block.size(), file)) > 0) {
    digest.add(std::string_view(block.data(), got));
    result.size += got;
  }
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return std::nullopt;
  result.hex = digest.hex();
  return result;
}

}  // namespace tamvek::results
