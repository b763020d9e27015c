// The report page in a real browser: tamvek and tamvek-report on the example
// year, one group made to divert so much that some fields overflow, the page
// opened from disk in headless Chromium, and the colours of known cells read
// off its screenshot and compared with the colour scale for the arrays' values.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include "report/browser_view.hpp"
#endif
#include "support/png_image.hpp"
#include "support/scratch.hpp"

namespace tamvek::testing {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
TEST(ReportPage, EveryMapIsDrawnAndKnownCellsHaveTheColoursOfTheirValues) {
  GTEST_SKIP() << "the page is tested in Debian's headless Chromium, on Linux";
}
#else
constexpr int layer_count = 8;
constexpr int cell_pixels = 8;
constexpr int overflow = 1000000;  // tenths of a field written as ******

// The page's colours outside the scale, and viridis at 0, 1/8, ..., 1 of it.
const Rgb inactive_colour{169, 169, 169};
const Rgb zero_colour{250, 246, 236};
const Rgb overflow_colour{228, 0, 124};
const Rgb mark_colour{17, 17, 17};
const std::array<Rgb, 9> viridis{{{0x44, 0x01, 0x54}, {0x47, 0x2d, 0x7b}, {0x3b, 0x52, 0x8b},
                                  {0x2c, 0x72, 0x8e}, {0x21, 0x91, 0x8c}, {0x27, 0xad, 0x81},
                                  {0x5c, 0xc8, 0x63}, {0xaa, 0xdc, 0x32}, {0xfd, 0xe7, 0x25}}};

std::string read_file(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

std::vector<std::string> records_of(const std::string& path) {
  std::vector<std::string> records;
  std::istringstream text(read_file(path));
  for (std::string record; std::getline(text, record);) {
    if (!record.empty() && record.back() == '\r') record.pop_back();
    records.push_back(record);
  }
  return records;
}

// A six-character field in tenths, read digit by digit.
int field_tenths(std::string field) {
  if (field == "******") return overflow;
  field.erase(0, field.find_first_not_of(' '));
  const bool negative = field.starts_with('-');
  int tenths = 0;
  for (char c : field)
    if (c >= '0' && c <= '9') tenths = 10 * tenths + (c - '0');
  return negative ? -tenths : tenths;
}

// A grid file's `width`-character fields, cell by cell from the top left;
// a row starts a record and takes 326 fields a record.
std::vector<int> grid_values(const std::string& path, int ny, int nx, int width) {
  const std::vector<std::string> records = records_of(path);
  std::vector<int> values;
  std::size_t record = 0;
  for (int row = 0; row < ny; ++row) {
    for (int col = 0; col < nx; ++col) {
      if (col % 326 == 0 && (row > 0 || col > 0)) ++record;
      const std::string field = records.at(record).substr(static_cast<std::size_t>((col % 326) * width),
                                                          static_cast<std::size_t>(width));
      values.push_back(width == 6 ? field_tenths(field) : std::stoi(field));
    }
  }
  return values;
}

// The scale's colour at `share` of the way from the smallest to the largest value.
Rgb scale_colour(double share) {
  const double at = share * (viridis.size() - 1);
  const std::size_t below = std::min(static_cast<std::size_t>(at), viridis.size() - 2);
  const double f = at - static_cast<double>(below);
  const auto mix = [f](std::uint8_t a, std::uint8_t b) {
    return static_cast<std::uint8_t>(std::lround(a + (b - a) * f));
  };
  const Rgb &a = viridis[below], &b = viridis[below + 1];
  return {mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b)};
}

struct Layer {
  std::string id;
  std::vector<int> tenths;
  bool marks;
};

TEST(ReportPage, EveryMapIsDrawnAndKnownCellsHaveTheColoursOfTheirValues) {
  ASSERT_TRUE(fs::exists(browser)) << "no headless Chromium: apt-get install chromium-headless-shell";
  const std::string root = TAMVEK_SOURCE_DIR "/examples/root";
  const std::string statics = root + "/BAVO/QZ/static/";
  ScratchDir work;
  work.write("authacres2010.txt", read_file(TAMVEK_SOURCE_DIR "/examples/work/authacres2010.txt"));
  work.write("tamvek2010.txt",
             read_file(TAMVEK_SOURCE_DIR "/examples/work/tamvek2010.txt") + "1 0 100000000 1000000 0\n");
  fs::create_directory(work.file("out"));
  ASSERT_EQ(0, run_program({"2010"}, work.path(), root, "go\n").status);
  ASSERT_EQ(0, std::system(("cd " + quoted(work.path()) + " && TAMVEK_ROOT=" + quoted(root) + " " +
                            quoted(TAMVEK_REPORT_PROGRAM) + " 2010 >/dev/null 2>&1").c_str()));
  const std::string page = work.file("out/report2010.html");

  int ny = 0, nx = 0;
  std::istringstream(read_file(statics + "tamvek.par")) >> ny >> nx;
  const std::vector<int> ibound = grid_values(statics + "02.ibound", ny, nx, 2);
  const auto cells = static_cast<std::size_t>(ny * nx);
  std::set<std::size_t> marked;  // cells holding tracts the problem log puts on an inactive cell
  for (const std::string& record : records_of(work.file("out/output2010.dat"))) {
    int count = 0, row = 0, col = 0;
    if (record.find("condition 3") != std::string::npos && std::istringstream(record) >> count >> row >> col)
      marked.insert(static_cast<std::size_t>((row - 1) * nx + col - 1));
  }
  std::vector<Layer> layers{{"07", grid_values(work.file("out/2010.07.rcs"), ny, nx, 6), false},
                            {"season", std::vector<int>(cells, 0), true},
                            {"acres", grid_values(work.file("out/2010.asw"), ny, nx, 6), false}};
  for (const char* month : {"05", "06", "07", "08", "09", "10"}) {
    const std::vector<int> tenths = grid_values(work.file("out/2010." + std::string(month) + ".rcs"), ny, nx, 6);
    for (std::size_t i = 0; i < tenths.size(); ++i) {
      int& sum = layers[1].tenths[i];
      sum = sum == overflow || tenths[i] == overflow ? overflow : sum + tenths[i];
    }
  }

  int overflow_cells_seen = 0;
  for (const Layer& layer : layers) {
    SCOPED_TRACE("layer " + layer.id);
    const BrowserView view = open_in_browser(
        page, "#layer=" + layer.id + "&cell=" + std::to_string(cell_pixels) + (layer.marks ? "" : "&marks=0"));
    ASSERT_EQ(std::to_string(layer_count), attribute(view.dom, "<html", "data-ready")) << "not every map was drawn";
    ASSERT_EQ(std::to_string(cell_pixels), attribute(view.dom, "<canvas id=\"map\"", "data-cell"));
    const int left = std::stoi(attribute(view.dom, "<canvas id=\"map\"", "data-left"));
    const int top = std::stoi(attribute(view.dom, "<canvas id=\"map\"", "data-top"));

    // The cells to look at: the first of each kind, the ends of the scale and its middle.
    const auto& v = layer.tenths;
    int lo = overflow, hi = -overflow;
    for (std::size_t i = 0; i < v.size(); ++i)
      if (ibound[i] != 0 && v[i] != 0 && v[i] != overflow) lo = std::min(lo, v[i]), hi = std::max(hi, v[i]);
    ASSERT_LT(lo, hi);
    struct Look { std::string what; std::size_t cell; Rgb colour; int tolerance; };
    std::vector<Look> looks;
    const auto first = [&](const std::string& what, auto&& fits, Rgb colour) {
      for (std::size_t i = 0; i < cells; ++i)
        if (fits(i) && !marked.contains(i)) return looks.push_back({what, i, colour, 0});
      ADD_FAILURE() << "the data set has no " << what;
    };
    first("inactive cell", [&](std::size_t i) { return ibound[i] == 0; }, inactive_colour);
    first("zero cell", [&](std::size_t i) { return ibound[i] != 0 && v[i] == 0; }, zero_colour);
    first("largest value", [&](std::size_t i) { return ibound[i] != 0 && v[i] == hi; }, viridis.back());
    first("smallest value", [&](std::size_t i) { return ibound[i] != 0 && v[i] == lo; }, viridis.front());
    std::size_t middle = cells;
    const auto share = [&](std::size_t i) { return static_cast<double>(v[i] - lo) / (hi - lo); };
    for (std::size_t i = 0; i < cells; ++i) {
      if (ibound[i] != 0 && v[i] != 0 && v[i] != overflow && !marked.contains(i) &&
          (middle == cells || std::abs(share(i) - 0.5) < std::abs(share(middle) - 0.5)))
        middle = i;
    }
    looks.push_back({"value in the middle of the scale", middle, scale_colour(share(middle)), 20});
    for (std::size_t i = 0; i < cells; ++i) {
      if (ibound[i] != 0 && v[i] == overflow) {
        looks.push_back({"field written as ******", i, overflow_colour, 0});
        ++overflow_cells_seen;
        break;
      }
    }
    if (layer.marks) looks.push_back({"tracts on an inactive cell", *marked.begin(), mark_colour, 0});

    for (const Look& look : looks) {
      const int row = static_cast<int>(look.cell) / nx + 1, col = static_cast<int>(look.cell) % nx + 1;
      const Rgb seen = view.picture.at(left + (col - 1) * cell_pixels + cell_pixels / 2,
                                       top + (row - 1) * cell_pixels + cell_pixels / 2);
      const int off = std::max({std::abs(seen.r - look.colour.r), std::abs(seen.g - look.colour.g),
                                std::abs(seen.b - look.colour.b)});
      EXPECT_LE(off, look.tolerance) << look.what << " at row " << row << ", column " << col << " (value "
                                     << v[look.cell] << " tenths): "
                                     << to_string(seen) << " drawn, " << to_string(look.colour) << " expected";
    }
  }
  EXPECT_GE(overflow_cells_seen, 2) << "the data set should overflow fields of a month and the season";

  // The template as it stands draws nothing and says what it is.
  const BrowserView bare = open_in_browser(TAMVEK_SOURCE_DIR "/src/report/page.html", "", false);
  EXPECT_EQ("0", attribute(bare.dom, "<html", "data-ready"));
  EXPECT_EQ("(no hidden)", attribute(bare.dom, "<div id=\"template-notice\"", "hidden"));
}
#endif

std::string from_hex(std::string_view hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
  return bytes;
}
std::string text_of(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

// Streams made by zlib; the screenshots above are dynamic Huffman blocks.
TEST(PngImage, InflatesStoredAndFixedBlocksAndRefusesDamagedStreams) {
  EXPECT_EQ("out\\2010.05.rcs\n", text_of(inflate_zlib(from_hex("7801011000efff6f75745c323031302e30352e7263730a29a6048b"))));
  const std::string fixed = from_hex("780153505030d0335040210d8df48c1530c4b90092ae06a3");
  EXPECT_EQ("   0.0   0.0   0.0  12.3   0.0   0.0   0.0\n", text_of(inflate_zlib(fixed)));
  std::string damaged = fixed;
  damaged[9] = static_cast<char>(damaged[9] ^ 0x10);
  EXPECT_THROW(inflate_zlib(damaged), std::runtime_error);
  EXPECT_THROW(inflate_zlib(fixed.substr(0, 12)), std::runtime_error);
  EXPECT_THROW(decode_png("\x89PNG\r\n\x1a\n"), std::runtime_error);
}

}  // namespace
}  // namespace tamvek::testing
