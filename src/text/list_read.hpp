#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>

#include "runtime/stream.hpp"

namespace tamvek {

// A variable of a read statement: an integer or a real of the run. It converts
// implicitly, so that a statement lists the run's variables as they are.
// A statement's list is built at every read, so a variable is one word: its
// address, with the lowest bit (free in the address of any integer or real)
// set for a real.
class Variable {
 public:
  Variable(std::int32_t& value) : address_(reinterpret_cast<std::uintptr_t>(&value)) {}
  Variable(float& value) : address_(reinterpret_cast<std::uintptr_t>(&value) | real_mark) {}

  bool is_integer() const { return (address_ & real_mark) == 0; }
  std::int32_t& integer() const { return *reinterpret_cast<std::int32_t*>(address_); }
  float& real() const { return *reinterpret_cast<float*>(address_ - real_mark); }
  void set(std::int32_t value) const { integer() = value; }
  void set(float value) const { real() = value; }

 private:
  static constexpr std::uintptr_t real_mark = 1;
  static_assert(alignof(std::int32_t) > real_mark && alignof(float) > real_mark);
  std::uintptr_t address_;
};

// Status codes of list-directed reads, besides those of the stream.
inline constexpr int status_bad_value = 5010;

struct ListReadResult {
  int status = 0;          // 0, status_end_of_file (-1), or a positive code (5001, 5007, 5010)
  std::size_t filled = 0;  // variables that received a value in this statement
  std::string message;     // the failure's message (empty on success); only built on failure
};

// A list-directed read with a read status: the failure is reported, nothing is
// written and nothing stops the run. Variables read before a failure keep their
// new values; the failing one and later ones keep their old ones. An empty list
// passes over one record.
ListReadResult read_list_status(Stream& stream, int statement, std::span<const Variable> variables);
inline ListReadResult read_list_status(Stream& stream, int statement,
                                       std::initializer_list<Variable> variables) {
  return read_list_status(stream, statement, std::span<const Variable>(variables.begin(), variables.size()));
}

// A list-directed read without a read status: every failure, end of file
// included, stops the run with the statement's locus line and message.
void read_list(Stream& stream, int statement, std::span<const Variable> variables);
inline void read_list(Stream& stream, int statement, std::initializer_list<Variable> variables) {
  read_list(stream, statement, std::span<const Variable>(variables.begin(), variables.size()));
}

// The read of the loops over files of no fixed length: false at a clean end of
// file, where the file ended before any variable received a value. Any other
// failure stops the run as read_list would, a record cut short by the end of
// the file included ("End of file").
bool read_list_until_end(Stream& stream, int statement, std::span<const Variable> variables);
inline bool read_list_until_end(Stream& stream, int statement,
                                std::initializer_list<Variable> variables) {
  return read_list_until_end(stream, statement,
                             std::span<const Variable>(variables.begin(), variables.size()));
}

namespace list_input {
// The general read of read_list_until_end, for a statement whose record the
// quick way of plain records has already declined.
bool read_list_until_end_in_full(Stream& stream, int statement, std::span<const Variable> variables);
}  // namespace list_input

}  // namespace tamvek
