#include "records/list_read.hpp"

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>
#include <utility>

#include "records/decimal_to_float.hpp"

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
// a few digits (for a real with at most one decimal point) followed by a
// separator. The general rules give the same result for them; this only takes
// the common case in one pass. False, with nothing consumed, for anything else.
bool take_plain(const char*& at, const char* end, bool integer, Value& value) {
  const char* p = at;
  bool negative = false;
  if (p != end && is_sign(*p)) negative = *p++ == '-';
  std::uint64_t significand = 0;
  int digits = 0;
  int fraction_digits = 0;
  bool point = false;
  for (; p != end; ++p) {
    const unsigned digit = digit_of(*p);
    if (digit <= 9) {
      if (++digits > 9) return false;
      significand = significand * 10 + digit;
      fraction_digits += point ? 1 : 0;
    } else if (*p == '.' && !point && !integer) {
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0 || (p != end && mark_of(*p) != Mark::value_end)) return false;
  value.integer = integer;
  if (integer) {
    const std::int64_t signed_value = negative ? -static_cast<std::int64_t>(significand)
                                               : static_cast<std::int64_t>(significand);
    value.integer_value = static_cast<std::int32_t>(signed_value);  // nine digits always fit
  } else if (!short_decimal_to_float(negative, significand, -fraction_digits, value.real_value)) {
    return false;
  }
  at = p;
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

  ListReadResult run() {
    if (const IoFailure refused = stream_.begin_read())
      return failure(refused.code, std::string(refused.message));
    std::string_view record;
    if (!stream_.take_rest(record) && !stream_.next_record(statement_, record)) return end_of_file();
    const char* at = record.data();
    const char* end = at + record.size();

    // A comma right after a value (blanks and record ends between) is its separator;
    // any other comma, the statement's first included, stands for a null value.
    bool comma_separates = false;
    while (item_ < variables_.size()) {
      for (;;) {
        while (at != end && is_blank(*at)) ++at;
        if (at == end) {
          if (!stream_.next_record(statement_, record)) return end_of_file();
          at = record.data();
          end = at + record.size();
          continue;
        }
        const char c = *at;
        if (c == '/') return success();
        if (c != ',' && c != ';') break;
        ++at;
        if (comma_separates) {
          comma_separates = false;
        } else if (++item_ == variables_.size()) {
          return success();
        }
      }
      comma_separates = true;
      Value plain;
      const Variable& variable = variables_[item_];
      if (take_plain(at, end, variable.is_integer(), plain)) {
        assign(variable, plain);
        ++item_;
        ++filled_;
      } else if (ListReadResult failed; !take_value(at, end, failed)) {
        return failed;
      }
    }
    return success();
  }

 private:
  // Takes the value at `at`, with its repeat count if it has one, into the
  // variables from item_ on. False, with the result filled in, on failure.
  bool take_value(const char*& at, const char* end, ListReadResult& failed) {
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
        failed = failure(status_bad_value, message_start + item_text(item_) + " of list input");
        keep_rest(star + 1, end);
        return false;
      }
      text = star + 1;
    }
    const std::size_t left = variables_.size() - item_;
    if (text == at) {  // r* with nothing after it: r null values
      item_ += static_cast<std::size_t>(std::min<std::int64_t>(repeat, static_cast<std::int64_t>(left)));
      return true;
    }

    const Variable& first = variables_[item_];
    Value converted;
    const Conversion conversion = convert(first, text, at, converted);
    if (conversion != Conversion::ok) {
      failed = failure(status_bad_value, conversion_message(conversion, item_));
      // An integer beyond the range leaves the rest of its record to the next read.
      if (conversion == Conversion::integer_overflow) keep_rest(past_separator(at, end), end);
      return false;
    }
    const std::size_t takers = static_cast<std::size_t>(std::min<std::int64_t>(repeat, static_cast<std::int64_t>(left)));
    for (std::size_t k = 0; k < takers; ++k) {
      const Variable& variable = variables_[item_];
      if (variable.is_integer() != converted.integer) {
        failed = failure(status_bad_value, std::string("Read type ") + type_name(converted.integer) + " where " +
                                               type_name(variable.is_integer()) + " was expected for item " +
                                               item_text(item_));
        keep_rest(past_separator(at, end), end);
        return false;
      }
      assign(variable, converted);
      ++item_;
      ++filled_;
    }
    return true;
  }

  void keep_rest(const char* from, const char* end) {
    stream_.keep_rest({from, static_cast<std::size_t>(end - from)});
  }

  ListReadResult success() const { return {0, filled_, {}}; }
  ListReadResult end_of_file() const { return failure(status_end_of_file, "End of file"); }
  ListReadResult failure(int status, std::string message) const { return {status, filled_, std::move(message)}; }

  Stream& stream_;
  int statement_;
  std::span<const Variable> variables_;
  std::size_t item_ = 0;    // the variable the next value goes to
  std::size_t filled_ = 0;  // variables that received a value
};

}  // namespace

ListReadResult read_list_status(Stream& stream, int statement, std::span<const Variable> variables) {
  return ListRead(stream, statement, variables).run();
}

void read_list(Stream& stream, int statement, std::span<const Variable> variables) {
  const ListReadResult result = read_list_status(stream, statement, variables);
  if (result.status != 0) stream.fail(statement, result.message);
}

bool read_list_until_end(Stream& stream, int statement, std::span<const Variable> variables) {
  const ListReadResult result = read_list_status(stream, statement, variables);
  if (result.status == 0) return true;
  if (result.status == status_end_of_file && result.filled == 0) return false;
  stream.fail(statement, result.message);
}

}  // namespace tamvek
