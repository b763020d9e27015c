#include "runtime/run_stop.hpp"

namespace tamvek {

void stop_normally() { throw RunEnd{0, {}}; }

void stop_io(int statement, int unit, std::string_view file_name, std::string_view message) {
  std::string text = "At line " + std::to_string(statement) + " of file " + std::string(source_name) +
                     " (unit = " + std::to_string(unit);
  if (!file_name.empty()) text += ", file = '" + std::string(file_name) + "'";
  text += ")\n" + std::string(error_prefix) + std::string(message) + "\n";
  throw RunEnd{2, std::move(text)};
}

void stop_range(int statement, std::int64_t index, int dimension, std::string_view table,
                std::int64_t bound, bool below) {
  std::string text = "At line " + std::to_string(statement) + " of file " + std::string(source_name) +
                     "\n" + std::string(error_prefix) + "Index '" + std::to_string(index) +
                     "' of dimension " + std::to_string(dimension) + " of array '" + std::string(table) +
                     (below ? "' below lower bound of " : "' above upper bound of ") +
                     std::to_string(bound) + "\n";
  throw RunEnd{2, std::move(text)};
}

}  // namespace tamvek
