#pragma once

#include <string>

namespace tamvek::results {

// The shortest decimal that reads back as the same single-precision value, in
// plain notation (no exponent), as messages, JSON and GIS headers want it.
std::string shortest_decimal(float value);

}  // namespace tamvek::results
