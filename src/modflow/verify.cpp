#include "modflow/verify.hpp"

#include <charconv>
#include <cstdio>
#include <string>
#include <vector>

#include "modflow/model_facts.hpp"
#include "modflow/model_text.hpp"
#include "modflow/package_files.hpp"
#include "results/result_error.hpp"
#include "results/sha256.hpp"

namespace tamvek::modflow {
namespace {

using results::ResultError;

struct RecordedArray {
  std::string name;  // as the package writes it
  std::string sha256;
  std::uint64_t size = 0;
};

bool is_hex_digest(std::string_view text) {
  return text.size() == 64 && text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

// The digest lines of the package's header: `# sha256 <hex> <size> <name>`.
std::vector<RecordedArray> recorded_arrays(const std::filesystem::path& package) {
  const std::string text = read_whole_file(package);
  if (!text.starts_with(package_signature))
    throw ResultError{shown(package), "not written by tamvek-modflow: it records no digests to check"};
  std::vector<RecordedArray> arrays;
  std::size_t at = 0;
  for (std::size_t number = 1; at < text.size(); ++number) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.starts_with('#')) break;  // the header ends at the first line that is not a comment
    if (!line.starts_with(digest_prefix)) continue;
    line.remove_prefix(digest_prefix.size());
    RecordedArray array;
    const std::size_t hex_end = line.find(' ');
    const std::size_t size_end = hex_end == std::string_view::npos ? hex_end : line.find(' ', hex_end + 1);
    if (size_end == std::string_view::npos) refuse(shown(package), number, "a digest line without its name");
    array.sha256 = line.substr(0, hex_end);
    const std::string_view size = line.substr(hex_end + 1, size_end - hex_end - 1);
    const auto [size_stop, error] = std::from_chars(size.data(), size.data() + size.size(), array.size);
    if (!is_hex_digest(array.sha256) || error != std::errc() || size_stop != size.data() + size.size())
      refuse(shown(package), number, "a digest line that is not <sha256> <size> <name>");
    array.name = line.substr(size_end + 1);
    arrays.push_back(std::move(array));
  }
  if (arrays.empty())
    throw ResultError{shown(package), "records no digests of its arrays (written before "
                                      "tamvek-modflow recorded them): export again to record them"};
  return arrays;
}

// The file a name of the package stands for, as MODFLOW finds it: quotes
// removed, from the folder the model runs in, backslashes as separators.
std::filesystem::path resolved(const ModelFacts& facts, std::string name) {
  if (name.size() >= 2 && name.front() == '\'' && name.back() == '\'') name = name.substr(1, name.size() - 2);
  const std::filesystem::path path = as_written(name);
  return (path.is_absolute() ? path : facts.folder / path).lexically_normal();
}

}  // namespace

int verify_package(const Options& options) {
  const ModelFacts facts = read_model(options.model, options.model_name);
  const std::filesystem::path package = package_path(facts, options);
  std::error_code error;
  if (!std::filesystem::exists(package, error))
    throw ResultError{shown(package), "no package there to verify (the export writes it; another "
                                      "one is named with --package)"};
  const std::vector<RecordedArray> arrays = recorded_arrays(package);
  std::size_t differ = 0;
  std::uint64_t bytes = 0;
  for (const RecordedArray& array : arrays) {
    const std::filesystem::path file = resolved(facts, array.name);
    std::string fault;
    if (!std::filesystem::is_regular_file(file, error)) {
      fault = "missing (no file " + shown(file) + ")";
    } else if (const auto digest = results::digest_of_file(file); !digest) {
      fault = "cannot be read (" + shown(file) + ")";
    } else if (digest->size != array.size) {
      fault = "holds " + std::to_string(digest->size) + " bytes where the package recorded " +
              std::to_string(array.size) + ": changed since the export";
    } else if (digest->hex != array.sha256) {
      fault = "its SHA-256 is " + digest->hex + " where the package recorded " + array.sha256 +
              ": changed since the export";
    }
    bytes += array.size;
    if (fault.empty()) continue;
    ++differ;
    std::printf("tamvek-modflow: %s: %s\n", array.name.c_str(), fault.c_str());
  }
  if (differ > 0) {
    std::printf("tamvek-modflow: %s: %zu of the %zu arrays it names differ from what it recorded\n",
                shown(package).c_str(), differ, arrays.size());
    return 2;
  }
  std::printf("tamvek-modflow: %s: all %zu arrays it names (%llu bytes) are as it recorded\n",
              shown(package).c_str(), arrays.size(), static_cast<unsigned long long>(bytes));
  return 0;
}

}  // namespace tamvek::modflow
