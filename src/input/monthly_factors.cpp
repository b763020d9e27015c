#include "input/monthly_factors.hpp"

#include "text/list_read.hpp"
#include "text/list_write.hpp"
#include "state/file_names.hpp"
#include "state/run_state.hpp"

namespace tamvek {
namespace {

constexpr int progress_statement = 106;
constexpr int read_statement = 110;
constexpr int close_statement = 112;
constexpr int counties = 44;

}  // namespace

void read_monthly_factors(Run& run) {
  write_list(run.io, Io::console_unit, progress_statement, {"..reading monthly factors by county"});
  const RunFile file = monthly_factor_file();
  open_run_file(run.io, file);
  Stream& stream = run.io.stream(file.unit);
  std::int32_t county_number = 0;  // read and not used: the row is the record's place
  for (std::int32_t k = 1; k <= counties; ++k) {
    auto factor = [&](int month) -> float& { return run.xmonfactors.at(read_statement, k, month); };
    read_list(stream, read_statement,
              {county_number, factor(5), factor(6), factor(7), factor(8), factor(9), factor(10)});
  }
  run.io.close(close_statement, file.unit);
}

}  // namespace tamvek
