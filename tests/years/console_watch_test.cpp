#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "years/console_watch.hpp"

namespace tamvek::years {
namespace {

// A year's console up to its pause, standard output and standard error in the
// order tamvek writes them into one pipe.
constexpr std::string_view console_to_pause =
    " ..Processing year 2010\r\n"
    " ..reading authorized acreage by group\r\n"
    " Group         3500  outside dimension limits.\r\n"
    " year, sum authorized acres over groups: \r\n"
    " 2010   35961028.0    \r\n"
    " list groups with total authorized acres <= zero: \r\n"
    "PAUSE \n"
    "To resume execution, type go.  Other input will terminate the job.\n";

TEST(ConsoleWatch, FindsTheSummaryAndThePromptHoweverTheBytesArrive) {
  for (const std::size_t piece : {std::size_t{1}, std::size_t{7}, console_to_pause.size()}) {
    ConsoleWatch watch;
    int prompts = 0;
    for (std::size_t at = 0; at < console_to_pause.size(); at += piece)
      prompts += watch.take(console_to_pause.substr(at, piece)) ? 1 : 0;
    EXPECT_EQ(1, prompts) << "pieces of " << piece;
    ASSERT_TRUE(watch.summary().has_value());
    EXPECT_EQ("2010", watch.summary()->year);
    EXPECT_EQ("35961028.0", watch.summary()->total);
    // What follows the answer is no second prompt.
    EXPECT_FALSE(watch.take("RESUMED\n Group          57   0.00000000      auth. acres\r\n"));
  }
  ConsoleWatch unfinished;
  EXPECT_FALSE(unfinished.take(console_to_pause.substr(0, console_to_pause.size() - 1)));
  EXPECT_FALSE(unfinished.paused());
}

TEST(ConsoleWatch, OnlyAPositiveFiniteTotalResumes) {
  const struct {
    const char* total;
    bool resumes;
  } cases[] = {
      {"35961028.0", true},   {"9.99999975E-06", true}, {"3.00000000E+09", true},
      {"0.00000000", false},  {"-0.00000000", false},   {"-40.0000000", false},
      {"NaN", false},         {"Infinity", false},      {"", false},
      {"12x", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.resumes, positive_total(YearSummary{"2010", c.total})) << c.total;
}

TEST(ConsoleWatch, StopMessageIsTheLastStopsLines) {
  ConsoleWatch range_stop;
  range_stop.take(console_to_pause);
  range_stop.take(
      "RESUMED\n ..reading diversion, acreage, and system type data\r\n"
      "At line 196 of file tamvekv3.f90\n"
      "Fortran runtime error: Index '100' of dimension 1 of array 'swretfactor' above upper "
      "bound of 10\n");
  EXPECT_EQ(
      "At line 196 of file tamvekv3.f90\nFortran runtime error: Index '100' of dimension 1 of "
      "array 'swretfactor' above upper bound of 10",
      range_stop.stop_message());

  ConsoleWatch fault;
  fault.take(
      " ..reading ibound array\r\n\nProgram received signal SIGSEGV: Segmentation fault - invalid "
      "memory reference.\n\nBacktrace for this error:\n#0  0x401000\n#1  0x402000\n");
  EXPECT_EQ("Program received signal SIGSEGV: Segmentation fault - invalid memory reference.",
            fault.stop_message());

  ConsoleWatch other;
  other.take(" ..reading ibound array\r\nsomething else went wrong\n\n");
  EXPECT_EQ("something else went wrong", other.stop_message());
}

}  // namespace
}  // namespace tamvek::years
