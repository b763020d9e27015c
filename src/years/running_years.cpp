#include "years/running_years.hpp"

namespace tamvek::years {

bool RunningYears::add(int year, ChildProcess& child) {
  const std::lock_guard lock(mutex_);
  if (interrupted_) {
    child.stop();
    return false;
  }
  running_[year] = &child;
  return true;
}

void RunningYears::remove(int year) {
  const std::lock_guard lock(mutex_);
  running_.erase(year);
}

std::optional<std::vector<int>> RunningYears::interrupt() {
  const std::lock_guard lock(mutex_);
  if (interrupted_) return std::nullopt;
  interrupted_ = true;
  std::vector<int> stopped;
  for (const auto& [year, child] : running_) {
    child->stop();
    stopped.push_back(year);
  }
  return stopped;
}

bool RunningYears::interrupted() const {
  const std::lock_guard lock(mutex_);
  return interrupted_;
}

}  // namespace tamvek::years
