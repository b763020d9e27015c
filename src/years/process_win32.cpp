#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <stdexcept>

#include "years/process.hpp"
#include "years/command_line.hpp"

namespace tamvek::years {

struct ChildProcess::Handles {
  HANDLE process = nullptr;
  HANDLE output = nullptr;  // our end of the pipe of standard output and standard error
  HANDLE input = nullptr;   // our end of the pipe of standard input
  std::atomic<bool> stopped{false};
};

namespace {

std::string system_text(DWORD error) {
  char text[512] = "";
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, error, 0, text, sizeof text, nullptr);
  std::string message(text, length);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                              message.back() == ' ' || message.back() == '.'))
    message.pop_back();
  return message.empty() ? "error " + std::to_string(error) : message;
}

void close_handle(HANDLE& handle) {
  if (handle != nullptr) CloseHandle(handle);
  handle = nullptr;
}

// A program inherits every inheritable handle of the moment it starts: the
// child's pipe ends are inheritable only while it starts, and only one starts
// at a time, so no year's program holds another year's pipes open.
std::mutex starting;

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments)
    : handles_(std::make_unique<Handles>()) {
  HANDLE output_read = nullptr, output_write = nullptr, input_read = nullptr, input_write = nullptr;
  if (!CreatePipe(&output_read, &output_write, nullptr, 0))
    throw std::runtime_error("pipe: " + system_text(GetLastError()));
  if (!CreatePipe(&input_read, &input_write, nullptr, 0)) {
    const DWORD error = GetLastError();
    close_handle(output_read), close_handle(output_write);
    throw std::runtime_error("pipe: " + system_text(error));
  }
  std::string command_line = windows_command_line(program, arguments);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input_read;
  startup.hStdOutput = output_write;
  startup.hStdError = output_write;
  PROCESS_INFORMATION started{};
  BOOL ok = FALSE;
  DWORD error = 0;
  {
    const std::lock_guard lock(starting);
    SetHandleInformation(output_write, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    SetHandleInformation(input_read, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    // A process group of its own: Ctrl-C reaches tamvek-years, which stops it.
    ok = CreateProcessA(program.c_str(), command_line.data(), nullptr, nullptr, TRUE,
                        CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &startup, &started);
    error = GetLastError();
    close_handle(output_write);
    close_handle(input_read);
  }
  handles_->output = output_read;
  handles_->input = input_write;
  if (!ok) {
    close_handle(handles_->output), close_handle(handles_->input);
    throw std::runtime_error(program + ": " + system_text(error));
  }
  CloseHandle(started.hThread);
  handles_->process = started.hProcess;
}

ChildProcess::~ChildProcess() {
  if (handles_->process != nullptr) {
    stop();
    WaitForSingleObject(handles_->process, INFINITE);
  }
  close_handle(handles_->output);
  close_handle(handles_->input);
  close_handle(handles_->process);
}

std::size_t ChildProcess::read_output(char* buffer, std::size_t size) {
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(handles_->output, buffer, static_cast<DWORD>(size), &got, nullptr)) return 0;
    if (got > 0) return got;
  }
}

void ChildProcess::send_input(std::string_view text) {
  while (!text.empty() && handles_->input != nullptr) {
    DWORD put = 0;
    if (!WriteFile(handles_->input, text.data(), static_cast<DWORD>(text.size()), &put, nullptr) ||
        put == 0)
      return;
    text.remove_prefix(put);
  }
}

void ChildProcess::close_input() { close_handle(handles_->input); }

void ChildProcess::stop() {
  // Refused for a process that has already ended: it then ended by itself.
  constexpr UINT stopped_status = 1;
  if (TerminateProcess(handles_->process, stopped_status)) handles_->stopped = true;
}

ProcessEnd ChildProcess::wait() {
  WaitForSingleObject(handles_->process, INFINITE);
  DWORD status = 0;
  GetExitCodeProcess(handles_->process, &status);
  ProcessEnd end;
  end.status = static_cast<int>(status);
  if (handles_->stopped) {
    end.how = "stopped";
    return end;
  }
  end.exited = true;
  // An exception that ended the program shows as its code, in hexadecimal.
  if (status >= 0xC0000000u) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(status));
    end.how = std::string("status ") + code;
  } else {
    end.how = "status " + std::to_string(status);
  }
  return end;
}

std::string program_beside_self(const char* argv0, const std::string& name) {
  char self[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::filesystem::path own = length > 0 && length < MAX_PATH
                                        ? std::filesystem::path(std::string(self, length))
                                        : std::filesystem::absolute(argv0);
  return (own.parent_path() / (name + ".exe")).string();
}

namespace {

std::function<void()>* interrupt_handler = nullptr;

BOOL WINAPI on_console_event(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) return FALSE;
  if (interrupt_handler != nullptr) (*interrupt_handler)();
  return TRUE;
}

}  // namespace

// Windows calls the handler on a thread of its own: no watcher thread needed.
InterruptWatch::InterruptWatch(std::function<void()> on_interrupt)
    : on_interrupt_(std::move(on_interrupt)) {
  interrupt_handler = &on_interrupt_;
  SetConsoleCtrlHandler(on_console_event, TRUE);
}

InterruptWatch::~InterruptWatch() {
  SetConsoleCtrlHandler(on_console_event, FALSE);
  interrupt_handler = nullptr;
}

}  // namespace tamvek::years
#endif
