#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "modflow/model_files.hpp"
#include "support/scratch.hpp"

namespace tamvek::modflow {
namespace {

TEST(ModelFiles, NamesAsWrittenThenBackslashesThenTheOnlyOneInAnotherCase) {
  testing::ScratchDir dir;
  dir.write("model/p7.dis", "");
  dir.write("model/arrays/top.txt", "");
  dir.write("model/Twin.txt", "");
  dir.write("model/TWIN.txt", "");
  dir.write("shared/model.dis", "");
  const std::filesystem::path folder = dir.file("model");
  const struct {
    const char* name;
    const char* found;  // relative to the scratch folder; empty where the name stays as written
    bool noted;
  } cases[] = {
      {"p7.dis", "model/p7.dis", false},
      {"arrays/top.txt", "model/arrays/top.txt", false},
      {"Twin.txt", "model/Twin.txt", false},
#ifndef _WIN32
      {"P7.DIS", "model/p7.dis", true},
      {"ARRAYS/Top.Txt", "model/arrays/top.txt", true},
      {"arrays\\top.txt", "model/arrays/top.txt", true},
      {"..\\shared\\model.dis", "model/../shared/model.dis", true},
      {"..\\SHARED\\Model.dis", "model/../shared/model.dis", true},
      {"twin.txt", "", false},  // two files differ from it in case alone: neither is taken
#endif
      {"missing.dis", "", false},
  };
  for (const auto& c : cases) {
    std::vector<std::string> notes;
    const std::filesystem::path found = find_model_file(folder, c.name, notes);
    const std::filesystem::path expected = *c.found ? std::filesystem::path(dir.file(c.found)) : folder / c.name;
    EXPECT_EQ(expected.lexically_normal(), found.lexically_normal()) << c.name;
    EXPECT_EQ(c.noted, notes.size() == 1) << c.name;
  }
}

}  // namespace
}  // namespace tamvek::modflow
