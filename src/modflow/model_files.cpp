#include "modflow/model_files.hpp"

#include <algorithm>
#include <cctype>

#include "modflow/model_text.hpp"
#include "results/result_file.hpp"

namespace tamvek::modflow {
namespace {

namespace fs = std::filesystem;

bool is_there(const fs::path& path) {
  std::error_code error;
  return fs::exists(path, error);
}

std::string folded(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// Each part of `relative` from `base` on: itself where it is there, else the
// only entry of its folder that differs from it in case alone.
bool match_case(const fs::path& base, const fs::path& relative, fs::path& found) {
  found = base;
  for (const fs::path& part : relative) {
    if (part.empty()) continue;
    if (part == "." || part == ".." || is_there(found / part)) {
      found /= part;
      continue;
    }
    const std::string wanted = folded(part.string());
    std::error_code error;
    fs::path only;
    int matches = 0;
    for (fs::directory_iterator entry(found.empty() ? fs::path(".") : found, error), end;
         !error && entry != end; entry.increment(error))
      if (folded(entry->path().filename().string()) == wanted) {
        only = entry->path().filename();
        ++matches;
      }
    if (matches != 1) return false;
    found /= only;
  }
  return is_there(found);
}

void note_once(std::vector<std::string>& notes, std::string note) {
  if (std::find(notes.begin(), notes.end(), note) == notes.end()) notes.push_back(std::move(note));
}

}  // namespace

fs::path find_model_file(const fs::path& folder, std::string_view name, std::vector<std::string>& notes) {
  const fs::path written = folder / fs::path(std::string(name));
  if (name.empty() || is_there(written)) return written;

  std::string separated(name);
  const bool backslash = fs::path::preferred_separator != '\\' && separated.find('\\') != std::string::npos;
  if (backslash) {
    std::replace(separated.begin(), separated.end(), '\\', '/');
    const fs::path slashed = folder / fs::path(separated);
    if (is_there(slashed)) {
      note_once(notes, "the model names the file \"" + std::string(name) + "\": read as " +
                           fs::path(separated).generic_string() + " (a backslash taken as a folder separator)");
      return slashed;
    }
  }

  const fs::path relative(separated);
  fs::path found;
  const bool matched = relative.is_absolute() ? match_case(relative.root_path(), relative.relative_path(), found)
                                              : match_case(folder, relative, found);
  if (!matched) return written;
  const fs::path shown = relative.is_absolute() ? found : found.lexically_relative(folder);
  note_once(notes, "the model names the file \"" + std::string(name) + "\": read as " + shown.generic_string() +
                       ", the only file of that name in another case" +
                       (backslash ? " (a backslash taken as a folder separator)" : ""));
  return found;
}

fs::path existing_model_file(const fs::path& folder, std::string_view name, std::vector<std::string>& notes,
                             const std::string& file, std::size_t line) {
  const fs::path found = find_model_file(folder, name, notes);
  if (!is_there(found))
    refuse(file, line, "the file " + results::in_quotes(name) + " is not there (nor in another case, nor with "
                       "backslashes as folder separators): " + shown(found));
  return found;
}

}  // namespace tamvek::modflow
