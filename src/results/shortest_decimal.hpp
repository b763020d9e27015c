#pragma once

// tamvek-modflow's way in to shortest_decimal, until it includes
// results/number_text.hpp itself.
#include "results/number_text.hpp"
