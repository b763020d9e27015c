#pragma once

#include <cstdint>
#include <span>

#include "text/i2_read.hpp"

namespace tamvek {

// A whole "(326i2)" read statement into `values`, as the grid readers make one
// value by value.
inline void read_i2(Stream& stream, int statement, std::span<std::int32_t> values) {
  I2Read read(stream, statement);
  for (std::int32_t& value : values) value = read.next();
  read.finish();
}

}  // namespace tamvek
