#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "generate_data/generate.hpp"
#include "support/scratch.hpp"

namespace tamvek::generate {
namespace {

using tamvek::testing::ScratchDir;

// The records of a file, without their LF or CR LF ends.
std::vector<std::string> records_of(const std::string& bytes) {
  std::vector<std::string> records;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string record = bytes.substr(start, end - start);
    if (!record.empty() && record.back() == '\r') record.pop_back();
    records.push_back(std::move(record));
    start = end + 1;
  }
  return records;
}

std::vector<std::string_view> fields_of(std::string_view record) {
  std::vector<std::string_view> fields;
  std::size_t at = 0;
  while (at < record.size()) {
    while (at < record.size() && record[at] == ' ') ++at;
    const std::size_t end = std::min(record.find(' ', at), record.size());
    if (end > at) fields.push_back(record.substr(at, end - at));
    at = end;
  }
  return fields;
}

int integer_of(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  EXPECT_TRUE(error == std::errc() && end == text.data() + text.size())
      << "not an integer: " << text;
  return value;
}

float real_of(std::string_view text) {
  float value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  EXPECT_TRUE(error == std::errc() && end == text.data() + text.size()) << "not a real: " << text;
  return value;
}

int decimals_of(std::string_view text) {
  const std::size_t point = text.find('.');
  return point == std::string_view::npos ? 0 : static_cast<int>(text.size() - point - 1);
}

// A data set generated into a scratch directory, with its files read back.
struct DataSet {
  ScratchDir dir;
  Options options;
  Summary summary;

  explicit DataSet(Options chosen) : options(std::move(chosen)) {
    options.root = dir.file("root");
    options.work = dir.file("work");
    summary = generate_data_set(options);
  }
  std::string static_file(std::string_view leaf) const {
    return dir.read("root/BAVO/QZ/static/" + std::string(leaf));
  }
  std::string yearly_file(std::string_view prefix) const {
    return dir.read("work/" + std::string(prefix) + options.year + ".txt");
  }
  std::vector<std::string> all_files() const {
    return {static_file("tamvek.par"),   static_file("02.ibound"),
            static_file("cty.flg"),      static_file("monthlyfactorsbycounty.txt"),
            static_file("40coords.dat"), yearly_file("authacres"),
            yearly_file("tamvek")};
  }
};

Options sized(Size size, std::uint64_t seed = 1) {
  Options options = preset(size);
  options.seed = seed;
  return options;
}

// The values of a grid file, row by row, from its "(326i2)" records.
std::vector<std::vector<int>> grid_values(const std::vector<std::string>& records, int nx, int ny,
                                          std::size_t first_record) {
  const std::size_t per_row = nx > 326 ? 2 : 1;
  std::vector<std::vector<int>> rows;
  for (int irow = 0; irow < ny; ++irow) {
    std::string text;
    for (std::size_t part = 0; part < per_row; ++part)
      text += records[first_record + static_cast<std::size_t>(irow) * per_row + part];
    std::vector<int> row;
    for (int icol = 0; icol < nx; ++icol) {
      const std::string_view field =
          std::string_view(text).substr(static_cast<std::size_t>(2 * icol), 2);
      row.push_back(integer_of(field.front() == ' ' ? field.substr(1) : field));
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

TEST(Survey, EveryTractKeyHasItsOwnPositionAndBack) {
  std::vector<char> seen(static_cast<std::size_t>(tract_key_count), 0);
  long keys = 0;
  for (int twp = 1; twp <= township_count; ++twp)
    for (int rng = 1; rng <= range_count; ++rng)
      for (int sec = 1; sec <= sections_per_township; ++sec)
        for (int tract = 1; tract <= tracts_per_section; ++tract) {
          const TractKey key{twp, rng, sec, tract};
          const TractPosition at = position_of(key);
          ASSERT_TRUE(at.column >= 0 && at.column < range_count * tracts_across_township &&
                      at.row >= 0 && at.row < township_count * tracts_across_township);
          ASSERT_EQ(key_at(at), key);
          char& mark = seen[static_cast<std::size_t>(at.row * range_count * tracts_across_township +
                                                     at.column)];
          ASSERT_EQ(mark, 0) << twp << ' ' << rng << ' ' << sec << ' ' << tract;
          mark = 1;
          ++keys;
        }
  EXPECT_EQ(keys, 518'400);
  EXPECT_EQ(tract_key_count, 518'400);
}

TEST(Survey, SectionsAndTractsRunBackAndForthFromTheNorthEastCorner) {
  struct Case {
    TractKey key;
    TractPosition at;
  };
  const Case cases[] = {
      {{1, 1, 1, 1}, {23, 23}},    // north-east corner of the first township
      {{1, 1, 6, 4}, {0, 23}},     // north-west corner
      {{1, 1, 7, 13}, {0, 16}},    // section 7 starts the second row at the west
      {{1, 1, 36, 16}, {23, 0}},   // south-east corner
      {{1, 1, 31, 13}, {0, 0}},    // south-west corner
      {{1, 1, 1, 5}, {20, 22}},    // tract 5 starts the section's second row at the west
      {{1, 2, 6, 4}, {24, 23}},    // the next range lies east
      {{2, 1, 36, 16}, {23, 24}},  // the next township lies north
      {{20, 45, 1, 1}, {1079, 479}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(position_of(c.key), c.at)
        << c.key.twp << ' ' << c.key.rng << ' ' << c.key.sec << ' ' << c.key.tract;
  }
}

TEST(RecordWriter, DecimalsComeFromScaledIntegers) {
  ScratchDir dir;
  {
    RecordWriter out(dir.file("numbers"), false);
    out.trimmed(4000, 2);
    out.trimmed(3850, 2);
    out.trimmed(2025, 2);
    out.trimmed(264000, 2);
    out.fixed(-5, 2);
    out.fixed(123450, 2);
    out.fixed(85, 3);
    out.field(-7);
    out.end_record();
    out.padded(-1, 2);
    out.padded(44, 2);
    out.padded(0, 2);
    out.end_record();
    out.close();
  }
  EXPECT_EQ(dir.read("numbers"), "40.0 38.5 20.25 2640.0 -0.05 1234.50 0.085 -7\n-144 0\n");
}

TEST(Options, RefusesWhatANormalRunCannotTake) {
  const auto refused = [](auto change) {
    Options options = preset(Size::example);
    options.root = "r", options.work = "w";
    change(options);
    try {
      check(options);
    } catch (const std::invalid_argument&) {
      return true;
    }
    return false;
  };
  EXPECT_FALSE(refused([](Options&) {}));
  EXPECT_TRUE(refused([](Options& o) { o.nx = 401; }));
  EXPECT_TRUE(refused([](Options& o) { o.ny = 0; }));
  EXPECT_TRUE(refused([](Options& o) { o.groups = 3001; }));
  EXPECT_TRUE(refused([](Options& o) { o.auth_records = o.groups - 1; }));
  EXPECT_TRUE(refused([](Options& o) { o.nfactors = 11; }));
  EXPECT_TRUE(refused([](Options& o) { o.year = "99"; }));
  EXPECT_FALSE(refused([](Options& o) { o.county_columns = 10, o.county_rows = 4; }));
  EXPECT_TRUE(refused([](Options& o) { o.county_columns = 11, o.county_rows = 4; }));
}

TEST(Sizes, LargestHasEveryTractKeyAndAGridThatCoversPartOfTheSurvey) {
  const Options options = preset(Size::largest);
  EXPECT_EQ(options.nx, 400);
  EXPECT_EQ(options.ny, 400);
  EXPECT_EQ(options.groups, 3000);
  EXPECT_EQ(options.auth_records, 1'000'000);
  EXPECT_EQ(options.diversions, 100'000);
  Random random(options.seed, stream::layout);
  const Layout layout = place_grid(options, random);
  EXPECT_EQ(layout.coordinate_records(), 518'400);
  EXPECT_GT(layout.grid_west, layout.block_west());
  EXPECT_LT(layout.grid_east, layout.block_east());
  EXPECT_GT(layout.grid_south, layout.block_south());
  EXPECT_LT(layout.grid_north, layout.block_north());
}

TEST(Reproducible, SameSeedSameBytesOtherSeedOtherData) {
  const DataSet first(sized(Size::example, 42));
  const DataSet again(sized(Size::example, 42));
  const DataSet other(sized(Size::example, 43));
  const auto files = first.all_files();
  EXPECT_EQ(files, again.all_files());
  EXPECT_NE(files[5], other.all_files()[5]);  // authorized acreage
  EXPECT_NE(files[4], other.all_files()[4]);  // tract coordinates
}

TEST(Reproducible, CrLfChangesOnlyTheRecordEnds) {
  Options crlf = sized(Size::example, 5);
  crlf.crlf = true;
  const DataSet lf_files(sized(Size::example, 5));
  const DataSet crlf_files(crlf);
  const auto lf = lf_files.all_files(), with_cr = crlf_files.all_files();
  for (std::size_t i = 0; i < lf.size(); ++i) {
    std::string expected;
    for (const char c : lf[i]) {
      if (c == '\n') expected += '\r';
      expected += c;
    }
    EXPECT_EQ(with_cr[i], expected) << "file " << i;
  }
}

// Every file of the example size, record by record.
class ExampleFiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { data = new DataSet(sized(Size::example, 2010)); }
  static void TearDownTestSuite() {
    delete data;
    data = nullptr;
  }
  static DataSet* data;
};
DataSet* ExampleFiles::data = nullptr;

TEST_F(ExampleFiles, ParameterFileHoldsGridAndFactorsOnePerRecord) {
  const Options& o = data->options;
  const auto records = records_of(data->static_file("tamvek.par"));
  ASSERT_EQ(records.size(), static_cast<std::size_t>(4 + o.nfactors));
  const auto size = fields_of(records[0]);
  ASSERT_EQ(size.size(), 2u);
  EXPECT_EQ(integer_of(size[0]), o.ny);
  EXPECT_EQ(integer_of(size[1]), o.nx);
  const auto cell = fields_of(records[1]);
  ASSERT_EQ(cell.size(), 2u);
  EXPECT_EQ(real_of(cell[0]), static_cast<float>(o.cell_feet));
  EXPECT_EQ(real_of(cell[1]), static_cast<float>(o.cell_feet));
  EXPECT_EQ(fields_of(records[2]).size(), 2u);
  EXPECT_EQ(integer_of(records[3]), o.nfactors);
  for (int i = 0; i < o.nfactors; ++i) {
    const float factor = real_of(records[static_cast<std::size_t>(4 + i)]);
    EXPECT_TRUE(factor > 0 && factor < 1) << factor;
  }
}

TEST_F(ExampleFiles, GridFilesHaveOneRecordPerRowAndAnIgnoredCountyHeader) {
  const Options& o = data->options;
  const auto ibound_records = records_of(data->static_file("02.ibound"));
  const auto county_records = records_of(data->static_file("cty.flg"));
  ASSERT_EQ(ibound_records.size(), static_cast<std::size_t>(o.ny));
  ASSERT_EQ(county_records.size(), static_cast<std::size_t>(o.ny + 1));
  for (const auto& record : ibound_records)
    EXPECT_EQ(record.size(), static_cast<std::size_t>(2 * o.nx));
  for (std::size_t i = 1; i < county_records.size(); ++i)
    EXPECT_EQ(county_records[i].size(), static_cast<std::size_t>(2 * o.nx));

  std::map<int, int> flags, counties;
  for (const auto& row : grid_values(ibound_records, o.nx, o.ny, 0))
    for (const int flag : row) ++flags[flag];
  for (const auto& row : grid_values(county_records, o.nx, o.ny, 1))
    for (const int county : row) ++counties[county];
  for (const auto& [flag, cells] : flags) EXPECT_TRUE(flag >= -1 && flag <= 3) << flag;
  EXPECT_GT(flags[0], 0);
  EXPECT_GT(flags[1], flags[0] / 2);
  EXPECT_GT(flags[-1], 0);
  EXPECT_GT(flags[2] + flags[3], 0);
  EXPECT_EQ(o.nx * o.ny - flags[0], data->summary.active_cells);
  EXPECT_GT(counties[0], 0);
  EXPECT_EQ(static_cast<int>(counties.size()) - 1, data->summary.counties);
  EXPECT_GE(data->summary.counties, 3);
  for (const auto& [county, cells] : counties) EXPECT_TRUE(county >= 0 && county <= 44) << county;
}

TEST_F(ExampleFiles, MonthlyFactorsAreFortyFourCountiesWhoseSixMonthsSumToOne) {
  const auto records = records_of(data->static_file("monthlyfactorsbycounty.txt"));
  ASSERT_EQ(records.size(), 44u);
  for (std::size_t k = 0; k < records.size(); ++k) {
    const auto fields = fields_of(records[k]);
    ASSERT_EQ(fields.size(), 7u) << records[k];
    EXPECT_EQ(integer_of(fields[0]), static_cast<int>(k + 1));
    float sum = 0;
    for (std::size_t month = 1; month < 7; ++month) {
      const float factor = real_of(fields[month]);
      EXPECT_GT(factor, 0.0f);
      sum += factor;
    }
    EXPECT_NEAR(sum, 1.0f, 1e-6f) << records[k];
  }
}

TEST_F(ExampleFiles, TractCoordinatesCoverTheSurveyedBlockOnceEach) {
  const Layout& layout = data->summary.layout;
  const auto records = records_of(data->static_file("40coords.dat"));
  EXPECT_EQ(static_cast<long>(records.size()), layout.coordinate_records());
  EXPECT_EQ(static_cast<long>(records.size()), data->summary.coordinate_records);
  std::set<TractKey> keys;
  for (const auto& record : records) {
    const auto f = fields_of(record);
    ASSERT_EQ(f.size(), 6u) << record;
    const TractKey key{integer_of(f[0]), integer_of(f[1]), integer_of(f[2]), integer_of(f[3])};
    ASSERT_TRUE(key_in_bounds(key)) << record;
    EXPECT_TRUE(keys.insert(key).second) << "twice: " << record;
    // Within 30 ft of the tract's centre.
    const TractPosition at = position_of(key);
    const double x = survey_west_feet + (at.column + 0.5) * tract_feet;
    const double y = survey_south_feet + (at.row + 0.5) * tract_feet;
    EXPECT_LE(std::abs(real_of(f[4]) - x), 30.5) << record;
    EXPECT_LE(std::abs(real_of(f[5]) - y), 30.5) << record;
  }
}

TEST_F(ExampleFiles, AuthorizedAcreageRecordsAreValidTractsOfValidGroups) {
  const Options& o = data->options;
  const auto records = records_of(data->yearly_file("authacres"));
  ASSERT_EQ(static_cast<long>(records.size()), o.auth_records);
  std::set<int> groups;
  int whole_forties = 0;
  for (const auto& record : records) {
    const auto f = fields_of(record);
    ASSERT_EQ(f.size(), 6u) << record;
    const int group = integer_of(f[0]);
    EXPECT_TRUE(group >= 1 && group <= o.groups) << record;
    groups.insert(group);
    EXPECT_TRUE(
        key_in_bounds({integer_of(f[1]), integer_of(f[2]), integer_of(f[3]), integer_of(f[4])}))
        << record;
    const int decimals = decimals_of(f[5]);
    EXPECT_TRUE(decimals == 1 || decimals == 2) << record;
    EXPECT_GT(real_of(f[5]), 0.0f) << record;
    whole_forties += f[5] == "40.0" ? 1 : 0;
  }
  EXPECT_EQ(static_cast<int>(groups.size()), data->summary.authorized_groups);
  EXPECT_EQ(*groups.rbegin(), o.groups);
  EXPECT_LT(groups.size(), static_cast<std::size_t>(o.groups));  // some numbers are left out
  EXPECT_GT(whole_forties, o.auth_records / 2);
  EXPECT_LT(whole_forties, o.auth_records);
}

TEST_F(ExampleFiles, DiversionsUseKnownSystemTypesAndMissSomeGroups) {
  const Options& o = data->options;
  std::set<int> authorized;
  for (const auto& record : records_of(data->yearly_file("authacres")))
    authorized.insert(integer_of(fields_of(record)[0]));
  const auto records = records_of(data->yearly_file("tamvek"));
  ASSERT_EQ(static_cast<long>(records.size()), o.diversions);
  std::set<int> diverting, types;
  for (const auto& record : records) {
    const auto f = fields_of(record);
    ASSERT_EQ(f.size(), 5u) << record;
    const int group = integer_of(f[0]);
    EXPECT_TRUE(group >= 1 && group <= o.groups) << record;
    diverting.insert(group);
    real_of(f[1]);
    EXPECT_EQ(decimals_of(f[2]), 2) << record;
    EXPECT_GE(real_of(f[2]), 0.0f) << record;
    EXPECT_EQ(decimals_of(f[3]), 2) << record;
    const int type = integer_of(f[4]);
    EXPECT_TRUE(type >= 0 && type < o.nfactors) << record;
    types.insert(type);
  }
  int without_acres = 0, without_diversion = 0;
  for (const int group : diverting) without_acres += authorized.count(group) == 0 ? 1 : 0;
  for (const int group : authorized) without_diversion += diverting.count(group) == 0 ? 1 : 0;
  EXPECT_EQ(without_acres, data->summary.diversion_only_groups);
  EXPECT_GT(without_acres, 0);
  EXPECT_GT(without_diversion, 0);
  EXPECT_GE(types.size(), 3u);
}

// The medium size: rows longer than one record, and where the tracts land.
class MediumFiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { data = new DataSet(sized(Size::medium, 9)); }
  static void TearDownTestSuite() {
    delete data;
    data = nullptr;
  }
  static DataSet* data;
};
DataSet* MediumFiles::data = nullptr;

TEST_F(MediumFiles, RowsOverThreeHundredTwentySixValuesTakeTwoRecords) {
  const Options& o = data->options;
  ASSERT_GT(o.nx, 326);
  const auto ibound_records = records_of(data->static_file("02.ibound"));
  const auto county_records = records_of(data->static_file("cty.flg"));
  ASSERT_EQ(ibound_records.size(), static_cast<std::size_t>(2 * o.ny));
  ASSERT_EQ(county_records.size(), static_cast<std::size_t>(2 * o.ny + 1));
  for (std::size_t i = 0; i < ibound_records.size(); ++i) {
    const std::size_t expected = i % 2 == 0 ? 652 : static_cast<std::size_t>(2 * (o.nx - 326));
    EXPECT_EQ(ibound_records[i].size(), expected);
    EXPECT_EQ(county_records[i + 1].size(), expected);
  }
}

TEST_F(MediumFiles, CoordinateRecordsFollowTheBlockFormula) {
  const Layout& layout = data->summary.layout;
  const auto records = records_of(data->static_file("40coords.dat"));
  EXPECT_EQ(static_cast<long>(records.size()), long{layout.twp_count} * layout.rng_count * 36 * 16);
  EXPECT_GE(layout.twp_first, 1);
  EXPECT_LE(layout.twp_first + layout.twp_count - 1, 20);
  EXPECT_GE(layout.rng_first, 1);
  EXPECT_LE(layout.rng_first + layout.rng_count - 1, 45);
}

// Locates every authorized tract on the grid, as the program does: most land
// on active cells, and some fall off each side of the grid or on inactive cells.
TEST_F(MediumFiles, MostTractsLandOnActiveCellsSomeOffEachSide) {
  const Options& o = data->options;
  const auto parameters = records_of(data->static_file("tamvek.par"));
  const float gdx = static_cast<float>(o.cell_feet), gdy = gdx;
  const float xg0 = real_of(fields_of(parameters[2])[0]),
              yg0 = real_of(fields_of(parameters[2])[1]);
  const double ytop = o.ny * double{gdy} + yg0;
  const auto ibound = grid_values(records_of(data->static_file("02.ibound")), o.nx, o.ny, 0);
  std::map<TractKey, std::pair<float, float>> coordinates;
  for (const auto& record : records_of(data->static_file("40coords.dat"))) {
    const auto f = fields_of(record);
    coordinates[{integer_of(f[0]), integer_of(f[1]), integer_of(f[2]), integer_of(f[3])}] = {
        real_of(f[4]), real_of(f[5])};
  }
  long placed = 0, west = 0, east = 0, north = 0, south = 0, inactive = 0, records = 0;
  for (const auto& record : records_of(data->yearly_file("authacres"))) {
    const auto f = fields_of(record);
    const TractKey key{integer_of(f[1]), integer_of(f[2]), integer_of(f[3]), integer_of(f[4])};
    const auto found = coordinates.find(key);
    const auto [x, y] = found == coordinates.end() ? std::pair<float, float>{0, 0} : found->second;
    const auto icol = static_cast<long>((x - xg0) / gdx + 1);
    const auto irow = static_cast<long>((ytop - y) / gdy + 1);
    ++records;
    if (icol < 1) {
      ++west;
    } else if (icol > o.nx) {
      ++east;
    } else if (irow < 1) {
      ++north;
    } else if (irow > o.ny) {
      ++south;
    } else if (ibound[static_cast<std::size_t>(irow - 1)][static_cast<std::size_t>(icol - 1)] ==
               0) {
      ++inactive;
    } else {
      ++placed;
    }
  }
  EXPECT_GT(placed, records * 7 / 10);
  EXPECT_GT(west, 0);
  EXPECT_GT(east, 0);
  EXPECT_GT(north, 0);
  EXPECT_GT(south, 0);
  EXPECT_GT(inactive, 0);
  EXPECT_LT(inactive, records / 5);
}

}  // namespace
}  // namespace tamvek::generate
