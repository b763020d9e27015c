#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/io.hpp"

namespace tamvek::fuzzing {

// A directory of its own for one fuzzing process, with files rewritten for
// every input and streams rooted in it; the console and standard error go
// nowhere and standard input answers the operator pause with go.
class FuzzDir {
 public:
  FuzzDir();
  const std::string& path() const { return path_; }
  void write(std::string_view relative, std::string_view bytes) const;
  IoSetup setup() const;

 private:
  std::string path_;
  int null_fd_ = -1;
  int go_fd_ = -1;
};

// The one directory of this fuzzing process.
const FuzzDir& fuzz_dir();

// Splits fuzz input into parts at each occurrence of `mark`.
std::string_view next_part(std::string_view& input, std::string_view mark);

}  // namespace tamvek::fuzzing
