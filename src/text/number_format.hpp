#pragma once

#include <cstddef>
#include <cstdint>

namespace tamvek {

// Field writers for the text records. Each writes a fixed-width field into
// the caller's buffer (no terminating NUL), never allocates, never throws, and
// returns the position just past the field so that calls can be chained.

// The width of a real's list-directed field, the widest field of a list record.
inline constexpr std::size_t list_real_width = 16;

// The 16-character list-directed field of a real: nine significant digits of
// the stored value, right-justified. Magnitudes 0.1 .. 10^9 (and zero) use the
// fixed form, the number right-justified in 12 characters with 9 - (integer
// digits) decimals (9 below 1, 8 for zero, never fewer than 0), then 4 blanks;
// others use d.ddddddddE+xx. Rounding is exact, ties to even. Infinity and NaN
// are "Infinity", "-Infinity" and "NaN", right-justified.
char* format_list_real(float value, char* out);

// The 6-character "f6.1" field of a real: one decimal, exact rounding with
// ties to even, right-justified; "0" before the point below 1; the sign of the
// stored value is kept when the result is zero. A value that does not fit
// (rounds to 10000.0 or more, or to -1000.0 or less) gives "******". Infinity
// gives "   Inf"/"  -Inf", NaN "   NaN".
char* format_f61(float value, char* out);

// The 11-character list-directed field of an integer.
char* format_list_integer(std::int32_t value, char* out);

}  // namespace tamvek
