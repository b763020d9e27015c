#include "modflow/model_arrays.hpp"

#include <cmath>
#include <cstdint>

#include "modflow/binary_array.hpp"
#include "modflow/double_list_read.hpp"
#include "modflow/model_files.hpp"
#include "results/result_error.hpp"
#include "results/result_file.hpp"

namespace tamvek::modflow {
namespace {

using results::in_quotes;
using results::printable;

// A binary file has no lines: its faults name the byte, and the control line
// that reads it.
void binary_values(const std::filesystem::path& path, std::size_t count, std::size_t value_size,
                   std::span<double> values, const std::string& from) {
  const std::string file = shown(path);
  const auto refuse = [&](const std::string& fault) {
    throw results::ResultError{file, fault + " (the binary array of " + from + ")"};
  };
  const std::string bytes = read_whole_file(path);
  std::size_t at = 0;
  std::string fault;
  // One header for the whole array, or one before each layer's values.
  for (std::size_t filled = 0; filled < count;) {
    BinaryHeader header;
    if (!read_stream_header(bytes, at, header, fault)) refuse(fault);
    const std::int64_t cells = std::int64_t{header.ncol} * header.nrow;
    if (header.ncol < 1 || header.nrow < 1 || static_cast<std::uint64_t>(cells) > count - filled)
      refuse("the header gives NCOL " + std::to_string(header.ncol) + " and NROW " +
                          std::to_string(header.nrow) + " where the array has " +
                          std::to_string(count - filled) + " values left to read");
    // Values read through are any bytes of their size: passed over, not kept.
    const auto size = static_cast<std::size_t>(cells);
    if (values.empty() && (bytes.size() - at) / value_size < size)
      refuse(std::to_string(size) + " values of " + std::to_string(value_size) + " bytes expected after byte " +
             std::to_string(at) + ", but the file holds " + std::to_string((bytes.size() - at) / value_size));
    if (values.empty()) at += value_size * size;
    else if (!read_stream_values(bytes, at, values.subspan(filled, size), fault)) refuse(fault);
    filled += static_cast<std::size_t>(cells);
  }
}

}  // namespace

void read_free_values(const ModelText& text, std::size_t& at, Comments comments, std::size_t count,
                      std::span<double> values) {
  DoubleListRead read = values.empty() ? DoubleListRead(count) : DoubleListRead(values);
  while (true) {
    if (at >= text.lines.size())
      refuse(text.file, text.lines.empty() ? 0 : text.lines.back().number,
             "the array ends after " + std::to_string(read.filled()) + " of its " +
                 std::to_string(count) + " values");
    const TextLine& line = text.lines[at++];
    const DoubleListRead::Step step = read.take(data_part(line.text, comments));
    if (step == DoubleListRead::Step::done) return;
    if (step == DoubleListRead::Step::failed)
      refuse(text.file, line.number,
             "value " + std::to_string(read.filled() + 1) + " of the array: \"" + printable(read.failed_text()) +
                 "\" is " + read.failure());
  }
}

std::vector<double> read_mf6_array(const ModelText& text, std::size_t& at, std::size_t count,
                                   const std::filesystem::path& folder, std::vector<std::string>& notes,
                                   ArrayUse use) {
  const bool keep = use == ArrayUse::keep || use == ArrayUse::keep_integers;
  const bool integers = use == ArrayUse::keep_integers || use == ArrayUse::read_through_integers;
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
           "an array's control line (CONSTANT, INTERNAL or OPEN/CLOSE) expected: " + in_quotes(control.text));
  if (form == "OPEN/CLOSE" && control.words.size() < 2)
    refuse(text.file, control.number, "OPEN/CLOSE without a file name: " + in_quotes(control.text));
  double factor = 1;
  bool binary = false;
  // The keywords come in any order; other words are a remark.
  for (std::size_t i = form == "INTERNAL" ? 1 : 2; i < control.words.size(); ++i) {
    const std::string option = upper(control.words[i]);
    if (option == "FACTOR") {
      factor = real_of(text.file, control, ++i, "FACTOR");
      if (factor == 0) factor = 1;
    } else if (option == "IPRN") {
      integer_of(text.file, control, ++i, "IPRN");
    } else if (option == "(BINARY)") {
      binary = true;
    }
  }
  if (binary && form == "INTERNAL")
    refuse(text.file, control.number, "(BINARY) needs OPEN/CLOSE and a file: " + in_quotes(control.text));
  if (keep) values.assign(count, 0.0);
  if (form == "INTERNAL") {
    read_free_values(text, at, Comments::mf6, count, values);
  } else {
    const std::filesystem::path path =
        existing_model_file(folder, control.words[1], notes, text.file, control.number);
    if (binary) {
      binary_values(path, count, integers ? 4 : 8, values, text.file + " line " + std::to_string(control.number));
    } else {
      const ModelText external = read_model_text(path, Comments::mf6);
      std::size_t line = 0;
      read_free_values(external, line, Comments::mf6, count, values);
    }
  }
  if (!keep) return {};
  for (double& value : values) value *= factor;
  return values;
}

}  // namespace tamvek::modflow
