#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "instrument.h"

namespace qv70::sim {

struct SimOptions {
  std::string socketPath;  // empty: the default socket
  bool demo = false;
  std::uint64_t seed = 1;  // the demo memory and the garbage fault's bytes
  std::string loadPath;
  std::string logPath;
  std::vector<Fault> faults;
  int dripIntervalMs = 1000;  // how slowly the drip fault sends
  bool noAccept = false;      // listen, but never accept a connection
  std::optional<std::string> idn;
  std::optional<std::string> serial;
  bool help = false;
  // Say where it would listen and end.
  bool printSocket = false;
};

// The command line without the program name. False with a message in `error`.
bool ParseSimOptions(const std::vector<std::string>& arguments, SimOptions& options, std::string& error);

std::string SimUsage();

}  // namespace qv70::sim
