#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "runtime/stream.hpp"
#include "runtime/write_behind.hpp"

namespace tamvek {

// Where the run's files and console are on this machine.
struct IoSetup {
  std::string root;     // stands for the root of the current drive; empty: that root
  std::string workdir;     // relative names are below it; empty: the working directory
  int stdout_fd = 1;
  int stderr_fd = 2;
  int stdin_fd = 0;
};

// The table of streams, by stream number. Stream 6 is standard output from the start.
class Io {
 public:
  static constexpr int console_unit = 6;

  explicit Io(IoSetup setup = {});
  ~Io();

  // What the run does with a file it opens.
  enum class Use { read, write };

  // OPEN: read-write, created empty if missing; read-only and then write-only
  // when access is refused. OPEN itself changes no file. A file opened to be
  // written holds exactly what this run writes into it: its first write cuts
  // off what it held, and if the run writes nothing into it (or stops before
  // its first record) it is emptied when it is closed. A file opened to be read
  // is never changed.
  void open(int statement, int unit, std::string_view name, Use use = Use::read);
  void close(int statement, int unit);
  void rewind(int statement, int unit);
  Stream& stream(int unit);

  // The path a file name stands for: a leading backslash is the root (of the
  // current drive, or `root`); on Linux every backslash is a directory separator.
  std::string path_of(std::string_view name) const;

  // Flushes and closes every open stream. Returns the standard-error lines of
  // the first failure, or an empty text.
  std::string close_all() noexcept;
  void flush_all_quietly() noexcept;

  // Makes every write still to be made behind the run, stopping it when one failed:
  // before the run writes other than through its streams, and before it ends.
  void settle() { behind_.settle(); }
  void settle_quietly() noexcept { behind_.settle_quietly(); }

  // A text to assemble one statement's records in, emptied, reused by every
  // write statement so that records cost no allocation.
  std::string& record_buffer() {
    record_.clear();
    return record_;
  }

  // Where this run's files are: a second table of streams over the same files
  // starts from it.
  const IoSetup& setup() const { return setup_; }
  int stderr_fd() const { return setup_.stderr_fd; }
  int stdin_fd() const { return setup_.stdin_fd; }

 private:
  IoSetup setup_;
  WriteBehind behind_;  // outlives the streams whose writes it makes
  std::array<std::unique_ptr<Stream>, 32> streams_;
  std::string record_;
};

// The setup of a run from its environment: TAMVEK_ROOT names the root.
IoSetup io_setup_from_environment();

}  // namespace tamvek
