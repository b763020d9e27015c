#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "runtime/run_stop.hpp"

namespace tamvek {

// A fixed-size table indexed from 1 in every dimension, first index varying
// fastest. Every access tests each index before it reads or writes, the last
// dimension first and each against its lower bound, then its upper one; the
// first index outside stops the run with the range-check stop of the statement.
template <class T, int... Extents>
class Table {
 public:
  static constexpr int rank = sizeof...(Extents);
  static constexpr std::array<int, rank> extents{Extents...};
  static constexpr std::size_t size = (static_cast<std::size_t>(Extents) * ...);

  explicit Table(std::string_view name) : name_(name) {}

  template <class... Index>
    requires(sizeof...(Index) == rank)
  T& at(int statement, Index... index) {
    const std::array<std::int64_t, rank> indexes{static_cast<std::int64_t>(index)...};
    std::size_t offset = 0;
    for (std::size_t d = rank; d-- > 0;) {
      check_index(statement, indexes[d], 1, extents[d], name_, static_cast<int>(d) + 1);
      offset = offset * static_cast<std::size_t>(extents[d]) + static_cast<std::size_t>(indexes[d] - 1);
    }
    return data_[offset];
  }

  // A row: entries (1..count, rest...) in index order, for a statement that runs the first index
  // over a range: the first index that would fail stops the run, as if each entry were taken in turn.
  template <class... Rest>
    requires(sizeof...(Rest) == rank - 1)
  std::span<T> row(int statement, int count, Rest... rest) {
    if (count < 1) return {};
    at(statement, count > extents[0] ? extents[0] + 1 : count, rest...);
    return {&at(statement, 1, rest...), static_cast<std::size_t>(count)};
  }

  // Every entry to zero (or the element type's zero).
  void clear() { data_.fill(T{}); }

 private:
  std::string_view name_;
  std::array<T, size> data_{};
};

}  // namespace tamvek
