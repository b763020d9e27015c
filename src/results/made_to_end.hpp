#pragma once

#include <functional>
#include <string_view>

namespace tamvek {
class Io;
}

namespace tamvek::results {

// Runs `make`, the whole work of a companion program on a finished run's
// files, and turns what stops it into the program's message on standard
// error and status 2: a ResultError as "PROGRAM: FILE: WHAT", a stop of
// tamvek's own readers with their message, any other exception as
// "PROGRAM: WHAT". Every stream is closed first; a record that could not
// reach its file fails the program too. Otherwise returns `make`'s status.
int made_to_end(Io& io, std::string_view program, const std::function<int()>& make);

}  // namespace tamvek::results
