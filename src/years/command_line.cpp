#include "years/command_line.hpp"

namespace tamvek::years {
namespace {

std::string quoted(const std::string& argument) {
  std::string text = "\"";
  std::size_t backslashes = 0;
  for (const char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    text.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    text += c;
  }
  text.append(2 * backslashes, '\\');
  text += '"';
  return text;
}

}  // namespace

std::string windows_command_line(const std::string& program,
                                 const std::vector<std::string>& arguments) {
  std::string command_line = quoted(program);
  for (const std::string& argument : arguments) {
    command_line += ' ';
    command_line += quoted(argument);
  }
  return command_line;
}

}  // namespace tamvek::years
