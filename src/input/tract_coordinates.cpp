#include "input/tract_coordinates.hpp"

#include <memory>
#include <string_view>
#include <system_error>

#include "runtime/platform.hpp"
#include "text/list_write.hpp"
#include "text/plain_record.hpp"
#include "state/file_names.hpp"
#include "state/run_state.hpp"

namespace tamvek {
namespace {

constexpr int progress_statement = 162;
constexpr int read_statement = 166;
constexpr int store_x_statement = 173;
constexpr int store_y_statement = 174;
constexpr int close_statement = 176;

constexpr std::uint64_t every_field = 0x3F;

// The progress line and the OPEN of the file; its stream.
Stream& open_tract_coordinates(Run& run) {
  write_list(run.io, Io::console_unit, progress_statement,
             {"..reading coordinates of 40-acre tracts"});
  const RunFile file = tract_coordinate_file();
  open_run_file(run.io, file);
  return run.io.stream(file.unit);
}

// A stream on the file to read it ahead of its OPEN on a thread of its own:
// read-only, never created, not in the table of streams; nullptr when the file
// cannot be opened so.
std::unique_ptr<Stream> open_apart(const Io& io, const RunFile& file) {
  std::string_view name = file.name;
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  const platform::Opened opened = platform::open_file(io.path_of(name), platform::OpenMode::read_only);
  if (opened.fd < 0) return nullptr;
  return std::make_unique<Stream>(file.unit, std::string(name), opened.fd, Access::read_only, true);
}

void read_records(Run& run, Stream& stream) {
  float x = 0;
  float y = 0;
  while (read_list_until_end(stream, read_statement, run.twp, run.rng, run.sec, run.tract, x, y)) {
    run.tracts.xcoord(store_x_statement, run.twp, run.rng, run.sec, run.tract) = x;
    run.tracts.ycoord(store_y_statement, run.twp, run.rng, run.sec, run.tract) = y;
  }
  run.io.close(close_statement, tract_coordinate_file().unit);
}

}  // namespace

TractCoordinatesAhead::TractCoordinatesAhead(Run& run) : run_(run) {
  try {
    reader_ = std::thread([this] { read_ahead(); });
  } catch (const std::system_error&) {
    // The phase reads the file.
  }
}

TractCoordinatesAhead::~TractCoordinatesAhead() {
  abandoned_ = true;
  if (reader_.joinable()) reader_.join();
}

void TractCoordinatesAhead::read_ahead() {
  try {
    const RunFile file = tract_coordinate_file();
    const std::unique_ptr<Stream> stream = open_apart(run_.io, file);
    if (!stream || !stream->version(version_)) return;
    std::int32_t twp = 0, rng = 0, sec = 0, tract = 0;
    float x = 0;
    float y = 0;
    std::uint64_t assigned = 0;
    while (read_list_until_end(*stream, read_statement, assigned, twp, rng, sec, tract, x, y)) {
      if (assigned != every_field || abandoned_.load(std::memory_order_relaxed)) return;
      run_.tracts.xcoord(store_x_statement, twp, rng, sec, tract) = x;
      run_.tracts.ycoord(store_y_statement, twp, rng, sec, tract) = y;
      read_any_ = true;
    }
    twp_ = twp, rng_ = rng, sec_ = sec, tract_ = tract;
    complete_ = true;
  } catch (...) {
    // The phase reads the file, and meets the same.
  }
}

bool TractCoordinatesAhead::finish() {
  if (reader_.joinable()) reader_.join();
  return complete_;
}

void read_tract_coordinates(Run& run) { read_records(run, open_tract_coordinates(run)); }

void read_tract_coordinates(Run& run, TractCoordinatesAhead& ahead) {
  const bool complete = ahead.finish();
  Stream& stream = open_tract_coordinates(run);
  if (FileVersion version; complete && !stream.begin_read() && stream.version(version) && version == ahead.version_) {
    if (ahead.read_any_) run.twp = ahead.twp_, run.rng = ahead.rng_, run.sec = ahead.sec_, run.tract = ahead.tract_;
    run.io.close(close_statement, tract_coordinate_file().unit);
    return;
  }
  // What was read ahead goes; the file is read as if it never had been.
  run.tracts.clear();
  read_records(run, stream);
}

}  // namespace tamvek
