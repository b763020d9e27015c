#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "state/run_state.hpp"
#include "support/scratch.hpp"

namespace tamvek::testing {

// A run of the year 2010 whose root and working directory are a scratch
// directory, for calling phases one by one.
struct RunFixture {
  explicit RunFixture(std::string_view stdin_text = "go\n") : scratch(stdin_text) {
    run = std::make_unique<Run>(scratch.io());
    run->cyear = "2010";
  }

  void static_file(std::string_view leaf, std::string_view bytes) {
    scratch.dir.write("BAVO/QZ/static/" + std::string(leaf), bytes);
  }
  void work_file(std::string_view name, std::string_view bytes) { scratch.dir.write(name, bytes); }
  std::string console() { return scratch.console(); }

  ScratchIo scratch;
  std::unique_ptr<Run> run;
};

}  // namespace tamvek::testing
