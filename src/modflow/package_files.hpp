#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <string_view>

#include "modflow/model_facts.hpp"
#include "modflow/options.hpp"

namespace tamvek::modflow {

// The opening line of every package this program writes, by which it knows
// its own files again.
inline constexpr std::string_view package_signature = "# tamvek-modflow:";
// The comment line that lists a file written with the package, by its name in
// the package's folder.
inline constexpr std::string_view listed_file_prefix = "# file ";
// The comment line that lists a copy of one of tamvek's arrays, by its path
// from the model's folder.
inline constexpr std::string_view listed_copy_prefix = "# copy ";
// The comment line of an array that the package names: its SHA-256 in
// lowercase hexadecimal, its size in bytes and its name as the package writes
// it, so that sha256sum and --verify can check it.
inline constexpr std::string_view digest_prefix = "# sha256 ";

// The package's file as the export writes it: --package from the model's
// folder, or tamvek.rch there.
std::filesystem::path package_path(const ModelFacts& facts, const Options& options);

// The files that an earlier package at `package` says it wrote (the package
// itself among them), which this program may replace. Nothing there: none.
// A file at `package` that this program did not write is refused.
std::set<std::filesystem::path> own_files(const std::filesystem::path& package,
                                          const std::filesystem::path& model_folder);

// Refuses a file that is there and is not among `own`: it is not this
// program's to overwrite.
void claim(const std::filesystem::path& file, const std::set<std::filesystem::path>& own);

// A path as the package's header lines and names hold it: forward slashes.
// The same with backslashes read as separators, as MODFLOW takes them.
std::filesystem::path as_written(std::string_view name);

// True when `path` (absolute, normal) lies inside `folder` (absolute, normal).
bool lies_inside(const std::filesystem::path& path, const std::filesystem::path& folder);

}  // namespace tamvek::modflow
