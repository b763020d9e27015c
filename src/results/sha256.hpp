#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tamvek::results {

// The SHA-256 digest (FIPS 180-4) of a stream of bytes given in pieces of any
// size, so that a file is digested as it is read or copied.
class Sha256 {
 public:
  Sha256();
  void add(std::string_view bytes);
  // The digest in lowercase hexadecimal, as sha256sum prints it. Ends the
  // digest: nothing may be added after it.
  std::string hex();

 private:
  std::array<std::uint32_t, 8> state_;
  std::array<unsigned char, 64> block_{};
  std::size_t in_block_ = 0;
  std::uint64_t length_ = 0;  // bytes added
};

std::string sha256_hex(std::string_view bytes);

// A file's digest and size, read in blocks; nothing when it cannot be read.
struct FileDigest {
  std::string hex;
  std::uint64_t size = 0;
};
std::optional<FileDigest> digest_of_file(const std::filesystem::path& path);

}  // namespace tamvek::results
