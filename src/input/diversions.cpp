#include "input/diversions.hpp"

#include "runtime/extended.hpp"
#include "text/list_write.hpp"
#include "text/plain_record.hpp"
#include "state/file_names.hpp"
#include "state/run_state.hpp"

namespace tamvek {
namespace {

constexpr int progress_statement = 180;
constexpr int fields_statement = 183;
constexpr int read_statement = 187;
constexpr int return_statement = 196;
constexpr int acreage_statement = 197;
constexpr int unplaced_statement = 198;
constexpr int close_statement = 204;
constexpr int warning_statement = 209;

}  // namespace

void read_diversions(Run& run) {
  write_list(run.io, Io::console_unit, progress_statement,
             {"..reading diversion, acreage, and system type data"});
  const RunFile file = diversion_file(run.cyear);
  open_run_file(run.io, file);
  write_list(run.io, Io::console_unit, fields_statement,
             {"Expected fields: grp,pdiv,diversion,acloc,isystype"});
  Stream& stream = run.io.stream(file.unit);

  run.sumretout = 0;
  run.sumacreageout = 0;
  run.sumdiversion = 0;
  float pdiv = 0;  // read and not used
  float diversion = 0;
  float acloc = 0;
  std::int32_t isystype = 0;
  while (read_list_until_end(stream, read_statement, run.grp, pdiv, diversion, acloc, isystype)) {
    run.sumdiversion = run.sumdiversion + diversion;
    // From here on the code counted from 0 is the factor's index counted from 1;
    // a field left unset keeps the previous index and is raised once more.
    isystype = static_cast<std::int32_t>(static_cast<std::uint32_t>(isystype) + 1u);
    if (run.grp > n_groups) continue;

    float& group_return = run.swretloc.at(return_statement, run.grp);
    const float factor = run.swretfactor.at(return_statement, isystype);
    group_return = add_exact_product(group_return, factor, diversion);
    float& group_acres = run.acresloc.at(acreage_statement, run.grp);
    group_acres = group_acres + acloc;

    if (run.authtot.at(unplaced_statement, run.grp) <= 0) {  // false for not a number
      run.sumretout = add_exact_product(run.sumretout, factor, diversion);
      run.sumacreageout = run.sumacreageout + acloc;
    }
  }
  run.io.close(close_statement, file.unit);

  if (run.maxgrp > n_groups)
    write_list(run.io, Io::console_unit, warning_statement,
               {"WARNING: largest group no.", run.maxgrp,
                " exceeds array dimension limit nGroups,", n_groups});
}

}  // namespace tamvek
