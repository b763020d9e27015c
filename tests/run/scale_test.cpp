#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>

#include "generate_data/generate.hpp"
#include "support/scratch.hpp"

namespace tamvek {
namespace {

using testing::ScratchDir;

std::vector<std::string> lines_of(const std::string& bytes) {
  std::vector<std::string> lines;
  std::istringstream in(bytes);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<double> numbers_of(const std::string& record) {
  std::vector<double> numbers;
  std::istringstream in(record);
  for (double value; in >> value;) numbers.push_back(value);
  return numbers;
}

// The groups' total return and acreage worked out from the input files, in
// double precision: factor of the system type times diversion, over the
// diversion records of groups 1..3000.
struct GroupTotals {
  double return_flow = 0;
  double acreage = 0;
};
GroupTotals totals_of(const ScratchDir& root, const ScratchDir& work) {
  const std::vector<std::string> parameters =
      lines_of(root.read("BAVO/QZ/static/tamvek.par"));
  std::vector<double> factors;
  for (std::size_t i = 4; i < parameters.size(); ++i) factors.push_back(numbers_of(parameters[i])[0]);
  GroupTotals totals;
  for (const std::string& record : lines_of(work.read("tamvek2010.txt"))) {
    const std::vector<double> fields = numbers_of(record);
    if (fields[0] > 3000) continue;
    totals.return_flow += factors.at(static_cast<std::size_t>(fields[4])) * fields[2];
    totals.acreage += fields[3];
  }
  return totals;
}

TEST(Scale, TheLargestDataSetRunsWholeAndBalances) {
  ScratchDir root;
  ScratchDir work;
  generate::Options options = generate::preset(generate::Size::largest);
  options.root = root.path();
  options.work = work.path();
  options.seed = 3;
  generate::generate_data_set(options);

  const testing::ProgramRun run = testing::run_program({"2010"}, work.path(), root.path(), "go\n");
  ASSERT_EQ(run.status, 0) << run.err;

  for (const char* array : {"out/2010.05.rcs", "out/2010.06.rcs", "out/2010.07.rcs", "out/2010.08.rcs",
                            "out/2010.09.rcs", "out/2010.10.rcs", "out/2010.asw"}) {
    const std::vector<std::string> records = lines_of(work.read(array));
    ASSERT_EQ(records.size(), 800u) << array;
    for (std::size_t i = 0; i < records.size(); ++i)
      ASSERT_EQ(records[i].size(), (i % 2 == 0 ? 326u : 74u) * 6 + 1) << array << " record " << i;
  }

  const std::vector<std::string> report = lines_of(work.read("out/check2010.out"));
  ASSERT_EQ(report.size(), 16u);
  const std::vector<double> sums = numbers_of(report[13]);    // sumtr suma sumretout ...
  const std::vector<double> unplaced = numbers_of(report[15]);  // sumretout sumacresout
  ASSERT_EQ(sums.size(), 5u);
  ASSERT_EQ(unplaced.size(), 2u);
  EXPECT_EQ(sums[2], unplaced[0]);
  const GroupTotals totals = totals_of(root, work);
  // The placed return, split over the months by factors that sum to 1, and
  // the return that reached no cell make up the groups' whole return.
  EXPECT_GT(unplaced[0], 0.01 * totals.return_flow);
  EXPECT_NEAR(sums[0] + unplaced[0], totals.return_flow, 1e-4 * totals.return_flow);
  EXPECT_NEAR(sums[1] + unplaced[1], totals.acreage, 1e-4 * totals.acreage);
}

}  // namespace
}  // namespace tamvek
