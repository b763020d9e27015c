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

// Standard base64 with padding, which a browser decodes with atob.
std::string base64(std::string_view bytes);

}  // namespace tamvek::report
