#include "report/source_files.hpp"

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "results/result_error.hpp"

namespace tamvek::report {

using results::ResultError;
namespace {

std::string utc_text(std::chrono::sys_seconds time) {
  using namespace std::chrono;
  const sys_days day = floor<days>(time);
  const year_month_day date(day);
  const hh_mm_ss clock(time - day);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d UTC", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                static_cast<int>(clock.seconds().count()));
  return text;
}

}  // namespace

SourceFile source_file(const Io& io, const std::string& name) {
  const std::filesystem::path path = io.path_of(name);
  std::error_code error;
  const std::uintmax_t bytes = std::filesystem::file_size(path, error);
  if (error) throw ResultError{name, "its size cannot be read: " + error.message()};
  const auto written = std::filesystem::last_write_time(path, error);
  if (error) throw ResultError{name, "its time cannot be read: " + error.message()};
  const auto time = std::chrono::file_clock::to_sys(written);
  return {name, bytes, utc_text(std::chrono::floor<std::chrono::seconds>(time))};
}

}  // namespace tamvek::report
