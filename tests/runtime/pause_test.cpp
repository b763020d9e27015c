#include "runtime/pause.hpp"

#include <gtest/gtest.h>

#include "support/scratch.hpp"

namespace tamvek {
namespace {

constexpr std::string_view prompt =
    "PAUSE \nTo resume execution, type go.  Other input will terminate the job.\n";

TEST(OperatorPause, GoAndEnterResume) {
  for (const std::string_view answer : {"go\n", "go\r\n", "go\nmore lines\n"}) {
    testing::ScratchIo scratch(answer);
    operator_pause(scratch.io());
    EXPECT_EQ(scratch.errors(), std::string(prompt) + "RESUMED\n") << answer;
  }
}

TEST(OperatorPause, AnyOtherAnswerEndsTheRunWithStatusZero) {
  for (const std::string_view answer : {"GO\n", "go \n", "\n", "", "go", "gogo\n", " go\n", "g\n"}) {
    testing::ScratchIo scratch(answer);
    const RunEnd end = testing::stop_of([&] { operator_pause(scratch.io()); });
    EXPECT_EQ(end.status, 0) << answer;
    EXPECT_EQ(end.message, "") << answer;
    EXPECT_EQ(scratch.errors(), prompt) << answer;
  }
}

}  // namespace
}  // namespace tamvek
