#include "modflow/array_text.hpp"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <vector>

namespace tamvek::modflow {
namespace {

TEST(ArrayText, RowsOfTheGridAndTenValuesALine) {
  const std::vector<double> values = {0.0, 1.5, -0.25, -0.0, 1e-300, 12, 3, 4, 5, 6, 7, 8, 9};
  std::string buffer;
  EXPECT_EQ(array_text(values, 3, buffer), "0 1.5 -0.25\n0 1e-300 12\n3 4 5\n6 7 8\n9\n");
  // The buffer is reused: a shorter array after a longer one is only its own text.
  EXPECT_EQ(array_text(std::span(values).first(12), 12, buffer), "0 1.5 -0.25 0 1e-300 12 3 4 5 6\n7 8\n");
  EXPECT_EQ(array_text({}, 3, buffer), "");
}

// Every value reads back as the same double, which is what keeps a volume
// exact through the package.
TEST(ArrayText, ValuesReadBackExactly) {
  std::mt19937_64 random(21);
  std::vector<double> values(5000);
  for (double& value : values) {
    const std::uint64_t bits = random();
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value)) value = static_cast<double>(bits % 1000) / 7;
  }
  std::string buffer;
  std::istringstream text(std::string(array_text(values, 70, buffer)));
  for (const double value : values) {
    std::string word;
    ASSERT_TRUE(text >> word);
    EXPECT_EQ(std::strtod(word.c_str(), nullptr), value) << word;
  }
}

}  // namespace
}  // namespace tamvek::modflow
