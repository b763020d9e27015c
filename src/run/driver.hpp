#pragma once

#include <span>
#include <string_view>

namespace tamvek {

class Io;

// Runs the whole job for the command-line arguments that follow the program
// name, ends the run however it ends (messages on standard error, every stream
// flushed and closed) and returns the exit status.
int run_to_end(Io& io, std::span<const std::string_view> arguments);

}  // namespace tamvek
