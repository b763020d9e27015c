#include "modflow/regrid.hpp"

#include <cmath>
#include <stdexcept>

namespace tamvek::modflow {

std::vector<std::uint8_t> active_columns(std::span<const double> codes, std::size_t cells_per_layer,
                                         ActiveCode kind) {
  if (cells_per_layer == 0 || codes.size() % cells_per_layer != 0) {
    throw std::invalid_argument("active_columns: the codes are not whole layers");
  }
  std::vector<std::uint8_t> active(cells_per_layer, 0);
  for (std::size_t i = 0; i < codes.size(); ++i) {
    const bool exists = kind == ActiveCode::idomain ? codes[i] > 0 : codes[i] != 0;
    if (exists) active[i % cells_per_layer] = 1;
  }
  return active;
}

void regrid_month(const OverlapTable& table, std::span<const double> volumes,
                  std::span<const std::uint8_t> active, RegriddedMonth& month) {
  if (volumes.size() != table.tamvek_cells() || active.size() != table.model_cells()) {
    throw std::invalid_argument("regrid_month: the arrays do not match the overlap table's grids");
  }
  month.total = 0;
  month.magnitude = 0;
  month.outside = 0;
  for (std::size_t t = 0; t < volumes.size(); ++t) {
    month.total += volumes[t];
    month.magnitude += std::abs(volumes[t]);
    if (table.outside[t] != 0) month.outside += table.outside[t] * volumes[t];
  }
  month.volume.resize(table.model_cells());  // every entry is set below
  month.placed = 0;
  month.inactive = 0;
  for (std::size_t m = 0; m < month.volume.size(); ++m) {
    double volume = 0;
    const auto end = static_cast<std::size_t>(table.start[m + 1]);
    for (auto k = static_cast<std::size_t>(table.start[m]); k < end; ++k) {
      volume += table.share[k] * volumes[static_cast<std::size_t>(table.tamvek_cell[k])];
    }
    if (active[m] != 0) {
      month.volume[m] = volume;
      month.placed += volume;
    } else {
      month.volume[m] = 0;
      month.inactive += volume;
    }
  }
}

bool balances(const RegriddedMonth& month) {
  const double difference = month.placed + month.outside + month.inactive - month.total;
  return std::abs(difference) <= 1e-9 * month.magnitude;
}

}  // namespace tamvek::modflow
