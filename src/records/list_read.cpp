#include "records/list_read.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <string_view>
#include <utility>

#include "records/decimal_to_float.hpp"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tamvek {
namespace {

constexpr std::int64_t max_repeat = 200'000'000;
constexpr std::int64_t exponent_ceiling = 1'000'000'000'000'000;  // beyond: infinity or zero anyway

// What a character means while a value is scanned.
enum class Mark : unsigned char { ordinary, value_end, star };

constexpr std::array<Mark, 256> marks = [] {
  std::array<Mark, 256> table{};
  for (unsigned char c : {' ', '\t', ',', ';', '/'}) table[c] = Mark::value_end;
  table['*'] = Mark::star;
  return table;
}();

Mark mark_of(char c) { return marks[static_cast<unsigned char>(c)]; }
bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_sign(char c) { return c == '+' || c == '-'; }
unsigned digit_of(char c) { return static_cast<unsigned>(static_cast<unsigned char>(c)) - '0'; }
bool is_digit(char c) { return digit_of(c) <= 9; }

enum class Conversion { ok, bad_integer, integer_overflow, bad_real, no_digit };

Conversion parse_integer(const char* p, const char* end, std::int32_t& out) {
  bool negative = false;
  if (p != end && is_sign(*p)) negative = *p++ == '-';
  if (p == end) return Conversion::bad_integer;
  std::uint64_t magnitude = 0;
  for (; p != end; ++p) {
    const unsigned digit = digit_of(*p);
    if (digit > 9) return Conversion::bad_integer;
    // Past the range only the syntax of the rest matters; the magnitude stays put.
    if (magnitude <= std::uint64_t{1} << 31) magnitude = magnitude * 10 + digit;
  }
  const std::uint64_t limit = negative ? std::uint64_t{1} << 31 : (std::uint64_t{1} << 31) - 1;
  if (magnitude > limit) return Conversion::integer_overflow;
  const std::int64_t value = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
  out = static_cast<std::int32_t>(value);
  return Conversion::ok;
}

bool equals_ignoring_case(std::string_view text, std::string_view lower_word) {
  if (text.size() != lower_word.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if ((text[i] | 0x20) != lower_word[i]) return false;
  return true;
}

// INF, INFINITY, NAN and NAN(text), in any case; nothing may follow them.
Conversion parse_word(std::string_view word, bool negative, float& out) {
  if (equals_ignoring_case(word, "inf") || equals_ignoring_case(word, "infinity")) {
    const float infinity = std::numeric_limits<float>::infinity();
    out = negative ? -infinity : infinity;
    return Conversion::ok;
  }
  if (word.size() < 3 || !equals_ignoring_case(word.substr(0, 3), "nan")) return Conversion::bad_real;
  const std::string_view tail = word.substr(3);
  if (!tail.empty() && (tail.size() < 2 || tail.front() != '(' || tail.back() != ')' ||
                        tail.substr(1, tail.size() - 2).find(')') != std::string_view::npos))
    return Conversion::bad_real;
  const float nan = std::numeric_limits<float>::quiet_NaN();
  out = negative ? -nan : nan;
  return Conversion::ok;
}

// A real: sign, digits with at most one decimal point, and an exponent given by
// E, D or Q with an optional sign or by a sign alone (1.5+3 is 1500). A text of
// nothing but a sign and a point holds no digit, which is a failure of its own;
// any other text without digits before the exponent (".e5") is a bad real.
Conversion parse_real(const char* p, const char* end, float& out) {
  bool negative = false;
  if (p != end && is_sign(*p)) negative = *p++ == '-';
  if (p != end && !is_digit(*p) && *p != '.')
    return parse_word({p, static_cast<std::size_t>(end - p)}, negative, out);

  const char* whole = p;
  while (p != end && is_digit(*p)) ++p;
  const std::string_view whole_digits(whole, static_cast<std::size_t>(p - whole));
  std::string_view fraction_digits;
  if (p != end && *p == '.') {
    const char* fraction = ++p;
    while (p != end && is_digit(*p)) ++p;
    fraction_digits = {fraction, static_cast<std::size_t>(p - fraction)};
  }
  if (whole_digits.empty() && fraction_digits.empty())
    return p == end ? Conversion::no_digit : Conversion::bad_real;

  std::int64_t exponent = 0;
  if (p != end) {
    // An exponent letter with an optional sign, or a sign alone.
    switch (*p | 0x20) {
      case 'e': case 'd': case 'q': ++p; break;
      default: if (!is_sign(*p)) return Conversion::bad_real;
    }
    bool exponent_negative = false;
    if (p != end && is_sign(*p)) exponent_negative = *p++ == '-';
    if (p == end) return Conversion::bad_real;
    for (; p != end; ++p) {
      const unsigned digit = digit_of(*p);
      if (digit > 9) return Conversion::bad_real;
      if (exponent < exponent_ceiling) exponent = exponent * 10 + digit;
    }
    if (exponent_negative) exponent = -exponent;
  }
  out = decimal_to_float(negative, whole_digits, fraction_digits, exponent);
  return Conversion::ok;
}

// One value converted for the variable it is first given to. A repeat gives
// the same value to the variables after it, so it has that first variable's
// type: a later variable of the other type cannot take it.
struct Value {
  bool integer = false;
  std::int32_t integer_value = 0;
  float real_value = 0;
};

Conversion convert(const Variable& variable, const char* text, const char* end, Value& value) {
  value.integer = variable.is_integer();
  return value.integer ? parse_integer(text, end, value.integer_value)
                       : parse_real(text, end, value.real_value);
}

void assign(const Variable& variable, const Value& value) {
  if (value.integer) {
    variable.set(value.integer_value);
  } else {
    variable.set(value.real_value);
  }
}

// Blanks, at most one comma or semicolon, blanks: the separator after a value.
const char* past_separator(const char* p, const char* end) {
  while (p != end && is_blank(*p)) ++p;
  if (p != end && (*p == ',' || *p == ';')) ++p;
  while (p != end && is_blank(*p)) ++p;
  return p;
}

std::string item_text(std::size_t index) { return std::to_string(index + 1); }

std::string conversion_message(Conversion conversion, std::size_t index) {
  switch (conversion) {
    case Conversion::bad_integer: return "Bad integer for item " + item_text(index) + " in list input";
    case Conversion::integer_overflow: return "Integer overflow while reading item " + item_text(index);
    case Conversion::bad_real: return "Bad real number in item " + item_text(index) + " of list input";
    case Conversion::no_digit: return "Error during floating point read";
    case Conversion::ok: break;
  }
  return {};
}

const char* type_name(bool integer) { return integer ? "INTEGER" : "REAL"; }

// Plain values, the bulk of every file: an optionally signed digit string of
// up to 19 digits (for a real, with at most one decimal point among them). The
// general rules give the same result for them; here they are converted eight
// characters at a time, without a branch per character.

static_assert(std::endian::native == std::endian::little,
              "plain values are converted eight characters at a time, the first in the lowest byte");

constexpr std::uint64_t every_byte(std::uint8_t byte) { return 0x0101'0101'0101'0101u * byte; }

constexpr std::array<std::uint64_t, 9> powers_of_ten = {1, 10, 100, 1000, 10000, 100000,
                                                         1000000, 10000000, 100000000};
constexpr std::array<std::uint64_t, 8> byte_shifts = [] {
  std::array<std::uint64_t, 8> table{};
  for (std::size_t i = 0; i < 8; ++i) table[i] = std::uint64_t{1} << (8 * i);
  return table;
}();
constexpr std::array<std::uint64_t, 9> top_bytes = [] {
  std::array<std::uint64_t, 9> table{};
  for (std::size_t i = 1; i < 9; ++i) table[i] = ~std::uint64_t{0} << (8 * (8 - i));
  return table;
}();
constexpr std::array<float, 11> float_powers_of_ten = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                                       1e6f, 1e7f, 1e8f, 1e9f, 1e10f};

// The eight characters before q, the first in the lowest byte; those before
// `begin` read as 0. Every byte from `begin` to `end` may be read, nothing
// outside; begin < q <= end.
std::uint64_t eight_ending_at(const char* q, const char* begin, const char* end) {
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
std::uint64_t last_values(std::uint64_t word, std::size_t count) {
  const std::size_t cleared = 8 * (8 - count);
  return (word ^ every_byte('0')) >> cleared << cleared;
}

// For a word of characters with '0' taken off each (digits become 0 to 9):
// nonzero when any of them is no digit, and then the top bit of the first such
// byte is its lowest set bit. (Adding 0x76 takes a byte from 10 on to 0x80 or
// beyond; a carry out of a byte from 0x8A on, which has its top bit anyway,
// can only add marks above it.)
std::uint64_t no_digits(std::uint64_t values) {
  return ((values + every_byte(0x76)) | values) & every_byte(0x80);
}

// The number written by a word of eight digit values, the first in the lowest
// byte: neighbouring digits, pairs and quadruples combined in place.
std::uint64_t number_of(std::uint64_t values) {
  values = (values * (10 * 0x100 + 1)) >> 8 & 0x00FF'00FF'00FF'00FFu;
  values = (values * (100 * 0x1'0000 + 1)) >> 16 & 0x0000'FFFF'0000'FFFFu;
  return (values * (10000 * 0x1'0000'0000u + 1)) >> 32;
}

// The position of the lowest set bit of a nonzero word.
std::size_t lowest_bit(std::uint64_t word) { return static_cast<unsigned>(__builtin_ctzll(word)); }

// Takes the value [p, end) into `variable` if it is plain: nothing but an
// optional sign and the digits (and the point) described above. False, with
// nothing assigned, for anything else. [begin, text_end) around the value may
// be read.
[[gnu::noinline]] bool take_token(const char* p, const char* end, const char* begin, const char* text_end,
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
std::uint32_t blanks_in_words(const char* a, const char* b, const char* c, const char* d) {
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
std::uint64_t blank_positions(const char* text, std::size_t length) {
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
      const std::uint32_t four = static_cast<std::uint32_t>(values >> 32);
      if ((((four + 0x7676'7676u) | four) & 0x8080'8080u) != 0) return false;
      const std::uint32_t pairs = (four * (10 * 0x100 + 1)) >> 8 & 0x00FF'00FFu;
      variable.set(static_cast<std::int32_t>((pairs * (100 * 0x1'0000 + 1)) >> 16));
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
  } else {
    const std::uint64_t head_others = no_digits(values);
    const std::uint64_t tail_others = no_digits(tail);
    std::size_t tail_digits = 8;
    if (tail_others != 0) {
      fraction_digits = remove_point(tail, tail_others);
      if (fraction_digits < 0 || head_others != 0) return false;
      tail_digits = 7;
    } else if (head_others != 0) {
      fraction_digits = remove_point(values, head_others);
      if (fraction_digits < 0) return false;
      fraction_digits += 8;
    }
    number = number_of(values) * powers_of_ten[tail_digits] + number_of(tail);
  }
  float value = 0;
  if (number < std::uint64_t{1} << 24 && fraction_digits <= 10) {
    // An exact float divided by an exact power of ten rounds the quotient once.
    const float whole = static_cast<float>(static_cast<std::uint32_t>(number));
    value = fraction_digits == 0 ? whole : whole / float_powers_of_ten[static_cast<std::size_t>(fraction_digits)];
  } else if (number != 0) {
    value = quotient_to_float(false, number, fraction_digits);
  }
  variable.set(value);
  return true;
}

// One list-directed read statement over the records of a stream. It starts
// where the previous statement left the stream (the next record, or the rest
// of a record that a failure left), runs over as many records as its variables
// need, and ends with its last variable: whatever follows in that record,
// unused repeats included, is skipped, and the next statement starts with the
// next record. A last record without LF is a complete record like any other.
class ListRead {
 public:
  ListRead(Stream& stream, int statement, std::span<const Variable> variables)
      : stream_(stream), statement_(statement), variables_(variables) {}

  // 0, or the failure's status; its message is then message().
  int run() {
    if (const IoFailure refused = stream_.begin_read()) return failure(refused.code, std::string(refused.message));
    std::string_view record;
    if (!stream_.take_rest(record) && !stream_.next_record(statement_, record)) return end_of_file();
    const char* begin = record.data();
    const char* at = begin;
    const char* end = at + record.size();
    if (!variables_.empty()) take_blank_separated(at, end);

    while (item_ < variables_.size()) {
      for (;;) {
        while (at != end && is_blank(*at)) ++at;
        if (at == end) {
          if (!stream_.next_record(statement_, record)) return end_of_file();
          begin = at = record.data();
          end = at + record.size();
          take_blank_separated(at, end);
          if (item_ == variables_.size()) return 0;
          continue;
        }
        const char c = *at;
        if (c == '/') return 0;
        if (c != ',' && c != ';') break;
        ++at;
        if (comma_separates_) {
          comma_separates_ = false;
        } else if (++item_ == variables_.size()) {
          return 0;
        }
      }
      comma_separates_ = true;
      const char* value_end = at;
      while (value_end != end && mark_of(*value_end) != Mark::value_end) ++value_end;
      if (take_token(at, value_end, begin, end, variables_[item_])) {
        at = value_end;
        ++item_;
        ++filled_;
      } else if (const int status = take_value(at, end); status != 0) {
        return status;
      }
    }
    return 0;
  }

  std::size_t filled() const { return filled_; }
  std::string& message() { return message_; }

 private:
  // The plain values of [at, end) separated by blanks alone, the usual shape
  // of a record, taken in one sweep: the blanks of the whole text are found at
  // once, and the values between them converted independently of each other.
  // Stops at the end of the text, when the last variable has its value, or at
  // a value it does not take, with `at` there and nothing of it consumed.
  void take_blank_separated(const char*& at, const char* end) {
    const std::size_t length = static_cast<std::size_t>(end - at);
    if (length - 8 > 64 - 8) return;
    const char* const text = at;
    const std::uint64_t in_values = ~blank_positions(text, length) & (~std::uint64_t{0} >> (64 - length));
    std::uint64_t firsts = in_values & ~(in_values << 1);
    std::uint64_t lasts = in_values & ~(in_values >> 1);
    if (firsts == 0) {
      at = end;
      return;
    }
    const Variable* variable = variables_.data() + item_;
    const Variable* const stop = variables_.data() + variables_.size();
    const Variable* const start = variable;
    for (;;) {
      const std::size_t first = lowest_bit(firsts);
      const std::size_t after = lowest_bit(lasts) + 1;
      if (!take_short(text, first, after - first, *variable) &&
          !take_token(text + first, text + after, text, end, *variable)) {
        at = text + first;
        break;
      }
      firsts &= firsts - 1;
      lasts &= lasts - 1;
      if (++variable == stop) {
        at = text + after;
        break;
      }
      if (firsts == 0) {
        at = end;
        break;
      }
    }
    const std::size_t taken = static_cast<std::size_t>(variable - start);
    item_ += taken;
    filled_ += taken;
    if (taken != 0) comma_separates_ = true;
  }

  // Takes the value at `at`, with its repeat count if it has one, into the
  // variables from item_ on. 0, or the failure's status.
  int take_value(const char*& at, const char* end) {
    const char* value = at;
    const char* star = nullptr;
    for (; at != end; ++at) {
      const Mark mark = mark_of(*at);
      if (mark == Mark::value_end) break;
      if (mark == Mark::star && star == nullptr) star = at;
    }

    std::int64_t repeat = 1;
    const char* text = value;
    if (star != nullptr && star != value && std::all_of(value, star, is_digit)) {
      repeat = 0;
      for (const char* p = value; p != star && repeat <= max_repeat; ++p) repeat = repeat * 10 + digit_of(*p);
      if (repeat == 0 || repeat > max_repeat) {
        const char* message_start = repeat == 0 ? "Zero repeat count in item " : "Repeat count overflow in item ";
        keep_rest(star + 1, end);
        return failure(status_bad_value, message_start + item_text(item_) + " of list input");
      }
      text = star + 1;
    }
    const std::size_t left = variables_.size() - item_;
    if (text == at) {  // r* with nothing after it: r null values
      item_ += static_cast<std::size_t>(std::min<std::int64_t>(repeat, static_cast<std::int64_t>(left)));
      return 0;
    }

    const Variable& first = variables_[item_];
    Value converted;
    const Conversion conversion = convert(first, text, at, converted);
    if (conversion != Conversion::ok) {
      // An integer beyond the range leaves the rest of its record to the next read.
      if (conversion == Conversion::integer_overflow) keep_rest(past_separator(at, end), end);
      return failure(status_bad_value, conversion_message(conversion, item_));
    }
    const std::size_t takers = static_cast<std::size_t>(std::min<std::int64_t>(repeat, static_cast<std::int64_t>(left)));
    for (std::size_t k = 0; k < takers; ++k) {
      const Variable& variable = variables_[item_];
      if (variable.is_integer() != converted.integer) {
        keep_rest(past_separator(at, end), end);
        return failure(status_bad_value, std::string("Read type ") + type_name(converted.integer) + " where " +
                                             type_name(variable.is_integer()) + " was expected for item " +
                                             item_text(item_));
      }
      assign(variable, converted);
      ++item_;
      ++filled_;
    }
    return 0;
  }

  void keep_rest(const char* from, const char* end) {
    stream_.keep_rest({from, static_cast<std::size_t>(end - from)});
  }

  int end_of_file() { return failure(status_end_of_file, "End of file"); }
  int failure(int status, std::string message) {
    message_ = std::move(message);
    return status;
  }

  Stream& stream_;
  int statement_;
  std::span<const Variable> variables_;
  std::size_t item_ = 0;    // the variable the next value goes to
  std::size_t filled_ = 0;  // variables that received a value
  // A comma right after a value (blanks and record ends between) is its separator;
  // any other comma, the statement's first included, stands for a null value.
  bool comma_separates_ = false;
  std::string message_;
};

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
// assigned, for anything else.
[[gnu::always_inline]] inline bool take_eight(const char* text, std::size_t length, const Variable& variable) {
  std::uint64_t word = 0;
  std::memcpy(&word, text, 8);
  // The value's characters moved up to the top, leading zeros below them.
  std::uint64_t values = (word ^ every_byte('0')) << (8 * (8 - length));
  const std::uint64_t others = no_digits(values);
  if (variable.is_integer()) {
    if (others != 0) return false;
    variable.set(static_cast<std::int32_t>(number_of(values)));  // eight digits always fit
    return true;
  }
  int fraction_digits = 0;
  if (others != 0) {
    fraction_digits = remove_point(values, others);
    if (fraction_digits < 0 || length < 2) return false;
  }
  const std::uint64_t number = number_of(values);
  // An exact float divided by an exact power of ten (1 without a point)
  // rounds the quotient once.
  variable.set(number < std::uint64_t{1} << 24
                   ? static_cast<float>(static_cast<std::uint32_t>(number)) /
                         float_powers_of_ten[static_cast<std::size_t>(fraction_digits)]
                   : quotient_to_float(false, number, fraction_digits));
  return true;
}

// A plain real of nine to sixteen characters at `text` (the sixteen from
// there may be read) into `variable`: digits with at most one point among
// them, read as a head of the first length - 8 characters and a tail of the
// last eight. False, with nothing assigned, for anything else.
[[gnu::always_inline]] inline bool take_sixteen(const char* text, std::size_t length, const Variable& variable) {
  std::uint64_t head = 0;
  std::uint64_t tail = 0;
  std::memcpy(&head, text, 8);
  std::memcpy(&tail, text + length - 8, 8);
  head = (head ^ every_byte('0')) << (8 * (16 - length));
  tail ^= every_byte('0');
  const std::uint64_t head_others = no_digits(head);
  const std::uint64_t tail_others = no_digits(tail);
  int fraction_digits = 0;
  std::size_t tail_digits = 8;
  if (tail_others != 0) {
    fraction_digits = remove_point(tail, tail_others);
    if (fraction_digits < 0 || head_others != 0) return false;
    tail_digits = 7;
  } else if (head_others != 0) {
    fraction_digits = remove_point(head, head_others);
    if (fraction_digits < 0) return false;
    fraction_digits += 8;
  }
  const std::uint64_t number = number_of(head) * powers_of_ten[tail_digits] + number_of(tail);
  float value = 0;
  if (number < std::uint64_t{1} << 24 && fraction_digits <= 10) {
    value = static_cast<float>(static_cast<std::uint32_t>(number)) /
            float_powers_of_ten[static_cast<std::size_t>(fraction_digits)];
  } else if (number != 0 && !whole_and_fraction_to_float(number, fraction_digits, value)) {
    value = quotient_to_float(false, number, fraction_digits);
  }
  variable.set(value);
  return true;
}

// One read statement whose record lies whole among the first 64 bytes of the
// stream's read block and begins with a plain value for each variable,
// separated by blanks: nearly every statement of a run, taken here without
// the setup of a general read. False, with the stream as it was, for any
// other; the variables given values by then are given the same ones again by
// the general read, which goes over the same values first.
[[gnu::always_inline]] inline bool take_plain_record(Stream& stream, std::span<const Variable> variables) {
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
  std::uint64_t firsts = in_values & ~(in_values << 1);
  std::uint64_t lasts = in_values & ~(in_values >> 1);
  for (const Variable& variable : variables) {
    if (firsts == 0) return false;
    const std::size_t start = static_cast<std::size_t>(__builtin_ctzll(firsts));
    const std::size_t size = static_cast<std::size_t>(__builtin_ctzll(lasts)) + 1 - start;
    firsts &= firsts - 1;
    lasts &= lasts - 1;
    const char* const value = text + start;
    if (variable.is_integer() && size <= 4) [[likely]] {
      // The usual integer, the commonest value of all, kept on a straight
      // path: half a word, its characters moved up to the top.
      std::uint32_t four = 0;
      std::memcpy(&four, value, 4);
      four = (four ^ 0x3030'3030u) << (8 * (4 - size));
      if ((((four + 0x7676'7676u) | four) & 0x8080'8080u) == 0) [[likely]] {
        const std::uint32_t pairs = (four * (10 * 0x100 + 1)) >> 8 & 0x00FF'00FFu;
        variable.set(static_cast<std::int32_t>((pairs * (100 * 0x1'0000 + 1)) >> 16));
        continue;
      }
    } else if (size <= 8 ? take_eight(value, size, variable)
                         : size <= 16 && !variable.is_integer() && take_sixteen(value, size, variable)) {
      continue;
    }
    // A signed value, or a long one, is taken the way a general read takes it.
    if (!take_token(value, value + size, text, text + length, variable)) return false;
  }
  stream.pass_over(line_end + 1);
  return true;
}

// The general reads, for the statements that take_plain_record leaves.

[[gnu::noinline]] ListReadResult read_list_status_in_full(Stream& stream, int statement,
                                                          std::span<const Variable> variables) {
  ListRead read(stream, statement, variables);
  const int status = read.run();
  return {status, read.filled(), std::move(read.message())};
}

[[gnu::noinline]] void read_list_in_full(Stream& stream, int statement, std::span<const Variable> variables) {
  ListRead read(stream, statement, variables);
  if (read.run() != 0) stream.fail(statement, read.message());
}

[[gnu::noinline]] bool read_list_until_end_in_full(Stream& stream, int statement,
                                                   std::span<const Variable> variables) {
  ListRead read(stream, statement, variables);
  const int status = read.run();
  if (status == 0) return true;
  if (status == status_end_of_file && read.filled() == 0) return false;
  stream.fail(statement, read.message());
}

}  // namespace

ListReadResult read_list_status(Stream& stream, int statement, std::span<const Variable> variables) {
  if (take_plain_record(stream, variables)) return {0, variables.size(), {}};
  return read_list_status_in_full(stream, statement, variables);
}

void read_list(Stream& stream, int statement, std::span<const Variable> variables) {
  if (!take_plain_record(stream, variables)) read_list_in_full(stream, statement, variables);
}

bool read_list_until_end(Stream& stream, int statement, std::span<const Variable> variables) {
  return take_plain_record(stream, variables) || read_list_until_end_in_full(stream, statement, variables);
}

}  // namespace tamvek
