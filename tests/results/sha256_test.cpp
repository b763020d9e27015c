#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "results/sha256.hpp"
#include "results/sha256_blocks.hpp"
#include "support/scratch.hpp"

namespace tamvek::results {
namespace {

// The examples of FIPS 180-4 (one block, two blocks, the empty message, a
// million a's) and a message of 896 bits, whose padding takes a block of its own.
TEST(Sha256, GivesTheStandardsExampleDigests) {
  EXPECT_EQ(sha256_hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(sha256_hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(sha256_hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  EXPECT_EQ(sha256_hex("abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopq"
                       "klmnopqrlmnopqrsmnopqrstnopqrstu"),
            "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1");
  EXPECT_EQ(sha256_hex(std::string(1000000, 'a')),
            "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

// Pieces of every size around the block's 64 bytes give the digest of the whole.
TEST(Sha256, PiecesGiveTheDigestOfTheWhole) {
  std::mt19937 random(7);
  std::string text(1000, ' ');
  for (char& c : text) c = static_cast<char>(random());
  for (std::size_t length : {0u, 1u, 55u, 56u, 63u, 64u, 65u, 119u, 120u, 128u, 1000u}) {
    const std::string whole = sha256_hex(std::string_view(text).substr(0, length));
    for (int trial = 0; trial < 5; ++trial) {
      Sha256 digest;
      for (std::size_t at = 0; at < length;) {
        const std::size_t piece = std::min<std::size_t>(length - at, random() % 130);
        digest.add(std::string_view(text).substr(at, piece));
        at += piece;
      }
      EXPECT_EQ(digest.hex(), whole) << length;
    }
  }
}

// The processor's instructions, where it has them, compress as the plain
// form does, state for state, block runs of every length.
TEST(Sha256, TheProcessorsInstructionsAgreeWithThePlainForm) {
  if (!processor_has_sha256()) GTEST_SKIP() << "the processor has no SHA instructions";
  std::mt19937 random(11);
  std::vector<unsigned char> data(64 * 40);
  for (unsigned char& byte : data) byte = static_cast<unsigned char>(random());
  for (std::size_t count : {1u, 2u, 3u, 17u, 40u}) {
    Sha256State plain{}, processor{};
    for (std::size_t i = 0; i < 8; ++i) plain[i] = processor[i] = static_cast<std::uint32_t>(random());
    sha256_blocks_plain(plain, data.data(), count);
    sha256_blocks_processor(processor, data.data(), count);
    EXPECT_EQ(plain, processor) << count;
  }
}

// A file's digest and size as sha256sum finds them, where the system has it.
TEST(Sha256, FileDigestsAreThoseOfSha256sum) {
  testing::ScratchDir dir;
  std::string text;
  for (int row = 0; row < 400; ++row) text += std::string(326 * 6, row % 2 ? '1' : ' ') + "\r\n";
  dir.write("2010.05.rcs", text);
  const auto digest = digest_of_file(dir.file("2010.05.rcs"));
  ASSERT_TRUE(digest);
  EXPECT_EQ(digest->size, text.size());
  EXPECT_EQ(digest->hex, sha256_hex(text));
  EXPECT_FALSE(digest_of_file(dir.file("missing")));
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no sha256sum";
#else
  std::FILE* pipe = ::popen(("sha256sum '" + dir.file("2010.05.rcs") + "'").c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char line[65] = {};
  const bool read = std::fread(line, 1, 64, pipe) == 64;
  const int status = ::pclose(pipe);
  if (!read || status != 0) GTEST_SKIP() << "no sha256sum";
  EXPECT_EQ(digest->hex, std::string(line));
#endif
}

}  // namespace
}  // namespace tamvek::results
