#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/io.hpp"
#include "runtime/run_stop.hpp"

namespace tamvek::testing {

// The bytes of a whole file; empty if it cannot be read.
std::string read_whole(const std::string& path);

// Writes `content` to a new file and opens it for reading and writing, as a
// standard stream of the run: binary, or for `input` in the mode of standard
// input (text mode on Windows).
int open_scratch_file(const std::string& path, std::string_view content, bool input = false);

// A temporary directory, removed with everything in it at the end of the test.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& path() const { return path_; }
  std::string file(std::string_view relative) const { return path_ + "/" + std::string(relative); }
  // Writes a file, creating its directories.
  void write(std::string_view relative, std::string_view bytes) const;
  std::string read(std::string_view relative) const;
  bool exists(std::string_view relative) const;

 private:
  std::string path_;
};

// Streams whose root and working directory are a scratch directory, with the
// console and standard error captured in files and standard input given.
class ScratchIo {
 public:
  explicit ScratchIo(std::string_view stdin_text = "");
  ~ScratchIo();

  ScratchDir dir;
  Io& io() { return *io_; }
  // What the run wrote to standard output so far (its buffer written out first).
  std::string console();
  std::string errors() const;

 private:
  int stdout_fd_ = -1;
  int stderr_fd_ = -1;
  int stdin_fd_ = -1;
  std::unique_ptr<Io> io_;
};

// The stop a statement ended the run with: its status and standard-error text.
template <class Body>
RunEnd stop_of(Body&& body) {
  try {
    body();
  } catch (const RunEnd& end) {
    return end;
  }
  return RunEnd{-1, "(the run did not stop)"};
}

// Makes the calling process an ordinary user (nobody) when it is the
// superuser, who disregards access rights; false if that failed. On Windows
// access rights and the read-only attribute bind every user: nothing to do.
bool become_ordinary_user();

// True when the read-only file at `path` opens for writing all the same, as
// under Wine run by the Unix superuser; tests of the read-only rule then
// cannot mean anything.
bool read_only_is_disregarded(const std::string& path);

// Runs `body` as an ordinary user, without the superuser's disregard for access
// rights (in a child process when the tests run as the superuser), and returns
// what it returns. The scratch directories it uses must be open to everyone.
std::string as_ordinary_user(const std::function<std::string()>& body);

// The built program run as a user runs it.
struct ProgramRun {
  int status = -1;
  std::string out;
  std::string err;
};
// `in_child` runs in the child process before the program starts; Windows
// starts a program with no such step, and refuses it. `program` is tamvek
// unless another of the project's programs is named.
ProgramRun run_program(const std::vector<std::string>& arguments, const std::string& workdir,
                       const std::string& root, std::string_view stdin_text = "",
                       const std::function<void()>& in_child = {},
                       const std::string& program = TAMVEK_PROGRAM);

}  // namespace tamvek::testing
