#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace tamvek {

class Io;

// One item of a list-directed write: an integer, a real or a character text.
struct Item {
  enum class Kind { integer, real, text };

  Item(std::int32_t value) : kind(Kind::integer), integer(value) {}
  Item(float value) : kind(Kind::real), real(value) {}
  Item(std::string_view value) : kind(Kind::text), text(value) {}
  Item(const char* value) : kind(Kind::text), text(value) {}
  Item(const std::string& value) : kind(Kind::text), text(value) {}
  Item(double) = delete;  // reals of the run are single precision
  Item(std::int64_t) = delete;

  Kind kind;
  std::int32_t integer = 0;
  float real = 0;
  std::string_view text;
};

// Appends one list-directed record, CR LF included: a leading blank, one blank
// between items except between two character items, which touch.
void append_list_record(std::string& out, std::span<const Item> items);

// One list-directed write statement on a stream: exactly one record.
void write_list(Io& io, int unit, int statement, std::initializer_list<Item> items);

}  // namespace tamvek
