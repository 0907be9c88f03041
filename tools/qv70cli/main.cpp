// qv70cli: the program's core without a window, for scripts and tests.

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "commands.h"

namespace qv70::cli {
namespace {

struct Command {
  const char* name;
  const char* synopsis;  // the words after the command name, for the usage text
  int (*run)(Arguments args);
};

// The command table. To add a command, declare it in commands.h and add one line here.
const Command kCommands[] = {
    {"dump", "FILE [--copy raw|converted|display] [--decimal period|comma]", RunDump},
    {"save", "IN OUT [--separator comma|semicolon] [--decimal period|comma]", RunSave},
    {"count", "", RunCount},
    {"download", "-o OUT [--groups all|A,C,...] [--sets all|0,3,...]", RunDownload},
    {"set", "[--clock] [--pi T1 T2] [--step 30s|1min|2min|5min]", RunSet},
#ifdef QV70_CLI_GRAPH
    {"graph",
     "FILE (--step GR | --logging N) [--report] [--current] [--size WxH] [--decimal period|comma]\n"
     "        (--describe | --png OUT | --svg OUT)",
     RunGraph},
#endif
    {"picture", "IN [OUT.bmp]", RunPicture},
    {"report",
#ifdef QV70_CLI_GRAPH
     "FILE (--texts | --drawing | --pdf OUT) [--select"
#else
     "FILE --texts [--select"
#endif
     " all|A,C,L0,...] [--items all|FLAGS]\n"
     "        [--decimal period|comma] [--paper a4|b5|letter|legal] [--start-page N | --no-page-numbers]\n"
     "        [--step-graph resistance|current] [--logging-graph resistance|current]\n"
     "        [--logo PATH | --company TEXT | --no-logo] [--author TEXT | --no-author]\n"
     "        [--data-name TEXT] [--date TEXT | --no-date] [--comment TEXT]",
     RunReport},
};

void PrintUsage(std::FILE* stream) {
  std::fprintf(stream, "usage: qv70cli COMMAND [ARGUMENTS]\ncommands:\n");
  for (const Command& command : kCommands)
    std::fprintf(stream, "  %s%s%s\n", command.name, command.synopsis[0] != '\0' ? " " : "", command.synopsis);
}

}  // namespace
}  // namespace qv70::cli

int main(int argc, char** argv) {
  using namespace qv70::cli;
  // Under a file-size limit (ulimit -f) a write past it would end the process;
  // ignored, the write fails and the save reports it, the old file kept.
  std::signal(SIGXFSZ, SIG_IGN);
  if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
                    std::strcmp(argv[1], "help") == 0)) {
    PrintUsage(stdout);
    return kExitOk;
  }
  if (argc < 2) {
    PrintUsage(stderr);
    return kExitUsage;
  }
  for (const Command& command : kCommands) {
    if (std::strcmp(argv[1], command.name) != 0) continue;
    int status = command.run(Arguments(argv + 2, argv + argc));
    if (status == kExitUsage) PrintUsage(stderr);
    // Output that could not be written is not a success.
    if (std::fflush(stdout) != 0 && status == kExitOk) return Refuse("Cannot write the output.");
    return status;
  }
  std::fprintf(stderr, "qv70cli: unknown command \"%s\"\n", argv[1]);
  PrintUsage(stderr);
  return kExitUsage;
}
