#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tamvek::modflow {

// One line of a model input file that holds something: its number in the file
// (from 1), its text without the record end and its words.
struct TextLine {
  std::size_t number = 0;
  std::string text;
  std::vector<std::string> words;
};

// A model input file: where it is (as the messages show it) and its lines.
struct ModelText {
  std::string file;
  std::vector<TextLine> lines;
};

// How the model's generation marks comments. MODFLOW 6: `#`, `!` or `//` at
// the start of a word ends the line. MODFLOW-2005: a line whose first
// character that is not blank is `#`.
enum class Comments { mf6, mf2005 };

// The words of one line, as read_model_text splits them.
std::vector<std::string> split_words(std::string_view text, Comments comments);

// The part of a line before its comment: what a free-format read of values
// takes from it.
std::string_view data_part(std::string_view text, Comments comments);

// Reads a model input file, leaving out blank and comment lines. Words are
// separated by blanks, tabs or a comma; a word in single quotes may hold blanks.
// A missing or unreadable file is refused.
ModelText read_model_text(const std::filesystem::path& path, Comments comments);

// The bytes of a file; a missing or unreadable one is refused.
std::string read_whole_file(const std::filesystem::path& path);

// Stops the program: the file, the line and what was found there.
[[noreturn]] void refuse(const std::string& file, std::size_t line, const std::string& what);

// A keyword as the model files compare it: upper case.
std::string upper(std::string_view word);

// A model's number: a Fortran real (1.5, 2640., .5, 1E3, 1.0D0, 1.0+2) read
// whole and finite, in double precision, or false.
bool parse_real(std::string_view word, double& value);
double real_of(const std::string& file, const TextLine& line, std::size_t index,
               std::string_view what);
long long integer_of(const std::string& file, const TextLine& line, std::size_t index,
                     std::string_view what);

// A path as messages and the package show it: with forward slashes.
std::string shown(const std::filesystem::path& path);

}  // namespace tamvek::modflow
