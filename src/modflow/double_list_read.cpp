#include "modflow/double_list_read.hpp"

#include <algorithm>
#include <cstdint>

#include "modflow/double_conversion.hpp"

namespace tamvek {
namespace {

using namespace list_input;

constexpr std::int64_t max_repeat = 200'000'000;

bool ends_value(char c) { return is_blank(c) || c == ',' || c == ';' || c == '/' || c == '\r'; }

}  // namespace

DoubleListRead::Step DoubleListRead::fail(std::string message, std::string_view text) {
  failure_ = std::move(message);
  failed_text_ = text;
  return Step::failed;
}

DoubleListRead::Step DoubleListRead::take(std::string_view record) {
  const char* at = record.data();
  const char* const end = at + record.size();
  while (item_ < count_) {
    while (at != end && (is_blank(*at) || *at == '\r')) ++at;
    if (at == end) return Step::more;
    if (*at == '/') {
      item_ = count_;
      return Step::done;
    }
    if (*at == ',' || *at == ';') {
      ++at;
      if (comma_separates_)
        comma_separates_ = false;
      else
        ++item_;
      continue;
    }
    comma_separates_ = true;
    const char* const value = at;
    const char* star = nullptr;
    for (; at != end && !ends_value(*at); ++at)
      if (*at == '*' && star == nullptr) star = at;
    const std::string_view whole(value, static_cast<std::size_t>(at - value));

    std::int64_t repeat = 1;
    const char* text = value;
    if (star != nullptr && star != value && std::all_of(value, star, is_digit)) {
      repeat = 0;
      for (const char* p = value; p != star && repeat <= max_repeat; ++p) repeat = repeat * 10 + digit_of(*p);
      if (repeat == 0 || repeat > max_repeat)
        return fail(repeat == 0 ? "a repeat count of zero" : "a repeat count too large", whole);
      text = star + 1;
    }
    const auto left = static_cast<std::int64_t>(count_ - item_);
    const auto takers = static_cast<std::size_t>(std::min(repeat, left));
    if (text == at) {  // r* with nothing after it: r null values
      item_ += takers;
      continue;
    }
    double converted = 0;
    if (parse_double(text, at, converted) != Conversion::ok) return fail("not a number", whole);
    if (!values_.empty()) std::fill_n(values_.begin() + static_cast<std::ptrdiff_t>(item_), takers, converted);
    item_ += takers;
  }
  return Step::done;
}

}  // namespace tamvek
