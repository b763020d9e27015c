#include "runtime/fault_report.hpp"

#include <csignal>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "text/list_write.hpp"
#include "support/scratch.hpp"

namespace tamvek {
namespace {

TEST(FaultReport, NamesTheSignalWritesOutBufferedRecordsAndEndsByTheSignal) {
#ifdef _WIN32
  GTEST_SKIP() << "needs fork; tests/windows covers the report on Windows";
#else
  testing::ScratchDir dir;
  const std::string errors = dir.file("stderr");
  const pid_t child = fork();
  if (child == 0) {
    const int fd = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(fd, STDERR_FILENO);
    IoSetup setup;
    setup.workdir = dir.path();
    Io io(setup);
    install_fault_report(io);
    io.open(213, 14, "log.dat");
    // About 100 kB: a dozen full buffers handed over to be written while the
    // run goes on, fewer than wake the writer, and the rest in the buffer.
    for (int i = 0; i < 7000; ++i) write_list(io, 14, 240, {7});
    std::raise(SIGABRT);
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGABRT);
  const std::string report = dir.read("stderr");
  const std::string head =
      "\nProgram received signal SIGABRT: Process abort signal.\n\nBacktrace for this error:\n";
  EXPECT_EQ(report.substr(0, head.size()), head);
  EXPECT_GT(report.size(), head.size());  // at least one call frame
  std::string records;
  for (int i = 0; i < 7000; ++i) records += "           7\r\n";
  EXPECT_EQ(dir.read("log.dat"), records);
#endif
}

}  // namespace
}  // namespace tamvek
