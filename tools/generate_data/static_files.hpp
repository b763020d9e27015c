#pragma once

// The five static files: parameter file, active-cell grid, county grid,
// monthly factors by county, tract coordinates.

#include <array>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "layout.hpp"
#include "options.hpp"
#include "random.hpp"
#include "record_writer.hpp"
#include "survey.hpp"

namespace tamvek::generate {

// Return-flow factors by irrigation system type, in hundredths: flood, furrow,
// sprinkler, drip, then less common kinds.
inline constexpr std::array<int, 10> return_flow_hundredths = {35, 20, 10, 5, 15, 25, 30, 8, 12, 3};
// How common each system type is, in the same order.
inline constexpr std::array<int, 10> system_type_weights = {35, 25, 25, 10, 3, 2, 1, 1, 1, 1};

inline constexpr int county_records = 44;
inline constexpr int fields_per_grid_record = 326;

inline void write_parameter_file(const std::filesystem::path& path, const Options& options,
                                 const Layout& layout) {
  RecordWriter out(path, options.crlf);
  out.field(options.ny);
  out.field(options.nx);
  out.end_record();
  out.trimmed(std::int64_t{options.cell_feet} * 100, 2);
  out.trimmed(std::int64_t{options.cell_feet} * 100, 2);
  out.end_record();
  out.trimmed(layout.xg0_hundredths, 2);
  out.trimmed(layout.yg0_hundredths, 2);
  out.end_record();
  out.field(options.nfactors);
  out.end_record();
  for (int i = 0; i < options.nfactors; ++i) {
    out.trimmed(return_flow_hundredths[static_cast<std::size_t>(i)], 2);
    out.end_record();
  }
  out.close();
}

// One row per grid row, north first, in two-character fields; a row longer
// than 326 values goes on in a further record. `header`, if not empty, is
// written as a first record of its own.
inline void write_grid_file(const std::filesystem::path& path, const Options& options,
                            const CellGrids& grids, const std::vector<int>& values,
                            std::string_view header) {
  RecordWriter out(path, options.crlf);
  if (!header.empty()) out.record(header);
  for (int irow = 1; irow <= grids.ny; ++irow) {
    for (int icol = 1; icol <= grids.nx; ++icol) {
      if (icol > 1 && (icol - 1) % fields_per_grid_record == 0) out.end_record();
      out.padded(values[grids.index(icol, irow)], 2);
    }
    out.end_record();
  }
  out.close();
}

// 44 records, one per county: its number, then the shares of the annual
// return for May to October in thousandths. Every county's six shares add up
// to exactly 1.000, counties beyond those on the grid included.
inline void write_monthly_factors(const std::filesystem::path& path, const Options& options,
                                  Random& random) {
  constexpr std::array<int, 6> typical = {85, 160, 245, 245, 165, 100};
  RecordWriter out(path, options.crlf);
  for (int county = 1; county <= county_records; ++county) {
    std::array<int, 6> share{};
    int sum = 0;
    for (std::size_t month = 0; month < 5; ++month) {
      share[month] = typical[month] + static_cast<int>(random.between(-15, 15));
      sum += share[month];
    }
    share[5] = 1000 - sum;
    out.field(county);
    for (const int thousandths : share) out.fixed(thousandths, 3);
    out.end_record();
  }
  out.close();
}

// A record for every tract of the surveyed block, sorted by key, at the
// tract's centre give or take 30 ft (surveys are never quite regular).
inline long write_tract_coordinates(const std::filesystem::path& path, const Options& options,
                                    const Layout& layout, Random& random) {
  RecordWriter out(path, options.crlf);
  long records = 0;
  for (int twp = layout.twp_first; twp < layout.twp_first + layout.twp_count; ++twp) {
    for (int rng = layout.rng_first; rng < layout.rng_first + layout.rng_count; ++rng) {
      for (int sec = 1; sec <= sections_per_township; ++sec) {
        for (int tract = 1; tract <= tracts_per_section; ++tract) {
          const TractPosition at = position_of({twp, rng, sec, tract});
          const std::int64_t x =
              (survey_west_feet + std::int64_t{at.column} * tract_feet + tract_feet / 2) * 100 +
              random.between(-3000, 3000);
          const std::int64_t y =
              (survey_south_feet + std::int64_t{at.row} * tract_feet + tract_feet / 2) * 100 +
              random.between(-3000, 3000);
          out.field(twp);
          out.field(rng);
          out.field(sec);
          out.field(tract);
          out.fixed(x, 2);
          out.fixed(y, 2);
          out.end_record();
          ++records;
        }
      }
    }
  }
  out.close();
  return records;
}

}  // namespace tamvek::generate
