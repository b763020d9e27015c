#pragma once

#include <string>
#include <vector>

#include "results/check_report.hpp"
#include "results/layer.hpp"
#include "results/problem_log.hpp"
#include "report/source_files.hpp"
#include "state/run_state.hpp"

namespace tamvek::report {

// Everything the page shows, read from a finished year.
struct ReportData {
  std::string cyear;
  Grid grid;
  std::vector<bool> active;  // cell order
  std::vector<results::Layer> layers; // the six months, the season, the acreage
  results::CheckReport check;
  results::ProblemSummary problems;
  std::vector<SourceFile> files;
};

// The page's data: one JSON object, safe inside a <script> element, with the
// cells of each layer in the compact form of cell_encoding.hpp.
std::string page_data(const ReportData& data);

}  // namespace tamvek::report
