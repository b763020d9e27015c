#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

#include "support/small_data_set.hpp"

namespace tamvek {
namespace {

using testing::run_program;
using testing::SmallDataSet;

constexpr std::string_view resumed =
    "PAUSE \nTo resume execution, type go.  Other input will terminate the job.\nRESUMED\n";

TEST(Faults, AWriteToAFullDeviceStopsTheRun) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no full device (/dev/full)";
#else
  SmallDataSet data;
  std::filesystem::create_symlink("/dev/full", data.work.file("out/output2010.dat"));
  const testing::ProgramRun run = run_program({"2010"}, data.work.path(), data.root.path(), "go\n");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, std::string(resumed) +
                         "At line 254 of file tamvekv3.f90 (unit = 14, file = 'out\\output2010.dat')\n"
                         "Fortran runtime error: No space left on device\n");
  EXPECT_FALSE(data.work.exists("out/swretgrid2010.dat"));
#endif
}

TEST(Faults, AWriteMadeWhileTheRunGoesOnStopsItAtItsOwnStatement) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no file size limit (RLIMIT_FSIZE)";
#else
  SmallDataSet data;
  // 4,000 more tracts west of the grid: a problem log of about 400 kB, whose
  // full buffers are written while the run goes on placing tracts.
  std::string acreage = data.work.read("authacres2010.txt");
  for (int i = 0; i < 4000; ++i) acreage += "3 1 1 1 5 10\n";
  data.work.write("authacres2010.txt", acreage);
  const testing::ProgramRun run =
      run_program({"2010"}, data.work.path(), data.root.path(), "go\n", [] {
        std::signal(SIGXFSZ, SIG_IGN);
        dup2(::open("/dev/null", O_WRONLY), 1);
        const rlimit limit{20000, 20000};
        setrlimit(RLIMIT_FSIZE, &limit);
      });
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, std::string(resumed) +
                         "At line 240 of file tamvekv3.f90 (unit = 14, file = 'out\\output2010.dat')\n"
                         "Fortran runtime error: File too large\n");
  EXPECT_EQ(data.work.read("out/output2010.dat").size(), 20000u);
  // Nothing after the failed write: the report opened with the log is emptied
  // as an unwritten file, and the plot files are never opened.
  EXPECT_EQ(data.work.read("out/check2010.out"), "");
  EXPECT_FALSE(data.work.exists("out/swretgrid2010.dat"));
#endif
}

TEST(Faults, ACloseThatCannotWriteOutItsBufferStops) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no file size limit (RLIMIT_FSIZE)";
#else
  SmallDataSet data;
  // Each point file holds 267 bytes, written out at its CLOSE; the console
  // goes where no limit applies.
  const testing::ProgramRun run =
      run_program({"2010"}, data.work.path(), data.root.path(), "go\n", [] {
        std::signal(SIGXFSZ, SIG_IGN);
        dup2(::open("/dev/null", O_WRONLY), 1);
        const rlimit limit{200, 200};
        setrlimit(RLIMIT_FSIZE, &limit);
      });
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, std::string(resumed) +
                         "At line 280 of file tamvekv3.f90 (unit = 8, file = "
                         "'out\\swretgrid2010.dat')\n"
                         "Fortran runtime error: File too large\n");
  EXPECT_EQ(data.work.read("out/swretgrid2010.dat").size(), 200u);
#endif
}

TEST(Faults, ARecordThatCannotReachItsFileAtTheEndIsNotASuccess) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no file size limit (RLIMIT_FSIZE)";
#else
  SmallDataSet data;
  // Every file fits but the check report (471 bytes), written out at the end.
  const testing::ProgramRun run =
      run_program({"2010"}, data.work.path(), data.root.path(), "go\n", [] {
        std::signal(SIGXFSZ, SIG_IGN);
        dup2(::open("/dev/null", O_WRONLY), 1);
        const rlimit limit{400, 400};
        setrlimit(RLIMIT_FSIZE, &limit);
      });
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, std::string(resumed) +
                         "At line 337 of file tamvekv3.f90 (unit = 9, file = 'out\\check2010.out')\n"
                         "Fortran runtime error: File too large\n");
  // The problem log, closed at the same end, is complete.
  EXPECT_EQ(data.work.read("out/output2010.dat").size(), 233u);
  EXPECT_EQ(data.work.read("out/2010.asw").size(), 40u);
#endif
}

TEST(Faults, ConsoleOutputThatCannotBeWrittenStops) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no full device (/dev/full)";
#else
  SmallDataSet data;
  const testing::ProgramRun run =
      run_program({"2010"}, data.work.path(), data.root.path(), "go\n", [] {
        const int full = ::open("/dev/full", O_WRONLY);
        dup2(full, 1);
      });
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err,
            "At line 85 of file tamvekv3.f90 (unit = 6, file = 'stdout')\n"
            "Fortran runtime error: No space left on device\n");
#endif
}

}  // namespace
}  // namespace tamvek
