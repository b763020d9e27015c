#include "modflow/package_files.hpp"

#include <algorithm>

#include "modflow/model_text.hpp"
#include "results/result_error.hpp"

namespace tamvek::modflow {

std::set<std::filesystem::path> own_files(const std::filesystem::path& package) {
  std::set<std::filesystem::path> own;
  std::error_code error;
  if (!std::filesystem::exists(std::filesystem::symlink_status(package, error))) return own;
  if (!std::filesystem::is_regular_file(package, error))
    throw results::ResultError{shown(package), "there, and not a regular file: not overwritten"};
  const std::string text = read_whole_file(package);
  if (!text.starts_with(package_signature))
    throw results::ResultError{shown(package), "there, and not written by tamvek-modflow: not "
                                               "overwritten (name another file with --package)"};
  own.insert(package);
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.starts_with('#')) break;  // the listed files come first
    // Only names beside the package are its own: a listed path elsewhere is
    // never this program's to replace or remove.
    const std::string_view name = line.substr(std::min(line.size(), listed_file_prefix.size()));
    if (line.starts_with(listed_file_prefix) && name.find_first_of("/\\:") == std::string_view::npos &&
        name != "." && name != "..")
      own.insert(package.parent_path() / std::string(name));
  }
  return own;
}

void claim(const std::filesystem::path& file, const std::set<std::filesystem::path>& own) {
  std::error_code error;
  if (std::filesystem::exists(std::filesystem::symlink_status(file, error)) && !own.contains(file))
    throw results::ResultError{shown(file), "there, and not written by tamvek-modflow with this "
                                            "package: not overwritten"};
}

}  // namespace tamvek::modflow
