#include "runtime/stream.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "text/list_write.hpp"
#include "support/scratch.hpp"

namespace tamvek {
namespace {

using testing::ScratchIo;
using testing::stop_of;

std::string hundred_records() {
  std::string text;
  for (int i = 1; i <= 100; ++i) text += "old record " + std::to_string(i) + "\r\n";
  return text;
}

std::vector<std::string> all_records(Stream& stream) {
  std::vector<std::string> records;
  std::string_view text;
  while (stream.next_record(1, text)) records.emplace_back(text);
  return records;
}

TEST(Streams, OpenCreatesAMissingFileEmptyAndNeverTruncates) {
  ScratchIo scratch;
  scratch.io().open(130, 20, "authacres2010.txt   ");
  EXPECT_TRUE(scratch.dir.exists("authacres2010.txt"));
  EXPECT_EQ(scratch.io().stream(20).end_state(), EndState::at_end);
  EXPECT_EQ(scratch.io().stream(20).name(), "authacres2010.txt");

  scratch.dir.write("kept.txt", "a\r\nb\r\n");
  scratch.io().open(1, 21, "kept.txt");
  scratch.io().close(2, 21);
  EXPECT_EQ(scratch.dir.read("kept.txt"), "a\r\nb\r\n");
}

TEST(Streams, TheFirstWriteCutsOffWhatTheFileHeld) {
  ScratchIo scratch;
  scratch.dir.write("out/check.out", hundred_records());
  scratch.io().open(214, 9, "out\\check.out");
  write_list(scratch.io(), 9, 334, {"first"});
  // Already cut off, before anything closes the file: a stop now loses nothing.
  scratch.io().settle();
  EXPECT_EQ(scratch.dir.read("out/check.out"), " first\r\n");
  write_list(scratch.io(), 9, 335, {"second"});
  scratch.io().close(3, 9);
  EXPECT_EQ(scratch.dir.read("out/check.out"), " first\r\n second\r\n");
}

TEST(Streams, AFileOpenedToBeWrittenHoldsOnlyWhatThisRunWrites) {
  ScratchIo scratch;
  scratch.dir.write("out/output2010.dat", hundred_records());
  scratch.dir.write("out/check2010.out", hundred_records());
  scratch.dir.write("in.txt", "kept\r\n");
  scratch.io().open(213, 14, "out\\output2010.dat", Io::Use::write);
  scratch.io().open(214, 9, "out\\check2010.out", Io::Use::write);
  scratch.io().open(1, 11, "in.txt");
  scratch.io().close(300, 14);  // nothing was ever written into it
  EXPECT_EQ(scratch.dir.read("out/output2010.dat"), "");
  EXPECT_TRUE(scratch.io().close_all().empty());  // the end of a run, after a stop too
  EXPECT_EQ(scratch.dir.read("out/check2010.out"), "");
  EXPECT_EQ(scratch.dir.read("in.txt"), "kept\r\n");

  scratch.dir.write("out/2010.asw", "old\r\n");
  chmod(scratch.dir.file("out/2010.asw").c_str(), 0444);
  const std::string kept = testing::as_ordinary_user([&] {
    Io& io = scratch.io();
    io.open(325, 8, "out\\2010.asw", Io::Use::write);  // read-only: its first write fails
    return scratch.dir.read("out/2010.asw");
  });
  EXPECT_EQ(kept, "old\r\n");
}

TEST(Streams, ReadsRecordsWithAnyEndAndALastOneWithoutLf) {
  ScratchIo scratch;
  scratch.dir.write("in.txt", "one\r\ntwo\n\nthree\rx\nlast");
  scratch.io().open(1, 11, "in.txt");
  EXPECT_EQ(all_records(scratch.io().stream(11)),
            (std::vector<std::string>{"one", "two", "", "three\rx", "last"}));
  EXPECT_EQ(scratch.io().stream(11).end_state(), EndState::past_end);
}

TEST(Streams, RecordsLongerThanAReadBlockArriveWhole) {
  ScratchIo scratch;
  const std::string long_record(300000, '7');
  scratch.dir.write("long.txt", "a\n" + long_record + "\nb\n");
  scratch.io().open(1, 11, "long.txt");
  EXPECT_EQ(all_records(scratch.io().stream(11)),
            (std::vector<std::string>{"a", long_record, "b"}));
}

TEST(Streams, RewindAfterEndOfFileReadsFromTheFirstRecordAgain) {
  ScratchIo scratch;
  scratch.dir.write("authacres.txt", "1 2\n3 4\n");
  scratch.io().open(130, 20, "authacres.txt");
  Stream& stream = scratch.io().stream(20);
  all_records(stream);
  EXPECT_EQ(stream.begin_read().code, status_after_end);
  EXPECT_EQ(stream.begin_read().message,
            "Sequential READ or WRITE not allowed after EOF marker, possibly use REWIND or "
            "BACKSPACE");
  scratch.io().rewind(159, 20);
  EXPECT_FALSE(stream.begin_read());
  EXPECT_EQ(all_records(stream), (std::vector<std::string>{"1 2", "3 4"}));
}

TEST(Streams, WriteAfterEndOfFileStopsTheRun) {
  ScratchIo scratch;
  scratch.io().open(213, 14, "log.dat");
  std::string_view text;
  EXPECT_FALSE(scratch.io().stream(14).next_record(5, text));
  const RunEnd end = stop_of([&] { write_list(scratch.io(), 14, 240, {"x"}); });
  EXPECT_EQ(end.status, 2);
  EXPECT_EQ(end.message,
            "At line 240 of file tamvekv3.f90 (unit = 14, file = 'log.dat')\n"
            "Fortran runtime error: Sequential READ or WRITE not allowed after EOF marker, "
            "possibly use REWIND or BACKSPACE\n");
}

TEST(Streams, AReadOnlyFileIsReadableButNotWritable) {
  ScratchIo scratch;
  scratch.dir.write("out/2010.asw", "old\r\n");
  chmod(scratch.dir.file("out/2010.asw").c_str(), 0444);
  if (testing::read_only_is_disregarded(scratch.dir.file("out/2010.asw")))
    GTEST_SKIP() << "this system opens read-only files for writing (Wine run by the superuser)";
  const std::string outcome = testing::as_ordinary_user([&] {
    scratch.io().open(325, 8, "out\\2010.asw");
    std::string_view text;
    if (!scratch.io().stream(8).next_record(1, text) || text != "old") return std::string("unread");
    return stop_of([&] { write_list(scratch.io(), 8, 331, {"new"}); }).message;
  });
  EXPECT_EQ(outcome,
            "At line 331 of file tamvekv3.f90 (unit = 8, file = 'out\\2010.asw')\n"
            "Fortran runtime error: Cannot write to file opened for READ\n");
}

TEST(Streams, OpenFailuresNameTheFileAsFormed) {
  ScratchIo scratch;
  RunEnd end = stop_of([&] { scratch.io().open(213, 14, "out\\output2010.dat"); });
  EXPECT_EQ(end.status, 2);
  EXPECT_EQ(end.message,
            "At line 213 of file tamvekv3.f90 (unit = 14)\n"
            "Fortran runtime error: File 'out\\output2010.dat' does not exist\n");

  scratch.dir.write("out/keep", "");
  end = stop_of([&] { scratch.io().open(214, 9, "out"); });
#ifdef _WIN32
  // Windows reports a directory as access refused.
  EXPECT_EQ(end.message,
            "At line 214 of file tamvekv3.f90 (unit = 9)\n"
            "Fortran runtime error: Permission denied trying to open file 'out'\n");
#else
  EXPECT_EQ(end.message,
            "At line 214 of file tamvekv3.f90 (unit = 9)\n"
            "Fortran runtime error: 'out' is a directory\n");
#endif
}

TEST(Streams, NamesBeginningWithABackslashLieBelowTheRoot) {
  ScratchIo scratch;
  scratch.dir.write("BAVO/QZ/static/tamvek.par", "2 3\n");
  scratch.io().open(72, 12, "\\BAVO\\QZ\\static\\tamvek.par");
  std::string_view text;
  ASSERT_TRUE(scratch.io().stream(12).next_record(73, text));
  EXPECT_EQ(text, "2 3");
#ifndef _WIN32  // Windows keeps the names' backslashes: tests/windows
  IoSetup setup;
  setup.root = "/data/root";
  setup.workdir = "/work/dir";
  Io io(setup);
  EXPECT_EQ(io.path_of("\\BAVO\\QZ\\static\\02.ibound"), "/data/root/BAVO/QZ/static/02.ibound");
  EXPECT_EQ(io.path_of("out\\2010.05.rcs"), "/work/dir/out/2010.05.rcs");
#endif
}

TEST(Streams, EveryEndOfTheRunWritesOutWhatIsBuffered) {
  ScratchIo scratch;
  scratch.io().open(213, 14, "output.dat");
  scratch.io().open(214, 9, "check.out");
  write_list(scratch.io(), 14, 240, {1});
  write_list(scratch.io(), 9, 303, {"2010.05.rcs"});
  // Still in the buffers: the files are regular and the records are short.
  EXPECT_EQ(scratch.dir.read("output.dat"), "");
  EXPECT_EQ(scratch.io().close_all(), "");
  EXPECT_EQ(scratch.dir.read("output.dat"), "           1\r\n");
  EXPECT_EQ(scratch.dir.read("check.out"), " 2010.05.rcs\r\n");
}

TEST(Streams, OutputLargerThanTheBufferReachesTheFileInOrder) {
  ScratchIo scratch;
  scratch.io().open(1, 8, "big.dat");
  std::string expected;
  for (int i = 0; i < 3000; ++i) {
    write_list(scratch.io(), 8, 2, {i});
    char field[16];
    std::snprintf(field, sizeof field, " %11d\r\n", i);
    expected += field;
  }
  scratch.io().close(3, 8);
  EXPECT_EQ(scratch.dir.read("big.dat"), expected);
}

TEST(Streams, FullBuffersWrittenBehindAreInTheFileBeforeAnotherStreamIsWritten) {
  ScratchIo scratch;
  scratch.io().open(1, 8, "big.dat");
  scratch.io().open(1, 9, "other.dat");
  // About 170 full buffers of 585 records each: more than the writer is let to
  // fall behind, so the run waits for it on the way.
  constexpr int records = 100'000, per_buffer = 8192 / 14;
  std::string expected;
  for (int i = 0; i < records; ++i) {
    write_list(scratch.io(), 8, 2, {i});
    char field[16];
    std::snprintf(field, sizeof field, " %11d\r\n", i);
    expected += field;
  }
  write_list(scratch.io(), 9, 3, {1});
  // Compared whole, not printed: a difference of megabytes would drown the report.
  const std::string written = scratch.dir.read("big.dat");
  EXPECT_EQ(written.size(), std::size_t{records / per_buffer * per_buffer * 14});
  EXPECT_TRUE(expected.starts_with(written));
  scratch.io().close(4, 8);
  EXPECT_TRUE(scratch.dir.read("big.dat") == expected);
}

// A REWIND waits for the writes made behind the run: reading the file again
// from its first record then finds every record written, in order.
TEST(Streams, AFileWrittenBehindIsWholeWhenRewoundAndReadAgain) {
  ScratchIo scratch;
  scratch.io().open(1, 8, "big.dat");
  constexpr int records = 100'000;
  for (int i = 0; i < records; ++i) write_list(scratch.io(), 8, 2, {i});
  Stream& stream = scratch.io().stream(8);
  stream.rewind(3);
  const std::vector<std::string> read = all_records(stream);
  ASSERT_EQ(read.size(), std::size_t{records});
  for (int i = 0; i < records; ++i) {
    char field[16];
    std::snprintf(field, sizeof field, " %11d", i);
    ASSERT_EQ(read[static_cast<std::size_t>(i)], field);
  }
}

}  // namespace
}  // namespace tamvek
