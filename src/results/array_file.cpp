#include "results/array_file.hpp"

#include <algorithm>

#include "results/array_field.hpp"
#include "results/result_error.hpp"
#include "results/result_file.hpp"
#include "text/f61_write.hpp"

namespace tamvek::results {
namespace {

// A row of 400 takes 326 fields, then 74.
constexpr std::size_t field_width = f61_field_width;
constexpr auto fields_per_record = static_cast<std::int32_t>(f61_fields_per_record);

std::string grid_shape(const Grid& grid) {
  return std::to_string(grid.ny) + " rows of " + std::to_string(grid.nx) + " columns";
}

}  // namespace

void read_array(const Io& io, const Grid& grid, Layer& layer) {
  std::string text;
  read_array(io, grid, layer, text);
}

void read_array(const Io& io, const Grid& grid, Layer& layer, std::string& text) {
  const std::string& name = *layer.file;
  read_result_file(io, name, text);
  const auto cells = static_cast<std::size_t>(grid.ny) * static_cast<std::size_t>(grid.nx);
  layer.tenths.assign(cells, 0);
  layer.fields.assign(cells * field_width, ' ');

  RecordReader records(name, text);
  std::string_view record;
  std::size_t cell = 0;
  for (std::int32_t row = 1; row <= grid.ny; ++row) {
    for (std::int32_t first = 1; first <= grid.nx; first += fields_per_record) {
      const std::int32_t count = std::min(fields_per_record, grid.nx - first + 1);
      if (!records.next(record))
        throw ResultError{name, "cut short: it ends after " + std::to_string(row - 1) +
                                    " of the grid's " + std::to_string(grid.ny) + " rows"};
      const std::size_t width = static_cast<std::size_t>(count) * field_width;
      if (record.size() != width)
        throw ResultError{
            name, "record " + std::to_string(records.number()) + " (row " + std::to_string(row) +
                      ") holds " + std::to_string(record.size()) + " characters where " +
                      std::to_string(count) + " fields of " + std::to_string(field_width) + " need " + std::to_string(width) +
                      ": the array does not match the grid definition (" + grid_shape(grid) +
                      ")"};
      for (std::int32_t i = 0; i < count; ++i, ++cell) {
        const std::string_view field = record.substr(static_cast<std::size_t>(i) * field_width,
                                                     field_width);
        const auto tenths = field_tenths(field);
        if (!tenths)
          throw ResultError{name, "record " + std::to_string(records.number()) + ", field " +
                                      std::to_string(i + 1) + " (row " + std::to_string(row) +
                                      ", column " + std::to_string(first + i) + "): \"" +
                                      printable(field) + "\" is not a number"};
        layer.tenths[cell] = *tenths;
        field.copy(layer.fields.data() + cell * field_width, field_width);
      }
    }
  }
  if (!records.at_end())
    throw ResultError{name, "more than the grid's " + std::to_string(grid.ny) +
                                " rows: the array does not match the grid definition (" +
                                grid_shape(grid) + ")"};
}

}  // namespace tamvek::results
