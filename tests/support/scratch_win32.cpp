#ifdef _WIN32
#include <fcntl.h>
#include <fstream>
#include <io.h>
#include <stdexcept>
#include <string>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "support/scratch.hpp"
#include "years/command_line.hpp"

namespace tamvek::testing {
namespace {

HANDLE inheritable_file(const std::string& path, bool for_writing) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  const HANDLE file = CreateFileA(path.c_str(), for_writing ? GENERIC_WRITE : GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                  for_writing ? CREATE_ALWAYS : OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + path);
  return file;
}

// Sets an environment variable for the life of the object, then restores it.
class EnvironmentVariable {
 public:
  EnvironmentVariable(const char* name, const std::string& value) : name_(name) {
    char old[32768];
    const DWORD length = GetEnvironmentVariableA(name, old, sizeof old);
    had_ = length > 0 && length < sizeof old;
    if (had_) old_.assign(old, length);
    SetEnvironmentVariableA(name, value.c_str());
  }
  ~EnvironmentVariable() { SetEnvironmentVariableA(name_, had_ ? old_.c_str() : nullptr); }
  EnvironmentVariable(const EnvironmentVariable&) = delete;
  EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

 private:
  const char* name_;
  bool had_ = false;
  std::string old_;
};

}  // namespace

int open_scratch_file(const std::string& path, std::string_view content, bool input) {
  {
    std::ofstream out(path, std::ios::binary);
    out << content;
  }
  return ::_open(path.c_str(), _O_RDWR | (input ? _O_TEXT : _O_BINARY));
}

bool become_ordinary_user() { return true; }

std::string as_ordinary_user(const std::function<std::string()>& body) { return body(); }

ProgramRun run_program(const std::vector<std::string>& arguments, const std::string& workdir,
                       const std::string& root, std::string_view stdin_text,
                       const std::function<void()>& in_child, const std::string& program) {
  if (in_child) throw std::logic_error("no step of a test can run in a Windows child process");
  const ScratchDir capture;
  capture.write("in", stdin_text);
  const HANDLE in = inheritable_file(capture.file("in"), false);
  const HANDLE out = inheritable_file(capture.file("out"), true);
  const HANDLE err = inheritable_file(capture.file("err"), true);

  // The program's name is resolved here, before the child starts elsewhere.
  char full_path[MAX_PATH];
  if (GetFullPathNameA(program.c_str(), MAX_PATH, full_path, nullptr) == 0)
    throw std::runtime_error("no full path for " + program);
  std::string command_line = years::windows_command_line(full_path, arguments);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  BOOL started = FALSE;
  DWORD start_error = 0;
  {
    // Wine on a busy machine has been seen to refuse a start that succeeds a
    // moment later; a program that truly cannot start fails all three times.
    const EnvironmentVariable variable("TAMVEK_ROOT", root);
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
      if (attempt > 0) Sleep(500);
      started = CreateProcessA(full_path, command_line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                               workdir.c_str(), &startup, &process);
      if (!started) start_error = GetLastError();
    }
  }
  ProgramRun result;
  if (started) {
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    result.status = static_cast<int>(status);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  CloseHandle(in), CloseHandle(out), CloseHandle(err);
  if (!started)
    throw std::runtime_error("cannot start " + std::string(full_path) + " in " + workdir +
                             " (error " + std::to_string(start_error) + ")");
  result.out = read_whole(capture.file("out"));
  result.err = read_whole(capture.file("err"));
  return result;
}

}  // namespace tamvek::testing
#endif
