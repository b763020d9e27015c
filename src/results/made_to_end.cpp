#include "results/made_to_end.hpp"

#include <cfenv>
#include <cstdio>
#include <exception>
#include <string>

#include "results/result_error.hpp"
#include "runtime/io.hpp"
#include "runtime/run_stop.hpp"

namespace tamvek::results {

int made_to_end(Io& io, std::string_view program, const std::function<int()>& make) {
  // The grid's top edge is computed as tamvek computes it.
  std::fesetenv(FE_DFL_ENV);
  const std::string name(program);
  std::string failure;
  int status = 2;
  try {
    status = make();
  } catch (const ResultError& error) {
    failure = name + ": " + error.file + ": " + error.what + "\n";
  } catch (const RunEnd& stop) {
    // tamvek's reader of a static file stopped, with tamvek's own message.
    failure = stop.message.empty() ? name + ": the grid definition cannot be read\n" : stop.message;
  } catch (const std::exception& error) {
    failure = name + ": " + error.what() + "\n";
  }
  const std::string close_failure = io.close_all();
  if (failure.empty() && !close_failure.empty()) failure = close_failure;
  if (failure.empty()) return status;
  std::fflush(stdout);
  std::fputs(failure.c_str(), stderr);
  return 2;
}

}  // namespace tamvek::results
