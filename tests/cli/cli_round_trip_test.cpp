// What the program downloads and saves, qv70-sim --load serves back: a second
// download of the saved file gives the same file, also when it was saved with
// semicolons and decimal commas. Drives the built qv70cli and qv70-sim.

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

#include "support/sim_process.h"

namespace qv70::sim {
namespace {

using test::SimProcess;
using test::TempDir;

std::string Cli() { return std::string(QV70_BIN_DIR) + "/qv70cli"; }

// Runs qv70cli against the simulator on `socket`; its exit status.
int RunCli(const std::string& socket, const std::string& arguments) {
  std::string command = "QV70_SIM_SOCKET='" + socket + "' '" + Cli() + "' " + arguments + " >/dev/null 2>&1";
  int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct RoundTripCase {
  const char* name;
  const char* saveOptions;  // nullptr: serve the downloaded file itself
};

TEST(CliRoundTrip, SavedDownloadIsServedBackUnchanged) {
  if (access(Cli().c_str(), X_OK) != 0) GTEST_SKIP() << "qv70cli is not built";
  const RoundTripCase cases[] = {
      {"as downloaded", nullptr},
      {"semicolons and decimal commas", "--separator semicolon --decimal comma"},
  };
  for (const RoundTripCase& c : cases) {
    TempDir dir;
    std::string first = dir.File("first.csv"), served = dir.File("served.csv"), second = dir.File("second.csv");
    {
      SimProcess demo;
      std::string socket = dir.File("demo.sock");
      ASSERT_TRUE(demo.Start({"--socket", socket, "--demo", "--seed", "4"}));
      ASSERT_EQ(RunCli(socket, "download -o '" + first + "'"), 0) << c.name;
    }
    if (c.saveOptions != nullptr) {
      ASSERT_EQ(RunCli("", "save '" + first + "' '" + served + "' " + c.saveOptions), 0) << c.name;
    } else {
      served = first;
    }
    SimProcess loaded;
    std::string socket = dir.File("loaded.sock");
    ASSERT_TRUE(loaded.Start({"--socket", socket, "--load", served})) << loaded.Output();
    ASSERT_EQ(RunCli(socket, "download -o '" + second + "'"), 0) << c.name;
    std::string before = test::ReadWholeFile(first), after = test::ReadWholeFile(second);
    EXPECT_GT(before.size(), 100000u) << c.name;
    EXPECT_TRUE(before == after) << c.name << ": the second download differs from the first";
  }
}

}  // namespace
}  // namespace qv70::sim
