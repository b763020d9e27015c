#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>
#include <gtest/gtest.h>

#include "support/scratch.hpp"

namespace tamvek {
namespace {

using testing::run_program;
using testing::ScratchDir;

bool is_empty_dir(const std::string& path) {
  return std::filesystem::is_empty(path);
}

TEST(Program, AWrongArgumentCountGivesTheUsageRecordOnly) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{}, std::vector<std::string>{"2010", "2011"}}) {
    ScratchDir work;
    ScratchDir root;
    const testing::ProgramRun run = run_program(arguments, work.path(), root.path());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, " rerun with year as argument, e.g. tamvek 2010\r\n");
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(is_empty_dir(work.path()));
    EXPECT_TRUE(is_empty_dir(root.path()));
  }
}

// Every entry below `path` with its size, so that a test can see that nothing
// was created, removed or written.
std::vector<std::string> listing(const std::string& path) {
  std::vector<std::string> entries;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(path))
    entries.push_back(entry.path().string() + " " +
                      (entry.is_regular_file() ? std::to_string(entry.file_size()) : "dir"));
  std::sort(entries.begin(), entries.end());
  return entries;
}

TEST(Program, AnArgumentBeginningWithAMinusIsNoYearAndTouchesNothing) {
  for (const char* argument : {"--help", "-h", "-", "-2010"}) {
    SCOPED_TRACE(argument);
    ScratchDir work;
    ScratchDir root;
    // A working directory ready for a run of the year the argument starts like.
    work.write("authacres--he.txt", "");
    work.write("authacres2010.txt", "1 1 1 1 1 40.0\r\n");
    work.write("out/check2010.out", "left by an earlier run\r\n");
    const std::vector<std::string> before = listing(work.path());
    const testing::ProgramRun run = run_program({argument}, work.path(), root.path());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, " rerun with year as argument, e.g. tamvek 2010\r\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(listing(work.path()), before);
    EXPECT_EQ(work.read("out/check2010.out"), "left by an earlier run\r\n");
    EXPECT_TRUE(is_empty_dir(root.path()));
  }
}

TEST(Program, AMissingStaticDirectoryStopsAtTheFirstOpen) {
  ScratchDir work;
  ScratchDir root;
  const testing::ProgramRun run = run_program({"2010"}, work.path(), root.path());
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err,
            "At line 72 of file tamvekv3.f90 (unit = 12)\n"
            "Fortran runtime error: File '\\BAVO\\QZ\\static\\tamvek.par' does not exist\n");
  EXPECT_TRUE(is_empty_dir(work.path()));
}

}  // namespace
}  // namespace tamvek
