#pragma once

#include "text/value_conversion.hpp"

namespace tamvek::list_input {

// The value [p, end) as a real of double precision, by the grammar of
// parse_real: sign, digits with at most one point, an exponent given by E, D or
// Q with an optional sign or by a sign alone, or INF, INFINITY, NAN. Used by the
// readers of other programs' input, whose reals are wider than the run's.
Conversion parse_double(const char* p, const char* end, double& out);

}  // namespace tamvek::list_input
