#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "modflow/model_text.hpp"

namespace tamvek::modflow {

// One block of a MODFLOW 6 input file: BEGIN NAME [words] ... END NAME. Its
// entries are the lines between, or those of the file that OPEN/CLOSE names
// as the block's only entry.
struct Mf6Block {
  std::string name;                 // upper case
  std::vector<std::string> suffix;  // the words after the name (a period's number)
  std::size_t begin_line = 0;
  ModelText body;
};

// Reads the blocks of a MODFLOW 6 input file up to the END of block `last`,
// the last block the file must hold: MODFLOW 6 stops reading there, and
// whatever follows (an old header, notes, old blocks) is not read. Between
// blocks, MODFLOW 6 looks for the next BEGIN and passes over other lines, and
// so does this reader. A block without its END and an END of another block
// are refused.
// File names are found from the simulation's folder (find_model_file).
std::vector<Mf6Block> read_mf6_blocks(const std::filesystem::path& path, const std::filesystem::path& folder,
                                      std::vector<std::string>& notes, std::string_view last);

// The first block of that name, or nothing.
const Mf6Block* find_block(const std::vector<Mf6Block>& blocks, const std::string& name);

}  // namespace tamvek::modflow
