#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace tamvek {

// A list-directed read of reals in double precision over records given one
// after another: the free-format read of the arrays in other programs' input
// files. Values are separated by blanks, a comma or a semicolon; `r*v` gives
// the value v to r variables and `r*` passes over r of them; a comma that does
// not follow a value passes over one (a null value); a slash ends the read.
// Variables passed over keep their values. Whatever follows the last variable's
// value in its record is not read, as a list-directed read ends there.
class DoubleListRead {
 public:
  explicit DoubleListRead(std::span<double> values) : values_(values), count_(values.size()) {}
  // A read of `count` values that are checked and passed over, not kept: an
  // array read through for its place in the file.
  explicit DoubleListRead(std::size_t count) : count_(count) {}

  enum class Step { more, done, failed };

  // Takes the values of one more record. After `failed`, failure() says what
  // and failed_text() quotes the value.
  Step take(std::string_view record);

  std::size_t filled() const { return item_; }
  const std::string& failure() const { return failure_; }
  const std::string& failed_text() const { return failed_text_; }

 private:
  Step fail(std::string message, std::string_view text);

  std::span<double> values_;
  std::size_t count_ = 0;
  std::size_t item_ = 0;
  bool comma_separates_ = false;
  std::string failure_;
  std::string failed_text_;
};

}  // namespace tamvek
