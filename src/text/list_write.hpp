#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace tamvek {

class Io;

// One item of a list-directed write: an integer, a real or a character text.
class Item {
 public:
  enum class Kind { integer, real, text };

  Item(std::int32_t value) : kind_(Kind::integer), integer_(value) {}
  Item(float value) : kind_(Kind::real), real_(value) {}
  Item(std::string_view value) : kind_(Kind::text), text_(value) {}
  Item(const char* value) : kind_(Kind::text), text_(value) {}
  Item(const std::string& value) : kind_(Kind::text), text_(value) {}
  Item(double) = delete;  // reals of the run are single precision
  Item(std::int64_t) = delete;

  Kind kind() const { return kind_; }
  std::int32_t integer() const { return integer_; }
  float real() const { return real_; }
  std::string_view text() const { return text_; }

 private:
  Kind kind_;
  std::int32_t integer_ = 0;
  float real_ = 0;
  std::string_view text_;
};

// Appends one list-directed record, CR LF included: a leading blank, one blank
// between items except between two character items, which touch.
void append_list_record(std::string& out, std::span<const Item> items);

// One list-directed write statement on a stream: exactly one record.
void write_list(Io& io, int unit, int statement, std::initializer_list<Item> items);

}  // namespace tamvek
