#include "runtime/run_stop.hpp"

namespace tamvek {

void stop_normally() { throw RunEnd{0, {}}; }

void stop_io(int statement, int unit, std::string_view file_name, std::string_view message) {
  std::string text = "At line " + std::to_string(statement) + " of file ";
  text += source_name;
  text += " (unit = " + std::to_string(unit);
  if (!file_name.empty()) {
    text += ", file = '";
    text += file_name;
    text += '\'';
  }
  text += ")\n";
  text += error_prefix;
  text += message;
  text += '\n';
  throw RunEnd{2, std::move(text)};
}

void stop_range(int statement, std::int64_t index, int dimension, std::string_view table,
                std::int64_t bound, bool below) {
  std::string text = "At line " + std::to_string(statement) + " of file ";
  text += source_name;
  text += '\n';
  text += error_prefix;
  text += "Index '" + std::to_string(index) + "' of dimension " + std::to_string(dimension) +
          " of array '";
  text += table;
  text += below ? "' below lower bound of " : "' above upper bound of ";
  text += std::to_string(bound);
  text += '\n';
  throw RunEnd{2, std::move(text)};
}

}  // namespace tamvek
