#include "state/kept_acreage.hpp"

#include <gtest/gtest.h>

namespace tamvek {
namespace {

bool operator==(const AcreageFields& a, const AcreageFields& b) {
  return a.grp == b.grp && a.twp == b.twp && a.rng == b.rng && a.sec == b.sec && a.tract == b.tract &&
         a.tacres == b.tacres;
}

// Reads that set only some fields: a second read takes the unset ones from
// the record before it, the first from the fields the second pass starts with,
// until every field has been set once; from there on the records are as kept.
TEST(KeptAcreage, ASecondReadKeepsWhatItsRecordLeavesUnset) {
  const FileVersion version{100, 7};
  KeptAcreage kept;
  kept.start(version, 4);
  kept.add({5, 0, 0, 0, 0, 7.5f}, 0b100001);   // "5,,,,,7.5"
  kept.add({6, 2, 2, 0, 0, 7.5f}, 0b000111);   // "6 2 2 /"
  kept.add({6, 2, 3, 3, 3, 1.5f}, 0b111100);   // ",, 3 3 3 1.5": every field set once now
  kept.add({1, 2, 3, 4, 5, 9.0f}, 0b000001);   // "1 /": the rest as the reads before left them
  ASSERT_TRUE(kept.stand_for(version));
  EXPECT_FALSE(kept.stand_for({100, 8}));
  EXPECT_FALSE(kept.stand_for({101, 7}));

  AcreageFields fields{9, 11, 12, 13, 14, 2.0f};
  const AcreageFields expected[] = {
      {5, 11, 12, 13, 14, 7.5f}, {6, 2, 2, 13, 14, 7.5f}, {6, 2, 3, 3, 3, 1.5f}, {1, 2, 3, 4, 5, 9.0f}};
  ASSERT_EQ(kept.size(), 4u);
  for (std::size_t index = 0; index < kept.size(); ++index) {
    fields = kept.read_again(index, fields);
    EXPECT_TRUE(fields == expected[index]) << index;
  }
  kept.release();
  EXPECT_FALSE(kept.stand_for(version));
}

// A file of shorter records than the room was made for: the records kept
// before each new block of room are moved there whole and in order.
TEST(KeptAcreage, RecordsBeyondTheRoomFirstMadeAreKeptInOrder) {
  const FileVersion version{12, 3};
  KeptAcreage kept;
  kept.start(version, 2);
  const auto record = [](int k) {
    return AcreageFields{k % 3001, k % 20 + 1, k % 45 + 1, k % 36 + 1, k % 16 + 1, static_cast<float>(k) / 8};
  };
  for (int k = 0; k < 20'000; ++k) kept.add(record(k), 0b111111);
  ASSERT_TRUE(kept.stand_for(version));
  ASSERT_EQ(kept.size(), 20'000u);
  AcreageFields fields;
  for (int k = 0; k < 20'000; ++k) {
    fields = kept.read_again(static_cast<std::size_t>(k), fields);
    ASSERT_TRUE(fields == record(k)) << k;
  }
}

TEST(KeptAcreage, KeysBeyondAByteLeaveTheFileToBeReadAgain) {
  const FileVersion version{1, 1};
  for (const AcreageFields& beyond : {AcreageFields{1, 256, 1, 1, 1, 1}, AcreageFields{1, 1, -1, 1, 1, 1},
                                      AcreageFields{1, 1, 1, 1000, 1, 1}, AcreageFields{1, 1, 1, 1, 300, 1}}) {
    KeptAcreage kept;
    kept.start(version, 2);
    kept.add({-4, 255, 0, 36, 16, 1}, 0b111111);
    EXPECT_TRUE(kept.stand_for(version));
    kept.add(beyond, 0b111111);
    kept.add({1, 1, 1, 1, 1, 1}, 0b111111);
    EXPECT_FALSE(kept.stand_for(version));
  }
}

}  // namespace
}  // namespace tamvek
