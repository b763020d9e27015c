#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tamvek::results {

// The value of a field that holds none: written as ******, Inf, -Inf or NaN.
// No six-character field with one decimal can hold a million tenths.
inline constexpr std::int32_t no_value = 1000000;

// One six-character field of an array, as tamvek writes it with one decimal:
// its value in tenths ("  12.3" is 123, "  -0.0" is 0), `no_value` for a field
// without a value, nothing for a text that is not such a field.
std::optional<std::int32_t> field_tenths(std::string_view field);

}  // namespace tamvek::results
