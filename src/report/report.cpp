#include "report/report.hpp"

#include <cstdio>
#include <memory>

#include "output/irrigation_months.hpp"
#include "results/array_file.hpp"
#include "results/check_report.hpp"
#include "report/esri_grid.hpp"
#include "results/made_to_end.hpp"
#include "results/output_set.hpp"
#include "report/page_data.hpp"
#include "report/page_template.hpp"
#include "results/problem_log.hpp"
#include "results/result_error.hpp"
#include "results/static_inputs.hpp"
#include "state/file_names.hpp"
#include "state/run_state.hpp"

namespace tamvek::report {

using results::Layer;
using results::season_of;
using results::read_check_report;
using results::read_problem_log;
using results::OutputSet;
using results::read_array;
using results::read_static_inputs;
namespace {

// Reads every file of the finished year, in the order a run writes them; the
// check report comes first among the outputs, since a run that stopped early
// shows there first.
ReportData read_year(Run& run) {
  ReportData data;
  data.cyear = run.cyear;
  data.active = read_static_inputs(run);
  data.grid = run.grid;
  data.files.push_back(source_file(run.io, parameter_file().name));
  data.files.push_back(source_file(run.io, active_cell_file().name));

  data.check = read_check_report(run.io, run.cyear);
  data.files.push_back(source_file(run.io, check_report_file(run.cyear).name));

  for (int month = first_irrigation_month; month <= last_irrigation_month; ++month) {
    Layer layer(std::string(monthno[static_cast<std::size_t>(month - 1)]),
                monthly_array_file(run.cyear, month).name);
    read_array(run.io, run.grid, layer);
    data.files.push_back(source_file(run.io, *layer.file));
    data.layers.push_back(std::move(layer));
  }
  Layer acres(std::string(results::acreage_id), acreage_array_file(run.cyear).name);
  read_array(run.io, run.grid, acres);
  data.files.push_back(source_file(run.io, *acres.file));
  data.layers.push_back(season_of(data.layers));
  data.layers.push_back(std::move(acres));

  data.problems = read_problem_log(run.io, run.cyear, run.grid);
  data.files.push_back(source_file(run.io, problem_log_file(run.cyear).name));
  return data;
}

std::string grid_name(const std::string& cyear, const std::string& id) {
  return std::string(chout) + cyear + "." + id + ".asc";
}

// Writes the grids and then the page, and puts them in place together.
std::vector<std::string> write_report(const Io& io, const ReportData& data) {
  OutputSet outputs(io);
  std::vector<std::string> names;
  for (const Layer& layer : data.layers) {
    names.push_back(grid_name(data.cyear, layer.id));
    outputs.write(names.back(), esri_grid(data.grid, data.active, layer));
  }
  names.push_back(std::string(chout) + page_leaf(data.cyear));
  outputs.write(names.back(), filled_page(page_template, page_data(data)));
  outputs.commit();
  return names;
}

}  // namespace

int report_to_end(Io& io, const std::string& cyear) {
  return written_to_end(io, [&] {
    const auto run = std::make_unique<Run>(io);
    run->cyear = cyear;
    const ReportData data = read_year(*run);
    return write_report(io, data);
  });
}

int written_to_end(Io& io, const std::function<std::vector<std::string>()>& make) {
  std::vector<std::string> written;
  const int status = results::made_to_end(io, "tamvek-report", [&] {
    written = make();
    return 0;
  });
  if (status == 0)
    for (const std::string& name : written) std::printf(" ..written %s\n", name.c_str());
  return status;
}

}  // namespace tamvek::report
