#include <gtest/gtest.h>

#include <string>
#include <system_error>
#include <thread>

#include "years/schedule.hpp"

namespace tamvek::years {
namespace {

// The system refuses a thread after `granted` others: the ones granted run
// nothing here, and must still be joined before the failure is reported.
TEST(YearsSchedule, AThreadTheSystemWillNotStartIsAFailureNotAnAbort) {
  for (const int granted : {0, 1, 3}) {
    SCOPED_TRACE(granted);
    Plan plan{"no-such-program", 2001, 2008, 8};
    RunningYears running;
    int started = 0;
    const ThreadStart start = [&](std::function<void()>) {
      if (started == granted)
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
      ++started;
      return std::thread([] {});
    };
    int finished = 0;
    try {
      run_years(plan, running, [&](const YearResult&, int) { ++finished; }, start);
      ADD_FAILURE() << "no failure reported";
    } catch (const ThreadStartFailure& failure) {
      EXPECT_NE(std::string(failure.what()).find("would not start thread " +
                                                 std::to_string(granted + 1) + " of the 8"),
                std::string::npos)
          << failure.what();
    }
    EXPECT_EQ(finished, 0);
  }
}

}  // namespace
}  // namespace tamvek::years
