#include "modflow/options.hpp"

#include <charconv>
#include <cmath>

#include "state/year.hpp"

namespace tamvek::modflow {

const char* const usage_text =
    "usage: tamvek-modflow FIRST LAST MODEL --volume-unit acre-feet|cubic-feet|cubic-meters\n"
    "                      [--start YYYY-MM-DD] [--model NAME] [--length-unit feet|meters|centimeters]\n"
    "                      [--time-unit seconds|minutes|hours|days|years] [--zero-outside]\n"
    "                      [--empty-year YEAR]... [--package FILE] [--package-name NAME]\n"
    "                      [--copy-arrays DIR] [--regrid [--model-origin X Y]\n"
    "                      [--model-rotation DEGREES] [--allow-loss]]\n"
    "       tamvek-modflow --verify MODEL [--package FILE] [--model NAME]\n"
    "       tamvek-modflow --help\n";

const char* const help_text =
    "Writes the recharge package of a groundwater model from tamvek's monthly arrays\n"
    "(out\\YYYY.05.rcs to out\\YYYY.10.rcs) of the years FIRST to LAST, run in this\n"
    "directory. Each stress period gets the exact rate of the volume that falls within\n"
    "it: a month's volume is spread evenly over the days of its calendar month.\n"
    "\n"
    "MODEL       a MODFLOW 6 simulation name file (mfsim.nam) or its folder, or a\n"
    "            MODFLOW-2005 / NWT name file. The package is written beside it.\n"
    "--volume-unit U    the volume unit of tamvek's arrays; no file states it, and\n"
    "            there is no default.\n"
    "--start YYYY-MM-DD the first moment of the model's first period, for a model that\n"
    "            does not state it (MODFLOW-2005 never does; MODFLOW 6 in START_DATE_TIME).\n"
    "--length-unit U, --time-unit U   the model's units, where its files leave them\n"
    "            undefined.\n"
    "--model NAME       the groundwater-flow model of a simulation that has several.\n"
    "--zero-outside     years outside FIRST..LAST that the model's periods reach carry\n"
    "            no recharge (without it such years are refused).\n"
    "--empty-year YEAR  the year is meant to carry no recharge at all (without it a\n"
    "            year whose arrays hold only zeros is refused).\n"
    "--package FILE     the package's file (default tamvek.rch), from the model's folder.\n"
    "--package-name NAME  MODFLOW 6's name of the package (default tamvek).\n"
    "--copy-arrays DIR  copies the arrays the package uses, byte for byte, into DIR, a\n"
    "            folder in the model's folder (from it), and names them there: the model\n"
    "            folder then holds all it needs and can be archived or copied to other\n"
    "            machines. A second export replaces the copies; a DIR holding other files\n"
    "            is refused. Without it the package names tamvek's arrays where they are.\n"
    "--regrid           the model's grid may differ from tamvek's (other cell sizes,\n"
    "            rows and columns of varying width, an origin or a rotation of its own,\n"
    "            any size, or MODFLOW 6 DISV polygons): each month's volume is carried\n"
    "            onto the model's cells by the area they share with tamvek's cells,\n"
    "            and the package names arrays written beside it.\n"
    "--model-origin X Y, --model-rotation DEGREES   where the model's grid lies (its\n"
    "            lower-left corner, in its length unit, and its counter-clockwise\n"
    "            rotation) for --regrid, where the model does not say (MODFLOW-2005).\n"
    "--allow-loss       with --regrid: volume outside the model's grid, or on columns\n"
    "            without an active cell, is meant to be left out (without it such a\n"
    "            loss is refused).\n"
    "--verify MODEL     writes nothing: reads the SHA-256 digests that the package\n"
    "            records of every array it names, and names each array that is missing\n"
    "            or has changed since (exit status 2), or prints one line that all match.\n"
    "            Needs no tamvek run; --package and --model as for the export.\n"
    "\n"
    "Nothing is written unless every check passes; the program prints the line to add\n"
    "to the model's name file. Exit status 0 when the package is written, 2 otherwise.\n";

namespace {

[[noreturn]] void refuse_year(const std::string& text, const char* what) {
  throw UsageError(std::string(what) + " must be a year of four digits, not '" + text + "'");
}

// A year as every companion takes one; the year 0 has no place on the
// calendar that the periods are laid on.
int year_of(const std::string& text, const char* what) {
  const std::optional<int> year = four_digit_year(text);
  if (!year || *year < 1) refuse_year(text, what);
  return *year;
}

// --verify reads the model and the package only: the options of an export
// mean nothing there.
Options verify_options(Options options, const std::vector<std::string>& arguments,
                       const std::vector<std::string>& positional) {
  if (!positional.empty())
    throw UsageError("--verify takes the model only, not '" + positional.front() + "'");
  static const std::set<std::string> with_verify = {"--verify", "--package", "--model"};
  for (const std::string& word : arguments)
    if (word.starts_with("--") && !with_verify.contains(word))
      throw UsageError(word + " is an option of the export, not of --verify");
  return options;
}

}  // namespace

namespace {

double real_value(const std::string& option, const std::string& value) {
  double number = 0;
  const char* end = value.data() + value.size();
  const auto [ptr, error] = std::from_chars(value.data(), end, number);
  if (error != std::errc() || ptr != end || !std::isfinite(number))
    throw UsageError(option + " needs a number, not '" + value + "'");
  return number;
}

// The options that take one value.
void take_value(Options& options, const std::string& word, const std::string& value) {
  if (word == "--volume-unit") {
    options.volume_unit = volume_unit_named(value);
    if (!options.volume_unit)
      throw UsageError("--volume-unit is " + volume_unit_choices() + ", not '" + value + "'");
  } else if (word == "--length-unit") {
    options.length_unit = length_unit_named(value);
    if (!options.length_unit)
      throw UsageError("--length-unit is " + length_unit_choices() + ", not '" + value + "'");
  } else if (word == "--time-unit") {
    options.time_unit = time_unit_named(value);
    if (!options.time_unit)
      throw UsageError("--time-unit is " + time_unit_choices() + ", not '" + value + "'");
  } else if (word == "--start") {
    options.start = parse_date_time(value);
    options.start_text = value;
    if (!options.start) throw UsageError("--start needs a date YYYY-MM-DD, not '" + value + "'");
  } else if (word == "--model") {
    options.model_name = value;
  } else if (word == "--package") {
    options.package = value;
  } else if (word == "--package-name") {
    if (value.empty() || value.size() > 16 || value.find_first_of(" '\"#!") != std::string::npos)
      throw UsageError("--package-name needs a name of 1 to 16 characters without blanks, not '" +
                       value + "'");
    options.package_name = value;
  } else if (word == "--empty-year") {
    options.empty_years.insert(year_of(value, "--empty-year"));
  } else if (word == "--copy-arrays") {
    if (value.empty()) throw UsageError("--copy-arrays needs a folder");
    options.copy_arrays = value;
  } else if (word == "--model-rotation") {
    options.model_rotation = real_value(word, value);
  } else if (word == "--verify") {
    options.verify = true;
    options.model = value;
  } else {
    throw UsageError("unknown option " + word);
  }
}

// The options of the regridding make sense only together with --regrid, and
// a regridded package names arrays of its own, never tamvek's, so there is
// nothing of tamvek's to copy.
void check_regrid_options(const Options& options) {
  if (!options.regrid) {
    if (options.model_x) throw UsageError("--model-origin places a grid for --regrid, which is not given");
    if (options.model_rotation)
      throw UsageError("--model-rotation places a grid for --regrid, which is not given");
    if (options.allow_loss) throw UsageError("--allow-loss is for --regrid, which is not given");
    return;
  }
  if (options.copy_arrays)
    throw UsageError("--copy-arrays copies tamvek's arrays, and a package made with --regrid names "
                     "none: its arrays are written beside the package, in the model's folder already");
}

}  // namespace

Options parse_options(const std::vector<std::string>& arguments) {
  Options options;
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& word = arguments[i];
    if (word == "--help" || word == "-h") {
      options.help = true;
      return options;
    }
    if (!word.starts_with("--")) {
      positional.push_back(word);
    } else if (word == "--zero-outside") {
      options.zero_outside = true;
    } else if (word == "--regrid") {
      options.regrid = true;
    } else if (word == "--allow-loss") {
      options.allow_loss = true;
    } else if (word == "--model-origin") {
      if (i + 2 >= arguments.size()) throw UsageError("--model-origin needs two values, X and Y");
      options.model_x = real_value(word, arguments[i + 1]);
      options.model_y = real_value(word, arguments[i + 2]);
      i += 2;
    } else {
      static const std::set<std::string> with_value = {
          "--volume-unit", "--length-unit",  "--time-unit",   "--start",       "--model",
          "--package",     "--package-name", "--empty-year",  "--copy-arrays", "--verify",
          "--model-rotation"};
      if (!with_value.contains(word)) throw UsageError("unknown option " + word);
      if (i + 1 >= arguments.size()) throw UsageError(word + " needs a value");
      take_value(options, word, arguments[++i]);
    }
  }
  if (options.verify) return verify_options(options, arguments, positional);
  if (positional.size() != 3)
    throw UsageError("FIRST, LAST and MODEL expected, " + std::to_string(positional.size()) + " given");
  YearRange range;
  switch (parse_year_range(positional[0], positional[1], range)) {
    case YearRangeFault::first_not_a_year: refuse_year(positional[0], "FIRST");
    case YearRangeFault::last_not_a_year: refuse_year(positional[1], "LAST");
    case YearRangeFault::last_before_first:
      throw UsageError("LAST (" + positional[1] + ") comes before FIRST (" + positional[0] + ")");
    case YearRangeFault::none: break;
  }
  if (range.first < 1) refuse_year(positional[0], "FIRST");
  options.first_year = range.first;
  options.last_year = range.last;
  options.model = positional[2];
  check_regrid_options(options);
  if (!options.volume_unit)
    throw UsageError("--volume-unit is needed: tamvek's arrays do not say whether they hold "
                     "acre-feet, cubic feet or cubic metres, and a wrong guess scales the model's "
                     "budget");
  return options;
}

}  // namespace tamvek::modflow
