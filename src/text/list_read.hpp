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
class Variable {
 public:
  Variable(std::int32_t& value) : integer_(&value) {}
  Variable(float& value) : real_(&value) {}

  bool is_integer() const { return integer_ != nullptr; }
  void set(std::int32_t value) const { *integer_ = value; }
  void set(float value) const { *real_ = value; }

 private:
  std::int32_t* integer_ = nullptr;
  float* real_ = nullptr;
};

struct ListReadResult {
  int status = 0;          // 0, status_end_of_file (-1), or a positive code (5001, 5007, 5010)
  std::size_t filled = 0;  // variables that received a value in this statement
  std::uint64_t assigned = 0;  // bit i set when variable i (of the first 64) received one
  std::string message;     // the failure's message (empty on success); only built on failure
};

// A list-directed read with a read status: the failure is reported, nothing is
// written and nothing stops the run. Variables read before a failure keep their
// new values; the failing one and later ones keep their old ones. An empty list
// passes over one record.
ListReadResult read_list_status(Stream& stream, int statement, std::span<const Variable> variables);
inline ListReadResult read_list_status(Stream& stream, int statement, std::initializer_list<Variable> variables) {
  return read_list_status(stream, statement, {variables.begin(), variables.size()});
}

// A list-directed read without a read status: every failure, end of file
// included, stops the run with the statement's locus line and message.
void read_list(Stream& stream, int statement, std::span<const Variable> variables);
inline void read_list(Stream& stream, int statement, std::initializer_list<Variable> variables) {
  read_list(stream, statement, {variables.begin(), variables.size()});
}

// The read of the loops over files of no fixed length: false at a clean end of
// file, where the file ended before any variable received a value. Any other
// failure stops the run as read_list would, a record cut short by the end of
// the file included ("End of file"). `assigned` says which variables received
// a value (bit i for variable i).
bool read_list_until_end(Stream& stream, int statement, std::span<const Variable> variables, std::uint64_t& assigned);
inline bool read_list_until_end(Stream& stream, int statement, std::initializer_list<Variable> variables) {
  std::uint64_t assigned = 0;
  return read_list_until_end(stream, statement, {variables.begin(), variables.size()}, assigned);
}

}  // namespace tamvek
