#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "modflow/model_text.hpp"
#include "support/scratch.hpp"

namespace tamvek::modflow {
namespace {

TEST(ModelText, WordsCommentsAndTheMarkBeforeUtf8) {
  const struct {
    const char* line;
    std::vector<std::string> words;
    const char* data;
  } cases[] = {
      {"  DIS6  'my model.dis'  dis", {"DIS6", "my model.dis", "dis"}, "  DIS6  'my model.dis'  dis"},
      {"1.0, 2.0 3*4 # widths", {"1.0", "2.0", "3*4"}, "1.0, 2.0 3*4 "},
      {"1.0 ! remark", {"1.0"}, "1.0 "},
      {"1.0 // remark", {"1.0"}, "1.0 "},
      {"a#b c", {"a#b", "c"}, "a#b c"},
      {"\tNLAY\t1\r", {"NLAY", "1"}, "\tNLAY\t1\r"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.words, split_words(c.line, Comments::mf6)) << c.line;
    EXPECT_EQ(c.data, data_part(c.line, Comments::mf6)) << c.line;
  }

  testing::ScratchDir dir;
  dir.write("gwf.dis", "\xEF\xBB\xBF" "BEGIN OPTIONS\r\n\r\n# a comment\r\n  LENGTH_UNITS feet\r\nEND OPTIONS\r\n");
  const ModelText text = read_model_text(dir.file("gwf.dis"), Comments::mf6);
  ASSERT_EQ(3u, text.lines.size());
  EXPECT_EQ((std::vector<std::string>{"BEGIN", "OPTIONS"}), text.lines[0].words);
  EXPECT_EQ(4u, text.lines[1].number);
}

TEST(ModelText, NumbersAsFortranWritesThem) {
  const struct {
    const char* word;
    bool ok;
    double value;
  } cases[] = {
      {"2640.", true, 2640}, {".5", true, 0.5},     {"1E3", true, 1000},  {"1.0D0", true, 1},
      {"+2", true, 2},       {"1.5+2", true, 150},  {"1.5d-1", true, 0.15}, {"1e400", false, 0},
      {"nan", false, 0},     {"1,0", false, 0},     {"l000.0", false, 0}, {"", false, 0},
  };
  for (const auto& c : cases) {
    double value = -1;
    EXPECT_EQ(c.ok, parse_real(c.word, value)) << c.word;
    if (c.ok) {
      EXPECT_DOUBLE_EQ(c.value, value) << c.word;
    }
  }
}

}  // namespace
}  // namespace tamvek::modflow
