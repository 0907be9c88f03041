// qv70-sim's command line.

#include <gtest/gtest.h>

#include "sim_options.h"

namespace qv70::sim {
namespace {

struct OptionsCase {
  const char* name;
  std::vector<std::string> arguments;
  bool ok;
  const char* error;  // part of the message when refused
};

TEST(SimOptions, AcceptsTheDocumentedFormsAndRefusesTheRest) {
  const OptionsCase cases[] = {
      {"nothing", {}, true, ""},
      {"everything for a demo",
       {"--socket", "/tmp/s", "--demo", "--seed", "9", "--log", "l.txt", "--fault", "nak::SET", "--fault", "absent",
        "--idn", "X", "--serial", "Y"},
       true, ""},
      {"load", {"--load", "data.csv"}, true, ""},
      {"where it would listen", {"--socket", "/tmp/s", "--print-socket"}, true, ""},
      {"a slow drip that never accepts", {"--fault", "drip:*IDN?", "--drip-interval", "60000", "--no-accept"}, true, ""},
      {"drip interval of zero", {"--drip-interval", "0"}, false, "--drip-interval needs milliseconds"},
      {"drip interval beyond a minute", {"--drip-interval", "60001"}, false, "--drip-interval needs milliseconds"},
      {"drip interval not a number", {"--drip-interval", "1s"}, false, "--drip-interval needs milliseconds"},
      {"reply without its text", {"--fault", "reply:*IDN?"}, false, "needs the reply after the prefix"},
      {"seed alone seeds the garbage", {"--seed", "3"}, true, ""},
      {"demo with load", {"--demo", "--load", "data.csv"}, false, "cannot be used together"},
      {"seed with load", {"--load", "data.csv", "--seed", "3"}, false, "--seed belongs to --demo"},
      {"seed not a number", {"--demo", "--seed", "x1"}, false, "--seed needs a whole number"},
      {"seed with trailing text", {"--demo", "--seed", "12abc"}, false, "--seed needs a whole number"},
      {"negative seed", {"--demo", "--seed", "-1"}, false, "--seed needs a whole number"},
      {"value missing at the end", {"--log"}, false, "--log needs a value"},
      {"empty socket", {"--socket", ""}, false, "--socket needs a path"},
      {"empty load", {"--load", ""}, false, "--load needs a file name"},
      {"bad fault", {"--fault", "hang"}, false, "needs a command prefix"},
      {"unknown option", {"--fast"}, false, "unknown option \"--fast\""},
      {"stray word", {"demo"}, false, "unknown option \"demo\""},
  };
  for (const OptionsCase& c : cases) {
    SimOptions options;
    std::string error;
    EXPECT_EQ(ParseSimOptions(c.arguments, options, error), c.ok) << c.name;
    EXPECT_NE(error.find(c.error), std::string::npos) << c.name << ": " << error;
  }
}

TEST(SimOptions, KeepsTheValuesGiven) {
  SimOptions options;
  std::string error;
  ASSERT_TRUE(ParseSimOptions({"--demo", "--seed", "18446744073709551615", "--fault", "silent:*IDN?", "--fault",
                               "garbage:", "--idn", "", "--serial", "S 1"},
                              options, error))
      << error;
  EXPECT_TRUE(options.demo);
  EXPECT_EQ(options.seed, 18446744073709551615ull);
  ASSERT_EQ(options.faults.size(), 2u);
  EXPECT_EQ(options.faults[0].kind, FaultKind::Silent);
  EXPECT_EQ(options.faults[0].prefix, "*IDN?");
  EXPECT_EQ(options.faults[1].kind, FaultKind::Garbage);
  EXPECT_EQ(options.faults[1].prefix, "");
  EXPECT_EQ(options.idn, std::optional<std::string>(""));
  EXPECT_EQ(options.serial, std::optional<std::string>("S 1"));
  EXPECT_TRUE(options.socketPath.empty());
}

}  // namespace
}  // namespace qv70::sim
