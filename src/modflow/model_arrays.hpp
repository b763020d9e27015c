#pragma once

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "modflow/model_text.hpp"

namespace tamvek::modflow {

// Reads a MODFLOW 6 array whose control line is line `at` of `text`, and
// leaves `at` on the line after its last value: CONSTANT <value>, INTERNAL or
// OPEN/CLOSE <file>, with FACTOR <f>, IPRN <i> and (BINARY) in any order and
// any words after them (a remark naming the array) passed over. Text values
// are a list-directed read; a binary file holds a header and 8-byte reals.
// Arrays the program does not need (`keep` false) are read through, for their
// errors and their place, but their values are not kept. An array of
// integers (IDOMAIN) holds 4-byte integers in a binary file.
enum class ArrayUse { keep, keep_integers, read_through, read_through_integers };
std::vector<double> read_mf6_array(const ModelText& text, std::size_t& at, std::size_t count,
                                   const std::filesystem::path& folder, std::vector<std::string>& notes,
                                   ArrayUse use = ArrayUse::keep);

// Takes `count` values by a list-directed read from the lines of `text` from
// `at` on, into `values` (where it is not empty), and leaves `at` on the line
// after the last one read.
void read_free_values(const ModelText& text, std::size_t& at, Comments comments, std::size_t count,
                      std::span<double> values);

}  // namespace tamvek::modflow
