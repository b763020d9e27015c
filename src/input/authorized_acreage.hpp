#pragma once

namespace tamvek {

struct Run;

// First pass over the authorized-acreage file: group totals, the year summary,
// the operator pause, the groups without authorized acres; the file is left
// open and rewound for the second pass.
void read_authorized_acreage(Run& run);

}  // namespace tamvek
