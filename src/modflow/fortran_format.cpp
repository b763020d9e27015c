#include "modflow/fortran_format.hpp"

#include <cctype>
#include <cstdint>

#include "modflow/double_conversion.hpp"

namespace tamvek::modflow {
namespace {

using Kind = EditDescriptor::Kind;

// Repeat counts multiply: a format laid out to more descriptors than this is
// not one a model file needs, and is refused before it takes the memory.
constexpr std::size_t most_items = 200'000;
constexpr int largest_number = 100'000;

bool is_value(Kind kind) { return kind == Kind::real || kind == Kind::integer; }

class FormatParser {
 public:
  FormatParser(std::string_view text, std::string& fault) : fault_(fault) {
    for (const char c : text)
      if (c != ' ' && c != '\t') text_ += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }

  std::optional<FortranFormat> parse() {
    FortranFormat format;
    if (text_.empty() || text_[0] != '(') return failed("a format begins with \"(\"");
    at_ = 1;
    if (!list(format.items, true, format.reversion)) return std::nullopt;
    if (at_ != text_.size()) {
      std::string reason(1, '"');  // appended, not added: GCC 12 warns falsely at -O3 of a literal + a string
      reason.append(text_, at_).append("\" after the format's \")\"");
      return failed(std::move(reason));
    }
    bool values = false;
    for (std::size_t i = format.reversion; i < format.items.size(); ++i) values = values || is_value(format.items[i].kind);
    if (!values) return failed("the format reads no value (no F, E, G, D or I field)");
    return format;
  }

 private:
  std::nullopt_t failed(std::string reason) {
    if (fault_.empty()) fault_ = std::move(reason);
    return std::nullopt;
  }

  bool fail(std::string reason) {
    failed(std::move(reason));
    return false;
  }

  char peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }

  bool number(int& value) {
    if (!std::isdigit(static_cast<unsigned char>(peek()))) return false;
    value = 0;
    while (std::isdigit(static_cast<unsigned char>(peek()))) {
      value = value * 10 + (text_[at_++] - '0');
      if (value > largest_number) return fail("a number too large in the format");
    }
    return true;
  }

  bool add(std::vector<EditDescriptor>& items, EditDescriptor item, int repeat) {
    if (items.size() + static_cast<std::size_t>(repeat) > most_items)
      return fail("the format lays out to more than " + std::to_string(most_items) + " fields");
    items.insert(items.end(), static_cast<std::size_t>(repeat), item);
    return true;
  }

  // The items up to the ")" that closes the group; at the outer level, where
  // the last group begins.
  bool list(std::vector<EditDescriptor>& items, bool outer, std::size_t& reversion) {
    while (true) {
      const char c = peek();
      if (c == '\0') return fail("the format has no closing \")\"");
      if (c == ')') {
        ++at_;
        return true;
      }
      if (c == ',' || c == ':') {
        ++at_;
        continue;
      }
      if (!item(items, outer, reversion)) return false;
    }
  }

  bool width_and_decimals(EditDescriptor& item, bool exponent_allowed) {
    if (!number(item.width) || item.width == 0) return fail("a field without its width in the format");
    if (peek() == '.') {
      ++at_;
      if (!number(item.decimals)) return fail("a field's decimals missing after its \".\"");
    }
    int exponent_digits = 0;
    if (exponent_allowed && peek() == 'E') {
      ++at_;
      if (!number(exponent_digits)) return fail("an exponent width missing after \"E\"");
    }
    return true;
  }

  bool item(std::vector<EditDescriptor>& items, bool outer, std::size_t& reversion) {
    bool negative = false;
    if (peek() == '-' || peek() == '+') negative = text_[at_++] == '-';
    int count = 0;
    const bool counted = number(count);
    const char c = peek();
    if (c == 'P') {
      ++at_;
      if (!counted) return fail("a scale factor P without its number");
      return add(items, {Kind::scale, negative ? -count : count, 0}, 1);
    }
    if (negative) return fail("a sign before something other than a scale factor P");
    if (counted && count == 0 && c != 'X') return fail("a repeat count of zero in the format");
    const int repeat = counted ? count : 1;
    if (c == '(') {
      ++at_;
      const std::size_t start = items.size();
      std::vector<EditDescriptor> group;
      std::size_t unused = 0;
      if (!list(group, false, unused)) return false;
      if (outer) reversion = start;
      if (items.size() + group.size() * static_cast<std::size_t>(repeat) > most_items)
        return fail("the format lays out to more than " + std::to_string(most_items) + " fields");
      for (int r = 0; r < repeat; ++r) items.insert(items.end(), group.begin(), group.end());
      return true;
    }
    ++at_;
    EditDescriptor item;
    switch (c) {
      case 'X': return add(items, {Kind::skip, counted ? count : 1, 0}, 1);
      case '/': return add(items, {Kind::next_record, 0, 0}, repeat);
      case 'F':
      case 'D':
        if (!width_and_decimals(item, false)) return false;
        return add(items, item, repeat);
      case 'E':
        if (peek() == 'S' || peek() == 'N') ++at_;
        [[fallthrough]];
      case 'G':
        if (!width_and_decimals(item, true)) return false;
        return add(items, item, repeat);
      case 'I': {
        item.kind = Kind::integer;
        if (!width_and_decimals(item, false)) return false;
        item.decimals = 0;
        return add(items, item, repeat);
      }
      case 'T': {
        item.kind = Kind::tab;
        if (peek() == 'L' || peek() == 'R') item.kind = text_[at_++] == 'L' ? Kind::back : Kind::skip;
        if (counted || !number(item.width)) return fail("a T, TL or TR without its position");
        if (item.kind == Kind::tab && item.width == 0) return fail("T0 in the format");
        return add(items, item, 1);
      }
      case 'B':
        if (counted || (peek() != 'N' && peek() != 'Z')) break;
        return add(items, {text_[at_++] == 'N' ? Kind::blank_null : Kind::blank_zero, 0, 0}, 1);
      case 'S':
        if (counted) break;
        if (peek() == 'P' || peek() == 'S') ++at_;
        return true;  // sign control: nothing on input
      default: break;
    }
    --at_;
    const std::string rest = text_.substr(at_, 8);
    return fail("\"" + rest + "\" in the format is not a numeric edit descriptor (F, E, G, D, I, X, "
                "T, /, P, BN, BZ) that an array is read with");
  }

  std::string text_;
  std::size_t at_ = 0;
  std::string& fault_;
};

}  // namespace

std::optional<FortranFormat> parse_fortran_format(std::string_view text, std::string& fault) {
  fault.clear();
  return FormatParser(text, fault).parse();
}

bool read_real_field(std::string_view field, int decimals, int scale, bool blank_zero, double& value) {
  std::string text;
  text.reserve(field.size());
  bool any = false;
  for (const char c : field) {
    if (c == ' ' || c == '\t' || c == '\r') {
      if (blank_zero && any) text += '0';
      continue;
    }
    any = true;
    text += c;
  }
  if (text.empty()) {
    value = 0;
    return true;
  }
  // Sign, digits with an optional point, then an optional exponent.
  std::size_t at = 0;
  std::string mantissa;
  if (text[at] == '+' || text[at] == '-') mantissa += text[at++];
  const std::size_t digits_start = at;
  bool point = false;
  std::size_t digits_after_point = 0;
  for (; at < text.size(); ++at) {
    const char c = text[at];
    if (c >= '0' && c <= '9') {
      if (point) ++digits_after_point;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (at == digits_start || (point && at == digits_start + 1)) return false;
  mantissa.append(text, digits_start, at - digits_start);
  long long exponent = 0;
  bool has_exponent = false;
  if (at < text.size()) {
    const char letter = static_cast<char>(text[at] | 0x20);
    if (letter == 'e' || letter == 'd' || letter == 'q') ++at;
    else if (text[at] != '+' && text[at] != '-') return false;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    if (at == text.size()) return false;
    for (; at < text.size(); ++at) {
      if (text[at] < '0' || text[at] > '9') return false;
      if (exponent < 100'000) exponent = exponent * 10 + (text[at] - '0');
    }
    if (negative) exponent = -exponent;
    has_exponent = true;
  }
  if (!point) exponent -= decimals;
  if (!has_exponent) exponent -= scale;
  mantissa += 'e' + std::to_string(exponent);
  return list_input::parse_double(mantissa.data(), mantissa.data() + mantissa.size(), value) ==
         list_input::Conversion::ok;
}

bool read_integer_field(std::string_view field, bool blank_zero, long long& value) {
  std::string text;
  for (const char c : field) {
    if (c == ' ' || c == '\t' || c == '\r') {
      if (blank_zero && !text.empty()) text += '0';
    } else {
      text += c;
    }
  }
  value = 0;
  if (text.empty()) return true;
  std::size_t at = 0;
  bool negative = false;
  if (text[0] == '+' || text[0] == '-') negative = text[at++] == '-';
  if (at == text.size()) return false;
  for (; at < text.size(); ++at) {
    if (text[at] < '0' || text[at] > '9') return false;
    if (value > 1'000'000'000'000'000LL) return false;
    value = value * 10 + (text[at] - '0');
  }
  if (negative) value = -value;
  return true;
}

bool read_formatted(const FortranFormat& format, std::span<const std::string_view> records,
                    std::size_t& next, std::span<double> values, std::string& fault) {
  std::size_t taken = 0;
  const auto ran_out = [&] {
    fault = "the file ends after " + std::to_string(taken) + " of the read's " +
            std::to_string(values.size()) + " values";
    return false;
  };
  if (next >= records.size()) return ran_out();
  std::string_view record = records[next];
  std::size_t position = 0;
  int scale = 0;
  bool blank_zero = false;
  std::size_t i = 0;
  const auto next_record = [&] {
    if (++next >= records.size()) return false;
    record = records[next];
    position = 0;
    return true;
  };
  while (true) {
    if (i == format.items.size()) {
      if (taken == values.size()) break;
      if (!next_record()) return ran_out();
      i = format.reversion;
    }
    const EditDescriptor& item = format.items[i++];
    if (is_value(item.kind) && taken == values.size()) break;
    const auto width = static_cast<std::size_t>(item.width);
    switch (item.kind) {
      case Kind::real:
      case Kind::integer: {
        const std::string_view field = position < record.size() ? record.substr(position, width) : std::string_view{};
        position += width;
        bool read = false;
        if (item.kind == Kind::real) {
          read = read_real_field(field, item.decimals, scale, blank_zero, values[taken]);
        } else {
          long long integer = 0;
          read = read_integer_field(field, blank_zero, integer);
          values[taken] = static_cast<double>(integer);
        }
        if (!read) {
          fault = "value " + std::to_string(taken + 1) + " of the read: \"" + std::string(field) +
                  "\" is not " + (item.kind == Kind::real ? "a number" : "a whole number") +
                  " of its field (columns " + std::to_string(position - width + 1) + " to " +
                  std::to_string(position) + ")";
          return false;
        }
        ++taken;
        break;
      }
      case Kind::skip: position += width; break;
      case Kind::back: position = position > width ? position - width : 0; break;
      case Kind::tab: position = width - 1; break;
      case Kind::next_record:
        if (!next_record()) return ran_out();
        break;
      case Kind::scale: scale = item.width; break;
      case Kind::blank_null: blank_zero = false; break;
      case Kind::blank_zero: blank_zero = true; break;
    }
  }
  ++next;
  return true;
}

}  // namespace tamvek::modflow
