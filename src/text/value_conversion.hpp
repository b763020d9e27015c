#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace tamvek::list_input {

// The characters that shape list-directed input.
inline bool is_blank(char c) { return c == ' ' || c == '\t'; }
inline bool is_sign(char c) { return c == '+' || c == '-'; }
inline unsigned digit_of(char c) { return static_cast<unsigned>(static_cast<unsigned char>(c)) - '0'; }
inline bool is_digit(char c) { return digit_of(c) <= 9; }

// How the text of one value converts for its variable.
enum class Conversion { ok, bad_integer, integer_overflow, bad_real, no_digit };

// The value [p, end) as an integer: an optional sign and decimal digits, from
// -2147483648 to 2147483647.
Conversion parse_integer(const char* p, const char* end, std::int32_t& out);

// A real's text as the grammar of list input splits it: sign, digits with at
// most one decimal point, and an exponent given by E, D or Q with an optional
// sign or by a sign alone (1.5+3 is 1500); or, after the sign, a word that
// begins with neither a digit nor a point (INF, NAN).
struct RealText {
  bool negative = false;
  std::string_view word;             // the word, or empty
  std::string_view mantissa;         // the digits and the point, as written
  std::string_view whole_digits;
  std::string_view fraction_digits;
  std::int64_t exponent = 0;         // at most decimal_exponent_limit in size
  bool exponent_by_e = true;         // no exponent, or one written with E
};

// Splits [p, end). A text of nothing but a sign and a point holds no digit,
// which is a failure of its own; any other text without digits before the
// exponent (".e5") is a bad real.
Conversion split_real(const char* p, const char* end, RealText& text);

// INF, INFINITY, NAN and NAN(text), in any case; nothing may follow them.
template <class Real>
Conversion parse_real_word(std::string_view word, bool negative, Real& out) {
  const auto is_word = [](std::string_view text, std::string_view lower_word) {
    if (text.size() != lower_word.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
      if ((text[i] | 0x20) != lower_word[i]) return false;
    return true;
  };
  if (is_word(word, "inf") || is_word(word, "infinity")) {
    const Real infinity = std::numeric_limits<Real>::infinity();
    out = negative ? -infinity : infinity;
    return Conversion::ok;
  }
  if (word.size() < 3 || !is_word(word.substr(0, 3), "nan")) return Conversion::bad_real;
  const std::string_view tail = word.substr(3);
  if (!tail.empty() && (tail.size() < 2 || tail.front() != '(' || tail.back() != ')' ||
                        tail.substr(1, tail.size() - 2).find(')') != std::string_view::npos))
    return Conversion::bad_real;
  const Real nan = std::numeric_limits<Real>::quiet_NaN();
  out = negative ? -nan : nan;
  return Conversion::ok;
}

// The value [p, end) as a real, converted to the nearest float.
Conversion parse_real(const char* p, const char* end, float& out);

// The item number as messages show it, counted from 1.
std::string item_text(std::size_t index);

// The message of a failed conversion of item `index` (counted from 0).
std::string conversion_message(Conversion conversion, std::size_t index);

}  // namespace tamvek::list_input
