#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "years/arguments.hpp"
#include "years/summary.hpp"

namespace tamvek::years {
namespace {

TEST(YearsArguments, TakeARangeOfFourDigitYearsAndTheYearsSideBySide) {
  const Arguments plain = parse_arguments({"2001", "2040"});
  EXPECT_EQ(2001, plain.first);
  EXPECT_EQ(2040, plain.last);
  EXPECT_FALSE(plain.jobs.has_value());
  EXPECT_EQ(3, parse_arguments({"-j", "3", "2010", "2010"}).jobs);
  EXPECT_EQ(4, parse_arguments({"2010", "-j4", "2011"}).jobs);
  EXPECT_TRUE(parse_arguments({"--help"}).help);

  const std::vector<std::vector<std::string>> refused = {
      {},           {"2010"},           {"2010", "2011", "2012"}, {"2011", "2010"},
      {"99", "2010"}, {"2010", "10000"}, {"2010x", "2011"},        {"-j", "0", "2010", "2011"},
      {"-j"},       {"-k", "2010", "2011"}};
  for (const auto& words : refused)
    EXPECT_THROW(parse_arguments(words), std::invalid_argument) << ::testing::PrintToString(words);
}

TEST(YearsTable, ShowsEachYearsOutcomeWithWhatExplainsIt) {
  std::vector<YearResult> results(5);
  results[0] = {2001, Outcome::done, "status 0", "", "35961028.0", 0.5, ""};
  results[1] = {2002, Outcome::inputs_missing, "", "tamvek2002.txt missing", "", {}, ""};
  results[2] = {2003, Outcome::not_resumed, "status 0", "no authorized acres", "0.00000000", 0.04, ""};
  results[3] = {2004, Outcome::stopped, "status 2",
                "At line 196 of file tamvekv3.f90\nFortran runtime error: Index '100'", "40.0000000",
                0.1, ""};
  results[4] = {2005, Outcome::done, "status 0", "", "12.5000000", 1.25,
                "out/console2005.txt is incomplete: No space left on device"};
  EXPECT_EQ(
      "year  outcome                           authorized acres  seconds\n"
      "2001  done                                    35961028.0     0.50\n"
      "2002  inputs missing                                   -        -\n"
      "      tamvek2002.txt missing\n"
      "2003  not resumed: no authorized acres        0.00000000     0.04\n"
      "2004  stopped, status 2                       40.0000000     0.10\n"
      "      At line 196 of file tamvekv3.f90\n"
      "      Fortran runtime error: Index '100'\n"
      "2005  done                                    12.5000000     1.25\n"
      "      console: out/console2005.txt is incomplete: No space left on device\n"
      "1 of 5 years done\n",
      result_table(results));
  EXPECT_EQ("2002  inputs missing: tamvek2002.txt missing  (1 year left)\n",
            progress_line(results[1], 1));
  EXPECT_EQ("2004  stopped, status 2  (0 years left)\n", progress_line(results[3], 0));
}

}  // namespace
}  // namespace tamvek::years
