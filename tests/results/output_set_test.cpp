#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "results/output_set.hpp"
#include "results/result_error.hpp"
#include "support/scratch.hpp"

namespace tamvek::results {
namespace {

namespace fs = std::filesystem;

// Names in the folder, to show that nothing was left behind.
std::vector<std::string> names_in(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// The numbers of temporaries' names in turn, and a rename that fails at the
// calls given (counted from 0).
OutputSystem scripted(std::vector<std::uint64_t> numbers, std::set<int> failing = {}) {
  OutputSystem system = OutputSystem::real();
  auto next = std::make_shared<std::size_t>(0);
  system.random = [numbers, next] { return numbers[(*next)++ % numbers.size()]; };
  auto calls = std::make_shared<int>(0);
  system.rename = [failing, calls](const fs::path& from, const fs::path& to, std::error_code& error) {
    if (failing.contains((*calls)++)) {
      error = std::make_error_code(std::errc::io_error);
      return;
    }
    fs::rename(from, to, error);
  };
  return system;
}

TEST(OutputSet, ATemporaryNameInUseIsNeverTakenOver) {
  testing::ScratchIo scratch;
  scratch.dir.write("page.html.00000001.tmp", "the user's own");
  {
    OutputSet set(scratch.io(), scripted({1, 1, 2}));
    set.write("page.html", "new page");
    EXPECT_TRUE(scratch.dir.exists("page.html.00000002.tmp"));
    EXPECT_TRUE(set.commit().empty());
  }
  EXPECT_EQ(scratch.dir.read("page.html"), "new page");
  EXPECT_EQ(scratch.dir.read("page.html.00000001.tmp"), "the user's own");
  // A set that fails removes its temporaries, and only them.
  {
    OutputSet set(scratch.io(), scripted({1, 3}));
    set.write("grid.asc", "grid");
  }
  EXPECT_FALSE(scratch.dir.exists("grid.asc"));
  EXPECT_FALSE(scratch.dir.exists("grid.asc.00000003.tmp"));
  EXPECT_EQ(scratch.dir.read("page.html.00000001.tmp"), "the user's own");
}

// Each step in turn fails: whichever it is, the earlier set is there whole
// afterwards, and nothing else. Renames: a aside (0), a in (1), b in (2),
// package in (3); a package that would not go in is set aside (4) and tried
// again (5), as on a system whose rename keeps an existing file.
TEST(OutputSet, AFailureWhileFilesArePutInPlaceLeavesTheEarlierSetWhole) {
  const struct {
    std::set<int> failing;
    bool put_in_place;
  } cases[] = {{{0}, false}, {{1}, false}, {{2}, false}, {{3, 5}, false}, {{3}, true}, {{}, true}};
  for (const auto& [failing, put_in_place] : cases) {
    SCOPED_TRACE(::testing::PrintToString(failing));
    testing::ScratchIo scratch;
    scratch.dir.write("out/a.txt", "old a");
    scratch.dir.write("out/package", "old package");
    const std::vector<std::string> before = names_in(scratch.dir.file("out"));
    {
      OutputSet set(scratch.io(), scripted({10, 11, 12, 13, 14, 15}, failing));
      set.write("out/a.txt", "new a");
      set.write("out/b.txt", "new b");
      set.write("out/package", "new package");
      if (put_in_place)
        EXPECT_TRUE(set.commit().empty());
      else
        EXPECT_THROW(set.commit(), ResultError);
    }
    if (put_in_place) {
      EXPECT_EQ(names_in(scratch.dir.file("out")), (std::vector<std::string>{"a.txt", "b.txt", "package"}));
      EXPECT_EQ(scratch.dir.read("out/a.txt"), "new a");
      EXPECT_EQ(scratch.dir.read("out/package"), "new package");
    } else {
      EXPECT_EQ(names_in(scratch.dir.file("out")), before);
      EXPECT_EQ(scratch.dir.read("out/a.txt"), "old a");
      EXPECT_EQ(scratch.dir.read("out/package"), "old package");
    }
  }
}

TEST(OutputSet, StaleFilesGoOnceTheSetIsInPlaceAndEachOneLeftIsReported) {
  testing::ScratchIo scratch;
  scratch.dir.write("old.txt", "stale");
  scratch.dir.write("kept/inside", "a folder cannot go as a file does");
  OutputSet set(scratch.io());
  set.write("new.txt", "new");
  set.remove_after_commit(scratch.dir.file("old.txt"));
  set.remove_after_commit(scratch.dir.file("kept"));
  const std::vector<std::string> left = set.commit();
  EXPECT_FALSE(scratch.dir.exists("old.txt"));
  ASSERT_EQ(left.size(), 1u);
  EXPECT_NE(left[0].find("kept: no longer used, and not removed: "), std::string::npos) << left[0];
}

}  // namespace
}  // namespace tamvek::results
