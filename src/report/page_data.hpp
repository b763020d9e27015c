#pragma once

#include <string>
#include <vector>

#include "report/check_report.hpp"
#include "report/layer.hpp"
#include "report/problem_log.hpp"
#include "report/source_files.hpp"
#include "state/run_state.hpp"

namespace tamvek::report {

// Everything the page shows, read from a finished year.
struct ReportData {
  std::string cyear;
  Grid grid;
  std::vector<bool> active;  // cell order
  std::vector<Layer> layers; // the six months, the season, the acreage
  CheckReport check;
  ProblemSummary problems;
  std::vector<SourceFile> files;
};

// The page's data: one JSON object, safe inside a <script> element, with the
// cells of each layer in the compact form of cell_encoding.hpp.
std::string page_data(const ReportData& data);

}  // namespace tamvek::report
