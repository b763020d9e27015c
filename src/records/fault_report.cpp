#include "records/fault_report.hpp"

#include <csignal>
#include <cstring>
#include <execinfo.h>
#include <unistd.h>

#include "records/io.hpp"

namespace tamvek {
namespace {

Io* faulting_io = nullptr;

struct FaultSignal {
  int number;
  const char* text;  // "SIGSEGV: Segmentation fault - invalid memory reference"
};

constexpr FaultSignal fault_signals[] = {
    {SIGSEGV, "SIGSEGV: Segmentation fault - invalid memory reference"},
    {SIGBUS, "SIGBUS: Bus error"},
    {SIGILL, "SIGILL: Illegal instruction"},
    {SIGABRT, "SIGABRT: Process abort signal"},
    {SIGFPE, "SIGFPE: Floating-point exception - erroneous arithmetic operation"},
};

void put(const char* text) {
  // Only async-signal-safe calls here; a lost line cannot be reported anyway.
  const ssize_t ignored = ::write(STDERR_FILENO, text, std::strlen(text));
  (void)ignored;
}

void report_fault(int number) {
  const char* text = "";
  for (const FaultSignal& fault : fault_signals)
    if (fault.number == number) text = fault.text;
  put("\nProgram received signal ");
  put(text);
  put(".\n\nBacktrace for this error:\n");
  void* frames[64];
  const int count = backtrace(frames, 64);
  backtrace_symbols_fd(frames, count, STDERR_FILENO);
  if (faulting_io != nullptr) faulting_io->flush_all_quietly();
  std::signal(number, SIG_DFL);
  std::raise(number);
}

}  // namespace

void install_fault_report(Io& io) {
  faulting_io = &io;
  // The first call loads what backtrace needs, which a signal handler must not do.
  void* frame[1];
  backtrace(frame, 1);
  for (const FaultSignal& fault : fault_signals) std::signal(fault.number, report_fault);
}

}  // namespace tamvek
