#include "modflow/package_writer.hpp"

#include <cmath>
#include <future>
#include <map>
#include <span>
#include <tuple>

#include "modflow/array_text.hpp"
#include "modflow/model_text.hpp"
#include "modflow/regrid.hpp"
#include "modflow/regrid_grid_file.hpp"
#include "modflow/package_files.hpp"
#include "results/result_error.hpp"
#include "results/sha256.hpp"
#include "results/number_text.hpp"
#include "text/f61_write.hpp"

namespace tamvek::modflow {
namespace {

constexpr std::size_t values_per_line = 10;

// A real as the package writes it: the shortest text that reads back as the
// same double.
std::string exact(double value) { return results::decimal_text(value, -1); }

// The format of tamvek's arrays as MODFLOW-2005 reads them, "(326F6.1)".
const std::string array_format = "(" + std::to_string(f61_fields_per_record) + "F" +
                                 std::to_string(f61_field_width) + ".1)";

std::string month_text(int year, int month) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d", year, month);
  return text;
}

class Writer {
 public:
  Writer(const PackageInputs& in, const std::set<std::filesystem::path>& own,
         results::OutputSet& outputs)
      : in_(in), own_(own), outputs_(outputs), mf6_(in.facts.generation == Generation::mf6) {
    volume_ = model_volume_of(in.frame, *in.options.volume_unit);
    area_ = in.frame.cell_width * in.frame.cell_height;
    if (in.regrid)
      written_.regridded.resize(static_cast<std::size_t>(in.options.last_year - in.options.first_year + 1));
  }

  WrittenPackage write() {
    std::string body;
    const auto& periods = in_.plan.periods;
    for (std::size_t p = 0; p < periods.size(); ++p) body += period_text(p + 1, periods[p]);
    settle();
    std::string text = header();
    if (mf6_)
      text += "BEGIN OPTIONS\n  READASARRAYS\nEND OPTIONS\n\n";
    else
      text += "         3         0   NRCHOP IRCHCB: the highest active cell of each column\n";
    text += body;
    claim(in_.package, own_);
    outputs_.write(in_.package.string(), text);
    written_.files.push_back(in_.package);
    return std::move(written_);
  }

 private:
  // A file's name in the package: from the folder the model runs in, with
  // forward slashes, which both Linux and Windows take.
  std::string name_in_package(const std::filesystem::path& file) const {
    std::error_code error;
    std::filesystem::path relative = std::filesystem::relative(file, in_.facts.folder, error);
    const std::string name = shown(error || relative.empty() ? file : relative);
    if (name.find(' ') == std::string::npos) return name;
    if (!mf6_)
      throw results::ResultError{shown(file), "MODFLOW-2005 cannot read a file name with blanks "
                                              "(" + name + "): run in a folder without them"};
    return "'" + name + "'";
  }

  const YearArrays& year(int year) const {
    return in_.years[static_cast<std::size_t>(year - in_.options.first_year)];
  }
  const MonthArray& month(const Share& share) const {
    return year(share.year).months[irrigation_month_index(share.month)];
  }
  std::filesystem::path array_path(const MonthArray& array) const {
    return std::filesystem::absolute(in_.io.path_of(array.name)).lexically_normal();
  }
  std::filesystem::path own_file(const std::string& suffix) {
    std::filesystem::path file = in_.package;
    file += suffix;
    claim(file, own_);
    written_.files.push_back(file);
    return file;
  }

  std::string period_text(std::size_t number, const PeriodPlan& period) {
    double expected = 0, magnitude = 0;
    for (const Share& share : period.shares) {
      expected += share.fraction * static_cast<double>(month(share).tenths) / 10;
      magnitude += share.fraction * static_cast<double>(month(share).absolute_tenths) / 10;
    }
    written_.expected.push_back(expected);
    written_.magnitude.push_back(magnitude);

    std::string remark;
    for (const Share& share : period.shares) {
      const int days = days_of_month(share.year, share.month);
      remark += (remark.empty() ? "" : ", ") + month_text(share.year, share.month) + " " +
                exact(share.fraction * days) + " of its " + std::to_string(days) + " days";
    }
    if (remark.empty()) remark = "no irrigation month (May to October) of the years run";
    const std::string label = "period " + std::to_string(number) + ": " + remark;

    std::string control;
    if (period.shares.empty() || period.length <= 0) {
      control = "CONSTANT 0.0";
      written_.applied.push_back(0);
      ++written_.zero;
    } else if (in_.regrid != nullptr) {
      control = regridded_control(number, period);
    } else if (period.shares.size() == 1) {
      control = factor_control(period);
      ++written_.from_arrays;
    } else {
      control = own_array_control(number, period);
      ++written_.own_arrays;
    }
    if (mf6_)
      return "BEGIN PERIOD " + std::to_string(number) + "\n  # " + label + "\n  RECHARGE\n    " +
             control + "\nEND PERIOD " + std::to_string(number) + "\n";
    return "         1         0   " + label + "\n" + control + "\n";
  }

  // One of tamvek's arrays as the package names it, once: where tamvek wrote
  // it, or its copy in the folder of --copy-arrays. Its digest goes into the
  // header either way.
  std::string named_array(const std::filesystem::path& source) {
    if (const auto found = named_.find(source); found != named_.end()) return found->second;
    NamedArray entry;
    std::filesystem::path named = source;
    if (in_.copy_folder) {
      named = *in_.copy_folder / source.filename();
      claim(named, own_);
      std::tie(entry.sha256, entry.size) = outputs_.copy(named.string(), source);
      written_.files.push_back(named);
      ++written_.copied;
      written_.copied_bytes += entry.size;
    } else {
      const auto digest = results::digest_of_file(source);
      if (!digest) throw results::ResultError{shown(source), "cannot be read for its digest"};
      entry.sha256 = digest->hex;
      entry.size = digest->size;
    }
    entry.name = name_in_package(named);
    written_.arrays.push_back(entry);
    return named_.emplace(source, entry.name).first->second;
  }

  // An array this program writes, with its digest for the header.
  void record(const std::filesystem::path& file, std::string_view text) {
    written_.arrays.push_back({name_in_package(file), results::sha256_hex(text), text.size()});
  }

  // The month's own array, times the factor that makes its volumes the
  // period's rate.
  std::string factor_control(const PeriodPlan& period) {
    const Share& share = period.shares.front();
    const MonthArray& array = month(share);
    const double factor = share.fraction * volume_ / (area_ * period.length);
    written_.applied.push_back(factor * (static_cast<double>(array.tenths) / 10) * area_ *
                               period.length / volume_);
    std::string control = "OPEN/CLOSE ";
    if (!mf6_) {
      control += named_array(array_path(array));
      control += ' ';
      control += exact(factor);
      control += " " + array_format + " -1";
      return control;
    }
    control += array.touching ? name_in_package(free_copy(share)) : named_array(array_path(array));
    control += " FACTOR ";
    control += exact(factor);
    return control;
  }

  // MODFLOW 6 reads arrays in free format only: an array whose fields touch
  // is copied once with a blank between its values.
  std::filesystem::path free_copy(const Share& share) {
    const auto key = std::make_pair(share.year, share.month);
    if (const auto found = copies_.find(key); found != copies_.end()) return found->second;
    const MonthArray& array = month(share);
    char suffix[32];  // ".2010.05.txt" beside the package
    std::snprintf(suffix, sizeof suffix, ".%04d.%02d.txt", share.year, share.month);
    const std::filesystem::path file = own_file(suffix);
    const results::Layer layer = read_month_array(in_.io, in_.grid, array.name);
    std::string text;
    const auto nx = static_cast<std::size_t>(in_.grid.nx);
    for (std::size_t cell = 0; cell < layer.tenths.size(); ++cell) {
      text += results::value_text(layer, cell);
      const std::size_t column = cell % nx;
      text += column + 1 == nx || (column + 1) % values_per_line == 0 ? '\n' : ' ';
    }
    outputs_.write(file.string(), text);
    record(file, text);
    ++written_.copies;
    copies_.emplace(key, file);
    return file;
  }

  // A period over several months: the rate of each cell from every month's share.
  std::string own_array_control(std::size_t number, const PeriodPlan& period) {
    std::vector<double> volume;
    for (const Share& share : period.shares) {
      const results::Layer layer = read_month_array(in_.io, in_.grid, month(share).name);
      volume.resize(layer.tenths.size(), 0.0);
      for (std::size_t cell = 0; cell < layer.tenths.size(); ++cell)
        volume[cell] += share.fraction * (static_cast<double>(layer.tenths[cell]) / 10);
    }
    const double to_rate = volume_ / (area_ * period.length);
    std::string text;
    double applied = 0;
    const auto nx = static_cast<std::size_t>(in_.grid.nx);
    for (std::size_t cell = 0; cell < volume.size(); ++cell) {
      const double rate = volume[cell] * to_rate;
      applied += rate * area_ * period.length / volume_;
      text += exact(rate);
      const std::size_t column = cell % nx;
      text += column + 1 == nx || (column + 1) % values_per_line == 0 ? '\n' : ' ';
    }
    written_.applied.push_back(applied);
    const std::filesystem::path file = own_file(".period" + std::to_string(number) + ".txt");
    outputs_.write(file.string(), text);
    record(file, text);
    if (mf6_) return "OPEN/CLOSE " + name_in_package(file) + " FACTOR 1.0";
    return "OPEN/CLOSE " + name_in_package(file) + " 1.0 (FREE) -1";
  }

  // A month carried onto the model's cells, and written there once as the
  // depth it gives each cell (volume / area, in the model's length unit);
  // the periods within it name that array with the factor of their share.
  struct CarriedMonth {
    RegriddedMonth month;
    std::filesystem::path file;
    double written = 0;  // the volume the depths as written give, in tamvek's volume unit
  };

  const CarriedMonth& carried(const Share& share) {
    const auto key = std::make_pair(share.year, share.month);
    if (const auto found = carried_.find(key); found != carried_.end()) return found->second;
    const RegridSetup& setup = *in_.regrid;
    const results::Layer layer = read_month_array(in_.io, in_.grid, month(share).name);
    std::vector<double> volumes(layer.tenths.size());
    for (std::size_t cell = 0; cell < volumes.size(); ++cell)
      volumes[cell] = static_cast<double>(layer.tenths[cell]) / 10;
    CarriedMonth& carried = carried_[key];
    regrid_month(setup.table, volumes, setup.active, carried.month);
    if (!balances(carried.month))
      throw results::ResultError{month(share).name, "carried onto the model's cells, the volume does not "
                                                    "balance (placed + outside + inactive differs from the array)"};
    std::vector<double> depth;
    depth.reserve(carried.month.volume.size());
    for (std::size_t cell = 0; cell < carried.month.volume.size(); ++cell) {
      depth.push_back(carried.month.volume[cell] * volume_ / setup.areas[cell]);
      carried.written += depth.back() * setup.areas[cell];
    }
    carried.written /= volume_;
    char suffix[32];  // ".2010.05.txt" beside the package
    std::snprintf(suffix, sizeof suffix, ".%04d.%02d.txt", share.year, share.month);
    carried.file = own_file(suffix);
    write_in_background(carried.file, depth);
    ++written_.regridded_months;
    if (!written_.grid_file) write_grid_file(carried.month);
    return carried;
  }

  // Without this second thread 40 years onto a million cells take 1.2 times
  // as long (interleaved runs on the shared two-core machine). A month's array
  // is digested and written there while the next month is read, carried and
  // formatted; one array at a time, so that the arrays keep their order in
  // the header, each in one of two buffers that take turns.
  void write_in_background(const std::filesystem::path& file, std::span<const double> depth) {
    std::string& buffer = month_buffers_[next_buffer_];
    next_buffer_ ^= 1;
    const std::string_view text = array_text(depth, in_.regrid->values_per_row, buffer);
    settle();  // the other buffer is free again
    NamedArray named{name_in_package(file), "", text.size()};
    pending_ = std::async(std::launch::async, [this, file, text, named]() mutable {
      outputs_.write(file.string(), text);
      named.sha256 = results::sha256_hex(text);
      return named;
    });
  }

  // Waits for the array being written, before anything else is written.
  void settle() {
    if (!pending_.valid()) return;
    written_.arrays.push_back(pending_.get());
  }

  // The first month carried, for a GIS: each model cell's volume.
  void write_grid_file(const RegriddedMonth& first) {
    settle();
    const ModelGrid& model = in_.regrid->model;
    const bool esri = grid_file_form(model) == GridFileForm::esri_ascii;
    const std::filesystem::path file = own_file(esri ? ".grid.asc" : ".grid.csv");
    outputs_.write(file.string(), esri ? esri_ascii_grid(model, first.volume, in_.regrid->active)
                                       : cell_csv(model, first.volume, in_.regrid->active));
    written_.grid_file = file;
  }

  // A period on a regridded model: the month's depths with the factor of the
  // period's share and length, or over several months an array of its own.
  std::string regridded_control(std::size_t number, const PeriodPlan& period) {
    // Periods come in order: months before this period's first are done with.
    const auto first = std::make_pair(period.shares.front().year, period.shares.front().month);
    carried_.erase(carried_.begin(), carried_.lower_bound(first));
    double expected = 0, magnitude = 0;
    for (const Share& share : period.shares) {
      const RegriddedMonth& month = carried(share).month;
      expected += share.fraction * month.placed;
      magnitude += share.fraction * month.magnitude;
      RegriddedYear& year = written_.regridded[static_cast<std::size_t>(share.year - in_.options.first_year)];
      year.placed += share.fraction * month.placed;
      year.off_grid += share.fraction * month.outside;
      year.inactive += share.fraction * month.inactive;
    }
    written_.expected.back() = expected;
    written_.magnitude.back() = magnitude;
    if (period.shares.size() == 1) {
      const Share& share = period.shares.front();
      const CarriedMonth& month = carried(share);
      const double factor = share.fraction / period.length;
      written_.applied.push_back(factor * month.written * period.length);
      ++written_.from_arrays;
      return "OPEN/CLOSE " + name_in_package(month.file) + (mf6_ ? " FACTOR " : " ") + exact(factor) +
             (mf6_ ? "" : " (FREE) -1");
    }
    const RegridSetup& setup = *in_.regrid;
    std::vector<double> rate(setup.areas.size(), 0.0);
    for (const Share& share : period.shares) {
      const RegriddedMonth& month = carried(share).month;
      for (std::size_t cell = 0; cell < rate.size(); ++cell) rate[cell] += share.fraction * month.volume[cell];
    }
    double applied = 0;
    for (std::size_t cell = 0; cell < rate.size(); ++cell) {
      rate[cell] *= volume_ / (setup.areas[cell] * period.length);
      applied += rate[cell] * setup.areas[cell] * period.length / volume_;
    }
    written_.applied.push_back(applied);
    ++written_.own_arrays;
    settle();
    const std::string_view text = array_text(rate, setup.values_per_row, buffer_);
    const std::filesystem::path file = own_file(".period" + std::to_string(number) + ".txt");
    outputs_.write(file.string(), text);
    record(file, text);
    return "OPEN/CLOSE " + name_in_package(file) + (mf6_ ? " FACTOR 1.0" : " 1.0 (FREE) -1");
  }

  std::string rate_lines() const {
    const std::string length = name_of(in_.frame.length_unit);
    std::string text = "# A month's volume is spread evenly over its days; a period's rate is the volume "
            "within it / (cell area x period length): a value of 1 in the arrays (" +
            name_of(*in_.options.volume_unit) + ") is " + exact(volume_) + " cubic " + length +
            ", a cell " + exact(area_) + " square " + length + ".\n";
    text += mf6_ ? "# FACTOR = share of the month's volume within the period x " + exact(volume_) +
                       " / (" + exact(area_) + " x PERLEN).\n"
                 : "# CNSTNT = share of the month's volume within the period x " + exact(volume_) +
                       " / (" + exact(area_) + " x PERLEN).\n";
    return text;
  }

  std::string regridded_rate_lines() const {
    const std::string length = name_of(in_.frame.length_unit);
    return "# --regrid: each month's volume is carried onto the model's cells by the area each shares "
           "with tamvek's cells (a tamvek cell's volume spread evenly over it), and written once as "
           "the depth it gives each cell: its volume in " + name_of(*in_.options.volume_unit) + " x " +
           exact(volume_) + " (cubic " + length + " in one) / the cell's area in square " + length +
           ". A month's volume is spread evenly over its days.\n" +
           (mf6_ ? "# FACTOR" : "# CNSTNT") +
           " = share of the month's days within the period / PERLEN; a period over several months "
           "has an array of rates of its own.\n";
  }

  std::string header() const {
    const Options& options = in_.options;
    const ModelFrame& frame = in_.frame;
    const std::string length = name_of(frame.length_unit);
    std::string text = std::string(package_signature) +
                       " a recharge package made from tamvek's monthly arrays. This file and the "
                       "files listed below were written by tamvek-modflow, which may rewrite "
                       "them; edits are lost.\n";
    text += "# Years " + std::to_string(options.first_year) + " to " +
            std::to_string(options.last_year) + " of the tamvek run in " +
            shown(in_.workdir) + ": out\\YYYY.05.rcs to out\\YYYY.10.rcs, each value a volume in " +
            name_of(*options.volume_unit) + " on a cell in a calendar month.\n";
    text += "# Model: " + in_.facts.name_file +
            (in_.facts.model_name.empty() ? "" : " (model " + in_.facts.model_name + ")") + ", " +
            length + " and " + name_of(frame.time_unit) + ", ";
    if (in_.regrid == nullptr)
      text += "cells " + exact(frame.cell_width) + " by " + exact(frame.cell_height) + " " + length;
    else
      text += std::to_string(in_.regrid->model.cell_count()) + " cells a layer of its own grid, placed by " +
              in_.regrid->placed_from;
    text += ", first period from " + date_text(frame.start) + " (" + frame.start_from + ").\n";
    text += in_.regrid == nullptr ? rate_lines() : regridded_rate_lines();
    if (options.zero_outside)
      text += "# Years outside " + std::to_string(options.first_year) + " to " +
              std::to_string(options.last_year) + " carry no recharge (--zero-outside).\n";
    if (in_.copy_folder)
      text += "# tamvek's arrays are copied, byte for byte, into " +
              shown(in_.copy_folder->lexically_relative(in_.facts.folder)) + " (--copy-arrays).\n";
    for (const std::filesystem::path& file : written_.files) {
      if (file.parent_path() == in_.package.parent_path())
        text += std::string(listed_file_prefix) + shown(file.filename()) + "\n";
      else
        text += std::string(listed_copy_prefix) + shown(file.lexically_relative(in_.facts.folder)) + "\n";
    }
    text += "# The SHA-256 and the size in bytes of each array named below, as sha256sum shows "
            "them (tamvek-modflow --verify checks them):\n";
    for (const NamedArray& array : written_.arrays)
      text += std::string(digest_prefix) + array.sha256 + " " + std::to_string(array.size) + " " +
              array.name + "\n";
    return text;
  }

  const PackageInputs& in_;
  const std::set<std::filesystem::path>& own_;
  results::OutputSet& outputs_;
  bool mf6_;
  double volume_ = 0;
  double area_ = 0;
  WrittenPackage written_;
  std::map<std::pair<int, int>, std::filesystem::path> copies_;
  std::map<std::filesystem::path, std::string> named_;
  std::map<std::pair<int, int>, CarriedMonth> carried_;
  std::string buffer_;                // the text of a period's own array
  std::string month_buffers_[2];      // the texts of months, written on the second thread
  int next_buffer_ = 0;
  std::future<NamedArray> pending_;
};

}  // namespace

double model_volume_of(const ModelFrame& frame, VolumeUnit unit) {
  const double metres = metres_in(frame.length_unit);
  return cubic_metres_in(unit) / (metres * metres * metres);
}

WrittenPackage write_package(const PackageInputs& in, const std::set<std::filesystem::path>& own,
                             results::OutputSet& outputs) {
  return Writer(in, own, outputs).write();
}

}  // namespace tamvek::modflow
