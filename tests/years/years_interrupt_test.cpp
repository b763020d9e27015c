#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "support/scratch.hpp"

namespace tamvek {
namespace {

namespace fs = std::filesystem;
using testing::ScratchDir;

#ifndef _WIN32

// Stands in for tamvek beside a copy of tamvek-years: it shows a year summary
// and the pause, and once answered, ends at once for 2001 and otherwise runs
// until it is stopped, leaving its process id where the test finds it.
constexpr std::string_view slow_tamvek =
    "#!/bin/sh\n"
    "printf ' year, sum authorized acres over groups: \\r\\n %s   40.0000000    \\r\\n' \"$1\"\n"
    "printf 'PAUSE \\nTo resume execution, type go.  Other input will terminate the job.\\n' >&2\n"
    "read answer\n"
    "printf 'RESUMED\\n' >&2\n"
    "[ \"$1\" = 2001 ] && exit 0\n"
    "echo $$ > running$1.tmp && mv running$1.tmp running$1\n"
    "exec sleep 60\n";

struct Started {
  pid_t pid = -1;
  int output = -1;
};

Started start_years(const std::string& program, const std::string& workdir,
                    const std::vector<std::string>& arguments) {
  int channel[2];
  if (pipe(channel) != 0) return {};
  const pid_t child = fork();
  if (child == 0) {
    dup2(channel[1], 1);
    ::close(channel[0]);
    if (chdir(workdir.c_str()) != 0) _exit(127);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  ::close(channel[1]);
  return {child, channel[0]};
}

std::string read_all(int fd) {
  std::string text;
  char buffer[4096];
  ssize_t got;
  while ((got = ::read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<std::size_t>(got));
  ::close(fd);
  return text;
}

TEST(YearsInterrupt, StopsTheRunningYearsAndLeavesTheDoneOnes) {
  const ScratchDir bin;
  const ScratchDir work;
  const std::string program = bin.file("tamvek-years");
  fs::copy_file(TAMVEK_YEARS_PROGRAM, program);
  bin.write("tamvek", slow_tamvek);
  fs::permissions(bin.file("tamvek"), fs::perms::owner_all);
  for (const char* year : {"2001", "2002", "2003", "2004"}) {
    work.write("authacres" + std::string(year) + ".txt", "1 1 1 1 1 40\n");
    work.write("tamvek" + std::string(year) + ".txt", "1 0 100 50 0\n");
  }
  fs::create_directory(work.file("out"));

  const auto start = std::chrono::steady_clock::now();
  const Started years = start_years(program, work.path(), {"-j", "2", "2001", "2004"});
  ASSERT_GT(years.pid, 0);
  // 2001 ends at once; 2002 and 2003 then run until stopped, and 2004 waits.
  for (int waited = 0; !(work.exists("running2002") && work.exists("running2003")); ++waited) {
    ASSERT_LT(waited, 2000) << "the years never both ran";
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  const pid_t sleeper = std::stoi(work.read("running2002"));
  kill(years.pid, SIGINT);
  const std::string out = read_all(years.output);
  int status = 0;
  waitpid(years.pid, &status, 0);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  ASSERT_TRUE(WIFEXITED(status)) << out;
  EXPECT_EQ(2, WEXITSTATUS(status)) << out;
  EXPECT_LT(seconds, 30) << "the stopped years were waited for";
  EXPECT_EQ(-1, kill(sleeper, 0)) << "a stopped year's program still runs";
  for (const char* expected :
       {"tamvek-years: interrupted: stopping 2002, 2003; no further year starts\n",
        "\n2001  done ", "\n2002  cut off by the interrupt ", "\n2003  cut off by the interrupt ",
        "\n      its files in out are incomplete\n", "\n2004  not started ", "\n1 of 4 years done\n",
        "interrupted: cut off 2002, 2003; the years done are complete\n"})
    EXPECT_NE(std::string::npos, out.find(expected)) << expected << "\nin:\n" << out;
  // What the years showed is kept; the year not started is left as it was.
  EXPECT_EQ(
      " year, sum authorized acres over groups: \r\n 2001   40.0000000    \r\n"
      "PAUSE \nTo resume execution, type go.  Other input will terminate the job.\nRESUMED\n",
      work.read("out/console2001.txt"));
  EXPECT_NE(std::string::npos, work.read("out/console2003.txt").find("RESUMED\n"));
  EXPECT_FALSE(work.exists("out/console2004.txt"));
}

#else

TEST(YearsInterrupt, StopsTheRunningYearsAndLeavesTheDoneOnes) {
  GTEST_SKIP() << "the test sends the interrupt as a signal and stands in for tamvek with a "
                  "shell script, both of Linux";
}

#endif

}  // namespace
}  // namespace tamvek
