#include "output/plot_files.hpp"

#include "run/run_state.hpp"

namespace tamvek {

void write_plot_files(Run&) {}

}  // namespace tamvek
