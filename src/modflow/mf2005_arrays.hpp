#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tamvek::modflow {

// A formatted file of a MODFLOW-2005 model, read record by record: each read
// begins with the record after the last one the previous read used.
struct RecordFile {
  std::string file;                       // as messages show it
  std::shared_ptr<const std::string> bytes;  // where the records are: it stays put as the file moves
  std::vector<std::string_view> records;  // its lines, without their ends; line n is records[n - 1]
  std::size_t next = 0;
};
RecordFile load_records(const std::filesystem::path& path);

// The next record that holds an item of the file: blank lines and comment
// lines (#) are passed over. Refused at the end of the file, saying what was
// expected.
std::string_view next_item(RecordFile& file, const std::string& expected);

// An unformatted file, read on from where the previous read stopped.
struct ByteFile {
  std::string file;
  std::string bytes;
  std::size_t at = 0;
};

// The files of a MODFLOW-2005 name file by unit, each opened once when an
// array is first read from it, as the model opens them.
class Mf2005Units {
 public:
  Mf2005Units(std::filesystem::path folder, std::vector<std::string>& notes) : folder_(std::move(folder)), notes_(notes) {}

  // An entry of the name file: its type (upper case), unit and file name.
  void add(const std::string& type, long long unit, const std::string& name);
  bool has(long long unit) const { return entries_.contains(unit); }

  // The file of a unit, for a formatted or an unformatted read asked for by a
  // control record (the file and line named in a refusal).
  RecordFile& formatted(long long unit, const std::string& file, std::size_t line);
  ByteFile& unformatted(long long unit, const std::string& file, std::size_t line);

  const std::filesystem::path& folder() const { return folder_; }
  std::vector<std::string>& notes() { return notes_; }

 private:
  struct Entry {
    std::string type;
    std::string name;
    std::optional<RecordFile> text;
    std::optional<ByteFile> binary;
  };
  Entry& entry(long long unit, const std::string& file, std::size_t line);

  std::filesystem::path folder_;
  std::vector<std::string>& notes_;
  std::map<long long, Entry> entries_;
};

// Reads the array whose control record is the next item of `file`, the file of
// unit `own_unit`, as MODFLOW-2005 reads one: `rows` rows of `count` values,
// each row a read of its own (a one-dimensional array is one row). The control
// record is free form (CONSTANT, INTERNAL, EXTERNAL, OPEN/CLOSE) or fixed form
// (LOCAT, CNSTNT, FMTIN, IPRN in columns 1-10, 11-20, 21-40, 41-50). Arrays
// the program does not need (`keep` false) are read through, not kept.
std::vector<double> read_mf2005_array(RecordFile& file, long long own_unit, Mf2005Units& units,
                                      std::size_t rows, std::size_t count, bool keep = true);

}  // namespace tamvek::modflow
