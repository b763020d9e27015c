#include "text/value_conversion.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace tamvek {
namespace {

constexpr std::uint32_t infinity_bits = 0x7F80'0000;

// ±digits × 10^exponent.
using list_input::decimal_to_float;
using list_input::short_decimal_to_float;
float decimal_to_float(bool negative, std::string_view digits, std::int64_t exponent) {
  return decimal_to_float(negative, digits, {}, exponent);
}

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
  EXPECT_EQ(decimal_to_float(false, std::string("1").append(10000, '0'), -10000), 1.0f);
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

// The decimal text of significand × 10^exponent, for the C library's conversion.
std::string decimal_text(std::uint64_t significand, int exponent) {
  return std::to_string(significand) + "e" + std::to_string(exponent);
}

std::uint32_t word_converted(bool negative, std::uint64_t significand, int exponent) {
  return bits_of(decimal_to_float(negative, std::to_string(significand), exponent));
}

// Significands of every width up to 64 bits, exponents over the whole range of
// the integer conversion, against the C library; the same digits given as text
// go the same way.
TEST(DecimalToFloat, SixtyFourBitSignificands) {
  std::mt19937_64 random(99);
  std::uniform_int_distribution<int> width(1, 64);
  std::uniform_int_distribution<int> exponent(-27, 27);
  for (int i = 0; i < 200000; ++i) {
    const int bits = width(random);
    std::uint64_t significand = random() >> (64 - bits);
    if (i % 7 == 0) significand |= std::uint64_t{1} << (bits - 1);  // the full width
    const int e = exponent(random);
    const std::string text = decimal_text(significand, e);
    SCOPED_TRACE(text);
    const std::uint32_t expected = bits_of(std::strtof(text.c_str(), nullptr));
    ASSERT_EQ(word_converted(false, significand, e), expected);
    ASSERT_EQ(word_converted(true, significand, e), expected | 0x8000'0000u);
    ASSERT_EQ(bits_of(decimal_to_float(false, std::to_string(significand), e)), expected);
  }
}

TEST(DecimalToFloat, SixtyFourBitSignificandsAtTheirLimits) {
  struct Case {
    std::uint64_t significand;
    int exponent;
  };
  const Case cases[] = {
      {1, -27},
      {1, 27},
      {18446744073709551615u, -27},
      {18446744073709551615u, 0},
      {18446744073709551615u, 19},
      {18446744073709551615u, 20},  // beyond the largest float
      {18446744073709551615u, 27},
      {9999999999999999999u, -27},
      {9223372036854775808u, -1},  // 2^63 / 10
      {3402823466385288598u, 20},  // the largest float
      {3402823567797336616u, 20},  // just below half way to 2^128
      {3402823567797336617u, 20},  // just above it: infinity
      {3402824073360884605u, 20},  // (2^23 + 1) × 2^105, one step beyond infinity: still infinity
      {16777217, 0},
      {167772170000000000u, -10},  // 2^24 + 1 with trailing zeros: a tie, to even
      {16777217000000000u, -9},
      {33554431, 0},  // 2^25 - 1 ties up to 2^25
      {5, -1},
      {7450580596923828125u, -27},  // 2^-27 exactly
      {7450580596923828124u, -27},
      {0, -27},
      {0, 27},
  };
  for (const Case& c : cases) {
    const std::string text = decimal_text(c.significand, c.exponent);
    SCOPED_TRACE(text);
    const std::uint32_t expected = bits_of(std::strtof(text.c_str(), nullptr));
    EXPECT_EQ(word_converted(false, c.significand, c.exponent), expected);
    EXPECT_EQ(word_converted(true, c.significand, c.exponent), expected | 0x8000'0000u);
  }
  EXPECT_EQ(word_converted(false, 18446744073709551615u, 20), infinity_bits);
  EXPECT_EQ(word_converted(false, 3402823567797336617u, 20), infinity_bits);
  EXPECT_EQ(word_converted(true, 3402824073360884605u, 20), infinity_bits | 0x8000'0000u);
  EXPECT_EQ(word_converted(false, 3402823567797336616u, 20), 0x7F7F'FFFFu);
  EXPECT_EQ(word_converted(false, 167772170000000000u, -10), 0x4B80'0000u);

  EXPECT_EQ(word_converted(false, 1, 28), bits_of(1e28f));
  EXPECT_EQ(word_converted(false, 1, -28), bits_of(1e-28f));
  EXPECT_EQ(word_converted(true, 0, -1000), 0x8000'0000u);
}

// Decimals of up to 19 digits that lie exactly half way between two
// neighbouring floats, and the decimals one unit in their last digit below and
// above. The half-way point (2q + 1) × 2^u of the floats q × 2^(u+1) and
// (q + 1) × 2^(u+1) is an integer times 5^-u × 10^u for u < 0, and for u >= 0
// a multiple of 10^e when 5^e divides 2q + 1. The expected floats are made by
// scaling q by a power of two, which is exact.
TEST(DecimalToFloat, HalfwayDecimalsOfUpToNineteenDigits) {
  std::mt19937_64 random(4711);
  int cases = 0;
  for (int i = 0; i < 100000; ++i) {
    const bool fractional = i % 2 == 0;
    const int e = fractional ? -static_cast<int>(random() % 17) : static_cast<int>(random() % 11);
    std::uint64_t five_e = 1;
    for (int k = 0; k < e; ++k) five_e *= 5;
    // An odd multiple of 5^e (for e >= 0) between 2^24 and 2^25.
    const std::uint64_t low_r = ((std::uint64_t{1} << 24) + five_e - 1) / five_e;
    const std::uint64_t count = ((std::uint64_t{1} << 25) - 1) / five_e - low_r + 1;
    std::uint64_t r = low_r + random() % count;
    if (r % 2 == 0) r = r + 1 <= ((std::uint64_t{1} << 25) - 1) / five_e ? r + 1 : r - 1;
    const std::uint64_t m = r * five_e;  // 2q + 1
    if (m <= (std::uint64_t{1} << 24) || m >= (std::uint64_t{1} << 25) || m % 2 == 0) continue;
    int u = 0;
    std::uint64_t significand = 0;
    if (fractional) {
      u = e;  // m × 2^-t = m × 5^t × 10^-t
      significand = m;
      for (int k = 0; k < -e; ++k) significand *= 5;
    } else {
      // u from 3.33 e (so that 10^e is below 2^u) up to what keeps the
      // significand r × 2^(u-e) below 2^64.
      const int lowest = (10 * e + 2) / 3;
      const int highest = e + 63 - static_cast<int>(std::bit_width(r));
      if (highest < lowest) continue;
      u = lowest + static_cast<int>(random() % static_cast<std::uint64_t>(highest - lowest + 1));
      significand = r << (u - e);
    }
    const std::uint64_t q = (m - 1) / 2;
    const std::uint32_t below = bits_of(std::ldexp(static_cast<float>(q), u + 1));
    const std::uint32_t above = below + 1;
    const std::uint32_t even = q % 2 == 0 ? below : above;
    SCOPED_TRACE(decimal_text(significand, e));
    ASSERT_EQ(word_converted(false, significand, e), even);
    ASSERT_EQ(word_converted(false, significand - 1, e), below);
    ASSERT_EQ(word_converted(false, significand + 1, e), above);
    ASSERT_EQ(bits_of(decimal_to_float(false, std::to_string(significand), e)), even);
    ASSERT_EQ(bits_of(decimal_to_float(true, std::to_string(significand + 1), e)), above | 0x8000'0000u);
    ++cases;
  }
  EXPECT_GT(cases, 90000);
}

// A half-way point between two floats cut to 17, 18 or 19 significant digits
// lies just below it, by less than the last of those digits; one unit more in
// that digit lies just above it. Neither is a tie, however close.
TEST(DecimalToFloat, DecimalsOfSeventeenToNineteenDigitsNextToATie) {
  std::mt19937 random(8);
  // From 1e-8 up, so that 19 digits keep the power of ten at -27 or above.
  std::uniform_int_distribution<std::uint32_t> any_float(0x322B'CC77, 0x7F7F'FFFE);
  int cases = 0;
  for (int i = 0; i < 30000; ++i) {
    const std::uint32_t low = any_float(random);
    const Decimal half = exact((static_cast<double>(from_bits(low)) + from_bits(low + 1)) / 2);
    for (std::size_t n = 17; n <= 19; ++n) {
      if (half.digits.size() <= n) continue;
      const std::uint64_t cut = std::stoull(half.digits.substr(0, n));
      const int e = half.exponent + static_cast<int>(half.digits.size() - n);
      SCOPED_TRACE(decimal_text(cut, e));
      ASSERT_EQ(word_converted(false, cut, e), low);
      ASSERT_EQ(word_converted(false, cut + 1, e), low + 1);
      ASSERT_EQ(bits_of(decimal_to_float(true, std::to_string(cut), e)), low | 0x8000'0000u);
      ++cases;
    }
  }
  EXPECT_GT(cases, 50000);
}

// Large products significand × 5^e (e >= 0) whose leading 64 bits end exactly
// half way between two floats while nonzero bits follow further down: the
// value lies just above the tie, and one unit less in the significand lies
// below it. Found by search: P = (2q + 1) × 2^j + L for the smallest L > 0
// that makes P a multiple of 5^e.
TEST(DecimalToFloat, LongProductsJustAboveATie) {
  __extension__ typedef unsigned __int128 Wide;
  std::mt19937_64 random(31337);
  int cases = 0;
  for (int i = 0; i < 20000; ++i) {
    const int e = 19 + static_cast<int>(random() % 9);
    const int j = 103 - e - static_cast<int>(random() % 4);
    const std::uint64_t q = (std::uint64_t{1} << 23) + random() % (std::uint64_t{1} << 23);
    Wide five_e = 1;
    for (int k = 0; k < e; ++k) five_e *= 5;
    const Wide tie = Wide{2 * q + 1} << j;
    const Wide rest = (five_e - tie % five_e) % five_e;
    const Wide product = tie + rest;
    const Wide significand = product / five_e;
    // The part below the leading 64 bits of a product of 25 + j bits.
    if (rest == 0 || rest >= (Wide{1} << (j + 25 - 64)) || significand >> 64 != 0) continue;
    const std::uint64_t w = static_cast<std::uint64_t>(significand);
    const std::uint32_t below = bits_of(std::ldexp(static_cast<float>(q), j + 1 + e));
    SCOPED_TRACE(decimal_text(w, e));
    ASSERT_EQ(word_converted(false, w, e), below + 1);
    ASSERT_EQ(word_converted(false, w - 1, e), below);
    ASSERT_EQ(bits_of(decimal_to_float(false, std::to_string(w), e)), below + 1);
    ++cases;
  }
  EXPECT_GT(cases, 1000);
}

// Quotients by powers of ten up to 10^15: significands that 5^k divides exactly, and those a unit above and below,
// where the remainder is largest, at every width, read as the C library
// reads them.
TEST(DecimalToFloat, QuotientsByShortPowersOfTenAtTheirRemainders) {
  std::mt19937_64 random(2718);
  std::uint64_t power_of_five = 1;
  for (int k = 0; k <= 15; ++k, power_of_five *= 5) {
    SCOPED_TRACE(k);
    for (int i = 0; i < 4000; ++i) {
      const int bits = 1 + i % 64;
      std::uint64_t base = (random() >> (64 - bits)) | std::uint64_t{1} << (bits - 1);
      base -= base % power_of_five;
      for (const std::uint64_t significand : {base - 1, base, base + 1, base + power_of_five - 1}) {
        if (significand == 0) continue;
        const std::string text = decimal_text(significand, -k);
        SCOPED_TRACE(text);
        const std::uint32_t expected = bits_of(std::strtof(text.c_str(), nullptr));
        ASSERT_EQ(bits_of(decimal_to_float(false, std::to_string(significand), -k)), expected);
        ASSERT_EQ(bits_of(decimal_to_float(true, std::to_string(significand), -k)), expected | 0x8000'0000u);
      }
    }
  }
  EXPECT_EQ(bits_of(decimal_to_float(false, "18446744073709551615", -15)),
            bits_of(std::strtof("18446744073709551615e-15", nullptr)));
  EXPECT_EQ(bits_of(decimal_to_float(false, "1", -15)), bits_of(1e-15f));
}

// Short decimals taken from one double quotient: at and beside the points
// halfway between two floats, where the quotient alone cannot settle them and
// they are refused, and at random, read as the C library reads them.
TEST(DecimalToFloat, ShortDecimalsByOneDoubleQuotient) {
  std::mt19937_64 random(1414);
  int taken = 0;
  int refused = 0;
  const auto check = [&](std::uint64_t n, int k) {
    const std::string text = decimal_text(n, -k);
    float value = 3.0f;
    if (short_decimal_to_float(n, k, value)) {
      ++taken;
      ASSERT_EQ(bits_of(value), bits_of(std::strtof(text.c_str(), nullptr))) << text;
    } else {
      ++refused;
      ASSERT_EQ(value, 3.0f);
    }
  };
  std::uint64_t power_of_five = 1;
  for (int k = 0; k <= 15; ++k) {
    // A halfway point m x 2^-k with m odd of 25 bits is n / 10^k for
    // n = m x 5^k, while that stays below 10^15.
    if (k <= 10) {
      for (int i = 0; i < 3000; ++i) {
        const std::uint64_t m = (random() >> 39) | 1 | std::uint64_t{1} << 24;
        for (const std::uint64_t n : {m * power_of_five - 1, m * power_of_five, m * power_of_five + 1}) check(n, k);
      }
      power_of_five *= 5;
    }
    for (int i = 0; i < 6000; ++i) check(random() >> (15 + random() % 40), k);
  }
  EXPECT_GT(taken, 80000);
  EXPECT_GT(refused, 3000);  // every halfway point at least
  float untouched = 3.0f;
  EXPECT_FALSE(short_decimal_to_float(1'000'000'000'000'000, 3, untouched));
  EXPECT_FALSE(short_decimal_to_float(123456789, 16, untouched));
  EXPECT_FALSE(short_decimal_to_float(123456789, -1, untouched));
  EXPECT_EQ(untouched, 3.0f);
}

}  // namespace
}  // namespace tamvek
