#include "text/number_format.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <bit>
#include <cstdint>
#include <cstring>

namespace tamvek {
namespace {

constexpr std::size_t list_real_number_width = 12;  // fixed form: number, then blanks
constexpr std::size_t f61_width = 6;
constexpr std::size_t list_integer_width = 11;

// Powers of ten 1 .. 10^9, as integers and as floats: all are exact in single
// precision, so comparing a stored value against them counts its digits exactly.
constexpr std::array<std::uint32_t, 10> pow10_u32 = {
    1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};
constexpr std::array<float, 10> pow10_float = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f};

// A single-precision value split as mant * 2^exp2 (mant < 2^24).
struct FloatParts {
  std::uint32_t mant;
  int exp2;
  bool negative;
  bool non_finite;  // infinity or NaN; mant != 0 marks a NaN
};

FloatParts split(float value) {
  const auto bits = std::bit_cast<std::uint32_t>(value);
  const auto biased = static_cast<int>((bits >> 23) & 0xFFu);
  const std::uint32_t fraction = bits & 0x7FFFFFu;
  FloatParts parts{};
  parts.negative = (bits >> 31) != 0;
  if (biased == 0xFF) {
    parts.non_finite = true;
    parts.mant = fraction;
  } else if (biased == 0) {
    parts.mant = fraction;  // zero or denormal
    parts.exp2 = -149;
  } else {
    parts.mant = fraction | 0x800000u;
    parts.exp2 = biased - 150;
  }
  return parts;
}

char digit_char(std::uint32_t d) { return static_cast<char>('0' + d); }

// "00", "01", ..., "99": digits are written two at a time, halving the
// divisions of the digit loops.
constexpr std::array<char, 200> digit_pairs = [] {
  std::array<char, 200> pairs{};
  for (std::size_t i = 0; i < 100; ++i) {
    pairs[2 * i] = static_cast<char>('0' + i / 10);
    pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

char* put_pair(char* end, std::uint32_t two_digits) {
  end -= 2;
  std::memcpy(end, digit_pairs.data() + 2 * two_digits, 2);
  return end;
}

// Writes v in decimal (at least one digit) so that it ends just before `end`;
// returns the position of its first character.
char* put_digits(char* end, std::uint32_t v) {
  for (; v >= 100; v /= 100) end = put_pair(end, v % 100);
  if (v >= 10) return put_pair(end, v);
  *--end = digit_char(v);
  return end;
}

// Writes the low `count` decimal digits of v, zero-padded, ending before `end`;
// leaves in v the digits above them and returns the first position written.
char* put_digits_padded(char* end, std::uint32_t& v, int count) {
  for (; count >= 2; count -= 2, v /= 100) end = put_pair(end, v % 100);
  if (count == 1) *--end = digit_char(v % 10), v /= 10;
  return end;
}

// The four decimal digits of v (below 10000) as the bytes of a word, the first
// digit in the lowest byte. v is split into its two pairs (by 100) and each
// pair into its digits (by 10), the pairs side by side in lanes of 16 bits;
// multiplications by scaled reciprocals stand for the divisions, exact in
// these ranges, and no lane carries into the next.
std::uint32_t four_digits(std::uint32_t v) {
  const std::uint32_t high_pair = (v * 5243) >> 19;  // v / 100
  const std::uint32_t pairs = high_pair | (v - high_pair * 100) << 16;
  const std::uint32_t tens = ((pairs * 103) >> 10) & 0x000F'000Fu;  // each pair / 10
  return tens | (pairs - tens * 10) << 8;
}

// Round-half-even of num / 2^shift for 0 < shift < 64.
std::uint64_t shift_round_even(std::uint64_t num, unsigned shift) {
  std::uint64_t q = num >> shift;
  const std::uint64_t rem = num & ((std::uint64_t{1} << shift) - 1);
  const std::uint64_t half = std::uint64_t{1} << (shift - 1);
  if (rem > half || (rem == half && (q & 1) != 0)) ++q;
  return q;
}

// The fixed form (see format_list_real) into the blanked field.
void write_fixed_form(const FloatParts& parts, float magnitude, char* out) {
  int decimals = 8;  // zero
  std::uint32_t scaled = 0;
  if (parts.mant != 0) {
    // Normal here, so 2^e2 <= m < 2^(e2+1) with e2 = exp2 + 23 <= 29; m has
    // floor(e2 * log10(2)) + 1 integer digits, or one more.
    const int e2 = parts.exp2 + 23;
    int int_digits = 0;
    if (e2 >= 0) {
      int_digits = ((e2 * 78913) >> 18) + 1;
      if (magnitude >= pow10_float[static_cast<std::size_t>(int_digits)]) ++int_digits;
    }
    decimals = int_digits >= 9 ? 0 : 9 - int_digits;
    // magnitude * 10^decimals <= 10^9 and magnitude >= 0.1 (exp2 >= -27),
    // so the product and the shift stay well inside 64 bits.
    const std::uint64_t num = std::uint64_t{parts.mant} * pow10_u32[static_cast<std::size_t>(decimals)];
    scaled = static_cast<std::uint32_t>(parts.exp2 >= 0 ? num << parts.exp2
                                                        : shift_round_even(num, static_cast<unsigned>(-parts.exp2)));
  }
  char* p = put_digits_padded(out + list_real_number_width, scaled, decimals);
  *--p = '.';
  p = put_digits(p, scaled);  // integer part, "0" below 1
  if (parts.negative) *--p = '-';
}

// Exponent form d.ddddddddE+xx, right-justified in the blanked field: the
// standard library's scientific form with eight decimals is the exact value
// rounded to nine digits, ties to even, with an exponent of at least two
// digits, which is all a float needs.
void write_exponent_form(float value, char* out) {
  std::array<char, list_real_width + 1> text{};
  const auto [end, error] =
      std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::scientific, 8);
  const auto length = static_cast<std::size_t>(end - text.data());
  std::replace(text.data(), end, 'e', 'E');
  std::memcpy(out + list_real_width - length, text.data(), length);
}

// Copies `text` right-justified into the blanked field [out, out + width).
void put_right(char* out, std::size_t width, const char* text) {
  const std::size_t length = std::strlen(text);
  std::memcpy(out + width - length, text, length);
}

}  // namespace

char* format_list_real(float value, char* out) {
  std::memset(out, ' ', list_real_width);
  const FloatParts parts = split(value);
  if (parts.non_finite) {
    put_right(out, list_real_width, parts.mant != 0 ? "NaN" : (parts.negative ? "-Infinity" : "Infinity"));
    return out + list_real_width;
  }
  // The exponent form is chosen when, in extended precision with
  // q = float(1e-9), m < 0.1 - 0.05 * q or (m + 0.5) * q >= 1. The first bound
  // is 0.09999999995, and the floats around it are 0.0999999940 and
  // 0.100000001 (= 0.1f); the second bound is m >= 1000000027.78, and the
  // floats around it are 10^9 and 1000000064. So among floats the fixed form
  // is exactly 0.1f <= m <= 1e9f, plus zero.
  const float magnitude = std::bit_cast<float>(std::bit_cast<std::uint32_t>(value) & 0x7FFFFFFFu);
  if (parts.mant == 0 || (magnitude >= 0.1f && magnitude <= 1.0e9f))
    write_fixed_form(parts, magnitude, out);
  else
    write_exponent_form(value, out);
  return out + list_real_width;
}

char* format_f61(float value, char* out) {
  // Most cells of an array hold a plain zero.
  if (std::bit_cast<std::uint32_t>(value) == 0) {
    std::memcpy(out, "   0.0", f61_width);
    return out + f61_width;
  }
  const FloatParts parts = split(value);
  if (parts.non_finite) {
    std::memset(out, ' ', f61_width);
    put_right(out, f61_width, parts.mant != 0 ? "NaN" : (parts.negative ? "-Inf" : "Inf"));
    return out + f61_width;
  }
  // Tenths of the magnitude, rounded half to even. Anything from 2^14 up is
  // far too wide; below that exp2 <= -10, so mant * 10 / 2^-exp2 needs a right
  // shift of at least 9, and shifts past 40 leave only a value below 0.05.
  const std::uint64_t limit = parts.negative ? 9999 : 99999;  // -999.9 and 9999.9
  std::uint64_t tenths = limit + 1;
  if (parts.mant < 0x800000u || parts.exp2 < 14 - 23) {
    const auto shift = static_cast<unsigned>(-parts.exp2);
    tenths = shift > 40 ? 0 : shift_round_even(std::uint64_t{parts.mant} * 10, shift);
  }
  if (tenths > limit) {
    std::memset(out, '*', f61_width);
    return out + f61_width;
  }
  // The whole part in the first four characters, its leading zeros blank
  // (the units digit always shown), then the point and the tenths.
  const auto t = static_cast<std::uint32_t>(tenths);
  const std::uint32_t whole = t / 10;
  std::uint32_t text = four_digits(whole);
  const std::uint32_t shown = ((text + 0x7F7F'7F7Fu) & 0x8080'8080u) | 0x8000'0000u;
  const unsigned first = static_cast<unsigned>(__builtin_ctz(shown)) / 8;
  const std::uint32_t blank = (std::uint32_t{1} << (8 * first)) - 1;
  text = ((text + 0x3030'3030u) & ~blank) | (0x2020'2020u & blank);
  if (parts.negative) {  // at most 999.9: a blank is left before the first digit
    const unsigned sign_at = 8 * (first - 1);
    text = (text & ~(0xFFu << sign_at)) | std::uint32_t{'-'} << sign_at;
  }
  std::memcpy(out, &text, 4);
  out[4] = '.';
  out[5] = digit_char(t - whole * 10);
  return out + f61_width;
}

char* format_list_integer(std::int32_t value, char* out) {
  std::memset(out, ' ', list_integer_width);
  const bool negative = value < 0;
  // Negating in unsigned arithmetic also covers -2^31.
  const std::uint32_t magnitude = negative ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  char* p = put_digits(out + list_integer_width, magnitude);
  if (negative) *--p = '-';
  return out + list_integer_width;
}

}  // namespace tamvek
