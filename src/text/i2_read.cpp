#include "text/i2_read.hpp"

#include <algorithm>
#include <string_view>

#include "text/value_conversion.hpp"

namespace tamvek {
namespace {

// The value of one field of up to two characters (no comma in it); false for a
// bad field.
bool field_value(const char* p, const char* end, std::int32_t& value) {
  while (p != end && *p == ' ') ++p;
  bool negative = false;
  if (p != end && list_input::is_sign(*p)) {
    negative = *p++ == '-';
    if (p == end) return false;  // a sign with nothing after it in the field
  }
  std::int32_t magnitude = 0;
  for (; p != end; ++p) {
    if (*p == ' ') continue;
    const int digit = *p - '0';
    if (digit < 0 || digit > 9) return false;
    magnitude = magnitude * 10 + digit;
  }
  value = negative ? -magnitude : magnitude;
  return true;
}

}  // namespace

I2Read::I2Read(Stream& stream, int statement) : stream_(stream), statement_(statement) {
  if (const IoFailure refused = stream.begin_read()) stream.fail(statement, refused.message);
}

void I2Read::take_record() {
  std::string_view record;
  const bool first = !started_;
  started_ = true;
  if (!(first && stream_.take_rest(record)) && !stream_.next_record(statement_, record))
    stream_.fail(statement_, "End of file");
  at_ = record.data();
  end_ = at_ + record.size();
  fields_ = 0;
}

std::int32_t I2Read::next() {
  if (!started_ || fields_ == fields_per_record) take_record();
  ++fields_;
  // Past the record's end the field is blank: the record counts as padded.
  const char* field = at_;
  const char* limit = at_ + std::min<std::ptrdiff_t>(2, end_ - at_);
  const char* field_end = std::find(field, limit, ',');
  at_ = field_end == limit ? limit : field_end + 1;
  std::int32_t value = 0;
  if (!field_value(field, field_end, value)) stream_.fail(statement_, "Bad value during integer read");
  return value;
}

void I2Read::finish() {
  if (!started_) take_record();
  at_ = end_;
}

}  // namespace tamvek
