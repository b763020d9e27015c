// generate_data: writes a synthetic, reproducible data set for one run of
// tamvek (static files, yearly files and an empty output directory).
//
//   generate_data --root DIR --work DIR [--year YYYY] [--seed N]
//                 [--size example|small|medium|largest]
//                 [--nx N] [--ny N] [--cell FEET] [--groups N] [--auth-records N]
//                 [--diversions N] [--nfactors N] [--crlf]
//
// The same options and seed give the same bytes on every platform.

#include <charconv>
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "generate_data/generate.hpp"

namespace {

using namespace tamvek::generate;

constexpr std::string_view usage =
    "usage: generate_data --root DIR --work DIR [--year YYYY] [--seed N]\n"
    "                     [--size example|small|medium|largest]\n"
    "                     [--nx N] [--ny N] [--cell FEET] [--groups N] [--auth-records N]\n"
    "                     [--diversions N] [--nfactors N] [--crlf]\n"
    "Static files go to DIR/BAVO/QZ/static/, the yearly files authacresYYYY.txt and\n"
    "tamvekYYYY.txt to the working directory, which also gets an empty out/.\n"
    "The size (default example) sets every dimension; the other options change one.\n";

struct Arguments {
  Options options;
  bool help = false;
};

template <class Number>
Number number_of(std::string_view option, std::string_view text) {
  Number value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size())
    throw std::invalid_argument(std::string(option) + " needs a whole number, not '" +
                                std::string(text) + "'");
  return value;
}

Arguments parse(const std::vector<std::string_view>& words) {
  // The size comes first, whatever its place, so that single overrides apply to it.
  Size size = Size::example;
  for (std::size_t i = 0; i + 1 < words.size(); ++i) {
    if (words[i] != "--size") continue;
    const auto named = size_named(words[i + 1]);
    if (!named) throw std::invalid_argument("unknown size '" + std::string(words[i + 1]) + "'");
    size = *named;
  }
  Arguments arguments{preset(size), false};
  Options& options = arguments.options;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string_view option = words[i];
    if (option == "--help" || option == "-h") {
      arguments.help = true;
      continue;
    }
    if (option == "--crlf") {
      options.crlf = true;
      continue;
    }
    if (i + 1 == words.size()) throw std::invalid_argument(std::string(option) + " needs a value");
    const std::string_view value = words[++i];
    if (option == "--root") {
      options.root = std::string(value);
    } else if (option == "--work") {
      options.work = std::string(value);
    } else if (option == "--year") {
      options.year = std::string(value);
    } else if (option == "--seed") {
      options.seed = number_of<std::uint64_t>(option, value);
    } else if (option == "--size") {
      // taken above
    } else if (option == "--nx") {
      options.nx = number_of<int>(option, value);
    } else if (option == "--ny") {
      options.ny = number_of<int>(option, value);
    } else if (option == "--cell") {
      options.cell_feet = number_of<int>(option, value);
    } else if (option == "--groups") {
      options.groups = number_of<int>(option, value);
    } else if (option == "--auth-records") {
      options.auth_records = number_of<long>(option, value);
    } else if (option == "--diversions") {
      options.diversions = number_of<long>(option, value);
    } else if (option == "--nfactors") {
      options.nfactors = number_of<int>(option, value);
    } else {
      throw std::invalid_argument("unknown option " + std::string(option));
    }
  }
  return arguments;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments arguments;
  try {
    arguments = parse(std::vector<std::string_view>(argv + 1, argv + argc));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "generate_data: %s\n%s", error.what(), usage.data());
    return 2;
  }
  if (arguments.help) {
    std::fputs(usage.data(), stdout);
    return 0;
  }
  const Options& options = arguments.options;
  try {
    const auto start = std::chrono::steady_clock::now();
    const Summary summary = generate_data_set(options);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    const Layout& layout = summary.layout;
    std::printf("static files: %s\n", summary.static_dir.string().c_str());
    std::printf("  grid %d x %d cells of %d ft, %d active, %d counties\n", options.nx, options.ny,
                options.cell_feet, summary.active_cells, summary.counties);
    std::printf("  survey block townships %d..%d, ranges %d..%d: %ld tract coordinate records\n",
                layout.twp_first, layout.twp_first + layout.twp_count - 1, layout.rng_first,
                layout.rng_first + layout.rng_count - 1, summary.coordinate_records);
    std::printf("yearly files: %s (year %s)\n", options.work.string().c_str(),
                options.year.c_str());
    std::printf("  %ld authorized-acreage records (%ld on stray tracts) for %d groups\n",
                summary.auth_records, summary.stray_records, summary.authorized_groups);
    std::printf(
        "  %ld diversion records; %d groups without diversion, %d without authorized acres\n",
        summary.diversion_records, summary.groups_without_diversion, summary.diversion_only_groups);
    std::printf("seed %llu, %.2f s\n", static_cast<unsigned long long>(options.seed), took.count());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "generate_data: %s\n", error.what());
    return 1;
  }
  return 0;
}
