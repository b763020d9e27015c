#pragma once
// Measured: without this quick way a whole run on the largest data set takes 2.2 times as long
// (2.6 times the instructions); without its reals of nine to sixteen characters, 1.6 times (1.5).
//
// Nearly every record of the files read in loops is a short line of short
// plain values separated by blanks ("1 16 26 1 1 40.0"). Such a record is
// taken here in one piece, without the setup of a general read: where its
// values are is found for the whole record at once, and each value of up to
// sixteen characters is converted eight characters at a time, without a
// branch per character. Any other record goes to the general read, which
// takes the same record again from its start and gives the same values.

#include <bit>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "runtime/stream.hpp"
#include "text/list_read.hpp"
#include "text/value_conversion.hpp"

// x86-64, the one processor with the extended type the run needs, always has SSE2.
#include <emmintrin.h>

namespace tamvek::plain_record {

static_assert(std::endian::native == std::endian::little,
              "plain values are converted eight characters at a time, the first in the lowest byte");

inline constexpr std::uint64_t every_byte(std::uint8_t byte) { return 0x0101'0101'0101'0101u * byte; }

inline std::size_t lowest_bit(std::uint64_t word) { return static_cast<std::size_t>(std::countr_zero(word)); }

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

// The number written by four digit values, the first in the lowest byte
// (leading zeros for a shorter one); false when any of them is no digit.
inline bool four_digit_number(std::uint32_t four, std::int32_t& number) {
  if ((((four + 0x7676'7676u) | four) & 0x8080'8080u) != 0) return false;
  const std::uint32_t pairs = (four * (10 * 0x100 + 1)) >> 8 & 0x00FF'00FFu;
  number = static_cast<std::int32_t>((pairs * (100 * 0x1'0000 + 1)) >> 16);
  return true;
}

// For a word of digit values with one character that is no digit, marked in
// `others`: the number of digits after it when it is a decimal point, with the
// digits before it moved up into its place; -1 for anything else.
inline int remove_point(std::uint64_t& values, std::uint64_t others) {
  const std::size_t point = lowest_bit(others) / 8;
  if ((others & (others - 1)) != 0 || ((values >> (8 * point)) & 0xFF) != static_cast<std::uint64_t>('.' ^ '0'))
    return -1;
  const std::uint64_t below = values & ((std::uint64_t{1} << (8 * point)) - 1);
  values = (values >> (8 * point) >> 8 << (8 * point) << 8) | below << 8;
  return static_cast<int>(7 - point);
}

// A plain value of one to eight characters at `text` (the eight characters
// from there may be read), its characters moved up to the top of the word,
// leading zeros below them.
inline std::uint64_t eight_values(const char* text, std::size_t length) {
  std::uint64_t word = 0;
  std::memcpy(&word, text, 8);
  return (word ^ every_byte('0')) << (8 * (8 - length));
}

// An integer of digits alone, up to eight of them; false for anything else.
inline bool take_eight(const char* text, std::size_t length, std::int32_t& variable) {
  const std::uint64_t values = eight_values(text, length);
  if (no_digits(values) != 0) return false;
  variable = static_cast<std::int32_t>(number_of(values));  // eight digits always fit
  return true;
}

// A real of up to sixteen characters, digits with at most one point among
// them, read as a head (the characters before the last eight, all of a value
// of up to eight) and a tail of the last eight; false for anything else.
inline bool take_sixteen(const char* text, std::size_t length, float& variable) {
  std::uint64_t head = 0;
  std::uint64_t tail = 0;
  std::size_t tail_digits = 0;
  if (length <= 8) {
    head = eight_values(text, length);
  } else {
    std::memcpy(&head, text, 8);
    std::memcpy(&tail, text + length - 8, 8);
    head = (head ^ every_byte('0')) << (8 * (16 - length));
    tail ^= every_byte('0');
    tail_digits = 8;
  }
  const std::uint64_t head_others = no_digits(head);
  const std::uint64_t tail_others = no_digits(tail);
  int fraction_digits = 0;
  if (tail_others != 0) {
    fraction_digits = remove_point(tail, tail_others);
    if (fraction_digits < 0 || head_others != 0) return false;
    tail_digits = 7;
  } else if (head_others != 0) {
    fraction_digits = remove_point(head, head_others);
    if (fraction_digits < 0 || length < 2) return false;
    fraction_digits += static_cast<int>(tail_digits);
  }
  const std::uint64_t head_scale = tail_digits == 8 ? 100'000'000 : tail_digits == 7 ? 10'000'000 : 1;
  const std::uint64_t number = number_of(head) * head_scale + number_of(tail);
  return list_input::short_decimal_to_float(number, fraction_digits, variable);
}

// The line ends and the blanks among the 32 characters at `text`: bit i for
// text[i] in each.
struct Marks { std::uint32_t line_ends, blanks; };

inline Marks marks_of_32(const char* text) {
  const auto marks_of_16 = [](__m128i chars) {
    const __m128i blank =
        _mm_or_si128(_mm_cmpeq_epi8(chars, _mm_set1_epi8(' ')), _mm_cmpeq_epi8(chars, _mm_set1_epi8('\t')));
    return Marks{static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(chars, _mm_set1_epi8('\n')))),
                 static_cast<std::uint32_t>(_mm_movemask_epi8(blank))};
  };
  const Marks low = marks_of_16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text)));
  const Marks high = marks_of_16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text + 16)));
  return {low.line_ends | high.line_ends << 16, low.blanks | high.blanks << 16};
}

// The values of the record at the front of a stream's read block, when the
// record lies whole among the block's first 64 bytes: bit i of `firsts` and
// of `lasts` marks text[i] as the first or the last character of a value
// (characters between blanks).
struct Fields {
  const char* text;
  std::size_t line_end;  // the position of its LF
  std::uint64_t firsts, lasts;

  // The start and the size of the next value; false when none is left.
  bool next(std::size_t& start, std::size_t& size) {
    if (firsts == 0) return false;
    start = lowest_bit(firsts);
    size = lowest_bit(lasts) + 1 - start;
    firsts &= firsts - 1;
    lasts &= lasts - 1;
    return true;
  }
};

// The fields of the next record of `stream` when it lies whole among the first
// 64 bytes of its read block; false for a record anywhere else (a kept rest, a
// stream not yet reading, a longer record, the end of a block).
inline bool front_record(Stream& stream, Fields& fields) {
  const std::string_view block = stream.unread_block();
  if (block.empty()) return false;
  const char* const text = block.data();
  const Marks first = marks_of_32(text);
  std::uint64_t line_ends = first.line_ends;
  std::uint64_t blanks = first.blanks;
  if (line_ends == 0) {
    const Marks second = marks_of_32(text + 32);
    line_ends = std::uint64_t{second.line_ends} << 32;
    blanks |= std::uint64_t{second.blanks} << 32;
    if (line_ends == 0) return false;
  }
  const std::size_t line_end = lowest_bit(line_ends);
  if (line_end >= block.size()) return false;
  std::size_t length = line_end;
  if (length != 0 && text[length - 1] == '\r') --length;
  const std::uint64_t in_values = ~blanks & ((std::uint64_t{1} << length) - 1);
  fields = {text, line_end, in_values & ~(in_values << 1), in_values & ~(in_values >> 1)};
  return true;
}

// The next value of the record, when it is plain, into `variable`; false,
// with nothing assigned, for anything else.
inline bool take_plain(Fields& fields, std::int32_t& variable) {
  std::size_t start = 0;
  std::size_t size = 0;
  if (!fields.next(start, size)) return false;
  const char* const value = fields.text + start;
  if (size <= 4) [[likely]] {
    // The usual integer, the commonest value of all: half a word, its
    // characters moved up to the top.
    std::uint32_t four = 0;
    std::memcpy(&four, value, 4);
    return four_digit_number((four ^ 0x3030'3030u) << (8 * (4 - size)), variable);
  }
  return size <= 8 && take_eight(value, size, variable);
}

inline bool take_plain(Fields& fields, float& variable) {
  std::size_t start = 0;
  std::size_t size = 0;
  return fields.next(start, size) && size <= 16 && take_sixteen(fields.text + start, size, variable);
}

// One read statement whose record lies whole among the first 64 bytes of the
// stream's read block and holds a plain value for each variable, separated by
// blanks. False, with the stream as it was, for any other; the variables given
// values by then are given the same ones again by the general read, which goes
// over the same values first.
template <class... Types>
inline bool take_plain_record(Stream& stream, Types&... variables) {
  Fields fields{};
  if (!front_record(stream, fields) || !(take_plain(fields, variables) && ...)) return false;
  stream.pass_over(fields.line_end + 1);
  return true;
}

}  // namespace tamvek::plain_record

namespace tamvek {

// The read of the loops over files of no fixed length, as read_list_until_end
// with a list, for a statement whose variables are named one by one: its usual
// record is taken the quick way. `assigned` says which variables received a
// value (bit i for the i-th).
template <class... Types>
  requires((std::same_as<Types, std::int32_t> || std::same_as<Types, float>) && ...)
inline bool read_list_until_end(Stream& stream, int statement, std::uint64_t& assigned, Types&... variables) {
  if (plain_record::take_plain_record(stream, variables...)) {
    assigned = (std::uint64_t{1} << sizeof...(Types)) - 1;
    return true;
  }
  const Variable listed[] = {variables...};
  return read_list_until_end(stream, statement, std::span<const Variable>(listed), assigned);
}

template <class... Types>
  requires((std::same_as<Types, std::int32_t> || std::same_as<Types, float>) && ...)
inline bool read_list_until_end(Stream& stream, int statement, Types&... variables) {
  std::uint64_t assigned = 0;
  return read_list_until_end(stream, statement, assigned, variables...);
}

}  // namespace tamvek
