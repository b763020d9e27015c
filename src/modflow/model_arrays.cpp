#include "modflow/model_arrays.hpp"

#include <cctype>
#include <string>

#include "results/result_file.hpp"

namespace tamvek::modflow {
namespace {

using results::printable;
using results::in_quotes;

std::string what_was_found(const TextLine& line) { return in_quotes(line.text); }

// Takes `count` values from the words of the lines from `at` on, a read
// beginning on a line of its own. With `whole_lines` the last value must end
// its line (MODFLOW 6); otherwise the rest of that line is passed over.
void free_values(const ModelText& text, std::size_t& at, std::size_t count, bool whole_lines,
                 std::vector<double>& values, bool keep) {
  std::size_t taken = 0;
  while (taken < count) {
    if (at >= text.lines.size())
      refuse(text.file, text.lines.empty() ? 0 : text.lines.back().number,
             "the array ends after " + std::to_string(taken) + " of its " + std::to_string(count) +
                 " values");
    const TextLine& line = text.lines[at];
    std::size_t word = 0;
    for (; word < line.words.size() && taken < count; ++word, ++taken) {
      double value = 0;
      if (!parse_real(line.words[word], value))
        refuse(text.file, line.number,
               "value " + std::to_string(taken + 1) + " of the array: \"" +
                   printable(line.words[word]) + "\" is not a number");
      if (keep) values.push_back(value);
    }
    if (whole_lines && word < line.words.size())
      refuse(text.file, line.number,
             "more than the array's " + std::to_string(count) + " values: " + what_was_found(line));
    ++at;
  }
}

// A Fortran format of one repeated edit descriptor: (326F6.1), (10E12.4), (20I4).
struct FixedFormat {
  std::size_t per_record = 1;
  std::size_t width = 0;
  int decimals = 0;
};

bool parse_fixed_format(const std::string& format, FixedFormat& fixed) {
  const std::string text = upper(format);
  if (text.size() < 4 || text.front() != '(' || text.back() != ')') return false;
  std::size_t at = 1;
  std::size_t repeat = 0;
  while (std::isdigit(static_cast<unsigned char>(text[at]))) repeat = repeat * 10 + static_cast<std::size_t>(text[at++] - '0');
  const char letter = text[at++];
  if (letter != 'F' && letter != 'E' && letter != 'G' && letter != 'D' && letter != 'I') return false;
  std::size_t width = 0;
  while (std::isdigit(static_cast<unsigned char>(text[at]))) width = width * 10 + static_cast<std::size_t>(text[at++] - '0');
  int decimals = 0;
  if (text[at] == '.') {
    ++at;
    if (!std::isdigit(static_cast<unsigned char>(text[at]))) return false;
    while (std::isdigit(static_cast<unsigned char>(text[at]))) decimals = decimals * 10 + (text[at++] - '0');
  }
  if (at != text.size() - 1 || width == 0) return false;
  fixed = {repeat == 0 ? 1 : repeat, width, decimals};
  return true;
}

// One fixed-width field as Fortran reads it: blanks are nothing (all blank is
// zero); without a decimal point the last `decimals` digits are the fraction.
bool fixed_field(std::string field, int decimals, double& value) {
  std::erase(field, ' ');
  if (field.empty()) {
    value = 0;
    return true;
  }
  if (!parse_real(field, value)) return false;
  if (field.find('.') == std::string::npos)
    for (int i = 0; i < decimals; ++i) value /= 10;
  return true;
}

void fixed_values(const ModelText& text, std::size_t& at, std::size_t count,
                  const FixedFormat& format, std::vector<double>& values, bool keep) {
  std::size_t taken = 0;
  while (taken < count) {
    if (at >= text.lines.size())
      refuse(text.file, text.lines.empty() ? 0 : text.lines.back().number,
             "the array ends after " + std::to_string(taken) + " of its " + std::to_string(count) +
                 " values");
    const TextLine& line = text.lines[at++];
    for (std::size_t i = 0; i < format.per_record && taken < count; ++i, ++taken) {
      const std::size_t start = i * format.width;
      const std::string field = start < line.text.size() ? line.text.substr(start, format.width) : "";
      double value = 0;
      if (!fixed_field(field, format.decimals, value))
        refuse(text.file, line.number,
               "value " + std::to_string(taken + 1) + " of the array: \"" + printable(field) +
                   "\" is not a number");
      if (keep) values.push_back(value);
    }
  }
}

ModelText array_file(const ModelText& text, const TextLine& control, std::size_t index,
                     const std::filesystem::path& folder, Comments comments) {
  if (index >= control.words.size())
    refuse(text.file, control.number, "OPEN/CLOSE without a file name: " + what_was_found(control));
  return read_model_text(folder / control.words[index], comments);
}

}  // namespace

std::vector<double> read_mf6_array(const ModelText& text, std::size_t& at, std::size_t count,
                                   const std::filesystem::path& folder, bool keep) {
  if (at >= text.lines.size())
    refuse(text.file, text.lines.empty() ? 0 : text.lines.back().number,
           "an array's control line expected, but the block ends");
  const TextLine& control = text.lines[at++];
  const std::string form = upper(control.words[0]);
  std::vector<double> values;
  if (form == "CONSTANT") {
    const double value = real_of(text.file, control, 1, "the constant");
    if (keep) values.assign(count, value);
    return values;
  }
  if (form != "INTERNAL" && form != "OPEN/CLOSE")
    refuse(text.file, control.number,
           "an array's control line (CONSTANT, INTERNAL or OPEN/CLOSE) expected: " +
               what_was_found(control));
  double factor = 1;
  for (std::size_t i = form == "INTERNAL" ? 1 : 2; i < control.words.size(); ++i) {
    const std::string option = upper(control.words[i]);
    if (option == "FACTOR") {
      factor = real_of(text.file, control, ++i, "FACTOR");
      if (factor == 0) factor = 1;
    } else if (option == "IPRN") {
      integer_of(text.file, control, ++i, "IPRN");
    } else {
      refuse(text.file, control.number,
             in_quotes(control.words[i]) + " in an array's control line is not read " +
                 "by this program (binary arrays are not): " + what_was_found(control));
    }
  }
  if (form == "INTERNAL") {
    free_values(text, at, count, true, values, keep);
  } else {
    const ModelText external = array_file(text, control, 1, folder, Comments::mf6);
    std::size_t line = 0;
    free_values(external, line, count, true, values, keep);
    if (line < external.lines.size())
      refuse(external.file, external.lines[line].number,
             "more than the array's " + std::to_string(count) + " values");
  }
  for (double& value : values) value *= factor;
  return values;
}

std::vector<double> read_mf2005_array(const ModelText& text, std::size_t& at, std::size_t reads,
                                      std::size_t count, const std::filesystem::path& folder,
                                      bool keep) {
  if (at >= text.lines.size())
    refuse(text.file, text.lines.empty() ? 0 : text.lines.back().number,
           "an array control record expected, but the file ends");
  const TextLine& control = text.lines[at++];
  const std::string form = upper(control.words[0]);
  std::vector<double> values;
  if (form == "CONSTANT") {
    const double value = real_of(text.file, control, 1, "the constant");
    if (keep) values.assign(reads * count, value);
    return values;
  }
  if (form != "INTERNAL" && form != "OPEN/CLOSE")
    refuse(text.file, control.number,
           "an array control record of the form CONSTANT, INTERNAL or OPEN/CLOSE expected (" +
               std::string(form == "EXTERNAL" ? "EXTERNAL units" : "fixed-form control records") +
               " are not read by this program): " + what_was_found(control));
  const std::size_t first = form == "INTERNAL" ? 1 : 2;
  double constant = real_of(text.file, control, first, "CNSTNT");
  if (constant == 0) constant = 1;
  if (first + 1 >= control.words.size())
    refuse(text.file, control.number, "FMTIN expected after CNSTNT: " + what_was_found(control));
  const std::string format = upper(control.words[first + 1]);
  FixedFormat fixed;
  const bool free = format == "(FREE)";
  if (!free && !parse_fixed_format(format, fixed))
    refuse(text.file, control.number,
           "the format " + printable(control.words[first + 1]) +
               " is not read by this program ((FREE) or one repeated F, E, G, D or I field "
               "such as (326F6.1) is): " + what_was_found(control));

  ModelText external;
  const ModelText* source = &text;
  std::size_t line_at = at;
  std::size_t* line = &at;
  if (form == "OPEN/CLOSE") {
    external = array_file(text, control, 1, folder, Comments::mf2005);
    source = &external;
    line = &line_at;
    line_at = 0;
  }
  for (std::size_t row = 0; row < reads; ++row) {
    if (free)
      free_values(*source, *line, count, false, values, keep);
    else
      fixed_values(*source, *line, count, fixed, values, keep);
  }
  for (double& value : values) value *= constant;
  return values;
}

}  // namespace tamvek::modflow
