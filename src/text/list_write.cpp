#include "text/list_write.hpp"

#include <cstring>

#include "runtime/io.hpp"
#include "text/number_format.hpp"

namespace tamvek {

void append_list_record(std::string& out, std::span<const Item> items) {
  // Room for the widest form of every item, written in place and cut to size.
  std::size_t room = 3;  // the leading blank and CR LF
  for (const Item& item : items)
    room += 1 + (item.kind == Item::Kind::text ? item.text.size() : list_real_width);
  const std::size_t start = out.size();
  out.resize(start + room);
  char* next = out.data() + start;
  *next++ = ' ';
  bool previous_text = false;
  bool first = true;
  for (const Item& item : items) {
    const bool text = item.kind == Item::Kind::text;
    if (!first && !(text && previous_text)) *next++ = ' ';
    first = false;
    previous_text = text;
    switch (item.kind) {
      case Item::Kind::integer: next = format_list_integer(item.integer, next); break;
      case Item::Kind::real: next = format_list_real(item.real, next); break;
      case Item::Kind::text:
        if (!item.text.empty()) std::memcpy(next, item.text.data(), item.text.size());
        next += item.text.size();
        break;
    }
  }
  *next++ = '\r', *next++ = '\n';
  out.resize(static_cast<std::size_t>(next - out.data()));
}

void write_list(Io& io, int unit, int statement, std::initializer_list<Item> items) {
  std::string& record = io.record_buffer();
  append_list_record(record, std::span<const Item>(items.begin(), items.size()));
  io.stream(unit).write_statement(statement, record);
}

}  // namespace tamvek
