#pragma once

#include <filesystem>
#include <set>
#include <vector>

#include "modflow/model_facts.hpp"
#include "modflow/options.hpp"

namespace tamvek::modflow {

// The folder that --copy-arrays names, made ready for the copies: inside the
// model's folder, holding nothing but what an export of this package wrote
// there (anything else is refused, by its name), and made when it is not
// there. A folder made here is removed again unless the export keeps it, so
// that a refused export leaves the model's folder as it was.
class CopyFolder {
 public:
  CopyFolder(const ModelFacts& facts, const Options& options, const std::filesystem::path& package,
             const std::set<std::filesystem::path>& own);
  ~CopyFolder();
  CopyFolder(const CopyFolder&) = delete;
  CopyFolder& operator=(const CopyFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }  // absolute
  void keep() { made_.clear(); }

 private:
  void remove_made();

  std::filesystem::path path_;
  std::vector<std::filesystem::path> made_;  // folders made here, innermost last
};

}  // namespace tamvek::modflow
