#include "records/pause.hpp"

#include <cerrno>
#include <string_view>
#include <unistd.h>

#include "records/io.hpp"
#include "records/run_stop.hpp"

namespace tamvek {
namespace {

void write_all(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t put = ::write(fd, text.data(), text.size());
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return;  // nowhere to show the prompt; the answer still decides
    text.remove_prefix(static_cast<std::size_t>(put));
  }
}

// Reads up to and including the next LF, at most `limit` characters, one byte
// at a time so that nothing after the answer is taken from standard input.
std::string_view read_answer(int fd, char* buffer, std::size_t limit) {
  std::size_t length = 0;
  while (length < limit) {
    const ssize_t got = ::read(fd, buffer + length, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    if (buffer[length++] == '\n') break;
  }
  return {buffer, length};
}

}  // namespace

void operator_pause(Io& io) {
  write_all(io.stderr_fd(),
            "PAUSE \nTo resume execution, type go.  Other input will terminate the job.\n");
  // Three characters are the answer go with its LF; a fourth lets a typed CR LF
  // count as the Enter it is.
  char buffer[4];
  const std::string_view answer = read_answer(io.stdin_fd(), buffer, sizeof buffer);
  if (answer != "go\n" && answer != "go\r\n") stop_normally();
  write_all(io.stderr_fd(), "RESUMED\n");
}

}  // namespace tamvek
