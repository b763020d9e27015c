#include <filesystem>
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
