#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "runtime/io.hpp"

namespace tamvek::results {

// A program's files, each written under a temporary name beside its own and
// renamed into place only when every one of them is complete, so that a run
// that fails leaves no file that looks finished. Temporaries that were not
// renamed are removed when the set goes.
class OutputSet {
 public:
  explicit OutputSet(const Io& io) : io_(io) {}
  ~OutputSet();
  OutputSet(const OutputSet&) = delete;
  OutputSet& operator=(const OutputSet&) = delete;

  // Writes a file's whole text under its temporary name.
  void write(const std::string& name, std::string_view text);
  // Renames every file into place, in the order written: write the page last,
  // so that it appears only when the grids are there.
  void commit();

 private:
  struct Pending {
    std::string name;  // as formed
    std::string path;
    std::string temporary;
  };
  const Io& io_;
  std::vector<Pending> pending_;
};

// The suffix of a file while it is being written.
inline constexpr std::string_view temporary_suffix = ".tmp";

}  // namespace tamvek::results
