#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

#include "runtime/stream.hpp"

namespace tamvek {

struct Run;

// Measured: without it a whole run on the largest data set takes 1.07 to 1.15 times as long
// on a nearly idle two-core machine (the same instructions, the second core otherwise idle then).
//
// Reads the tract coordinate file on a second thread while the authorized
// acreage is read, into xcoord and ycoord, which nothing else uses before
// their own phase. The phase then takes what was read in place of reading the
// file, when the file is the one read ahead (the same size and time of last
// change) and reading it ahead met nothing but records that set every field:
// the tables and the run's fields are then as its own reads would leave them.
// Anything else (a missing file, a record it cannot read or that sets fewer
// fields, a key outside the tables, a changed file) the phase reads as usual,
// with every message and stop in its place.
class TractCoordinatesAhead {
 public:
  explicit TractCoordinatesAhead(Run& run);
  ~TractCoordinatesAhead();
  TractCoordinatesAhead(const TractCoordinatesAhead&) = delete;
  TractCoordinatesAhead& operator=(const TractCoordinatesAhead&) = delete;

  // Waits for the reading; true when it read the file to its end.
  bool finish();

 private:
  friend void read_tract_coordinates(Run& run, TractCoordinatesAhead& ahead);
  void read_ahead();

  Run& run_;
  std::atomic<bool> abandoned_ = false;
  bool complete_ = false;
  bool read_any_ = false;
  FileVersion version_;
  std::int32_t twp_ = 0, rng_ = 0, sec_ = 0, tract_ = 0;  // the fields as the last record left them
  std::thread reader_;
};

// Reads the coordinates of the 40-acre tracts into xcoord and ycoord.
void read_tract_coordinates(Run& run);
// The same, taking what `ahead` read where it stands for the reads.
void read_tract_coordinates(Run& run, TractCoordinatesAhead& ahead);

}  // namespace tamvek
