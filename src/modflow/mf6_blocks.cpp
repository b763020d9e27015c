#include "modflow/mf6_blocks.hpp"

#include "modflow/model_files.hpp"
#include "results/result_file.hpp"

namespace tamvek::modflow {

std::vector<Mf6Block> read_mf6_blocks(const std::filesystem::path& path, const std::filesystem::path& folder,
                                      std::vector<std::string>& notes, std::string_view last) {
  const ModelText text = read_model_text(path, Comments::mf6);
  std::vector<Mf6Block> blocks;
  Mf6Block* open = nullptr;
  for (const TextLine& line : text.lines) {
    const std::string first = upper(line.words[0]);
    if (first == "BEGIN") {
      if (open != nullptr)
        refuse(text.file, line.number,
               "BEGIN inside block " + open->name + " (begun on line " +
                   std::to_string(open->begin_line) + ", which has no END)");
      if (line.words.size() < 2) refuse(text.file, line.number, "BEGIN without a block name");
      blocks.push_back({upper(line.words[1]),
                        std::vector<std::string>(line.words.begin() + 2, line.words.end()),
                        line.number, {text.file, {}}});
      open = &blocks.back();
    } else if (open == nullptr) {
      // MODFLOW 6 looks for the next BEGIN and passes over anything else.
      continue;
    } else if (first == "END") {
      if (line.words.size() < 2 || upper(line.words[1]) != open->name)
        refuse(text.file, line.number,
               results::in_quotes(line.text) + " where END " + open->name + " was expected");
      const bool done = open->name == last;
      open = nullptr;
      if (done) break;
    } else {
      open->body.lines.push_back(line);
    }
  }
  if (open != nullptr)
    refuse(text.file, open->begin_line, "block " + open->name + " has no END");

  for (Mf6Block& block : blocks) {
    const auto& lines = block.body.lines;
    if (lines.empty() || upper(lines.front().words[0]) != "OPEN/CLOSE") continue;
    if (lines.size() != 1 || lines.front().words.size() < 2)
      refuse(text.file, lines.front().number,
             "OPEN/CLOSE must be the block's only entry, with a file name");
    block.body = read_model_text(
        existing_model_file(folder, lines.front().words[1], notes, text.file, lines.front().number), Comments::mf6);
  }
  return blocks;
}

const Mf6Block* find_block(const std::vector<Mf6Block>& blocks, const std::string& name) {
  for (const Mf6Block& block : blocks)
    if (block.name == name) return &block;
  return nullptr;
}

}  // namespace tamvek::modflow
