#include "modflow/mf2005_arrays.hpp"

#include <cmath>
#include <cstdint>

#include "modflow/binary_array.hpp"
#include "modflow/double_list_read.hpp"
#include "modflow/fortran_format.hpp"
#include "modflow/model_files.hpp"
#include "modflow/model_text.hpp"
#include "results/result_error.hpp"
#include "results/result_file.hpp"

namespace tamvek::modflow {
namespace {

using results::in_quotes;
using results::printable;
using results::ResultError;

std::string trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t\r");
  return std::string(text.substr(first, last - first + 1));
}

// What a control record says.
struct Control {
  enum class Source { constant, unit, file } source = Source::constant;
  double constant = 0;  // CONSTANT's value, or CNSTNT
  long long unit = 0;   // LOCAT: > 0 formatted, < 0 unformatted
  std::string name;     // OPEN/CLOSE's file
  std::string format;   // FMTIN, upper case
};

Control free_control(const std::string& file, const TextLine& line) {
  const std::string form = upper(line.words[0]);
  Control control;
  if (form == "CONSTANT") {
    control.constant = real_of(file, line, 1, "the constant");
    return control;
  }
  std::size_t at = 1;
  if (form == "EXTERNAL") {
    control.source = Control::Source::unit;
    control.unit = integer_of(file, line, at++, "the unit of EXTERNAL");
    if (control.unit <= 0) refuse(file, line.number, "EXTERNAL needs a unit above 0: " + in_quotes(line.text));
  } else if (form == "OPEN/CLOSE") {
    control.source = Control::Source::file;
    if (line.words.size() < 2) refuse(file, line.number, "OPEN/CLOSE without a file name: " + in_quotes(line.text));
    control.name = line.words[at++];
  } else {  // INTERNAL: the unit of the file being read, set by the caller
    control.source = Control::Source::unit;
  }
  control.constant = real_of(file, line, at++, "CNSTNT");
  control.format = at < line.words.size() ? upper(line.words[at]) : "(FREE)";
  if (control.format == "(BINARY)" && control.source == Control::Source::unit) control.unit = -control.unit;
  return control;
}

Control fixed_control(const std::string& file, std::size_t number, std::string_view record) {
  const auto field = [&](std::size_t from, std::size_t width) {
    return from < record.size() ? record.substr(from, width) : std::string_view{};
  };
  Control control;
  long long locat = 0;
  if (!read_integer_field(field(0, 10), false, locat))
    refuse(file, number, "an array control record: LOCAT (columns 1-10) \"" + printable(field(0, 10)) +
                             "\" is not a whole number, and the record is not of the free form (CONSTANT, "
                             "INTERNAL, EXTERNAL, OPEN/CLOSE): " + in_quotes(record));
  if (!read_real_field(field(10, 10), 0, 0, false, control.constant) || !std::isfinite(control.constant))
    refuse(file, number, "an array control record: CNSTNT (columns 11-20) \"" + printable(field(10, 10)) +
                             "\" is not a number: " + in_quotes(record));
  control.format = upper(trimmed(field(20, 20)));
  if (locat != 0) {
    control.source = Control::Source::unit;
    control.unit = locat > 0 && control.format == "(BINARY)" ? -locat : locat;
  }
  return control;
}

void free_rows(RecordFile& source, std::size_t rows, std::span<double> values) {
  const std::size_t count = values.size() / rows;
  for (std::size_t row = 0; row < rows; ++row) {
    DoubleListRead read(values.subspan(row * count, count));
    for (DoubleListRead::Step step = DoubleListRead::Step::more; step != DoubleListRead::Step::done;) {
      if (source.next >= source.records.size())
        refuse(source.file, source.records.size(),
               "the array ends after " + std::to_string(row * count + read.filled()) + " of its " +
                   std::to_string(values.size()) + " values");
      step = read.take(source.records[source.next++]);
      if (step == DoubleListRead::Step::failed)
        refuse(source.file, source.next,
               "value " + std::to_string(row * count + read.filled() + 1) + " of the array: \"" +
                   printable(read.failed_text()) + "\" is " + read.failure());
    }
  }
}

void formatted_rows(RecordFile& source, const FortranFormat& format, std::size_t rows, std::span<double> values) {
  const std::size_t count = values.size() / rows;
  std::string fault;
  for (std::size_t row = 0; row < rows; ++row)
    if (!read_formatted(format, source.records, source.next, values.subspan(row * count, count), fault))
      refuse(source.file, std::min(source.next + 1, source.records.size()),
             "row " + std::to_string(row + 1) + " of the array: " + fault);
}

void unformatted_values(ByteFile& source, std::span<double> values) {
  std::string fault;
  const auto refuse_binary = [&] {
    throw ResultError{source.file, fault + " (an unformatted array of " + std::to_string(values.size()) +
                                       " values)"};
  };
  std::string_view record;
  if (!read_sequential_record(source.bytes, source.at, record, fault)) refuse_binary();
  BinaryHeader header;
  // The header record before the values, which a one-dimensional array may go without.
  if (record.size() != values.size() * 4 && record.size() != values.size() * 8 && header_of_record(record, header))
    if (!read_sequential_record(source.bytes, source.at, record, fault)) refuse_binary();
  if (!values_of_record(record, values, fault)) refuse_binary();
}

}  // namespace

RecordFile load_records(const std::filesystem::path& path) {
  RecordFile file;
  file.file = shown(path);
  file.bytes = std::make_shared<const std::string>(read_whole_file(path));
  const std::string& text = *file.bytes;
  for (std::size_t at = text.starts_with("\xEF\xBB\xBF") ? 3 : 0; at < text.size();) {  // past a UTF-8 mark
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string_view record(text.data() + at, end - at);
    if (!record.empty() && record.back() == '\r') record.remove_suffix(1);
    file.records.push_back(record);
    at = end + 1;
  }
  return file;
}

std::string_view next_item(RecordFile& file, const std::string& expected) {
  while (file.next < file.records.size()) {
    const std::string_view record = file.records[file.next++];
    const std::size_t first = record.find_first_not_of(" \t\r");
    if (first != std::string_view::npos && record[first] != '#') return record;
  }
  throw ResultError{file.file, "ends where " + expected + " was expected"};
}

void Mf2005Units::add(const std::string& type, long long unit, const std::string& name) {
  entries_.try_emplace(unit, Entry{type, name, std::nullopt, std::nullopt});
}

Mf2005Units::Entry& Mf2005Units::entry(long long unit, const std::string& file, std::size_t line) {
  const auto found = entries_.find(unit);
  if (found == entries_.end())
    refuse(file, line, "an array is read from unit " + std::to_string(unit) +
                           ", which the name file does not list (a DATA entry with that unit)");
  return found->second;
}

RecordFile& Mf2005Units::formatted(long long unit, const std::string& file, std::size_t line) {
  Entry& listed = entry(unit, file, line);
  if (listed.type.find("(BINARY)") != std::string::npos)
    refuse(file, line, "a formatted read from unit " + std::to_string(unit) + ", which the name file opens as " +
                           listed.type + " " + listed.name + " (an unformatted file)");
  if (!listed.text) listed.text = load_records(existing_model_file(folder_, listed.name, notes_, file, line));
  return *listed.text;
}

ByteFile& Mf2005Units::unformatted(long long unit, const std::string& file, std::size_t line) {
  Entry& listed = entry(unit, file, line);
  if (listed.type.find("(BINARY)") == std::string::npos)
    refuse(file, line, "an unformatted read from unit " + std::to_string(unit) + ", which the name file opens as " +
                           listed.type + " " + listed.name + " (a formatted file; DATA(BINARY) opens an "
                           "unformatted one)");
  if (!listed.binary) {
    const std::filesystem::path path = existing_model_file(folder_, listed.name, notes_, file, line);
    listed.binary = ByteFile{shown(path), read_whole_file(path), 0};
  }
  return *listed.binary;
}

std::vector<double> read_mf2005_array(RecordFile& file, long long own_unit, Mf2005Units& units,
                                      std::size_t rows, std::size_t count, bool keep) {
  const std::string_view record = next_item(file, "an array control record");
  const std::size_t number = file.next;
  const TextLine line{number, std::string(record), split_words(record, Comments::mf2005)};
  const std::string first = upper(line.words[0]);
  const bool free_form = first == "CONSTANT" || first == "INTERNAL" || first == "EXTERNAL" || first == "OPEN/CLOSE";
  Control control = free_form ? free_control(file.file, line) : fixed_control(file.file, number, record);
  if (first == "INTERNAL") control.unit = control.format == "(BINARY)" ? -own_unit : own_unit;

  std::vector<double> values;
  if (control.source == Control::Source::constant) {
    if (keep) values.assign(rows * count, control.constant);
    return values;
  }
  const bool binary = control.unit < 0 || control.format == "(BINARY)";
  std::optional<FortranFormat> format;
  if (!binary && control.format != "(FREE)") {
    std::string fault;
    format = parse_fortran_format(control.format, fault);
    if (!format)
      refuse(file.file, number, "the format " + in_quotes(control.format) + " cannot be read: " + fault);
  }
  values.assign(rows * count, 0.0);
  if (control.source == Control::Source::file) {
    const std::filesystem::path path =
        existing_model_file(units.folder(), control.name, units.notes(), file.file, number);
    if (binary) {
      ByteFile bytes{shown(path), read_whole_file(path), 0};
      unformatted_values(bytes, values);
    } else {
      RecordFile text = load_records(path);
      if (format) formatted_rows(text, *format, rows, values);
      else free_rows(text, rows, values);
    }
  } else if (binary) {
    if (-control.unit == own_unit || control.unit == own_unit)
      refuse(file.file, number, "an unformatted read from the file's own unit " + std::to_string(own_unit));
    unformatted_values(units.unformatted(std::llabs(control.unit), file.file, number), values);
  } else {
    RecordFile& source = control.unit == own_unit ? file : units.formatted(control.unit, file.file, number);
    if (format) formatted_rows(source, *format, rows, values);
    else free_rows(source, rows, values);
  }
  if (!keep) return {};
  const double constant = control.constant == 0 ? 1.0 : control.constant;
  for (double& value : values) value *= constant;
  return values;
}

}  // namespace tamvek::modflow
