#include "runtime/pause.hpp"

#include <string_view>

#include "runtime/io.hpp"
#include "runtime/platform.hpp"
#include "runtime/run_stop.hpp"

namespace tamvek {

void operator_pause(Io& io) {
  io.settle();
  // With nowhere to show the prompt, the answer still decides.
  platform::write_all(io.stderr_fd(),
                      "PAUSE \nTo resume execution, type go.  Other input will terminate the job.\n");
  // The answer: up to and including the next LF, one byte at a time so that
  // nothing after it is taken from standard input. Three characters are the
  // answer go with its LF; a fourth lets a CR LF that reaches the run
  // untranslated (standard input in binary mode, or Linux) count as the Enter it is.
  char buffer[4];
  std::size_t length = 0;
  int error = 0;
  while (length < sizeof buffer && platform::read_some(io.stdin_fd(), buffer + length, 1, error) > 0)
    if (buffer[length++] == '\n') break;
  const std::string_view answer(buffer, length);
  if (answer != "go\n" && answer != "go\r\n") stop_normally();
  platform::write_all(io.stderr_fd(), "RESUMED\n");
}

}  // namespace tamvek
