#include "records/decimal_to_float.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

namespace tamvek {
namespace {

constexpr std::uint32_t infinity_bits = 0x7F80'0000;

std::uint32_t bits_of(float value) { return std::bit_cast<std::uint32_t>(value); }
float from_bits(std::uint32_t bits) { return std::bit_cast<float>(bits); }

// A decimal number as a digit string and the power of ten of its last digit.
struct Decimal {
  std::string digits;
  int exponent;
};

// The exact decimal expansion of a double. Every float, and every point halfway
// between two neighbouring floats, is a double, and the C library prints a
// double's digits exactly when asked for enough of them.
Decimal exact(double value) {
  char text[1200];
  std::snprintf(text, sizeof text, "%.1100e", value);
  std::string digits = text[0] + std::string(text + 2, 1100);
  int exponent = std::atoi(text + 1103) - 1100;
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back(), ++exponent;
  return {digits, exponent};
}

// The nearest float by the C library's own correctly rounded conversion: a
// reference independent of the converter under test.
std::uint32_t reference(const Decimal& d) {
  return bits_of(std::strtof((d.digits + "e" + std::to_string(d.exponent)).c_str(), nullptr));
}

std::uint32_t converted(const Decimal& d) { return bits_of(decimal_to_float(false, d.digits, d.exponent)); }

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
      {"0001", "5000", 3, 0x44BB'8000},  // 1500
      {"16777217", "", 0, 0x4B80'0000},  // 2^24 + 1 ties to the even 2^24
      {"16777219", "", 0, 0x4B80'0002},  // 2^24 + 3 ties to the even 2^24 + 4
      {"340282356779733661637539395458142568447", "", 0, 0x7F7F'FFFF},
      {"340282356779733661637539395458142568448", "", 0, infinity_bits},  // the tie goes up
      {"1", "", 39, infinity_bits},
      {"1", "", std::numeric_limits<std::int64_t>::max(), infinity_bits},
      {"1", "", std::numeric_limits<std::int64_t>::min(), 0},
      {"0", "", 1'000'000, 0},
      {"", "", 0, 0},
      {"000", "000", -5, 0},
      {"1", "17549435082228750797", -38, 0x0080'0000},  // the smallest normal float
      {"1", "", -45, 0x0000'0001},
      {"", "1", -46, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.whole) + "." + c.fraction + "e" + std::to_string(c.exponent));
    EXPECT_EQ(bits_of(decimal_to_float(false, c.whole, c.fraction, c.exponent)), c.bits);
    EXPECT_EQ(bits_of(decimal_to_float(true, c.whole, c.fraction, c.exponent)), c.bits | 0x8000'0000u);
  }
}

// The decimal exactly halfway between two neighbouring floats goes to the even
// one; a nonzero digit anywhere beyond it, however far, to the upper one; a
// decimal just below it to the lower one. The low ends include the largest
// denormal, the largest float (whose upper neighbour is infinity), and zero
// (half the smallest denormal rounds to zero).
TEST(DecimalToFloat, HalfwayPointsAndTheirNeighbours) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<std::uint32_t> any_finite(0, 0x7F7F'FFFF);
  for (int i = 0; i < 2000; ++i) {
    const std::uint32_t low = i == 0 ? 0 : i == 1 ? 0x7F'FFFF : i == 2 ? 0x7F7F'FFFF : any_finite(random);
    const double high = low == 0x7F7F'FFFF ? std::ldexp(1.0, 128) : from_bits(low + 1);
    const Decimal half = exact((static_cast<double>(from_bits(low)) + high) / 2);
    SCOPED_TRACE(half.digits + "e" + std::to_string(half.exponent));
    EXPECT_EQ(converted(half), (low & 1) == 0 ? low : low + 1);
    EXPECT_EQ(converted({half.digits + "1", half.exponent - 1}), low + 1);
    EXPECT_EQ(converted({half.digits + std::string(300, '0') + "3", half.exponent - 301}), low + 1);
    Decimal below = half;
    --below.digits.back();  // the last digit of an expansion is never 0
    below.digits += std::string(150, '9');
    below.exponent -= 150;
    EXPECT_EQ(converted(below), low);
  }
}

TEST(DecimalToFloat, LongDigitStrings) {
  EXPECT_EQ(decimal_to_float(false, std::string(100000, '9'), -100000), 1.0f);
  EXPECT_EQ(decimal_to_float(false, "1" + std::string(10000, '0'), -10000), 1.0f);
  EXPECT_EQ(decimal_to_float(false, "", std::string(5000, '0') + "1", 5001), 1.0f);
  EXPECT_EQ(decimal_to_float(false, std::string(3000, '0'), "", 0), 0.0f);
  const Decimal pi{"3141592653589793238462643383279502884197169399375105820974944592307816406286208998628"
                   "0348253421170679821480865132823066470938446095505822317253594081284811174502841027",
                   -166};
  EXPECT_EQ(converted(pi), reference(pi));
}

// Random decimals of 1 to 40 digits over the whole range, half of them short
// enough for float arithmetic; and the same digits split at a decimal point.
TEST(DecimalToFloat, RandomDecimalsAreNearest) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> digit(0, 9);
  std::uniform_int_distribution<int> length(1, 40);
  std::uniform_int_distribution<int> exponent(-90, 50);
  std::uniform_int_distribution<int> short_exponent(-12, 12);
  for (int i = 0; i < 20000; ++i) {
    const bool short_form = i % 2 == 0;
    Decimal d{"", 0};
    const int count = short_form ? 1 + i % 8 : length(random);
    for (int k = 0; k < count; ++k) d.digits += static_cast<char>('0' + digit(random));
    d.exponent = short_form ? short_exponent(random) : exponent(random) - count;
    SCOPED_TRACE(d.digits + "e" + std::to_string(d.exponent));
    ASSERT_EQ(converted(d), reference(d));
    const std::size_t point = static_cast<std::size_t>(i) % (d.digits.size() + 1);
    const float split = decimal_to_float(false, d.digits.substr(0, point), d.digits.substr(point),
                                         d.exponent + static_cast<int>(d.digits.size() - point));
    ASSERT_EQ(bits_of(split), converted(d));
  }
}

}  // namespace
}  // namespace tamvek
