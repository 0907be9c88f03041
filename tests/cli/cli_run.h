#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace qv70::test {

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string Quote(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs the built qv70cli with `args`, after the shell assignments in
// `environment` ("NAME=value ..."); its exit status and both outputs.
inline CliRun RunCli(const std::vector<std::string>& args, const std::string& environment = "") {
  TempDir dir;
  std::string command = environment + " " + Quote(std::string(QV70_BIN_DIR) + "/qv70cli");
  for (const auto& arg : args) command += " " + Quote(arg);
  command += " >" + Quote(dir.File("out")) + " 2>" + Quote(dir.File("err"));
  CliRun run;
  int raw = std::system(command.c_str());
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = ReadWholeFile(dir.File("out"));
  run.err = ReadWholeFile(dir.File("err"));
  return run;
}

}  // namespace qv70::test
