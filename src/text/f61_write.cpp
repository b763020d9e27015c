#include "text/f61_write.hpp"

#include "runtime/io.hpp"
#include "text/number_format.hpp"

namespace tamvek {

void append_f61_records(std::string& out, std::span<const float> values) {
  const std::size_t records = values.empty() ? 1 : (values.size() + f61_fields_per_record - 1) / f61_fields_per_record;
  const std::size_t start = out.size();
  out.resize(start + values.size() * f61_field_width + records * 2);
  char* next = out.data() + start;
  std::size_t in_record = 0;
  for (const float value : values) {
    next = format_f61(value, next);
    if (++in_record == f61_fields_per_record) {
      *next++ = '\r', *next++ = '\n';
      in_record = 0;
    }
  }
  if (in_record > 0 || values.empty()) *next++ = '\r', *next++ = '\n';
}

void write_f61(Io& io, int unit, int statement, std::span<const float> values) {
  std::string& records = io.record_buffer();
  append_f61_records(records, values);
  io.stream(unit).write_statement(statement, records);
}

}  // namespace tamvek
