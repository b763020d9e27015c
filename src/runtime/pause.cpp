#include "runtime/pause.hpp"

#include <string_view>

#include "runtime/io.hpp"
#include "runtime/platform.hpp"
#include "runtime/run_stop.hpp"

namespace tamvek {
namespace {

// Reads up to and including the next LF, at most `limit` characters, one byte
// at a time so that nothing after the answer is taken from standard input.
std::string_view read_answer(int fd, char* buffer, std::size_t limit) {
  std::size_t length = 0;
  int error = 0;
  while (length < limit) {
    if (platform::read_some(fd, buffer + length, 1, error) <= 0) break;
    if (buffer[length++] == '\n') break;
  }
  return {buffer, length};
}

}  // namespace

void operator_pause(Io& io) {
  io.settle();
  // With nowhere to show the prompt, the answer still decides.
  platform::write_all(io.stderr_fd(),
                      "PAUSE \nTo resume execution, type go.  Other input will terminate the job.\n");
  // Three characters are the answer go with its LF; a fourth lets a CR LF that
  // reaches the run untranslated (standard input in binary mode, or Linux)
  // count as the Enter it is.
  char buffer[4];
  const std::string_view answer = read_answer(io.stdin_fd(), buffer, sizeof buffer);
  if (answer != "go\n" && answer != "go\r\n") stop_normally();
  platform::write_all(io.stderr_fd(), "RESUMED\n");
}

}  // namespace tamvek
