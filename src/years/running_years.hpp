#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "years/process.hpp"

namespace tamvek::years {

// The years whose tamvek is running, so that an interrupt can stop them, and
// whether an interrupt has come. Used from every worker and the interrupt's
// thread at once.
class RunningYears {
 public:
  // False when an interrupt came first; the program is then stopped at once.
  bool add(int year, ChildProcess& child);
  void remove(int year);
  // Marks the interrupt and stops every running year's program; returns those
  // years, or nothing when an interrupt had already come.
  std::optional<std::vector<int>> interrupt();
  bool interrupted() const;

 private:
  mutable std::mutex mutex_;
  bool interrupted_ = false;
  std::map<int, ChildProcess*> running_;
};

}  // namespace tamvek::years
