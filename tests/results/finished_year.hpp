#pragma once

#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "results/array_file.hpp"
#include "results/layer.hpp"
#include "results/result_error.hpp"
#include "support/small_data_set.hpp"

namespace tamvek::results::testing {

// The small data set's year 2010 as tamvek left it, and streams that read
// its files where tamvek wrote them.
struct FinishedYear {
  tamvek::testing::SmallDataSet data;
  std::unique_ptr<Io> io;
  const Grid grid{2, 3, 1000, 1000, 0, 0, 2000};

  FinishedYear() {
    const tamvek::testing::ProgramRun run =
        tamvek::testing::run_program({"2010"}, data.work.path(), data.root.path(), "go\n");
    EXPECT_EQ(run.status, 0) << run.err;
    io = std::make_unique<Io>(IoSetup{data.root.path(), data.work.path()});
  }

  Layer array(const std::string& name) {
    Layer layer("05", name);
    read_array(*io, grid, layer);
    return layer;
  }
};

// Damages `file` of the finished year (its path below the working
// directory), reads it with `read`, and gives the message of the error it
// throws: the file's name as formed, a colon, what is wrong.
inline std::string damage_message(const std::string& file,
                                  const std::function<std::string(const std::string&)>& damaged,
                                  const std::function<void(FinishedYear&)>& read) {
  FinishedYear year;
  year.data.work.write(file, damaged(year.data.work.read(file)));
  try {
    read(year);
  } catch (const ResultError& error) {
    return error.file + ": " + error.what;
  }
  return "(read without an error)";
}

}  // namespace tamvek::results::testing
