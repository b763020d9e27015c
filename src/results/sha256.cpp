#include "results/sha256.hpp"

#include <cstdio>
#include <vector>

namespace tamvek::results {
namespace {

constexpr std::array<std::uint32_t, 64> round_constants = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr std::uint32_t rotate_right(std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

}  // namespace

Sha256::Sha256()
    : state_{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab,
             0x5be0cd19} {}

void Sha256::compress(const unsigned char* block) {
  std::array<std::uint32_t, 64> w;
  for (std::size_t i = 0; i < 16; ++i)
    w[i] = std::uint32_t{block[4 * i]} << 24 | std::uint32_t{block[4 * i + 1]} << 16 |
           std::uint32_t{block[4 * i + 2]} << 8 | std::uint32_t{block[4 * i + 3]};
  for (std::size_t i = 16; i < 64; ++i) {
    const std::uint32_t s0 = rotate_right(w[i - 15], 7) ^ rotate_right(w[i - 15], 18) ^ (w[i - 15] >> 3);
    const std::uint32_t s1 = rotate_right(w[i - 2], 17) ^ rotate_right(w[i - 2], 19) ^ (w[i - 2] >> 10);
    w[i] = w[i - 16] + s0 + w[i - 7] + s1;
  }
  std::uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
  std::uint32_t e = state_[4], f = state_[5], g = state_[6], h = state_[7];
  for (std::size_t i = 0; i < 64; ++i) {
    const std::uint32_t sum1 = rotate_right(e, 6) ^ rotate_right(e, 11) ^ rotate_right(e, 25);
    const std::uint32_t choice = (e & f) ^ (~e & g);
    const std::uint32_t t1 = h + sum1 + choice + round_constants[i] + w[i];
    const std::uint32_t sum0 = rotate_right(a, 2) ^ rotate_right(a, 13) ^ rotate_right(a, 22);
    const std::uint32_t majority = (a & b) ^ (a & c) ^ (b & c);
    const std::uint32_t t2 = sum0 + majority;
    h = g, g = f, f = e, e = d + t1, d = c, c = b, b = a, a = t1 + t2;
  }
  state_[0] += a, state_[1] += b, state_[2] += c, state_[3] += d;
  state_[4] += e, state_[5] += f, state_[6] += g, state_[7] += h;
}

void Sha256::add(std::string_view bytes) {
  length_ += bytes.size();
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t size = bytes.size();
  if (in_block_ > 0) {
    const std::size_t take = std::min(size, block_.size() - in_block_);
    std::copy(data, data + take, block_.begin() + static_cast<std::ptrdiff_t>(in_block_));
    in_block_ += take, data += take, size -= take;
    if (in_block_ < block_.size()) return;
    compress(block_.data());
    in_block_ = 0;
  }
  for (; size >= block_.size(); data += block_.size(), size -= block_.size()) compress(data);
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
