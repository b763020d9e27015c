#include "modflow/year_arrays.hpp"

#include "results/array_field.hpp"
#include "results/array_file.hpp"
#include "results/check_report.hpp"
#include "results/result_error.hpp"
#include "state/file_names.hpp"
#include "state/year.hpp"
#include "text/f61_write.hpp"

namespace tamvek::modflow {
namespace {

results::Layer read_checked(const Io& io, const Grid& grid, const std::string& name) {
  results::Layer layer("", name);
  results::read_array(io, grid, layer);
  for (std::size_t cell = 0; cell < layer.tenths.size(); ++cell)
    if (layer.tenths[cell] == results::no_value) {
      const auto nx = static_cast<std::size_t>(grid.nx);
      throw results::ResultError{
          name, "row " + std::to_string(cell / nx + 1) + ", column " + std::to_string(cell % nx + 1) +
                    ": \"" + layer.fields.substr(cell * f61_field_width, f61_field_width) +
                    "\" has lost its value (it did not fit its field), and the volume of the "
                    "month with it"};
    }
  return layer;
}

}  // namespace

std::int64_t YearArrays::tenths() const {
  std::int64_t sum = 0;
  for (const MonthArray& month : months) sum += month.tenths;
  return sum;
}

YearArrays read_year(const Io& io, const Grid& grid, int year) {
  const std::string cyear = year_text(year);
  results::read_check_report(io, cyear);
  YearArrays arrays;
  arrays.year = year;
  for (int month = first_irrigation_month; month <= last_irrigation_month; ++month) {
    MonthArray& entry = arrays.months[irrigation_month_index(month)];
    entry.month = month;
    entry.name = monthly_array_file(cyear, month).name;
    const results::Layer layer = read_checked(io, grid, entry.name);
    for (std::size_t cell = 0; cell < layer.tenths.size(); ++cell) {
      const std::int32_t tenths = layer.tenths[cell];
      entry.tenths += tenths;
      entry.absolute_tenths += tenths < 0 ? -tenths : tenths;
      // A field that fills its six characters runs into the one before it on
      // its record; the first field of a record has none before it.
      const std::size_t column = cell % static_cast<std::size_t>(grid.nx);
      if (column % f61_fields_per_record != 0 && layer.fields[cell * f61_field_width] != ' ')
        entry.touching = true;
    }
  }
  return arrays;
}

results::Layer read_month_array(const Io& io, const Grid& grid, const std::string& name) {
  return read_checked(io, grid, name);
}

}  // namespace tamvek::modflow
