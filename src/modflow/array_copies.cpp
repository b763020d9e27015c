#include "modflow/array_copies.hpp"

#include "modflow/model_text.hpp"
#include "modflow/package_files.hpp"
#include "results/result_error.hpp"

namespace tamvek::modflow {

using results::ResultError;

CopyFolder::CopyFolder(const ModelFacts& facts, const Options& options,
                       const std::filesystem::path& package,
                       const std::set<std::filesystem::path>& own) {
  const std::filesystem::path folder = std::filesystem::absolute(facts.folder).lexically_normal();
  const std::filesystem::path given = as_written(options.copy_arrays->string());
  path_ = (folder / given).lexically_normal();
  if (!path_.has_filename()) path_ = path_.parent_path();
  // The model travels with its folder: whatever the package names must lie in it.
  if (!lies_inside(path_, folder))
    throw ResultError{shown(given), "--copy-arrays needs a folder inside the model's folder " +
                                        shown(folder) + " (given from it)"};
  if (!lies_inside(package, folder))
    throw ResultError{shown(package), "with --copy-arrays the package must lie in the model's "
                                      "folder " + shown(folder) + ", as everything it names does"};
  std::error_code error;
  const auto status = std::filesystem::status(path_, error);
  if (std::filesystem::exists(status)) {
    if (!std::filesystem::is_directory(status))
      throw ResultError{shown(path_), "there, and not a folder: no copies made (--copy-arrays)"};
    for (const auto& entry : std::filesystem::directory_iterator(path_, error)) {
      const std::filesystem::path file = entry.path().lexically_normal();
      if (!own.contains(file) || !entry.is_regular_file(error))
        throw ResultError{shown(file), "in the folder for the copies, and not written there by an "
                                       "export of this package: nothing changed (choose another "
                                       "folder with --copy-arrays, or empty this one)"};
    }
    if (error) throw ResultError{shown(path_), "cannot be read: " + error.message()};
    return;
  }
  std::vector<std::filesystem::path> missing;
  for (std::filesystem::path at = path_; at != folder && !std::filesystem::exists(at, error);
       at = at.parent_path())
    missing.insert(missing.begin(), at);
  for (const std::filesystem::path& at : missing) {
    if (!std::filesystem::create_directory(at, error) || error) {
      remove_made();
      throw ResultError{shown(at), "cannot be made for the copies: " + error.message()};
    }
    made_.push_back(at);
  }
}

CopyFolder::~CopyFolder() { remove_made(); }

void CopyFolder::remove_made() {
  // Only folders made here, and only when empty: remove() takes no folder
  // that still holds something.
  for (auto at = made_.rbegin(); at != made_.rend(); ++at) {
    std::error_code ignored;
    std::filesystem::remove(*at, ignored);
  }
  made_.clear();
}

}  // namespace tamvek::modflow
