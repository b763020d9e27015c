#include "text/list_read.hpp"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "text/value_conversion.hpp"

namespace tamvek {
namespace {

using namespace list_input;

constexpr std::int64_t max_repeat = 200'000'000;
constexpr int status_bad_value = 5010;  // a value or a repeat count the variables cannot take

// What a character means while a value is scanned.
enum class Mark : unsigned char { ordinary, value_end, star };

constexpr std::array<Mark, 256> marks = [] {
  std::array<Mark, 256> table{};
  for (const char c : {' ', '\t', ',', ';', '/'}) table[static_cast<unsigned char>(c)] = Mark::value_end;
  table['*'] = Mark::star;
  return table;
}();

// One value converted for the variable it is first given to. A repeat gives
// the same value to the variables after it, so it has that first variable's
// type: a later variable of the other type cannot take it.
struct Value { bool integer = false; std::int32_t integer_value = 0; float real_value = 0; };

Conversion convert(const Variable& variable, const char* text, const char* end, Value& value) {
  value.integer = variable.is_integer();
  return value.integer ? parse_integer(text, end, value.integer_value) : parse_real(text, end, value.real_value);
}

void assign(const Variable& variable, const Value& value) {
  if (value.integer)
    variable.set(value.integer_value);
  else
    variable.set(value.real_value);
}

// Blanks, at most one comma or semicolon, blanks: the separator after a value.
const char* past_separator(const char* p, const char* end) {
  while (p != end && is_blank(*p)) ++p;
  if (p != end && (*p == ',' || *p == ';')) ++p;
  while (p != end && is_blank(*p)) ++p;
  return p;
}

const char* type_name(bool integer) { return integer ? "INTEGER" : "REAL"; }

// The item number as messages show it, counted from 1.
std::string item_text(std::size_t index) { return std::to_string(index + 1); }

// The message of a failed conversion of item `index` (counted from 0).
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

  ListReadResult take() {
    result_.status = take_values();
    return std::move(result_);
  }

 private:
  // 0, or the failure's status.
  int take_values() {
    if (const IoFailure refused = stream_.begin_read()) return failure(refused.code, std::string(refused.message));
    std::string_view record;
    if (!stream_.take_rest(record) && !stream_.next_record(statement_, record)) return end_of_file();
    const char* at = record.data();
    const char* end = at + record.size();

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
        if (c == '/') return 0;
        if (c != ',' && c != ';') break;
        ++at;
        if (comma_separates_)
          comma_separates_ = false;
        else if (++item_ == variables_.size())
          return 0;
      }
      comma_separates_ = true;
      if (const int status = take_value(at, end); status != 0) return status;
    }
    return 0;
  }

  // Takes the value at `at`, with its repeat count if it has one, into the
  // variables from item_ on. 0, or the failure's status.
  int take_value(const char*& at, const char* end) {
    const char* value = at;
    const char* star = nullptr;
    for (; at != end; ++at) {
      const Mark mark = marks[static_cast<unsigned char>(*at)];
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
    const auto takers = static_cast<std::size_t>(std::min<std::int64_t>(repeat, static_cast<std::int64_t>(left)));
    if (text == at) {  // r* with nothing after it: r null values
      item_ += takers;
      return 0;
    }

    Value converted;
    const Conversion conversion = convert(variables_[item_], text, at, converted);
    if (conversion != Conversion::ok) {
      // An integer beyond the range leaves the rest of its record to the next read.
      if (conversion == Conversion::integer_overflow) keep_rest(past_separator(at, end), end);
      return failure(status_bad_value, conversion_message(conversion, item_));
    }
    for (std::size_t k = 0; k < takers; ++k) {
      const Variable& variable = variables_[item_];
      if (variable.is_integer() != converted.integer) {
        keep_rest(past_separator(at, end), end);
        return failure(status_bad_value, std::string("Read type ") + type_name(converted.integer) + " where " +
                                             type_name(variable.is_integer()) + " was expected for item " +
                                             item_text(item_));
      }
      assign(variable, converted);
      if (item_ < 64) result_.assigned |= std::uint64_t{1} << item_;
      ++item_;
      ++result_.filled;
    }
    return 0;
  }

  void keep_rest(const char* from, const char* end) { stream_.keep_rest({from, static_cast<std::size_t>(end - from)}); }

  int end_of_file() { return failure(status_end_of_file, "End of file"); }
  int failure(int status, std::string message) {
    result_.message = std::move(message);
    return status;
  }

  Stream& stream_;
  int statement_;
  std::span<const Variable> variables_;
  std::size_t item_ = 0;  // the variable the next value goes to
  // A comma right after a value (blanks and record ends between) is its separator;
  // any other comma, the statement's first included, stands for a null value.
  bool comma_separates_ = false;
  ListReadResult result_;
};

}  // namespace

ListReadResult read_list_status(Stream& stream, int statement, std::span<const Variable> variables) {
  return ListRead(stream, statement, variables).take();
}

void read_list(Stream& stream, int statement, std::span<const Variable> variables) {
  const ListReadResult read = read_list_status(stream, statement, variables);
  if (read.status != 0) stream.fail(statement, read.message);
}

bool read_list_until_end(Stream& stream, int statement, std::span<const Variable> variables, std::uint64_t& assigned) {
  const ListReadResult read = read_list_status(stream, statement, variables);
  assigned = read.assigned;
  if (read.status == 0) return true;
  if (read.status == status_end_of_file && read.filled == 0) return false;
  stream.fail(statement, read.message);
}

}  // namespace tamvek
