#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tamvek::modflow {

// The file that a name in a model file names, from the folder the model runs
// in. The name is used as written; where that names no file, a backslash is
// taken as a folder separator (models made on Windows), and then, on a system
// whose names have case, a file whose name differs only in case is taken when
// it is the only one. Either is said in a note for the summary. Where nothing
// is found the name as written is returned, for the reader to refuse.
std::filesystem::path find_model_file(const std::filesystem::path& folder, std::string_view name,
                                      std::vector<std::string>& notes);

// The same for a name that must find a file: one that finds none is refused
// with the file and line that give it.
std::filesystem::path existing_model_file(const std::filesystem::path& folder, std::string_view name,
                                          std::vector<std::string>& notes, const std::string& file,
                                          std::size_t line);

}  // namespace tamvek::modflow
