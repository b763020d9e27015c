#pragma once

#include <cstdint>
#include <string>

namespace tamvek::results {

// The texts of numbers that the companion programs write into their files and
// messages, each form in one place.

// The shortest decimal that reads back as the same single-precision value, in
// plain notation (no exponent), as messages, JSON and GIS headers want it.
std::string shortest_decimal(float value);

// A value with `decimals` decimals, or, when `decimals` is negative, the
// shortest text that reads back as the same double (with an exponent where
// that is shorter).
std::string decimal_text(double value, int decimals);

// A value with one decimal, as the arrays give it: one_decimal(12.25) is "12.2".
inline std::string one_decimal(double value) { return decimal_text(value, 1); }

// A sum of array fields, kept exactly in tenths, with its one decimal:
// 123 is "12.3", -5 is "-0.5".
std::string tenths_text(std::int64_t tenths);

// A number of a model's file quoted in a message: ten significant digits,
// enough to tell it from what it was checked against.
std::string ten_digits(double value);

}  // namespace tamvek::results
