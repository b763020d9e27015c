#pragma once

namespace tamvek {

struct Run;

// Writes the return and acreage plot point files of the active cells.
void write_plot_files(Run& run);

}  // namespace tamvek
