#pragma once

#include <cstdint>

#include "runtime/stream.hpp"

namespace tamvek {

// One "(326i2)" read statement: integer fields two characters wide, 326 to a
// record. The caller takes the values one at a time, so that it can check
// where each one goes before it takes it, even the first: the first record is
// read with the first value. A statement always passes over at least one
// record, even one that takes no value, and where the stream has no record
// left it stops the run with "End of file".
class I2Read {
 public:
  static constexpr int fields_per_record = 326;

  I2Read(Stream& stream, int statement);

  // The next field's value. Blanks in a field are ignored, a blank or missing
  // field is 0, a comma ends a field early. Stops the run on a bad field
  // ("Bad value during integer read") and when a new record is needed and the
  // file has none ("End of file").
  std::int32_t next();

  // Ends the statement: the rest of the current record is skipped, so the next
  // read statement starts with the following record.
  void finish();

 private:
  void take_record();

  Stream& stream_;
  int statement_;
  const char* at_ = nullptr;  // the unread rest of the current record
  const char* end_ = nullptr;
  int fields_ = 0;  // fields taken from the current record
  bool started_ = false;  // the statement has its first record
};

}  // namespace tamvek
