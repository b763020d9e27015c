#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "text/list_read.hpp"
#include "text/plain_values.hpp"
#include "runtime/stream.hpp"

namespace tamvek::list_input {

// The values of the record at the front of a stream's read block, when the
// record lies whole among the block's first 64 bytes: bit i of `firsts` and
// of `lasts` marks text[i] as the first or the last character of a value
// (characters between blanks).
struct PlainFields {
  const char* text;
  std::size_t length;    // without the record's end
  std::size_t line_end;  // the position of its LF
  std::uint64_t firsts;
  std::uint64_t lasts;

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
[[gnu::always_inline]] inline bool front_record(Stream& stream, PlainFields& fields) {
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
  fields = {text, length, line_end, in_values & ~(in_values << 1), in_values & ~(in_values >> 1)};
  return true;
}

// The next value of the record, when it is plain, into `variable`; false,
// with nothing assigned, for anything else.
[[gnu::always_inline]] inline bool take_plain(PlainFields& fields, std::int32_t& variable) {
  std::size_t start = 0;
  std::size_t size = 0;
  if (!fields.next(start, size)) return false;
  const char* const value = fields.text + start;
  if (size <= 4) [[likely]] {
    // The usual integer, the commonest value of all, kept on a straight path:
    // half a word, its characters moved up to the top.
    std::uint32_t four = 0;
    std::memcpy(&four, value, 4);
    if (four_digit_number((four ^ 0x3030'3030u) << (8 * (4 - size)), variable)) [[likely]]
      return true;
  } else if (size <= 8 && take_eight(value, size, variable)) {
    return true;
  }
  // A signed value, or a long one, is taken the way a general read takes it.
  return take_token(value, value + size, fields.text, fields.text + fields.length, variable);
}

[[gnu::always_inline]] inline bool take_plain(PlainFields& fields, float& variable) {
  std::size_t start = 0;
  std::size_t size = 0;
  if (!fields.next(start, size)) return false;
  const char* const value = fields.text + start;
  if (size <= 8 ? take_eight(value, size, variable) : size <= 16 && take_sixteen(value, size, variable))
    return true;
  return take_token(value, value + size, fields.text, fields.text + fields.length, variable);
}

// One read statement whose record lies whole among the first 64 bytes of the
// stream's read block and begins with a plain value for each variable,
// separated by blanks: nearly every statement of a run, taken here without
// the setup of a general read. False, with the stream as it was, for any
// other; the variables given values by then are given the same ones again by
// the general read, which goes over the same values first.
template <class... Types>
[[gnu::always_inline]] inline bool take_plain_record(Stream& stream, Types&... variables) {
  PlainFields fields{};
  if (!front_record(stream, fields) || !(take_plain(fields, variables) && ...)) return false;
  stream.pass_over(fields.line_end + 1);
  return true;
}

}  // namespace tamvek::list_input

namespace tamvek {

// The read of the loops over files of no fixed length, as read_list_until_end
// with a list, for a statement whose variables' types are known where it is
// written: its usual record is then read without looking them up.
template <class... Types>
  requires((std::same_as<Types, std::int32_t> || std::same_as<Types, float>) && ...)
inline bool read_list_until_end(Stream& stream, int statement, Types&... variables) {
  if (list_input::take_plain_record(stream, variables...)) return true;
  const Variable listed[] = {variables...};
  return list_input::read_list_until_end_in_full(stream, statement, listed);
}

}  // namespace tamvek
