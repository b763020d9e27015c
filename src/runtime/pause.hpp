#pragma once

namespace tamvek {

class Io;

// The operator pause: the prompt on standard error, one answer from standard
// input. "go" and Enter resume the run; any other answer ends it at once with
// status 0, as the normal end does.
void operator_pause(Io& io);

}  // namespace tamvek
