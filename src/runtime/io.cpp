#include "runtime/io.hpp"

#include <cstdlib>
#include <stdexcept>

#include "runtime/platform.hpp"
#include "runtime/run_stop.hpp"

namespace tamvek {
namespace {

using platform::OpenFailure;
using platform::OpenMode;

std::string open_failure_message(const platform::Opened& failed, const std::string& name) {
  switch (failed.failure) {
    case OpenFailure::missing: return "File '" + name + "' does not exist";
    case OpenFailure::access_refused: return "Permission denied trying to open file '" + name + "'";
    case OpenFailure::directory: return "'" + name + "' is a directory";
    default: return platform::error_text(failed.error);
  }
}

std::size_t slot(int unit) {
  if (unit < 0 || unit >= 32) throw std::logic_error("stream number out of the table");
  return static_cast<std::size_t>(unit);
}

}  // namespace

Io::Io(IoSetup setup) : setup_(std::move(setup)) {
  streams_[console_unit] =
      std::make_unique<Stream>(console_unit, "stdout", setup_.stdout_fd, Access::write_only, false, &behind_);
}

Io::~Io() { behind_.settle_quietly(); }

std::string Io::path_of(std::string_view name) const {
  return platform::path_of(name, setup_.root, setup_.workdir);
}

void Io::open(int statement, int unit, std::string_view name, Use use) {
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  const std::string formed(name);
  if (streams_[slot(unit)]) close(statement, unit);
  behind_.settle();  // an OPEN may create a file

  const std::string path = path_of(formed);
  Access access = Access::read_write;
  platform::Opened opened = platform::open_file(path, OpenMode::read_write_create);
  if (opened.failure == OpenFailure::access_refused ||
      opened.failure == OpenFailure::read_only_medium) {
    const platform::Opened refused = opened;
    access = Access::read_only;
    opened = platform::open_file(path, OpenMode::read_only);
    if (opened.failure == OpenFailure::access_refused) {
      access = Access::write_only;
      opened = platform::open_file(path, OpenMode::write_only);
    }
    // A file that could not be created for want of access is reported as such.
    if (opened.failure == OpenFailure::missing) opened = refused;
  }
  if (opened.fd < 0) stop_io(statement, unit, {}, open_failure_message(opened, formed));
  auto stream = std::make_unique<Stream>(unit, formed, opened.fd, access, true, &behind_);
  // A file opened for reading only keeps its records; its first write fails.
  if (use == Use::write && access != Access::read_only) stream->empty_unless_written(statement);
  streams_[slot(unit)] = std::move(stream);
}

Stream& Io::stream(int unit) {
  Stream* stream = streams_[slot(unit)].get();
  if (stream == nullptr) throw std::logic_error("statement on a stream that is not open");
  return *stream;
}

void Io::close(int statement, int unit) {
  std::unique_ptr<Stream>& stream = streams_[slot(unit)];
  if (!stream) return;
  // Detached even when the close fails, so that the end of the run does not retry it.
  const std::unique_ptr<Stream> closing = std::move(stream);
  closing->close(statement);
}

void Io::rewind(int statement, int unit) { stream(unit).rewind(statement); }

std::string Io::close_all() noexcept {
  std::string first_failure;
  for (std::unique_ptr<Stream>& stream : streams_) {
    if (!stream) continue;
    const std::unique_ptr<Stream> closing = std::move(stream);
    try {
      closing->close_at_end();
    } catch (const RunEnd& failure) {
      if (first_failure.empty()) first_failure = failure.message;
    }
  }
  return first_failure;
}

void Io::flush_all_quietly() noexcept {
  for (const std::unique_ptr<Stream>& stream : streams_)
    if (stream) stream->flush_quietly();
}

IoSetup io_setup_from_environment() {
  IoSetup setup;
  if (const char* root = std::getenv("TAMVEK_ROOT"); root != nullptr && *root != '\0')
    setup.root = root;
  return setup;
}

}  // namespace tamvek
