#pragma once

namespace tamvek {

class Io;

// Reports a processor fault (invalid memory reference, illegal instruction,
// abort, arithmetic fault) on standard error with the call frames, writes out
// what the streams of `io` still buffer, and ends the process by the signal.
void install_fault_report(Io& io);

}  // namespace tamvek
