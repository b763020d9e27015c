#include "input/tract_coordinates.hpp"

#include "text/list_write.hpp"
#include "text/plain_record.hpp"
#include "state/file_names.hpp"
#include "state/run_state.hpp"

namespace tamvek {
namespace {

constexpr int progress_statement = 162;
constexpr int read_statement = 166;
constexpr int store_x_statement = 173;
constexpr int store_y_statement = 174;
constexpr int close_statement = 176;

}  // namespace

void read_tract_coordinates(Run& run) {
  write_list(run.io, Io::console_unit, progress_statement,
             {"..reading coordinates of 40-acre tracts"});
  const RunFile file = tract_coordinate_file();
  open_run_file(run.io, file);
  Stream& stream = run.io.stream(file.unit);
  float x = 0;
  float y = 0;
  while (read_list_until_end(stream, read_statement, run.twp, run.rng, run.sec, run.tract, x, y)) {
    run.tracts.xcoord(store_x_statement, run.twp, run.rng, run.sec, run.tract) = x;
    run.tracts.ycoord(store_y_statement, run.twp, run.rng, run.sec, run.tract) = y;
  }
  run.io.close(close_statement, file.unit);
}

}  // namespace tamvek
