#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <string_view>

#include "../../tools/generate_data/generate.hpp"
#include "support/scratch.hpp"

namespace tamvek {
namespace {

namespace fs = std::filesystem;
using testing::ProgramRun;
using testing::ScratchDir;

constexpr std::string_view pause_lines =
    "PAUSE \nTo resume execution, type go.  Other input will terminate the job.\nRESUMED\n";

// A working directory with years 2001 to 2005: two good generated years, one
// whose diversion file is missing, one whose authorized acres total zero and
// one that stops at a system type beyond the table of return-flow factors.
struct YearsDataSet {
  ScratchDir root;
  ScratchDir work;

  YearsDataSet() {
    generate::Options options;
    options.root = root.path();
    options.work = work.path();
    options.year = "2001";
    generate::generate_data_set(options);
    // Another seed for 2002, so that a mix-up of years shows; its static files
    // are left aside.
    const ScratchDir other_root;
    options.root = other_root.path();
    options.year = "2002";
    options.seed = 2;
    generate::generate_data_set(options);
    work.write("authacres2003.txt", "1 1 1 1 1 40\n");
    work.write("authacres2004.txt", "1 1 1 1 1 40\n1 1 1 1 2 -40\n");
    work.write("tamvek2004.txt", "1 0 100 50 0\n");
    work.write("authacres2005.txt", "1 1 1 1 1 40\n");
    work.write("tamvek2005.txt", "1 0 100 50 99\n");
  }

  // tamvek-years' own lines, whose ends are CR LF on Windows, with LF ends.
  ProgramRun run_years(const std::vector<std::string>& arguments) const {
    ProgramRun run =
        testing::run_program(arguments, work.path(), root.path(), "", {}, TAMVEK_YEARS_PROGRAM);
    for (std::string* text : {&run.out, &run.err}) std::erase(*text, '\r');
    return run;
  }
};

// The files below `dir`, by name.
std::set<std::string> files_in(const std::string& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename().string());
  return names;
}

// What one pipe carries of a run whose standard output and standard error went
// to the two files of `direct`: its console up to the pause, the pause, the
// rest of its console, then the rest of standard error (a stop's message).
std::string console_in_order(const ProgramRun& direct) {
  constexpr std::string_view last_before_pause =
      " list groups with total authorized acres <= zero: \r\n";
  const std::size_t pause = direct.out.find(last_before_pause) + last_before_pause.size();
  EXPECT_TRUE(direct.err.starts_with(pause_lines));
  return direct.out.substr(0, pause) + std::string(pause_lines) + direct.out.substr(pause) +
         direct.err.substr(pause_lines.size());
}

TEST(YearsProgram, RunsEachYearAsTamvekRunByHandWithGoTyped) {
  const YearsDataSet data;
  const ScratchDir scratch;
  const std::string by_hand = scratch.file("work");
  fs::copy(data.work.path(), by_hand, fs::copy_options::recursive);

  const ProgramRun years = data.run_years({"-j", "2", "2001", "2005"});
  EXPECT_EQ(2, years.status) << years.out << years.err;
  for (const char* expected :
       {"\n2001  done ", "\n2002  done ", "\n2003  inputs missing ", "\n      tamvek2003.txt missing\n",
        "\n2004  not resumed: no authorized acres ", "\n2005  stopped, status 2 ",
        "\n      At line 196 of file tamvekv3.f90\n"
        "      Fortran runtime error: Index '100' of dimension 1 of array 'swretfactor' above upper "
        "bound of 10\n",
        "\n2 of 5 years done\n", "(0 years left)\n"})
    EXPECT_NE(std::string::npos, years.out.find(expected)) << expected << "\nin:\n" << years.out;

  // A year not started creates nothing; one not resumed writes nothing.
  EXPECT_FALSE(data.work.exists("tamvek2003.txt"));
  EXPECT_EQ("tamvek-years: 2003 not started: inputs missing: tamvek2003.txt missing\n",
            data.work.read("out/console2003.txt"));
  EXPECT_EQ(std::string::npos, data.work.read("out/console2004.txt").find("RESUMED"));
  for (const std::string& name : files_in(data.work.file("out")))
    EXPECT_TRUE(name.find("2004") == std::string::npos || name == "console2004.txt") << name;

  std::set<std::string> by_hand_files;
  for (const char* year : {"2001", "2002", "2005"}) {
    const ProgramRun direct = testing::run_program({year}, by_hand, data.root.path(), "go\n");
    EXPECT_EQ(year == std::string_view("2005") ? 2 : 0, direct.status) << year;
    EXPECT_EQ(console_in_order(direct), data.work.read("out/console" + std::string(year) + ".txt"))
        << year;
  }
  for (const std::string& name : files_in(by_hand + "/out")) {
    by_hand_files.insert(name);
    EXPECT_EQ(testing::read_whole(by_hand + "/out/" + name), data.work.read("out/" + name)) << name;
  }
  std::set<std::string> years_files;
  for (const std::string& name : files_in(data.work.file("out")))
    if (!name.starts_with("console")) years_files.insert(name);
  EXPECT_EQ(by_hand_files, years_files);
  EXPECT_EQ(11u * 2, by_hand_files.size());
}

TEST(YearsProgram, AllYearsDoneEndsWithStatusZero) {
  const YearsDataSet data;
  const ProgramRun years = data.run_years({"-j1", "2001", "2002"});
  EXPECT_EQ(0, years.status) << years.out << years.err;
  EXPECT_NE(std::string::npos, years.out.find("\n2 of 2 years done\n")) << years.out;
}

TEST(YearsProgram, RefusesToStartWithoutTheOutputDirectoryOrTamvekOrWithWrongArguments) {
  const YearsDataSet data;
  fs::remove_all(data.work.file("out"));
  const ProgramRun no_out = data.run_years({"2001", "2002"});
  EXPECT_EQ(2, no_out.status);
  EXPECT_NE(std::string::npos, no_out.err.find("no directory out")) << no_out.err;
  EXPECT_EQ("", no_out.out);
  EXPECT_FALSE(data.work.exists("out"));

  const ScratchDir alone;
  const std::string lonely = alone.file(fs::path(TAMVEK_YEARS_PROGRAM).filename().string());
  fs::copy_file(TAMVEK_YEARS_PROGRAM, lonely);
  fs::create_directory(data.work.file("out"));
  const ProgramRun without_tamvek =
      testing::run_program({"2001", "2002"}, data.work.path(), data.root.path(), "", {}, lonely);
  EXPECT_EQ(2, without_tamvek.status);
  EXPECT_NE(std::string::npos, without_tamvek.err.find("tamvek is not beside this program"))
      << without_tamvek.err;
  EXPECT_TRUE(files_in(data.work.file("out")).empty());

  const ProgramRun backwards = data.run_years({"2002", "2001"});
  EXPECT_EQ(2, backwards.status);
  EXPECT_TRUE(backwards.err.starts_with("tamvek-years: the last year 2001 comes before the first 2002\n"
                                        "usage: tamvek-years"))
      << backwards.err;
}

TEST(YearsProgram, AYearWhoseConsoleCannotBeKeptIsNotStarted) {
  const YearsDataSet data;
  fs::create_directory(data.work.file("out/console2001.txt"));
  const ProgramRun years = data.run_years({"2001", "2002"});
  EXPECT_EQ(2, years.status);
  EXPECT_NE(std::string::npos, years.out.find("\n2001  not started ")) << years.out;
  EXPECT_NE(std::string::npos, years.out.find("console2001.txt cannot be written")) << years.out;
  EXPECT_NE(std::string::npos, years.out.find("\n2002  done ")) << years.out;
  EXPECT_FALSE(data.work.exists("out/2001.asw"));
  EXPECT_TRUE(data.work.exists("out/2002.asw"));
}

}  // namespace
}  // namespace tamvek
