#pragma once

#include "modflow/options.hpp"

namespace tamvek::modflow {

// --verify: finds the package as the export writes it, reads the digests its
// header records, and names every array it names that is missing or whose
// size or digest differs (exit status 2); when all match, one line and status
// 0. Needs no tamvek run and changes nothing. A package that is not there, not
// this program's, or without digests is refused by its name.
int verify_package(const Options& options);

}  // namespace tamvek::modflow
