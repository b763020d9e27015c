#pragma once

#include <span>
#include <string>

namespace tamvek {

class Io;

// The layout of a "(326f6.1)" write: fields of 6 characters, 326 a record.
// The readers of tamvek's arrays take it from here.
inline constexpr std::size_t f61_field_width = 6;
inline constexpr std::size_t f61_fields_per_record = 326;

// Appends the records of one such write, CR LF after the last field of each;
// no values give one empty record.
void append_f61_records(std::string& out, std::span<const float> values);

// One "(326f6.1)" write statement on a stream.
void write_f61(Io& io, int unit, int statement, std::span<const float> values);

}  // namespace tamvek
