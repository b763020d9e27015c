#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <stdexcept>

#include "years/process.hpp"

extern char** environ;

namespace tamvek::years {

struct ChildProcess::Handles {
  pid_t pid = -1;
  int output = -1;  // our end of the pipe of standard output and standard error
  int input = -1;   // our end of the pipe of standard input
  std::mutex mutex;
  bool reaped = false;  // once reaped, the process id may belong to another process
};

namespace {

std::string system_text(int error) { return std::strerror(error); }

void close_fd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments)
    : handles_(std::make_unique<Handles>()) {
  // Writing to a program that has ended must not end tamvek-years.
  ::signal(SIGPIPE, SIG_IGN);
  // Close-on-exec, so that no other year's program holds this year's pipes open.
  int output[2];
  int input[2];
  if (::pipe2(output, O_CLOEXEC) != 0) throw std::runtime_error("pipe: " + system_text(errno));
  if (::pipe2(input, O_CLOEXEC) != 0) {
    const int error = errno;
    ::close(output[0]), ::close(output[1]);
    throw std::runtime_error("pipe: " + system_text(error));
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input[0], 0);
  posix_spawn_file_actions_adddup2(&actions, output[1], 1);
  posix_spawn_file_actions_adddup2(&actions, output[1], 2);
  // The program starts as tamvek started from a shell does: default signal
  // actions (an ignored SIGPIPE would otherwise carry over), nothing blocked.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  for (const int signal : {SIGPIPE, SIGINT, SIGTERM, SIGHUP}) sigaddset(&defaults, signal);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETPGROUP);

  std::vector<std::string> words{program};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const int error = posix_spawn(&handles_->pid, program.c_str(), &actions, &attributes,
                                argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  ::close(input[0]), ::close(output[1]);
  handles_->output = output[0];
  handles_->input = input[1];
  if (error != 0) {
    close_fd(handles_->output), close_fd(handles_->input);
    handles_->reaped = true;
    throw std::runtime_error(program + ": " + system_text(error));
  }
}

ChildProcess::~ChildProcess() {
  if (!handles_->reaped) {
    stop();
    wait();
  }
  close_fd(handles_->output);
  close_fd(handles_->input);
}

std::size_t ChildProcess::read_output(char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t got = ::read(handles_->output, buffer, size);
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno != EINTR) return 0;
  }
}

void ChildProcess::send_input(std::string_view text) {
  while (!text.empty() && handles_->input >= 0) {
    const ssize_t put = ::write(handles_->input, text.data(), text.size());
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return;
    text.remove_prefix(static_cast<std::size_t>(put));
  }
}

void ChildProcess::close_input() { close_fd(handles_->input); }

void ChildProcess::stop() {
  const std::lock_guard lock(handles_->mutex);
  // The whole process group: whatever the program started goes too, and with
  // it every holder of the output pipe.
  if (!handles_->reaped) ::kill(-handles_->pid, SIGKILL);
}

ProcessEnd ChildProcess::wait() {
  // Waits without reaping, so that stop() never signals a process id that has
  // been reaped and given to another process.
  siginfo_t info{};
  while (::waitid(P_PID, static_cast<id_t>(handles_->pid), &info, WEXITED | WNOWAIT) != 0 &&
         errno == EINTR) {
  }
  int status = 0;
  {
    const std::lock_guard lock(handles_->mutex);
    while (::waitpid(handles_->pid, &status, 0) < 0 && errno == EINTR) {
    }
    handles_->reaped = true;
  }
  ProcessEnd end;
  if (WIFEXITED(status)) {
    end.exited = true;
    end.status = WEXITSTATUS(status);
    end.how = "status " + std::to_string(end.status);
  } else {
    end.status = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    const char* name = sigabbrev_np(end.status);
    end.how = "signal " + (name ? "SIG" + std::string(name) : std::to_string(end.status));
    if (const char* description = strsignal(end.status)) end.how += " (" + std::string(description) + ")";
  }
  return end;
}

std::string program_beside_self(const char* argv0, const std::string& name) {
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) self = std::filesystem::absolute(argv0, error);
  return (self.parent_path() / name).string();
}

namespace {

// Written by the signal handler, read by the watcher thread: a handler may do
// little more than write to a pipe.
int wake_pipe[2] = {-1, -1};
constexpr char interrupt_byte = 'i';
constexpr char quit_byte = 'q';
// Ctrl-C, a request to terminate, and the console closing.
constexpr int interrupts[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void on_signal(int) {
  const int saved = errno;
  [[maybe_unused]] const ssize_t put = ::write(wake_pipe[1], &interrupt_byte, 1);
  errno = saved;
}

}  // namespace

InterruptWatch::InterruptWatch(std::function<void()> on_interrupt)
    : on_interrupt_(std::move(on_interrupt)) {
  if (::pipe2(wake_pipe, O_CLOEXEC) != 0) throw std::runtime_error("pipe: " + system_text(errno));
  watcher_ = std::thread([this] {
    for (;;) {
      char byte = 0;
      const ssize_t got = ::read(wake_pipe[0], &byte, 1);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0 || byte == quit_byte) return;
      on_interrupt_();
    }
  });
  struct sigaction action {};
  action.sa_handler = on_signal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : interrupts) ::sigaction(signal, &action, nullptr);
}

InterruptWatch::~InterruptWatch() {
  for (const int signal : interrupts) ::signal(signal, SIG_DFL);
  [[maybe_unused]] const ssize_t put = ::write(wake_pipe[1], &quit_byte, 1);
  watcher_.join();
  close_fd(wake_pipe[0]);
  close_fd(wake_pipe[1]);
}

}  // namespace tamvek::years
#endif
