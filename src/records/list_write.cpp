#include "records/list_write.hpp"

#include "records/io.hpp"
#include "records/real_format.hpp"

namespace tamvek {

void append_list_record(std::string& out, std::span<const Item> items) {
  out += ' ';
  bool previous_text = false;
  bool first = true;
  for (const Item& item : items) {
    const bool text = item.kind() == Item::Kind::text;
    if (!first && !(text && previous_text)) out += ' ';
    first = false;
    previous_text = text;
    char field[16];
    switch (item.kind()) {
      case Item::Kind::integer:
        out.append(field, format_list_integer(item.integer(), field));
        break;
      case Item::Kind::real:
        out.append(field, format_list_real(item.real(), field));
        break;
      case Item::Kind::text:
        out += item.text();
        break;
    }
  }
  out += "\r\n";
}

void write_list(Io& io, int unit, int statement, std::initializer_list<Item> items) {
  std::string& record = io.record_buffer();
  append_list_record(record, std::span<const Item>(items.begin(), items.size()));
  io.stream(unit).write_statement(statement, record);
}

}  // namespace tamvek
