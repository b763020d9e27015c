#include "text/number_format.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "runtime/extended.hpp"

namespace tamvek {
namespace {

std::string list_real(float value) {
  char buffer[20];
  std::fill(std::begin(buffer), std::end(buffer), '#');
  char* end = format_list_real(value, buffer);
  EXPECT_EQ(end, buffer + 16);
  EXPECT_EQ(buffer[16], '#') << "wrote past the field";
  return std::string(buffer, 16);
}

std::string f61(float value) {
  char buffer[10];
  std::fill(std::begin(buffer), std::end(buffer), '#');
  char* end = format_f61(value, buffer);
  EXPECT_EQ(end, buffer + 6);
  EXPECT_EQ(buffer[6], '#') << "wrote past the field";
  return std::string(buffer, 6);
}

std::string list_integer(std::int32_t value) {
  char buffer[14];
  std::fill(std::begin(buffer), std::end(buffer), '#');
  char* end = format_list_integer(value, buffer);
  EXPECT_EQ(end, buffer + 11);
  EXPECT_EQ(buffer[11], '#') << "wrote past the field";
  return std::string(buffer, 11);
}

float from_bits(std::uint32_t bits) { return std::bit_cast<float>(bits); }
std::uint32_t to_bits(float value) { return std::bit_cast<std::uint32_t>(value); }

std::string pad_left(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

// ---------------------------------------------------------------------------
// Reference: the exact decimal expansion of a float, rounded on its digits.
//
// A finite float is mant * 2^e. For e >= 0 that is the integer mant * 2^e;
// for e < 0 it is the integer mant * 5^-e with -e digits after the point. The
// integer is built in base 10^9 and turned into a digit string, and all
// rounding is done on that string.

struct Decimal {
  std::string digits;  // integer, no leading zeros ("0" for zero)
  int fraction = 0;    // value = digits * 10^-fraction
};

void multiply(std::vector<std::uint32_t>& limbs, std::uint32_t factor) {
  std::uint64_t carry = 0;
  for (auto& limb : limbs) {
    const std::uint64_t product = std::uint64_t{limb} * factor + carry;
    limb = static_cast<std::uint32_t>(product % 1000000000u);
    carry = product / 1000000000u;
  }
  while (carry != 0) {
    limbs.push_back(static_cast<std::uint32_t>(carry % 1000000000u));
    carry /= 1000000000u;
  }
}

Decimal exact_decimal(float value) {
  const std::uint32_t bits = to_bits(value) & 0x7FFFFFFFu;
  const int biased = static_cast<int>(bits >> 23);
  std::uint32_t mant = bits & 0x7FFFFFu;
  int e = -149;
  if (biased != 0) {
    mant |= 0x800000u;
    e = biased - 150;
  }
  std::vector<std::uint32_t> limbs = {mant % 1000000000u};
  Decimal result;
  if (e >= 0) {
    for (int left = e; left > 0; left -= 16) {
      multiply(limbs, 1u << std::min(left, 16));
    }
  } else {
    result.fraction = -e;
    for (int left = -e; left > 0; left -= 12) {
      std::uint32_t factor = 1;
      for (int i = 0; i < std::min(left, 12); ++i) factor *= 5;
      multiply(limbs, factor);
    }
  }
  while (limbs.size() > 1 && limbs.back() == 0) limbs.pop_back();
  result.digits = std::to_string(limbs.back());
  for (std::size_t i = limbs.size() - 1; i-- > 0;) {
    const std::string part = std::to_string(limbs[i]);
    result.digits += std::string(9 - part.size(), '0') + part;
  }
  return result;
}

// digits / 10^drop rounded to an integer, ties to even; returned as digits
// without leading zeros.
std::string round_digits(const std::string& digits, int drop) {
  if (drop <= 0) {
    return digits == "0" ? digits : digits + std::string(static_cast<std::size_t>(-drop), '0');
  }
  const auto cut = static_cast<std::ptrdiff_t>(digits.size()) - drop;
  std::string kept = cut > 0 ? digits.substr(0, static_cast<std::size_t>(cut)) : "0";
  const char first_dropped = cut >= 0 ? digits[static_cast<std::size_t>(cut)] : '0';
  bool rest_nonzero = false;
  for (std::ptrdiff_t i = std::max<std::ptrdiff_t>(cut + 1, 0);
       i < static_cast<std::ptrdiff_t>(digits.size()); ++i) {
    rest_nonzero = rest_nonzero || digits[static_cast<std::size_t>(i)] != '0';
  }
  const bool kept_odd = ((kept.back() - '0') % 2) == 1;
  const bool up = first_dropped > '5' || (first_dropped == '5' && (rest_nonzero || kept_odd));
  if (up) {
    std::size_t i = kept.size();
    while (i > 0 && kept[i - 1] == '9') kept[--i] = '0';
    if (i == 0) {
      kept.insert(kept.begin(), '1');
    } else {
      ++kept[i - 1];
    }
  }
  return kept;
}

// "int.frac" from the digits of value * 10^decimals.
std::string with_point(std::string scaled, int decimals) {
  const auto n = static_cast<std::size_t>(decimals);
  if (scaled.size() < n + 1) scaled.insert(0, n + 1 - scaled.size(), '0');
  scaled.insert(scaled.size() - n, 1, '.');
  return scaled;
}

// The form decision, literally as the tests in extended precision.
bool takes_exponent_form(float value) {
  const extended m = std::fabs(static_cast<extended>(value));
  if (m == 0) return false;
  const extended q = static_cast<extended>(static_cast<float>(1.0e-9L));
  return m < 0.1L - 0.05L * q || (m + 0.5L) * q >= 1.0L;
}

std::string reference_list_real(float value) {
  const bool negative = std::signbit(value);
  const std::string sign = negative ? "-" : "";
  if (std::isnan(value)) return pad_left("NaN", 16);
  if (std::isinf(value)) return pad_left(sign + "Infinity", 16);
  const Decimal exact = exact_decimal(value);
  if (!takes_exponent_form(value)) {
    int decimals = 8;
    if (exact.digits != "0") {
      const int int_digits =
          std::max(0, static_cast<int>(exact.digits.size()) - exact.fraction);
      decimals = std::max(0, 9 - int_digits);
    }
    const std::string scaled = round_digits(exact.digits, exact.fraction - decimals);
    return pad_left(sign + with_point(scaled, decimals), 12) + "    ";
  }
  const int length = static_cast<int>(exact.digits.size());
  int exponent = length - 1 - exact.fraction;
  std::string nine = round_digits(exact.digits, length - 9);
  if (nine.size() == 10) {
    nine.pop_back();
    ++exponent;
  }
  const int magnitude = std::abs(exponent);
  std::string text = sign + nine.substr(0, 1) + "." + nine.substr(1) + "E" +
                     (exponent < 0 ? "-" : "+") + (magnitude < 10 ? "0" : "") +
                     std::to_string(magnitude);
  return pad_left(text, 16);
}

std::string reference_f61(float value) {
  const bool negative = std::signbit(value);
  const std::string sign = negative ? "-" : "";
  if (std::isnan(value)) return "   NaN";
  if (std::isinf(value)) return pad_left(sign + "Inf", 6);
  const Decimal exact = exact_decimal(value);
  const std::string text = sign + with_point(round_digits(exact.digits, exact.fraction - 1), 1);
  return text.size() > 6 ? "******" : pad_left(text, 6);
}

// ---------------------------------------------------------------------------
// Worked examples.

struct Example {
  float value;
  const char* text;
};

TEST(NumberFormatListReal, WorkedExamples) {
  const Example examples[] = {
      {0.1f, " 0.100000001    "},
      {0.0f, "  0.00000000    "},
      {-0.0f, " -0.00000000    "},
      {100.0f, "  100.000000    "},
      {-2.5f, " -2.50000000    "},
      {12345.678f, "  12345.6777    "},
      {123456789.0f, "  123456792.    "},
      {1.0e-5f, "  9.99999975E-06"},
      {3.0e9f, "  3.00000000E+09"},
      {1.5f, "  1.50000000    "},
      {1000000000.0f, " 1000000000.    "},
      {1000000064.0f, "  1.00000006E+09"},
      {std::nextafter(0.1f, 0.0f), "  9.99999940E-02"},
      // 9.9999999982e-24 rounds to ten at nine digits: one digit, next exponent.
      {from_bits(0x19416D9Au), "  1.00000000E-23"},
      {-from_bits(0x19416D9Au), " -1.00000000E-23"},
      // Exact ties at nine digits go to even.
      {41.0f / 2048.0f, "  2.00195312E-02"},     // 0.02001953125
      {103.0f / 1024.0f, " 0.100585938    "},     // 0.1005859375
      {-1000000000.0f, "-1000000000.    "},
      {-0.1f, "-0.100000001    "},
      {-1.0e-5f, " -9.99999975E-06"},
      {1.0f, "  1.00000000    "},
      {99999999.0f, "  100000000.    "},  // stored as 10^8, 9 integer digits
      {std::numeric_limits<float>::max(), "  3.40282347E+38"},
      {-std::numeric_limits<float>::min(), " -1.17549435E-38"},
      {std::numeric_limits<float>::denorm_min(), "  1.40129846E-45"},
      {std::numeric_limits<float>::infinity(), "        Infinity"},
      {-std::numeric_limits<float>::infinity(), "       -Infinity"},
      {std::numeric_limits<float>::quiet_NaN(), "             NaN"},
      {-std::numeric_limits<float>::quiet_NaN(), "             NaN"},
  };
  for (const auto& example : examples) {
    EXPECT_EQ(list_real(example.value), example.text) << "value " << example.value;
  }
}

TEST(NumberFormatF61, WorkedExamples) {
  const Example examples[] = {
      {3.14159f, "   3.1"},   {-0.5f, "  -0.5"},    {1234.56f, "1234.6"},
      {0.25f, "   0.2"},      {0.75f, "   0.8"},    {0.05f, "   0.1"},
      {9999.94f, "9999.9"},   {9999.96f, "******"}, {-999.94f, "-999.9"},
      {-999.96f, "******"},   {-0.04f, "  -0.0"},   {-0.0f, "  -0.0"},
      {0.04f, "   0.0"},      {0.0f, "   0.0"},     {-0.25f, "  -0.2"},
      {2.25f, "   2.2"},      {2.75f, "   2.8"},    {-1000.0f, "******"},
      {1.0e30f, "******"},    {-1.0e30f, "******"}, {std::numeric_limits<float>::denorm_min(), "   0.0"},
      {std::numeric_limits<float>::infinity(), "   Inf"},
      {-std::numeric_limits<float>::infinity(), "  -Inf"},
      {std::numeric_limits<float>::quiet_NaN(), "   NaN"},
      {-std::numeric_limits<float>::quiet_NaN(), "   NaN"},
  };
  for (const auto& example : examples) {
    EXPECT_EQ(f61(example.value), example.text) << "value " << example.value;
  }
}

TEST(NumberFormatListInteger, Examples) {
  const struct {
    std::int32_t value;
    const char* text;
  } examples[] = {
      {5, "          5"},
      {0, "          0"},
      {-1, "         -1"},
      {10, "         10"},
      {-2147483647 - 1, "-2147483648"},
      {2147483647, " 2147483647"},
      {1000000000, " 1000000000"},
      {-999999999, " -999999999"},
  };
  for (const auto& example : examples) {
    EXPECT_EQ(list_integer(example.value), example.text);
  }
}

TEST(NumberFormatListInteger, MatchesToCharsOnRandomValues) {
  std::mt19937 generator(7);
  for (int i = 0; i < 200000; ++i) {
    const auto value = static_cast<std::int32_t>(generator() >> (generator() % 32));
    const std::int32_t signed_value = (i % 2 == 0) ? value : -value;
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, signed_value);
    const std::string expected = pad_left(std::string(digits, result.ptr), 11);
    ASSERT_EQ(list_integer(signed_value), expected);
  }
}

// ---------------------------------------------------------------------------
// The form decision.

// Both decision tests are monotone in m (rounding is monotone), so the set of
// floats taking the fixed form is one interval; checking every float in a wide
// band around each end pins that interval down.
TEST(NumberFormatListReal, FormChoiceFollowsTheExtendedTests) {
  const float ends[] = {0.1f, 1.0e9f};
  for (const float end : ends) {
    for (int sign = 0; sign < 2; ++sign) {
      const std::uint32_t centre = to_bits(end) | (sign != 0 ? 0x80000000u : 0u);
      for (std::uint32_t bits = centre - 20000; bits <= centre + 20000; ++bits) {
        const float value = from_bits(bits);
        const bool exponent_form = list_real(value).find('E') != std::string::npos;
        ASSERT_EQ(exponent_form, takes_exponent_form(value)) << "value " << value;
      }
    }
  }
  // The stated consequences for single precision.
  EXPECT_FALSE(takes_exponent_form(0.1f));
  EXPECT_TRUE(takes_exponent_form(std::nextafter(0.1f, 0.0f)));
  EXPECT_FALSE(takes_exponent_form(1.0e9f));
  EXPECT_TRUE(takes_exponent_form(std::nextafter(1.0e9f, 2.0e9f)));
}

// ---------------------------------------------------------------------------
// Bulk comparison against the reference.

// Random sample size: TAMVEK_REAL_FORMAT_SAMPLES if set, else the default,
// cut to a quarter in sanitizer builds where the reference runs ~10x slower.
int sample_count(int fallback) {
  const char* text = std::getenv("TAMVEK_REAL_FORMAT_SAMPLES");
  if (text != nullptr) return std::atoi(text);
#if defined(__SANITIZE_ADDRESS__)
  return fallback / 4;
#else
  return fallback;
#endif
}

// Floats a few hundred ulps either side of every power of ten that floats
// reach, both signs: where rounding may carry into a new leading digit (in the
// fixed form floats are too sparse for that; in the exponent form it happens).
std::vector<float> near_powers_of_ten() {
  std::vector<float> values;
  for (int power = -45; power <= 38; ++power) {
    const float centre = static_cast<float>(std::pow(10.0L, static_cast<extended>(power)));
    if (centre == 0 || std::isinf(centre)) continue;
    const std::uint32_t bits = to_bits(centre);
    for (std::uint32_t b = bits - std::min<std::uint32_t>(bits, 300); b <= bits + 300; ++b) {
      values.push_back(from_bits(b));
      values.push_back(-from_bits(b));
    }
  }
  return values;
}

// Floats with short significands (only the top 10 bits may be set) at every
// exponent: they hit exact halfway cases of both forms.
std::vector<float> short_significands() {
  std::vector<float> values;
  for (std::uint32_t biased = 0; biased < 255; ++biased) {
    for (std::uint32_t top = 0; top < 1024; ++top) {
      values.push_back(from_bits((biased << 23) | (top << 13)));
    }
  }
  return values;
}

TEST(NumberFormatListReal, MatchesExactReferenceOnTargetedValues) {
  std::vector<float> values = near_powers_of_ten();
  const std::vector<float> shorts = short_significands();
  values.insert(values.end(), shorts.begin(), shorts.end());
  std::mt19937 generator(11);
  for (int i = 0; i < 20000; ++i) values.push_back(from_bits(generator() & 0x807FFFFFu));  // denormals
  int failures = 0;
  for (const float value : values) {
    const std::string expected = reference_list_real(value);
    const std::string actual = list_real(value);
    if (actual != expected && ++failures <= 20) {
      ADD_FAILURE() << "bits 0x" << std::hex << to_bits(value) << ": got \"" << actual
                    << "\" expected \"" << expected << "\"";
    }
  }
  EXPECT_EQ(failures, 0);
}

TEST(NumberFormatListReal, MatchesExactReferenceOnRandomBits) {
  const int count = sample_count(2000000);
  std::mt19937 generator(12345);
  int failures = 0;
  for (int i = 0; i < count; ++i) {
    const float value = from_bits(static_cast<std::uint32_t>(generator()));
    const std::string expected = reference_list_real(value);
    const std::string actual = list_real(value);
    if (actual != expected && ++failures <= 20) {
      ADD_FAILURE() << "bits 0x" << std::hex << to_bits(value) << ": got \"" << actual
                    << "\" expected \"" << expected << "\"";
    }
  }
  EXPECT_EQ(failures, 0);
}

std::vector<float> f61_targeted() {
  std::vector<float> values;
  // Every float near each k/10 + 0.05 (the rounding boundaries) up to 1000.05,
  // and the exact ties k + 0.25, k + 0.75, both signs.
  for (int k = 0; k <= 10000; ++k) {
    const float boundary = static_cast<float>((static_cast<extended>(k) + 0.5L) / 10);
    const std::uint32_t bits = to_bits(boundary);
    for (std::uint32_t b = bits - 3; b <= bits + 3; ++b) {
      values.push_back(from_bits(b));
      values.push_back(-from_bits(b));
    }
    const float ties[] = {static_cast<float>(k) + 0.25f, static_cast<float>(k) + 0.75f};
    for (const float tie : ties) {
      values.push_back(tie);
      values.push_back(-tie);
    }
  }
  // The overflow boundaries 9999.95 and -999.95, and the region near zero.
  const float edges[] = {9999.95f, -999.95f, 0.05f, -0.05f, 0.0f, -0.0f};
  for (const float edge : edges) {
    const std::uint32_t bits = to_bits(edge);
    for (std::uint32_t b = bits - std::min<std::uint32_t>(bits & 0x7FFFFFFFu, 2000);
         b <= bits + 2000; ++b) {
      values.push_back(from_bits(b));
    }
  }
  return values;
}

TEST(NumberFormatF61, MatchesExactReference) {
  std::vector<float> values = f61_targeted();
  std::mt19937 generator(99);
  std::uniform_real_distribution<float> in_range(-12000.0f, 12000.0f);
  const int count = sample_count(1000000);
  for (int i = 0; i < count / 2; ++i) values.push_back(in_range(generator));
  for (int i = 0; i < count / 2; ++i) values.push_back(from_bits(static_cast<std::uint32_t>(generator())));
  const std::vector<float> shorts = short_significands();
  values.insert(values.end(), shorts.begin(), shorts.end());
  int failures = 0;
  for (const float value : values) {
    const std::string expected = reference_f61(value);
    const std::string actual = f61(value);
    if (actual != expected && ++failures <= 20) {
      ADD_FAILURE() << "bits 0x" << std::hex << to_bits(value) << ": got \"" << actual
                    << "\" expected \"" << expected << "\"";
    }
  }
  EXPECT_EQ(failures, 0);
}

}  // namespace
}  // namespace tamvek
