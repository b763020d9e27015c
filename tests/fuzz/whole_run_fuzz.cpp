// Runs the whole job on seven input files cut from the fuzz input at each
// "\n~~\n": the parameter file, the two grids, the monthly factors, the tract
// coordinates, the authorized acreage and the diversions. Every end must be
// one of the run's own: the normal end, or a stop with its message.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_files.hpp"
#include "run/driver.hpp"

namespace {

constexpr const char* files[] = {
    "BAVO/QZ/static/tamvek.par", "BAVO/QZ/static/02.ibound",
    "BAVO/QZ/static/cty.flg",    "BAVO/QZ/static/monthlyfactorsbycounty.txt",
    "BAVO/QZ/static/40coords.dat", "authacres2010.txt",
    "tamvek2010.txt"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  for (const char* file : files) tamvek::fuzzing::fuzz_dir().write(file, tamvek::fuzzing::next_part(input, "\n~~\n"));
  tamvek::fuzzing::fuzz_dir().write("out/.keep", "");

  const tamvek::IoSetup setup = tamvek::fuzzing::fuzz_dir().setup();
  tamvek::Io io(setup);
  const std::string_view arguments[] = {"2010"};
  const int status = tamvek::run_to_end(io, arguments);
  if (status != 0 && status != 2) __builtin_trap();
  return 0;
}
