#include "modflow/package_files.hpp"

#include <algorithm>

#include "modflow/model_text.hpp"
#include "results/result_error.hpp"

namespace tamvek::modflow {

std::filesystem::path package_path(const ModelFacts& facts, const Options& options) {
  const std::filesystem::path given =
      options.package ? as_written(options.package->string()) : std::filesystem::path("tamvek.rch");
  return std::filesystem::absolute(given.is_absolute() ? given : facts.folder / given).lexically_normal();
}

std::filesystem::path as_written(std::string_view name) {
  std::string text(name);
  std::replace(text.begin(), text.end(), '\\', '/');
  return std::filesystem::path(text);
}

bool lies_inside(const std::filesystem::path& path, const std::filesystem::path& folder) {
  const std::filesystem::path relative = path.lexically_relative(folder);
  return !relative.empty() && *relative.begin() != ".." && relative != "." && !relative.is_absolute();
}

std::set<std::filesystem::path> own_files(const std::filesystem::path& package,
                                          const std::filesystem::path& model_folder) {
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
    // Only names beside the package, and copies inside the model's folder,
    // are its own: a listed path elsewhere is never this program's to
    // replace or remove.
    if (line.starts_with(listed_file_prefix)) {
      const std::string_view name = line.substr(listed_file_prefix.size());
      if (name.find_first_of("/\\:") == std::string_view::npos && name != "." && name != ".." &&
          !name.empty())
        own.insert(package.parent_path() / std::string(name));
    } else if (line.starts_with(listed_copy_prefix)) {
      const std::filesystem::path name = as_written(line.substr(listed_copy_prefix.size()));
      const std::filesystem::path copy = (model_folder / name).lexically_normal();
      if (!name.is_absolute() && !name.has_root_name() && lies_inside(copy, model_folder) &&
          lies_inside(copy.parent_path(), model_folder))
        own.insert(copy);
    }
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
