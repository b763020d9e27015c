#include "modflow/model_text.hpp"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "modflow/double_conversion.hpp"
#include "results/result_error.hpp"
#include "results/result_file.hpp"

namespace tamvek::modflow {
namespace {

bool starts_comment(std::string_view rest, Comments comments) {
  if (comments != Comments::mf6) return false;
  return rest.starts_with('#') || rest.starts_with('!') || rest.starts_with("//");
}

}  // namespace

std::vector<std::string> split_words(std::string_view text, Comments comments) {
  std::vector<std::string> words;
  std::size_t at = 0;
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (at < text.size()) {
    while (at < text.size() && blank(text[at])) ++at;
    if (at == text.size() || starts_comment(text.substr(at), comments)) break;
    std::string word;
    if (text[at] == '\'' || text[at] == '"') {
      const char quote = text[at];
      const std::size_t end = text.find(quote, at + 1);
      const std::size_t stop = end == std::string_view::npos ? text.size() : end;
      word = std::string(text.substr(at + 1, stop - at - 1));
      at = end == std::string_view::npos ? text.size() : end + 1;
    } else {
      while (at < text.size() && !blank(text[at]) && text[at] != ',') word += text[at++];
    }
    words.push_back(std::move(word));
    while (at < text.size() && blank(text[at])) ++at;
    if (at < text.size() && text[at] == ',') ++at;  // a single comma separates too
  }
  return words;
}

std::string_view data_part(std::string_view text, Comments comments) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  for (std::size_t at = 0; at < text.size(); ++at)
    if ((at == 0 || blank(text[at - 1]) || text[at - 1] == ',') && starts_comment(text.substr(at), comments))
      return text.substr(0, at);
  return text;
}

std::string read_whole_file(const std::filesystem::path& path) {
  std::string text;
  const results::FileFault fault = results::read_whole_file(path.string(), text);
  if (fault != results::FileFault::none)
    throw results::ResultError{shown(path), std::string(results::fault_text(fault))};
  return text;
}

ModelText read_model_text(const std::filesystem::path& path, Comments comments) {
  ModelText model{shown(path), {}};
  const std::string text = read_whole_file(path);
  std::size_t number = 0;
  std::size_t at = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;  // the mark some editors put before UTF-8
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + at, end - at);
    at = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos) continue;
    if (comments == Comments::mf2005 && line[first] == '#') continue;
    TextLine entry{number, std::string(line), split_words(line, comments)};
    if (!entry.words.empty()) model.lines.push_back(std::move(entry));
  }
  return model;
}

void refuse(const std::string& file, std::size_t line, const std::string& what) {
  throw results::ResultError{file, "line " + std::to_string(line) + ": " + what};
}

std::string upper(std::string_view word) {
  std::string text(word);
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool parse_real(std::string_view word, double& value) {
  return list_input::parse_double(word.data(), word.data() + word.size(), value) == list_input::Conversion::ok &&
         std::isfinite(value);
}

double real_of(const std::string& file, const TextLine& line, std::size_t index,
               std::string_view what) {
  double value = 0;
  if (index >= line.words.size())
    refuse(file, line.number, std::string(what) + " expected, but the line ends: \"" +
                                  results::printable(line.text) + "\"");
  if (!parse_real(line.words[index], value))
    refuse(file, line.number, std::string(what) + ": \"" + results::printable(line.words[index]) +
                                  "\" is not a number");
  return value;
}

long long integer_of(const std::string& file, const TextLine& line, std::size_t index,
                     std::string_view what) {
  if (index >= line.words.size())
    refuse(file, line.number, std::string(what) + " expected, but the line ends: \"" +
                                  results::printable(line.text) + "\"");
  const std::string& word = line.words[index];
  long long value = 0;
  const char* begin = word.data() + (word.starts_with('+') ? 1 : 0);
  const auto [end, error] = std::from_chars(begin, word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size() || begin == end)
    refuse(file, line.number, std::string(what) + ": \"" + results::printable(word) +
                                  "\" is not a whole number");
  return value;
}

std::string shown(const std::filesystem::path& path) { return path.generic_string(); }

}  // namespace tamvek::modflow
