#pragma once

#include <cstddef>
#include <cstdint>

namespace tamvek {

// The irrigation months, May to October: one recharge array each, in this
// order, and two records each at the head of the check report. The readers
// of a finished year take them from here.
inline constexpr std::int32_t first_irrigation_month = 5;
inline constexpr std::int32_t last_irrigation_month = 10;
inline constexpr std::size_t irrigation_month_count = last_irrigation_month - first_irrigation_month + 1;

// A month's place among the irrigation months, from 0 for May.
constexpr std::size_t irrigation_month_index(std::int32_t month) {
  return static_cast<std::size_t>(month - first_irrigation_month);
}

}  // namespace tamvek
