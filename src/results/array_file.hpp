#pragma once

#include <string>

#include "runtime/io.hpp"
#include "results/layer.hpp"
#include "state/run_state.hpp"

namespace tamvek::results {

// Reads an array that tamvek wrote for this grid: ny rows, top row first, each
// of nx six-character fields, 326 fields a record. Any other shape, a field
// that is not a number and a file cut short are errors naming the record.
void read_array(const Io& io, const Grid& grid, Layer& layer);
// The same with the file's text read into `text`, whose room is used again.
void read_array(const Io& io, const Grid& grid, Layer& layer, std::string& text);

}  // namespace tamvek::results
