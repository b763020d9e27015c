#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tamvek::report {

// The page's compact form of a layer's cells: each value in tenths as a
// zigzag varint (n >= 0 as 2n, n < 0 as -2n-1; seven bits a byte, lowest
// first, the high bit on every byte but the last). Zero, by far the most
// common value, takes one byte.
std::string zigzag_varints(std::span<const std::int32_t> values);

// The same for a series of maps, most of whose cells are zero: a value v other
// than zero as the varint of twice its zigzag code, and a run of n zeros as the
// varint of 2(n - 1) + 1.
std::string zero_run_varints(std::span<const std::int32_t> values);

// Standard base64 with padding, which a browser decodes with atob.
std::string base64(std::string_view bytes);

}  // namespace tamvek::report
