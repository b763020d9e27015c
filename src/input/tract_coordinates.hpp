#pragma once

namespace tamvek {

struct Run;

// Reads the coordinates of the 40-acre tracts into xcoord and ycoord.
void read_tract_coordinates(Run& run);

}  // namespace tamvek
