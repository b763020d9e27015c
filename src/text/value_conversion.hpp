#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

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

// The value [p, end) as a real, converted to the nearest float.
Conversion parse_real(const char* p, const char* end, float& out);

// The item number as messages show it, counted from 1.
std::string item_text(std::size_t index);

// The message of a failed conversion of item `index` (counted from 0).
std::string conversion_message(Conversion conversion, std::size_t index);

}  // namespace tamvek::list_input
