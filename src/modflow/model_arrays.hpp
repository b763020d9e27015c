#pragma once

#include <cstddef>
#include <filesystem>
#include <vector>

#include "modflow/model_text.hpp"

namespace tamvek::modflow {

// Arrays the program does not need (`keep` false) are read through, for their
// errors and their place, but their values are not kept.

// Reads a MODFLOW 6 array whose control line is line `at` of `text` (CONSTANT,
// INTERNAL or OPEN/CLOSE, each with an optional FACTOR), and leaves `at` on the
// line after its last value. Files are found from the simulation's folder.
std::vector<double> read_mf6_array(const ModelText& text, std::size_t& at, std::size_t count,
                                   const std::filesystem::path& folder, bool keep = true);

// Reads a MODFLOW-2005 array whose control record is line `at` (CONSTANT,
// INTERNAL or OPEN/CLOSE with CNSTNT and FMTIN): `reads` rows of `count`
// values, each row beginning on a record of its own, as the model reads a
// two-dimensional array (a one-dimensional one is one row).
std::vector<double> read_mf2005_array(const ModelText& text, std::size_t& at, std::size_t reads,
                                      std::size_t count, const std::filesystem::path& folder,
                                      bool keep = true);

}  // namespace tamvek::modflow
