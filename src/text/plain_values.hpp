#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "text/decimal_to_float.hpp"
#include "text/list_read.hpp"
#include "text/list_values.hpp"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tamvek::list_input {

// Plain values, the bulk of every file: an optionally signed digit string of
// up to 19 digits (for a real, with at most one decimal point among them). The
// general rules give the same result for them; here they are converted eight
// characters at a time, without a branch per character.

static_assert(std::endian::native == std::endian::little,
              "plain values are converted eight characters at a time, the first in the lowest byte");

inline constexpr std::uint64_t every_byte(std::uint8_t byte) { return 0x0101'0101'0101'0101u * byte; }

inline constexpr std::array<std::uint64_t, 9> powers_of_ten = {1, 10, 100, 1000, 10000, 100000,
                                                                1000000, 10000000, 100000000};
inline constexpr std::array<std::uint64_t, 8> byte_shifts = [] {
  std::array<std::uint64_t, 8> table{};
  for (std::size_t i = 0; i < 8; ++i) table[i] = std::uint64_t{1} << (8 * i);
  return table;
}();
inline constexpr std::array<std::uint64_t, 9> top_bytes = [] {
  std::array<std::uint64_t, 9> table{};
  for (std::size_t i = 1; i < 9; ++i) table[i] = ~std::uint64_t{0} << (8 * (8 - i));
  return table;
}();
inline constexpr std::array<float, 11> float_powers_of_ten = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                                       1e6f, 1e7f, 1e8f, 1e9f, 1e10f};

// The eight characters before q, the first in the lowest byte; those before
// `begin` read as 0. Every byte from `begin` to `end` may be read, nothing
// outside; begin < q <= end.
inline std::uint64_t eight_ending_at(const char* q, const char* begin, const char* end) {
  std::uint64_t word = 0;
  const std::size_t before = static_cast<std::size_t>(q - begin);
  if (before >= 8) [[likely]] {
    std::memcpy(&word, q - 8, 8);
  } else if (end - begin >= 8) {
    std::memcpy(&word, begin, 8);
    word <<= 8 * (8 - before);
  } else {
    for (std::size_t i = 0; i < before; ++i)
      word |= std::uint64_t{static_cast<unsigned char>(q[-1 - static_cast<std::ptrdiff_t>(i)])} << (56 - 8 * i);
  }
  return word;
}

// The last `count` (1 to 8) characters of a word with '0' taken off each, the
// others cleared to leading zeros.
inline std::uint64_t last_values(std::uint64_t word, std::size_t count) {
  const std::size_t cleared = 8 * (8 - count);
  return (word ^ every_byte('0')) >> cleared << cleared;
}

// For a word of characters with '0' taken off each (digits become 0 to 9):
// nonzero when any of them is no digit, and then the top bit of the first such
// byte is its lowest set bit. (Adding 0x76 takes a byte from 10 on to 0x80 or
// beyond; a carry out of a byte from 0x8A on, which has its top bit anyway,
// can only add marks above it.)
inline std::uint64_t no_digits(std::uint64_t values) {
  return ((values + every_byte(0x76)) | values) & every_byte(0x80);
}

// The number written by a word of eight digit values, the first in the lowest
// byte: neighbouring digits, pairs and quadruples combined in place.
inline std::uint64_t number_of(std::uint64_t values) {
  values = (values * (10 * 0x100 + 1)) >> 8 & 0x00FF'00FF'00FF'00FFu;
  values = (values * (100 * 0x1'0000 + 1)) >> 16 & 0x0000'FFFF'0000'FFFFu;
  return (values * (10000 * 0x1'0000'0000u + 1)) >> 32;
}

// The position of the lowest set bit of a nonzero word.
inline std::size_t lowest_bit(std::uint64_t word) { return static_cast<unsigned>(__builtin_ctzll(word)); }

// Takes the value [p, end) into `variable` if it is plain: nothing but an
// optional sign and the digits (and the point) described above. False, with
// nothing assigned, for anything else. [begin, text_end) around the value may
// be read.
[[gnu::noinline]] inline bool take_token(const char* p, const char* end, const char* begin, const char* text_end,
                                  const Variable& variable) {
  const bool negative = *p == '-';
  if (negative || *p == '+') ++p;
  const std::size_t length = static_cast<std::size_t>(end - p);
  const bool integer = variable.is_integer();
  if (length == 0 || length > (integer ? 10u : 20u)) return false;

  // The value in pieces of eight characters, the first piece taking what is
  // left over; each piece is read as the eight characters that end it, those
  // before the piece cleared to leading zeros.
  std::uint64_t number = 0;
  int digits = 0;
  const char* point = nullptr;
  std::size_t piece = (length - 1) % 8 + 1;
  for (const char* q = p; q != end; q += piece, piece = 8) {
    std::uint64_t values = last_values(eight_ending_at(q + piece, begin, text_end), piece);
    int piece_digits = static_cast<int>(piece);
    if (const std::uint64_t others = no_digits(values); others != 0) {
      // One decimal point is allowed in a real: the digits below it move up
      // into its place.
      const std::size_t at = lowest_bit(others) / 8;
      if (integer || point != nullptr || (others & (others - 1)) != 0 ||
          ((values >> (8 * at)) & 0xFF) != static_cast<std::uint64_t>('.' ^ '0'))
        return false;
      point = q + piece - (8 - at);
      const std::uint64_t below = values & ((std::uint64_t{1} << (8 * at)) - 1);
      const std::uint64_t above = values >> (8 * at) >> 8 << (8 * at) << 8;
      values = above | below << 8;
      --piece_digits;
    }
    number = number * powers_of_ten[static_cast<std::size_t>(piece_digits)] + number_of(values);
    digits += piece_digits;
  }

  if (integer) {
    if (number > (negative ? std::uint64_t{1} << 31 : (std::uint64_t{1} << 31) - 1)) return false;
    const std::int64_t value = negative ? -static_cast<std::int64_t>(number) : static_cast<std::int64_t>(number);
    variable.set(static_cast<std::int32_t>(value));
    return true;
  }
  if (digits == 0 || digits > 19) return false;
  const std::int64_t exponent = point == nullptr ? 0 : -static_cast<std::int64_t>(end - point - 1);
  float value = 0;
  if (!short_decimal_to_float(negative, number, exponent, value) &&
      !word_decimal_to_float(negative, number, exponent, value))
    return false;
  variable.set(value);
  return true;
}

#if defined(__SSE2__)
// Where the blanks and tabs are among the eight characters at each of four
// places: bits 8k to 8k + 7 for the word at at[k].
inline std::uint32_t blanks_in_words(const char* a, const char* b, const char* c, const char* d) {
  const auto two_words = [](const char* low, const char* high) {
    return _mm_castps_si128(_mm_loadh_pi(_mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(low))),
                                         reinterpret_cast<const __m64*>(high)));
  };
  const auto blanks = [](__m128i chars) {
    const __m128i blank =
        _mm_or_si128(_mm_cmpeq_epi8(chars, _mm_set1_epi8(' ')), _mm_cmpeq_epi8(chars, _mm_set1_epi8('\t')));
    return static_cast<std::uint32_t>(_mm_movemask_epi8(blank));
  };
  return blanks(two_words(a, b)) | blanks(two_words(c, d)) << 16;
}
#endif

// Where the blanks and tabs are among `length` (8 to 64) characters: bit i
// for text[i]; the bits from `length` on are 0. The text is read in words of
// eight at every eighth position, and a last word that ends with the text
// (where they overlap, the words agree); a text of up to 32 characters takes
// the same steps whatever its length.
inline std::uint64_t blank_positions(const char* text, std::size_t length) {
#if defined(__SSE2__)
  std::uint64_t blanks = 0;
  std::size_t start = 0;
  for (; start + 32 < length; start += 32)
    blanks |= std::uint64_t{blanks_in_words(text + start, text + start + 8, text + start + 16, text + start + 24)}
              << start;
  // The last 1 to 32 characters: the whole words among them, then the last word.
  const std::size_t last = length - 8;
  const std::uint64_t words =
      blanks_in_words(text + std::min(start, last), text + std::min(start + 8, last),
                      text + std::min(start + 16, last), text + last);
  const std::size_t whole = (length - start) & ~std::size_t{7};
  blanks |= (words & ((std::uint64_t{1} << whole) - 1)) << start | (words >> 24) << last;
  return blanks;
#else
  std::uint64_t blanks = 0;
  for (std::size_t i = 0; i < length; ++i) blanks |= std::uint64_t{is_blank(text[i])} << i;
  return blanks;
#endif
}

// For a word of digit values with one character that is no digit, marked in
// `others`: the number of digits after it when it is a decimal point, with the
// digits before it moved up into its place; -1 for anything else.
[[gnu::always_inline]] inline int remove_point(std::uint64_t& values, std::uint64_t others) {
  const std::size_t point = lowest_bit(others) / 8;
  if ((others & (others - 1)) != 0 || ((values >> (8 * point)) & 0xFF) != static_cast<std::uint64_t>('.' ^ '0'))
    return -1;
  const std::uint64_t below = values & ((std::uint64_t{1} << (8 * point)) - 1);
  values = (values >> (8 * point) >> 8 << (8 * point) << 8) | below << 8;
  return static_cast<int>(7 - point);
}

// The number written by a head and a tail word of digit values (the head's
// characters moved up to its top) with at most one decimal point among them,
// and the count of digits after the point. False for anything else.
[[gnu::always_inline]] inline bool head_and_tail_number(std::uint64_t head, std::uint64_t tail,
                                                        std::uint64_t& number, int& fraction_digits) {
  const std::uint64_t head_others = no_digits(head);
  const std::uint64_t tail_others = no_digits(tail);
  std::size_t tail_digits = 8;
  fraction_digits = 0;
  if (tail_others != 0) {
    fraction_digits = remove_point(tail, tail_others);
    if (fraction_digits < 0 || head_others != 0) return false;
    tail_digits = 7;
  } else if (head_others != 0) {
    fraction_digits = remove_point(head, head_others);
    if (fraction_digits < 0) return false;
    fraction_digits += 8;
  }
  number = number_of(head) * powers_of_ten[tail_digits] + number_of(tail);
  return true;
}

// The float nearest to number / 10^fraction_digits, for a plain real.
[[gnu::always_inline]] inline float plain_real(std::uint64_t number, int fraction_digits) {
  float value = 0;
  if (number < std::uint64_t{1} << 24 && fraction_digits <= 10) {
    // An exact float divided by an exact power of ten rounds the quotient once.
    value = static_cast<float>(static_cast<std::uint32_t>(number)) /
            float_powers_of_ten[static_cast<std::size_t>(fraction_digits)];
  } else if (number != 0 && !product_to_float(number, fraction_digits, value)) {
    value = quotient_to_float(false, number, fraction_digits);
  }
  return value;
}

// The number written by four digit values, the first in the lowest byte
// (leading zeros for a shorter one); false when any of them is no digit.
[[gnu::always_inline]] inline bool four_digit_number(std::uint32_t four, std::int32_t& number) {
  if ((((four + 0x7676'7676u) | four) & 0x8080'8080u) != 0) return false;
  const std::uint32_t pairs = (four * (10 * 0x100 + 1)) >> 8 & 0x00FF'00FFu;
  number = static_cast<std::int32_t>((pairs * (100 * 0x1'0000 + 1)) >> 16);
  return true;
}

// The commonest values of all: integers of up to eight digits, and reals of
// up to sixteen characters, digits with at most one point among them, at
// [first, first + length) of a text of at least eight characters. False, with
// nothing assigned, for any other value.
[[gnu::always_inline]] inline bool take_short(const char* text, std::size_t first, std::size_t length,
                                              const Variable& variable) {
  if (length > 16) return false;
  // A value of more than eight characters is read as its last eight (the
  // tail) and the ones before them (the head); a shorter one is all head. The
  // head is read as the eight characters that end it (for a head that ends
  // within the first eight of the text, the first eight moved up to end
  // there), with what precedes it cleared to leading zeros.
  std::size_t head = length;
  std::uint64_t tail = 0;
  if (length > 8) {
    std::memcpy(&tail, text + first + length - 8, 8);
    tail ^= every_byte('0');
    head = length - 8;
  }
  const std::size_t after = first + head;
  const std::size_t base = after < 8 ? 0 : after - 8;
  std::uint64_t word = 0;
  std::memcpy(&word, text + base, 8);
  std::uint64_t values = ((word * byte_shifts[base + 8 - after]) ^ every_byte('0')) & top_bytes[head];
  if (variable.is_integer()) {
    if (length > 8) return false;
    if (length <= 4) {
      // Four digits at most: the top half of the word is enough.
      std::int32_t number = 0;
      if (!four_digit_number(static_cast<std::uint32_t>(values >> 32), number)) return false;
      variable.set(number);
      return true;
    }
    if (no_digits(values) != 0) return false;
    variable.set(static_cast<std::int32_t>(number_of(values)));  // eight digits always fit
    return true;
  }

  int fraction_digits = 0;
  std::uint64_t number = 0;
  if (length <= 8) {
    if (const std::uint64_t others = no_digits(values); others != 0) {
      fraction_digits = remove_point(values, others);
      if (fraction_digits < 0 || length < 2) return false;
    }
    number = number_of(values);
  } else if (!head_and_tail_number(values, tail, number, fraction_digits)) {
    return false;
  }
  variable.set(plain_real(number, fraction_digits));
  return true;
}

// The line ends and the blanks among the 32 characters at `text`: bit i for
// text[i] in each.
struct Marks {
  std::uint32_t line_ends;
  std::uint32_t blanks;
};

[[gnu::always_inline]] inline Marks marks_of_32(const char* text) {
#if defined(__SSE2__)
  const auto marks_of_16 = [](__m128i chars) {
    const __m128i blank =
        _mm_or_si128(_mm_cmpeq_epi8(chars, _mm_set1_epi8(' ')), _mm_cmpeq_epi8(chars, _mm_set1_epi8('\t')));
    return Marks{static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(chars, _mm_set1_epi8('\n')))),
                 static_cast<std::uint32_t>(_mm_movemask_epi8(blank))};
  };
  const Marks low = marks_of_16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text)));
  const Marks high = marks_of_16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text + 16)));
  return {low.line_ends | high.line_ends << 16, low.blanks | high.blanks << 16};
#else
  Marks found{0, 0};
  for (std::uint32_t i = 0; i < 32; ++i) {
    found.line_ends |= std::uint32_t{text[i] == '\n'} << i;
    found.blanks |= std::uint32_t{is_blank(text[i])} << i;
  }
  return found;
#endif
}

// A plain value of one to eight characters at `text` (the eight characters
// from there may be read) into `variable`: an integer of digits alone, or a
// real of digits with at most one point among them. False, with nothing
// assigned, for anything else. The value's characters are moved up to the
// top of the word, leading zeros below them.
[[gnu::always_inline]] inline std::uint64_t eight_values(const char* text, std::size_t length) {
  std::uint64_t word = 0;
  std::memcpy(&word, text, 8);
  return (word ^ every_byte('0')) << (8 * (8 - length));
}

[[gnu::always_inline]] inline bool take_eight(const char* text, std::size_t length, std::int32_t& variable) {
  const std::uint64_t values = eight_values(text, length);
  if (no_digits(values) != 0) return false;
  variable = static_cast<std::int32_t>(number_of(values));  // eight digits always fit
  return true;
}

[[gnu::always_inline]] inline bool take_eight(const char* text, std::size_t length, float& variable) {
  std::uint64_t values = eight_values(text, length);
  int fraction_digits = 0;
  if (const std::uint64_t others = no_digits(values); others != 0) {
    fraction_digits = remove_point(values, others);
    if (fraction_digits < 0 || length < 2) return false;
  }
  const std::uint64_t number = number_of(values);
  // An exact float divided by an exact power of ten (1 without a point)
  // rounds the quotient once.
  variable = number < std::uint64_t{1} << 24
                 ? static_cast<float>(static_cast<std::uint32_t>(number)) /
                       float_powers_of_ten[static_cast<std::size_t>(fraction_digits)]
                 : quotient_to_float(false, number, fraction_digits);
  return true;
}

// A plain real of nine to sixteen characters at `text` (the sixteen from
// there may be read) into `variable`: digits with at most one point among
// them, read as a head of the first length - 8 characters and a tail of the
// last eight. False, with nothing assigned, for anything else.
[[gnu::always_inline]] inline bool take_sixteen(const char* text, std::size_t length, float& variable) {
  std::uint64_t head = 0;
  std::uint64_t tail = 0;
  std::memcpy(&head, text, 8);
  std::memcpy(&tail, text + length - 8, 8);
  head = (head ^ every_byte('0')) << (8 * (16 - length));
  tail ^= every_byte('0');
  std::uint64_t number = 0;
  int fraction_digits = 0;
  if (!head_and_tail_number(head, tail, number, fraction_digits)) return false;
  variable = plain_real(number, fraction_digits);
  return true;
}

}  // namespace tamvek::list_input
