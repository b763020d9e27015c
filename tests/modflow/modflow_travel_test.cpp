#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <string>

#include "modflow/modflow_data_set.hpp"
#include "results/sha256.hpp"

namespace tamvek {
namespace {

namespace fs = std::filesystem;
using testing::Mf2005Model;
using testing::Mf6Simulation;
using testing::ModflowDataSet;
using testing::replace;

const std::vector<std::string> acre_feet = {"--volume-unit", "acre-feet"};

std::vector<std::string> export_of(const std::string& model, std::vector<std::string> more = {}) {
  std::vector<std::string> arguments = {"2010", "2011", model, "--volume-unit", "acre-feet"};
  arguments.insert(arguments.end(), more.begin(), more.end());
  return arguments;
}

// The header's digest lines: name as written -> (sha256, size).
std::map<std::string, std::pair<std::string, std::uint64_t>> digests_in(const std::string& package) {
  std::map<std::string, std::pair<std::string, std::uint64_t>> digests;
  for (std::size_t at = 0; (at = package.find("\n# sha256 ", at)) != std::string::npos;) {
    at += 10;
    const std::size_t end = package.find('\n', at);
    const std::string line = package.substr(at, end - at);
    const std::size_t hex_end = line.find(' '), size_end = line.find(' ', hex_end + 1);
    digests[line.substr(size_end + 1)] = {line.substr(0, hex_end),
                                          std::stoull(line.substr(hex_end + 1, size_end - hex_end - 1))};
  }
  return digests;
}

std::size_t lines_of(const std::string& text) { return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')); }

TEST(ModflowTravel, DigestsNameEveryArrayAndVerifyFindsTheOnesThatChanged) {
  ModflowDataSet set;
  Mf6Simulation model;
  model.write(set.models, "sim");
  const std::string sim = set.models.file("sim");
  const auto run = set.run_modflow(export_of(sim));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.find("..reading"), std::string::npos) << "tamvek's own progress lines: " << run.out;

  const auto digests = digests_in(set.models.read("sim/tamvek.rch"));
  ASSERT_EQ(digests.size(), 12u);  // May to October of two years, each once
  for (const auto& [name, recorded] : digests) {
    const auto digest = results::digest_of_file(fs::path(sim) / name);
    ASSERT_TRUE(digest) << name;
    EXPECT_EQ(digest->hex, recorded.first) << name;
    EXPECT_EQ(digest->size, recorded.second) << name;
  }

  // No run folder needed, and from any folder.
  const auto passes = testing::run_program({"--verify", sim}, set.models.path(), "", "", {},
                                           TAMVEK_MODFLOW_PROGRAM);
  EXPECT_EQ(passes.status, 0) << passes.out << passes.err;
  EXPECT_EQ(lines_of(passes.out), 1u) << passes.out;
  EXPECT_NE(passes.out.find("all 12 arrays it names"), std::string::npos) << passes.out;

  // 2011 run again with other data: July's array changes, and one of 2010's
  // arrays has gone.
  std::string july = set.data.work.read("out/2011.07.rcs");
  july[5] = july[5] == '1' ? '2' : '1';
  set.data.work.write("out/2011.07.rcs", july);
  fs::remove(set.data.work.file("out/2010.05.rcs"));
  const auto before = set.model_files();
  const auto fails = set.run_modflow({"--verify", sim});
  EXPECT_EQ(fails.status, 2);
  EXPECT_EQ(lines_of(fails.out), 3u) << fails.out;
  EXPECT_NE(fails.out.find("2011.07.rcs: its SHA-256 is "), std::string::npos) << fails.out;
  EXPECT_NE(fails.out.find("2010.05.rcs: missing"), std::string::npos) << fails.out;
  EXPECT_NE(fails.out.find("2 of the 12 arrays"), std::string::npos) << fails.out;
  EXPECT_EQ(set.model_files(), before);
}

TEST(ModflowTravel, CopiesMakeTheModelFolderSelfContained) {
  ModflowDataSet set;
  Mf6Simulation().write(set.models, "sim");
  const auto run = set.run_modflow(export_of(set.models.file("sim"), {"--copy-arrays", "tamvek arrays"}));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("copied 12 of tamvek's arrays, "), std::string::npos) << run.out;
  EXPECT_EQ(set.models.read("sim/tamvek arrays/2011.07.rcs"), set.data.work.read("out/2011.07.rcs"));
  const std::string package = set.models.read("sim/tamvek.rch");
  EXPECT_NE(package.find("OPEN/CLOSE 'tamvek arrays/2010.05.rcs' FACTOR "), std::string::npos);
  EXPECT_EQ(package.find("../"), std::string::npos) << "names outside the model's folder";
  for (const auto& [name, recorded] : digests_in(package)) EXPECT_EQ(name.front(), '\'') << name;

  // The folder travels; tamvek's run folder is gone.
  fs::rename(set.models.file("sim"), set.models.file("archived sim"));
  fs::rename(set.data.work.file("out"), set.data.work.file("gone"));
  const auto verified = set.run_modflow({"--verify", set.models.file("archived sim")});
  EXPECT_EQ(verified.status, 0) << verified.out << verified.err;
  fs::rename(set.data.work.file("gone"), set.data.work.file("out"));

  // A second export into the folder replaces the copies: with 18 months,
  // 2011's months from July on are no longer used, and go.
  Mf6Simulation shorter;
  replace(shorter.tdis, "NPER 24", "NPER 18");
  replace(shorter.tdis, testing::monthly_periods(24), testing::monthly_periods(18));
  shorter.write(set.models, "archived sim");
  const auto again = set.run_modflow(export_of(set.models.file("archived sim"), {"--copy-arrays", "tamvek arrays"}));
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_TRUE(set.models.exists("archived sim/tamvek arrays/2011.06.rcs"));
  EXPECT_FALSE(set.models.exists("archived sim/tamvek arrays/2011.07.rcs"));
  // Back to the arrays where tamvek wrote them: the copies go with their folder's files.
  const auto plain = set.run_modflow(export_of(set.models.file("archived sim")));
  ASSERT_EQ(plain.status, 0) << plain.err;
  EXPECT_FALSE(set.models.exists("archived sim/tamvek arrays/2010.05.rcs"));
}

TEST(ModflowTravel, Mf2005CopiesAndTheRefusalsThatChangeNothing) {
  ModflowDataSet set;
  Mf2005Model().write(set.models, "m");
  const std::string nam = set.models.file("m/model.nam");
  const std::vector<std::string> mf2005 = {"--start", "2010-01-01", "--copy-arrays", "copies"};
  const auto run = set.run_modflow(export_of(nam, mf2005));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(set.models.read("m/tamvek.rch").find("OPEN/CLOSE copies/2010.05.rcs "), std::string::npos);

  const struct {
    const char* what;
    std::vector<std::string> arguments;
    std::function<void()> spoil;
    std::string message;
  } refusals[] = {
      {"a file of someone else among the copies", export_of(nam, mf2005),
       [&] { set.models.write("m/copies/notes.txt", "mine"); }, "copies/notes.txt: in the folder for the copies"},
      {"copies outside the model's folder", export_of(nam, {"--start", "2010-01-01", "--copy-arrays", "../elsewhere"}),
       [] {}, "--copy-arrays needs a folder inside the model's folder"},
      {"a blank in a MODFLOW-2005 name", export_of(nam, {"--start", "2010-01-01", "--copy-arrays", "new copies"}),
       [] {}, "MODFLOW-2005 cannot read a file name with blanks"},
      {"verify without a package", {"--verify", nam, "--package", "none.rch"}, [] {}, "none.rch: no package there"},
      {"verify of a package of someone else", {"--verify", nam, "--package", "rain.rch"},
       [&] { set.models.write("m/rain.rch", "# my own\n"); }, "rain.rch: not written by tamvek-modflow"},
      {"verify of a package from before digests", {"--verify", nam, "--package", "old.rch"},
       [&] { set.models.write("m/old.rch", "# tamvek-modflow: an old package\n         3         0\n"); },
       "old.rch: records no digests"},
  };
  for (const auto& refusal : refusals) {
    SCOPED_TRACE(refusal.what);
    refusal.spoil();
    const auto before = set.model_files();
    const auto refused = set.run_modflow(refusal.arguments);
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find(refusal.message), std::string::npos) << refused.err;
    EXPECT_EQ(set.model_files(), before);
  }
}

// The line printed for the name file, once added there as printed, lets the
// next export through: quoted, in a subfolder, with backslashes.
TEST(ModflowTravel, RerunsAfterThePrintedLineWasAdded) {
  ModflowDataSet set;
  Mf6Simulation model;
  model.write(set.models, "sim");
  set.models.write("sim/rch files/.keep", "");
  const auto arguments = export_of(set.models.file("sim"), {"--package", "rch files/tamvek.rch"});
  const auto first = set.run_modflow(arguments);
  ASSERT_EQ(first.status, 0) << first.err;
  const std::string line = "RCH6 'rch files/tamvek.rch' tamvek";
  ASSERT_NE(first.out.find("\n" + line + "\n"), std::string::npos) << first.out;
  replace(model.nam, "DIS6 gwf.dis", "DIS6 gwf.dis\n  " + line);
  model.write(set.models, "sim");
  const auto again = set.run_modflow(arguments);
  EXPECT_EQ(again.status, 0) << again.err;

  Mf2005Model mf2005;
  set.models.write("m/sub/.keep", "");
  mf2005.write(set.models, "m");
  const auto mf2005_arguments = export_of(set.models.file("m/model.nam"), {"--start", "2010-01-01", "--package", "sub/tamvek.rch"});
  const auto written = set.run_modflow(mf2005_arguments);
  ASSERT_EQ(written.status, 0) << written.err;
  ASSERT_NE(written.out.find("\nRCH 20 sub/tamvek.rch\n"), std::string::npos) << written.out;
  replace(mf2005.nam, "LPF 19 model.lpf\n", "LPF 19 model.lpf\nRCH 20 sub\\tamvek.rch\n");
  mf2005.write(set.models, "m");
  const auto rerun = set.run_modflow(mf2005_arguments);
  EXPECT_EQ(rerun.status, 0) << rerun.err;
  EXPECT_NE(rerun.out.find("\nRCH 20 sub\\tamvek.rch\n"), std::string::npos) << rerun.out;
  EXPECT_EQ(rerun.out.find("note: the name file already has RCH"), std::string::npos) << rerun.out;
}

}  // namespace
}  // namespace tamvek
