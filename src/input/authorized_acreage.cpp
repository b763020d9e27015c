#include "input/authorized_acreage.hpp"

#include <algorithm>

#include "text/list_write.hpp"
#include "runtime/pause.hpp"
#include "text/plain_record.hpp"
#include "state/file_names.hpp"
#include "state/run_state.hpp"

namespace tamvek {
namespace {

constexpr int progress_statement = 129;
constexpr int read_statement = 133;
constexpr int add_statement = 136;
constexpr int outside_statement = 138;
constexpr int summary_statements[] = {148, 149, 150};
constexpr int listing_test_statement = 155;
constexpr int listing_statement = 156;
constexpr int rewind_statement = 159;

// Fewer bytes than any usual record has: room for the records of most files.
constexpr std::int64_t least_record_bytes = 16;

void clear_group_and_cell_sums(Run& run) {
  run.swretloc.clear();
  run.acresloc.clear();
  run.authtot.clear();
  run.swret.clear();
  run.acres.clear();
  run.maxgrp = 0;
}

void write_summary(Run& run) {
  Io& io = run.io;
  write_list(io, Io::console_unit, summary_statements[0],
             {"year, sum authorized acres over groups: "});
  write_list(io, Io::console_unit, summary_statements[1], {run.cyear, run.sumauth});
  write_list(io, Io::console_unit, summary_statements[2],
             {"list groups with total authorized acres <= zero: "});
}

void list_groups_without_acres(Run& run) {
  const std::int32_t last = std::min(run.maxgrp, n_groups);
  for (std::int32_t i = 1; i <= last; ++i) {
    const float total = run.authtot.at(listing_test_statement, i);
    if (total <= 0)  // false for a total that is not a number
      write_list(run.io, Io::console_unit, listing_statement, {"Group", i, total, " auth. acres"});
  }
}

}  // namespace

void read_authorized_acreage(Run& run) {
  clear_group_and_cell_sums(run);
  write_list(run.io, Io::console_unit, progress_statement,
             {"..reading authorized acreage by group"});
  const RunFile file = authorized_acreage_file(run.cyear);
  open_run_file(run.io, file);
  Stream& stream = run.io.stream(file.unit);
  run.sumauth = 0;
  if (FileVersion version; stream.version(version)) {
    run.kept_acreage.start(version, static_cast<std::size_t>(version.size / least_record_bytes));
  } else {
    run.kept_acreage.release();
  }
  std::uint64_t assigned = 0;
  // Records are read into fields of their own and handed to the run's shared
  // fields at the end. Kept straight from the run's fields, each record's key was
  // stored field by field and loaded back at once, a load the processor cannot
  // serve from the pending stores.
  AcreageFields fields = run.acreage_fields();
  while (read_list_until_end(stream, read_statement, assigned, fields.grp, fields.twp, fields.rng,
                             fields.sec, fields.tract, fields.tacres)) {
    run.kept_acreage.add(fields, assigned);
    run.maxgrp = std::max(run.maxgrp, fields.grp);
    if (fields.grp >= 1 && fields.grp <= n_groups) {
      float& total = run.authtot.at(add_statement, fields.grp);
      total = total + fields.tacres;
    } else {
      write_list(run.io, Io::console_unit, outside_statement,
                 {"Group ", fields.grp, " outside dimension limits."});
    }
    run.sumauth = run.sumauth + fields.tacres;
  }
  run.set_acreage_fields(fields);
  write_summary(run);
  operator_pause(run.io);
  list_groups_without_acres(run);
  // Left open at its first record for the second pass.
  run.io.rewind(rewind_statement, file.unit);
}

}  // namespace tamvek
