// The series page in a real browser: hand-made years with known seasons, the
// page opened from disk in headless Chromium at a chosen year, and the colours
// of known cells of the year's map, the mean map and the difference map read
// off its screenshot.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "report/hand_made_years.hpp"
#ifndef _WIN32
#include "report/browser_view.hpp"
#endif

namespace tamvek::testing {
namespace {

#ifdef _WIN32
TEST(SeriesPage, MapsOfTheYearTheMeanAndTheDifferenceAtKnownCells) {
  GTEST_SKIP() << "the page is tested in Debian's headless Chromium, on Linux";
}
#else
constexpr int cell_pixels = 16;
using Stops = std::vector<Rgb>;
const Stops viridis{{0x44, 0x01, 0x54}, {0x47, 0x2d, 0x7b}, {0x3b, 0x52, 0x8b}, {0x2c, 0x72, 0x8e},
                    {0x21, 0x91, 0x8c}, {0x27, 0xad, 0x81}, {0x5c, 0xc8, 0x63}, {0xaa, 0xdc, 0x32},
                    {0xfd, 0xe7, 0x25}};
const Stops diverging{{33, 102, 172}, {247, 247, 247}, {178, 24, 43}};
const Rgb inactive{169, 169, 169};
const Rgb zero{250, 246, 236};
const Rgb overflow{228, 0, 124};

// The colour of a scale of 256 steps spread over its stops, `share` of the way along.
Rgb scale(const Stops& stops, double share) {
  const double at = std::round(share * 255) / 255 * static_cast<double>(stops.size() - 1);
  const std::size_t below = std::min(static_cast<std::size_t>(at), stops.size() - 2);
  const double f = at - static_cast<double>(below);
  const auto mix = [f](std::uint8_t a, std::uint8_t b) {
    return static_cast<std::uint8_t>(std::lround(a + (b - a) * f));
  };
  const Rgb &a = stops[below], &b = stops[below + 1];
  return {mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b)};
}

// A year whose season is May's array: the other months are zero but for `june`.
HandMadeYears::Year season_year(const std::string& cyear, std::array<const char*, 6> may,
                                std::array<const char*, 6> june) {
  HandMadeYears::Year year = HandMadeYears::year_2010();
  year.cyear = cyear;
  const std::string zeros =
      HandMadeYears::array({"   0.0", "   0.0", "   0.0", "   0.0", "   0.0", "   0.0"});
  year.months = {HandMadeYears::array(may), HandMadeYears::array(june), zeros, zeros, zeros, zeros};
  return year;
}

struct Look {
  const char* map;
  int row, col;
  Rgb colour;
};

TEST(SeriesPage, MapsOfTheYearTheMeanAndTheDifferenceAtKnownCells) {
  ASSERT_TRUE(std::filesystem::exists(browser)) << "no headless Chromium: apt-get install chromium-headless-shell";
  // Seasons in tenths, cell by cell; row 2, column 3 is inactive.
  //   2010: 10 0 40 / 20 30 99     2012: 30 0 40 / 20 ****** 99     2013: 20 0 10 / 50 30 99
  // Means: 20 0 30 / 30 30 (2012 has no value at row 2, column 2); the values
  // run from 10 to 50; the differences of 2013 from -20 to +20, of 2012 from
  // -10 to +10.
  const std::array<const char*, 6> none{"   0.0", "   0.0", "   0.0", "   0.0", "   0.0", "   0.0"};
  HandMadeYears years;
  years.write(season_year("2010", {"   1.0", "   0.0", "   4.0", "   2.0", "   3.0", "   9.9"}, none));
  years.write(season_year("2012", {"   3.0", "   0.0", "   4.0", "   2.0", "   3.0", "   9.9"},
                          {"   0.0", "   0.0", "   0.0", "   0.0", "******", "   0.0"}));
  years.write(season_year("2013", {"   2.0", "   0.0", "   1.0", "   5.0", "   3.0", "   9.9"}, none));
  years.work.write("out/report2010.html", "the page of 2010\n");
  ASSERT_EQ(years.report({"2010", "2013"}).status, 0);
  const std::string page = years.work.file("out/report2010-2013.html");

  const struct {
    const char* year;
    std::vector<Look> looks;
  } views[] = {
      {"2013",
       {{"map-year", 1, 1, scale(viridis, 0.25)}, {"map-year", 1, 2, zero},
        {"map-year", 1, 3, viridis.front()}, {"map-year", 2, 1, viridis.back()},
        {"map-year", 2, 3, inactive}, {"map-mean", 1, 1, scale(viridis, 0.25)},
        {"map-mean", 1, 2, zero}, {"map-mean", 1, 3, scale(viridis, 0.5)},
        {"map-mean", 2, 2, scale(viridis, 0.5)}, {"map-diff", 1, 1, scale(diverging, 0.5)},
        {"map-diff", 1, 3, diverging.front()}, {"map-diff", 2, 1, diverging.back()},
        {"map-diff", 2, 3, inactive}}},
      {"2012",
       {{"map-year", 1, 1, scale(viridis, 0.5)}, {"map-year", 2, 2, overflow},
        {"map-diff", 1, 1, diverging.back()}, {"map-diff", 1, 2, scale(diverging, 0.5)},
        {"map-diff", 1, 3, diverging.back()}, {"map-diff", 2, 1, diverging.front()},
        {"map-diff", 2, 2, overflow}}},
  };
  for (const auto& shown : views) {
    SCOPED_TRACE(shown.year);
    const BrowserView view = open_in_browser(
        page, "#year=" + std::string(shown.year) + "&cell=" + std::to_string(cell_pixels), true,
        "1100,2600");
    ASSERT_EQ("3", attribute(view.dom, "<html", "data-ready")) << "not every year was read";
    EXPECT_NE(view.dom.find("<p id=\"missing-years\" class=\"num\">2011</p>"), std::string::npos);
    EXPECT_NE(view.dom.find("<span id=\"year-shown\">" + std::string(shown.year) + "</span>"),
              std::string::npos);
    EXPECT_NE(view.dom.find("href=\"report2010.html\""), std::string::npos);
    EXPECT_EQ(view.dom.find("href=\"report2013.html\""), std::string::npos);
    for (const Look& look : shown.looks) {
      const std::string canvas = "<canvas id=\"" + std::string(look.map) + "\"";
      ASSERT_EQ(std::to_string(cell_pixels), attribute(view.dom, canvas, "data-cell"));
      const int left = std::stoi(attribute(view.dom, canvas, "data-left"));
      const int top = std::stoi(attribute(view.dom, canvas, "data-top"));
      const Rgb seen = view.picture.at(left + (look.col - 1) * cell_pixels + cell_pixels / 2,
                                       top + (look.row - 1) * cell_pixels + cell_pixels / 2);
      const int off = std::max({std::abs(seen.r - look.colour.r), std::abs(seen.g - look.colour.g),
                                std::abs(seen.b - look.colour.b)});
      EXPECT_LE(off, 1) << look.map << " at row " << look.row << ", column " << look.col << ": "
                        << to_string(seen) << " drawn, " << to_string(look.colour) << " expected";
    }
  }

  // The template as it stands draws nothing and says what it is.
  const BrowserView bare = open_in_browser(TAMVEK_SOURCE_DIR "/src/report/series.html", "", false);
  EXPECT_EQ("0", attribute(bare.dom, "<html", "data-ready"));
  EXPECT_EQ("(no hidden)", attribute(bare.dom, "<div id=\"template-notice\"", "hidden"));
}
#endif

}  // namespace
}  // namespace tamvek::testing
