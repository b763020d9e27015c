#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "runtime/io.hpp"

namespace tamvek::results {

// What a set asks of the system to put its files in place; tests give their
// own to make a step fail.
struct OutputSystem {
  // A number for a temporary's name; a name found taken is skipped.
  std::function<std::uint64_t()> random;
  std::function<void(const std::filesystem::path& from, const std::filesystem::path& to,
                     std::error_code& error)>
      rename;
  static OutputSystem real();
};

// A program's files, each written under a temporary name of its own in the
// folder of its target, created there exclusively (no file a user has is
// ever taken over), and put in place only when every one of them is
// complete. The last file written is put in place last: a reader that finds
// it finds the others complete. Whatever fails while the files are put in
// place, every file already moved is put back as it was, so that the
// previous set is left whole. Temporaries that were not put in place are
// removed when the set goes.
class OutputSet {
 public:
  explicit OutputSet(const Io& io, OutputSystem system = OutputSystem::real())
      : io_(io), system_(std::move(system)) {}
  ~OutputSet();
  OutputSet(const OutputSet&) = delete;
  OutputSet& operator=(const OutputSet&) = delete;

  // Writes a file's whole text under its temporary name.
  void write(const std::string& name, std::string_view text);
  // Copies a file's bytes under the temporary name of `name`; returns the
  // SHA-256 of the bytes copied, in hexadecimal, and their number.
  std::pair<std::string, std::uint64_t> copy(const std::string& name,
                                             const std::filesystem::path& source);
  // A file of an earlier set that this one no longer has: removed once the
  // set is in place.
  void remove_after_commit(const std::filesystem::path& stale);

  // Puts every file in place, in the order written. Returns a line for each
  // file that should have been removed and could not be (stale files, the
  // earlier files kept aside while the set was put in place).
  std::vector<std::string> commit();

 private:
  struct Pending {
    std::string name;  // as formed
    std::filesystem::path path;
    std::filesystem::path temporary;
    std::filesystem::path kept;  // the earlier file, set aside while the set goes in
  };
  struct Opened {
    std::filesystem::path temporary;
    int fd = -1;
  };
  Opened create_temporary(const std::string& name, const std::filesystem::path& path);
  std::filesystem::path unused_name(const std::filesystem::path& path, const std::string& name);
  // Moves the file at `file.path` to an unused name beside it (`file.kept`),
  // so that it can be put back; on failure nothing is set aside.
  void set_aside(Pending& file, std::error_code& error);
  void put_back(std::size_t moved, std::string& failure);

  const Io& io_;
  OutputSystem system_;
  std::vector<Pending> pending_;
  std::vector<std::filesystem::path> stale_;
};

// The suffix of a file while it is being written: `<name>.<8 hex digits>.tmp`.
inline constexpr std::string_view temporary_suffix = ".tmp";

}  // namespace tamvek::results
