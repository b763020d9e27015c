// What only the Windows program does: names kept as formed with the current
// drive's root, standard input in text mode at the pause, the processor-fault
// report raised from a system exception.
#ifdef _WIN32
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <direct.h>
#include <filesystem>

#include "runtime/fault_report.hpp"
#include "runtime/io.hpp"
#include "text/list_write.hpp"
#include "runtime/pause.hpp"
#include "runtime/platform.hpp"
#include "support/scratch.hpp"

namespace tamvek {
namespace {

std::string first_record(Io& io, int unit) {
  std::string_view text;
  return io.stream(unit).next_record(1, text) ? std::string(text) : "(no record)";
}

TEST(WindowsFileNames, ALeadingBackslashIsTheCurrentDrivesRootUnlessTamvekRootIsSet) {
  Io plain{IoSetup{}};
  EXPECT_EQ(plain.path_of("\\BAVO\\QZ\\static\\tamvek.par"), "\\BAVO\\QZ\\static\\tamvek.par");
  EXPECT_EQ(plain.path_of("out\\2010.asw"), "out\\2010.asw");
  Io moved{IoSetup{.root = "D:\\data\\root\\", .workdir = "E:\\year"}};
  EXPECT_EQ(moved.path_of("\\BAVO\\QZ\\static\\cty.flg"), "D:\\data\\root\\BAVO\\QZ\\static\\cty.flg");
  EXPECT_EQ(moved.path_of("authacres2010.txt"), "E:\\year\\authacres2010.txt");

  ASSERT_EQ(_putenv_s("TAMVEK_ROOT", ""), 0);  // unsets it
  EXPECT_EQ(io_setup_from_environment().root, "");
  ASSERT_EQ(_putenv_s("TAMVEK_ROOT", "C:\\tamvek root"), 0);
  EXPECT_EQ(io_setup_from_environment().root, "C:\\tamvek root");
  ASSERT_EQ(_putenv_s("TAMVEK_ROOT", ""), 0);

  // The same file through both rules: below TAMVEK_ROOT, and from the root of
  // the drive that is current while the scratch directory is the working one.
  testing::ScratchIo scratch;
  scratch.dir.write("BAVO/QZ/static/tamvek.par", "2 3\r\n");
  scratch.io().open(72, 12, "\\BAVO\\QZ\\static\\tamvek.par");
  EXPECT_EQ(first_record(scratch.io(), 12), "2 3");

  const std::string from_root = std::filesystem::path(scratch.dir.path()).relative_path().string();
  char previous[4096];
  ASSERT_NE(_getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(_chdir(scratch.dir.path().c_str()), 0);
  Io drive{IoSetup{}};
  drive.open(72, 12, "\\" + from_root + "\\BAVO\\QZ\\static\\tamvek.par");
  const std::string record = first_record(drive, 12);
  drive.close(1, 12);
  ASSERT_EQ(_chdir(previous), 0);
  EXPECT_EQ(record, "2 3");
}

TEST(WindowsPause, ATypedCrLfArrivesAsLfAndOnlyTheAnswerIsTaken) {
  testing::ScratchIo scratch("go\r\nnext\r\n");
  operator_pause(scratch.io());
  EXPECT_EQ(scratch.errors(),
            "PAUSE \nTo resume execution, type go.  Other input will terminate the job.\nRESUMED\n");
  char rest[16];
  int error = 0;
  const std::int64_t got = platform::read_some(scratch.io().stdin_fd(), rest, sizeof rest, error);
  EXPECT_EQ(std::string(rest, got > 0 ? static_cast<std::size_t>(got) : 0), "next\n");
}

// The child that the death test starts runs this test again up to the fault,
// in the same working directory, and writes its log there.
TEST(WindowsFaultReport, AnInvalidMemoryReferenceIsReportedAfterBufferedRecordsAreWritten) {
  const std::string log = "windows-fault-report.dat";
  std::remove(log.c_str());
  EXPECT_EXIT(
      {
        Io io{IoSetup{}};
        install_fault_report(io);
        io.open(213, 14, log);
        write_list(io, 14, 240, {7});  // still in the stream's buffer
        volatile std::uintptr_t address = 8;
        *reinterpret_cast<volatile int*>(address) = 1;
      },
      ::testing::ExitedWithCode(3),
      "^\nProgram received signal SIGSEGV: Segmentation fault - invalid memory reference\\.\n\n"
      "Backtrace for this error:\n#00 0x");
  EXPECT_EQ(testing::read_whole(log), "           7\r\n");
  std::remove(log.c_str());
}

}  // namespace
}  // namespace tamvek
#endif
