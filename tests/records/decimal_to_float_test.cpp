#include "records/decimal_to_float.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <compare>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace tamvek {
namespace {

// A plain unsigned integer (32-bit limbs, least significant first), written
// differently from the converter's own so that it checks it independently.
class Exact {
 public:
  explicit Exact(std::uint64_t value = 0) {
    while (value != 0) limbs_.push_back(static_cast<std::uint32_t>(value)), value >>= 32;
  }
  static Exact of_digits(const std::string& digits) {
    Exact result;
    for (char c : digits) result.times(10).plus(static_cast<std::uint32_t>(c - '0'));
    return result;
  }
  Exact& times(std::uint32_t factor, int count = 1) {
    for (int k = 0; k < count; ++k) {
      std::uint64_t carry = 0;
      for (std::uint32_t& limb : limbs_) {
        const std::uint64_t product = std::uint64_t{limb} * factor + carry;
        limb = static_cast<std::uint32_t>(product), carry = product >> 32;
      }
      if (carry != 0) limbs_.push_back(static_cast<std::uint32_t>(carry));
    }
    return *this;
  }
  Exact& plus(std::uint32_t addend) { return plus(Exact(addend)); }
  Exact& plus(const Exact& other) {
    std::uint64_t carry = 0;
    for (std::size_t i = 0; i < other.limbs_.size() || carry != 0; ++i) {
      if (i == limbs_.size()) limbs_.push_back(0);
      const std::uint64_t sum = std::uint64_t{limbs_[i]} + (i < other.limbs_.size() ? other.limbs_[i] : 0) + carry;
      limbs_[i] = static_cast<std::uint32_t>(sum), carry = sum >> 32;
    }
    return *this;
  }
  Exact& minus_one() {  // of a positive number
    for (std::uint32_t& limb : limbs_)
      if (limb-- != 0) break;
    trim();
    return *this;
  }
  std::string decimal() const {
    Exact rest = *this;
    std::string digits;
    while (!rest.limbs_.empty()) {
      std::uint64_t remainder = 0;
      for (std::size_t i = rest.limbs_.size(); i-- > 0;) {
        const std::uint64_t part = (remainder << 32) | rest.limbs_[i];
        rest.limbs_[i] = static_cast<std::uint32_t>(part / 10), remainder = part % 10;
      }
      rest.trim();
      digits.insert(digits.begin(), static_cast<char>('0' + remainder));
    }
    return digits.empty() ? "0" : digits;
  }
  friend std::strong_ordering operator<=>(const Exact& a, const Exact& b) {
    if (a.limbs_.size() != b.limbs_.size()) return a.limbs_.size() <=> b.limbs_.size();
    for (std::size_t i = a.limbs_.size(); i-- > 0;)
      if (a.limbs_[i] != b.limbs_[i]) return a.limbs_[i] <=> b.limbs_[i];
    return std::strong_ordering::equal;
  }
  friend bool operator==(const Exact& a, const Exact& b) { return (a <=> b) == 0; }

 private:
  void trim() {
    while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
  }
  std::vector<std::uint32_t> limbs_;
};

constexpr std::uint32_t infinity_bits = 0x7F80'0000;

// A non-negative float, or 2^128 for the infinity bits, times 2^149: an integer.
Exact scaled_by_2_149(std::uint32_t bits) {
  const std::uint32_t biased = bits >> 23;
  const std::uint32_t fraction = bits & 0x7F'FFFF;
  if (biased == 0) return Exact(fraction);
  Exact value(fraction | 0x80'0000);
  return value.times(2, static_cast<int>(biased) - 1);
}

// The point halfway between two neighbouring non-negative floats, times 2^150.
Exact midpoint_scaled(std::uint32_t low_bits) {
  return scaled_by_2_149(low_bits).plus(scaled_by_2_149(low_bits + 1));
}

// Compares digits × 10^exponent with midpoint × 2^-150.
std::strong_ordering compare_with_midpoint(const std::string& digits, int exponent, Exact midpoint) {
  Exact value = Exact::of_digits(digits).times(2, 150);
  if (exponent >= 0) {
    value.times(10, exponent);
  } else {
    midpoint.times(10, -exponent);
  }
  return value <=> midpoint;
}

// Whether `result` is the float nearest to digits × 10^exponent, ties to even,
// by comparing the decimal with the midpoints on both sides of it.
::testing::AssertionResult is_nearest(const std::string& digits, int exponent, float result) {
  const std::uint32_t bits = std::bit_cast<std::uint32_t>(std::fabs(result));
  const bool even = (bits & 1) == 0;
  const auto report = [&](const char* why) {
    return ::testing::AssertionFailure() << digits << "e" << exponent << " gave " << result << " (bits "
                                         << std::hex << bits << "): " << why;
  };
  if (bits > infinity_bits) return report("NaN");
  if (bits > 0) {
    // Infinity needs the decimal at or above the midpoint from the largest float to 2^128.
    const auto below = compare_with_midpoint(digits, exponent, midpoint_scaled(bits - 1));
    if (below < 0 || (below == 0 && !even && bits != infinity_bits)) return report("too large");
  }
  if (bits < infinity_bits) {
    const auto above = compare_with_midpoint(digits, exponent, midpoint_scaled(bits));
    if (above > 0 || (above == 0 && !even)) return report("too small");
  }
  return ::testing::AssertionSuccess();
}

float converted(const std::string& digits, int exponent) {
  return decimal_to_float(false, digits, exponent);
}

TEST(DecimalToFloat, KnownValues) {
  struct Case {
    const char* whole;
    const char* fraction;
    std::int64_t exponent;
    std::uint32_t bits;
  };
  const Case cases[] = {
      {"1", "", 0, 0x3F80'0000},
      {"0", "1", 0, 0x3DCC'CCCD},
      {"", "1", 0, 0x3DCC'CCCD},
      {"37", "25", 0, 0x4215'0000},
      {"0001", "5000", 3, 0x44BB'8000},  // 1500
      {"16777217", "", 0, 0x4B80'0000},  // 2^24 + 1 ties to the even 2^24
      {"16777219", "", 0, 0x4B80'0002},  // 2^24 + 3 ties to the even 2^24 + 4
      {"340282346638528859811704183484516925440", "", 0, 0x7F7F'FFFF},
      {"340282356779733661637539395458142568447", "", 0, 0x7F7F'FFFF},
      {"340282356779733661637539395458142568448", "", 0, infinity_bits},  // the tie goes up
      {"1", "", 39, infinity_bits},
      {"1", "", 1'000'000'000'000'000'000, infinity_bits},
      {"1", "", std::numeric_limits<std::int64_t>::max(), infinity_bits},
      {"1", "", std::numeric_limits<std::int64_t>::min(), 0},
      {"0", "", 1'000'000, 0},
      {"", "", 0, 0},
      {"000", "000", -5, 0},
      {"1", "17549435082228750797", -38, 0x0080'0000},  // the smallest normal float
      {"1", "", -45, 0x0000'0001},
      {"1", "4", -45, 0x0000'0001},
      {"", "1", -46, 0},
  };
  for (const Case& c : cases) {
    const float value = decimal_to_float(false, c.whole, c.fraction, c.exponent);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(value), c.bits) << c.whole << "." << c.fraction << "e" << c.exponent;
    const float negative = decimal_to_float(true, c.whole, c.fraction, c.exponent);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(negative), c.bits | 0x8000'0000u) << "-" << c.whole << "." << c.fraction;
  }
}

TEST(DecimalToFloat, TheSmallestDenormalBoundary) {
  const std::string half = midpoint_scaled(0).times(5, 150).decimal();  // 2^-150 exactly
  EXPECT_EQ(std::bit_cast<std::uint32_t>(converted(half, -150)), 0u);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(converted(half + "1", -151)), 1u);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(converted(half + std::string(300, '0') + "1", -451)), 1u);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(converted(Exact::of_digits(half).times(10).minus_one().decimal(), -151)), 0u);
  // 3 × 2^-150 lies halfway between 2^-149 (odd) and 2^-148 (even).
  EXPECT_EQ(std::bit_cast<std::uint32_t>(converted(midpoint_scaled(1).times(5, 150).decimal(), -150)), 2u);
}

TEST(DecimalToFloat, HalfwayPointsAndTheirNeighbours) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<std::uint32_t> any_finite(0, 0x7F7F'FFFE);
  for (int i = 0; i < 600; ++i) {
    const std::uint32_t low = i < 4 ? std::uint32_t(i) * 0x0080'0000u + 0x7F'FFFF : any_finite(random);
    const std::string midpoint = midpoint_scaled(low).times(5, 150).decimal();
    const std::uint32_t even = (low & 1) == 0 ? low : low + 1;
    EXPECT_EQ(std::bit_cast<std::uint32_t>(converted(midpoint, -150)), even) << midpoint;
    // One unit further down in the next digit, and a nonzero digit far beyond the kept ones.
    EXPECT_EQ(std::bit_cast<std::uint32_t>(converted(midpoint + "1", -151)), low + 1) << midpoint;
    EXPECT_EQ(std::bit_cast<std::uint32_t>(converted(midpoint + std::string(200, '0') + "3", -351)), low + 1);
    const std::string just_below = Exact::of_digits(midpoint).times(10).minus_one().decimal();
    EXPECT_EQ(std::bit_cast<std::uint32_t>(converted(just_below, -151)), low) << just_below;
  }
}

TEST(DecimalToFloat, LongDigitStrings) {
  EXPECT_EQ(converted(std::string(100000, '9'), -100000), 1.0f);
  EXPECT_EQ(converted("1" + std::string(10000, '0'), -10000), 1.0f);
  EXPECT_EQ(decimal_to_float(false, "", std::string(5000, '0') + "1", 5001), 1.0f);
  EXPECT_EQ(decimal_to_float(false, std::string(3000, '0'), "", 0), 0.0f);
  const std::string pi = "31415926535897932384626433832795028841971693993751058209749445923078164062862"
                         "0899862803482534211706798214808651328230664709384460955058223172535940812848"
                         "111745028410270193852110555964462294895493038196";
  EXPECT_TRUE(is_nearest(pi, -static_cast<int>(pi.size()) + 1, converted(pi, -static_cast<int>(pi.size()) + 1)));
  EXPECT_EQ(converted(pi, -static_cast<int>(pi.size()) + 1), 3.14159265f);
}

TEST(DecimalToFloat, RandomDecimalsAreNearest) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> length(1, 40);
  std::uniform_int_distribution<int> digit(0, 9);
  std::uniform_int_distribution<int> exponent(-90, 50);
  std::uniform_int_distribution<int> short_exponent(-12, 12);
  for (int i = 0; i < 4000; ++i) {
    const bool short_form = i % 2 == 0;  // within the reach of float arithmetic
    std::string digits;
    const int count = short_form ? 1 + i % 8 : length(random);
    for (int k = 0; k < count; ++k) digits += static_cast<char>('0' + digit(random));
    const int power = short_form ? short_exponent(random) : exponent(random) - count;
    EXPECT_TRUE(is_nearest(digits, power, converted(digits, power)));
  }
}

TEST(DecimalToFloat, SplitDigitsMeanTheSameNumber) {
  std::mt19937 random(99);
  std::uniform_int_distribution<int> digit(0, 9);
  for (int i = 0; i < 500; ++i) {
    std::string digits;
    for (int k = 0; k < 30; ++k) digits += static_cast<char>('0' + digit(random));
    const std::size_t point = static_cast<std::size_t>(i % 31);
    const float joined = decimal_to_float(false, digits, -static_cast<std::int64_t>(30 - point) - 20);
    const float split = decimal_to_float(false, digits.substr(0, point), digits.substr(point), -20);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(joined), std::bit_cast<std::uint32_t>(split)) << digits;
  }
}

}  // namespace
}  // namespace tamvek
