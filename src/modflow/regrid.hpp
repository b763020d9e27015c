#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "modflow/overlap_table.hpp"

namespace tamvek::modflow {

// One month carried onto the model's cells, in the volume unit of the
// volumes given. Nothing is lost unseen: every part of the month's volume is
// placed, outside the model's grid, or on a model column that cannot take it.
struct RegriddedMonth {
  std::vector<double> volume;  // per model cell; 0 on a column with no active cell
  double total = 0;            // in tamvek's array
  double placed = 0;           // on model columns with an active cell
  double outside = 0;          // on no model cell
  double inactive = 0;         // on model columns with no active cell in any layer
  double magnitude = 0;        // the volumes' absolute sum: the scale rounding is judged by
};

// Which model cell columns can take recharge, from the codes of every layer
// (layer after layer, `cells_per_layer` each). A MODFLOW 6 cell exists where
// IDOMAIN is above 0: -1 marks a cell that does not exist (water passes
// through it vertically), so a column of -1 and 0 cannot take recharge
// either. A MODFLOW-2005 cell is active where IBOUND is not 0.
enum class ActiveCode { idomain, ibound };
std::vector<std::uint8_t> active_columns(std::span<const double> codes, std::size_t cells_per_layer,
                                         ActiveCode kind);

// Carries a month's volumes per tamvek cell (in the arrays' order) onto the
// model's cells. `active` has one flag per model cell column (DIS: per row and
// column, DISV: per cell of a layer): 0 where no layer has an active cell.
// `month` is reused from one month to the next.
void regrid_month(const OverlapTable& table, std::span<const double> volumes,
                  std::span<const std::uint8_t> active, RegriddedMonth& month);

// placed + outside + inactive = total, to 1e-9 of the volumes' absolute sum.
bool balances(const RegriddedMonth& month);

}  // namespace tamvek::modflow
