#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <string_view>

namespace tamvek::modflow {

// The opening line of every package this program writes, by which it knows
// its own files again.
inline constexpr std::string_view package_signature = "# tamvek-modflow:";
// The comment line that lists a file written with the package, by its name in
// the package's folder.
inline constexpr std::string_view listed_file_prefix = "# file ";

// The files that an earlier package at `package` says it wrote (the package
// itself among them), which this program may replace. Nothing there: none.
// A file at `package` that this program did not write is refused.
std::set<std::filesystem::path> own_files(const std::filesystem::path& package);

// Refuses a file that is there and is not among `own`: it is not this
// program's to overwrite.
void claim(const std::filesystem::path& file, const std::set<std::filesystem::path>& own);

}  // namespace tamvek::modflow
