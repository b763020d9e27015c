#pragma once

// Starting tamvek and talking to it: the one part of tamvek-years that differs
// between platforms (process_posix.cpp, process_win32.cpp).

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace tamvek::years {

// How a started program ended.
struct ProcessEnd {
  bool exited = false;  // it ended by itself, with `status`
  int status = 0;       // its exit status; otherwise the signal that ended it
  std::string how;      // "status 2", "signal SIGSEGV (Segmentation fault)", "stopped"
};

// A started program whose standard output and standard error go into one pipe,
// so that their bytes arrive in the order the program wrote them, and whose
// standard input is a pipe. The program belongs to a process group of its own:
// an interrupt typed at the console reaches tamvek-years only, which stops it.
class ChildProcess {
 public:
  // Starts `program` in the working directory with the environment of this
  // process; throws std::runtime_error with the system's reason when it cannot.
  ChildProcess(const std::string& program, const std::vector<std::string>& arguments);
  // Stops the program if it is still running and waits for it.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Waits for output: the number of bytes read, 0 once the program has closed
  // both streams (at its end).
  std::size_t read_output(char* buffer, std::size_t size);
  // A program that has stopped reading is not an error here: its end says why.
  void send_input(std::string_view text);
  void close_input();
  // Ends the program (and anything it started) unless it has already ended.
  // Safe from any thread, also while another waits for it.
  void stop();
  ProcessEnd wait();

 private:
  struct Handles;
  std::unique_ptr<Handles> handles_;
};

// The program `name` in the directory of this program's own executable
// (`argv0` serves where the system cannot say); on Windows with ".exe".
std::string program_beside_self(const char* argv0, const std::string& name);

// Calls `on_interrupt` on a thread of its own for each interrupt (Ctrl-C, a
// request to terminate, the console closing) while it exists; the process then
// does not end by it.
class InterruptWatch {
 public:
  explicit InterruptWatch(std::function<void()> on_interrupt);
  ~InterruptWatch();
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;

 private:
  std::function<void()> on_interrupt_;
  std::thread watcher_;
};

}  // namespace tamvek::years
