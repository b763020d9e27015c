#include "runtime/fault_report.hpp"

#include <csignal>

#include "runtime/io.hpp"
#include "runtime/platform.hpp"

namespace tamvek {
namespace {

Io* faulting_io = nullptr;

struct FaultSignal { int number; const char* text; };

constexpr FaultSignal fault_signals[] = {
    {SIGSEGV, "SIGSEGV: Segmentation fault - invalid memory reference"},
#ifdef SIGBUS
    {SIGBUS, "SIGBUS: Bus error"},
#endif
    {SIGILL, "SIGILL: Illegal instruction"},
    {SIGABRT, "SIGABRT: Process abort signal"},
    {SIGFPE, "SIGFPE: Floating-point exception - erroneous arithmetic operation"},
};

// Only async-signal-safe calls here; a lost line cannot be reported anyway.
void put(std::string_view text) { platform::write_all(platform::stderr_fd, text); }

void report_fault(int number) {
  const char* text = "";
  for (const FaultSignal& fault : fault_signals)
    if (fault.number == number) text = fault.text;
  if (faulting_io != nullptr) faulting_io->settle_quietly();  // what was written before the fault
  put("\nProgram received signal ");
  put(text);
  put(".\n\nBacktrace for this error:\n");
  platform::write_call_frames(platform::stderr_fd);
  if (faulting_io != nullptr) faulting_io->flush_all_quietly();
  std::signal(number, SIG_DFL);
  std::raise(number);
}

}  // namespace

void install_fault_report(Io& io) {
  faulting_io = &io;
  platform::prepare_call_frames();
  for (const FaultSignal& fault : fault_signals) std::signal(fault.number, report_fault);
}

}  // namespace tamvek
