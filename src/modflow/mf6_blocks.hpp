#pragma once

#include <filesystem>
#include <string>
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

// Reads every block of a MODFLOW 6 input file; anything outside a block, a
// block without its END and an END of another block are refused.
std::vector<Mf6Block> read_mf6_blocks(const std::filesystem::path& path,
                                      const std::filesystem::path& folder);

// The first block of that name, or nothing.
const Mf6Block* find_block(const std::vector<Mf6Block>& blocks, const std::string& name);

}  // namespace tamvek::modflow
