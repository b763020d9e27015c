#pragma once

#include <cstdint>
#include <string>

#include "runtime/io.hpp"

namespace tamvek::report {

// A file the report was made from, as the page lists it.
struct SourceFile {
  std::string name;      // as formed, with its backslashes
  std::uintmax_t bytes = 0;
  std::string modified;  // "2026-12-08 08:03:11 UTC"
};

// The size and modification time of a file that has just been read.
SourceFile source_file(const Io& io, const std::string& name);

}  // namespace tamvek::report
