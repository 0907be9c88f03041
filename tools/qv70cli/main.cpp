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
  const char* summary;  // what it does, for --help
  const char* example;  // one whole command line, for --help
};

// The command table. To add a command, declare it in commands.h and add one line here.
const Command kCommands[] = {
    {"dump", "FILE [--copy raw|converted|display] [--decimal period|comma]", RunDump,
     "a data file as the program reads it, one item per line", "qv70cli dump demo.csv --copy display"},
    {"save", "IN OUT [--separator comma|semicolon] [--decimal period|comma]", RunSave,
     "a data file written again in the current layout and the chosen number format",
     "qv70cli save demo.csv out.csv --separator semicolon --decimal comma"},
    {"count", "", RunCount, "how many records each group and logging set of the instrument holds",
     "qv70cli count"},
    {"download", "-o OUT [--groups all|A,C,...] [--sets all|0,3,...]", RunDownload,
     "the chosen groups and logging sets downloaded from the instrument and saved as a data file",
     "qv70cli download -o demo.csv --groups A,C --sets 0"},
    {"set", "[--clock] [--pi T1 T2] [--step 30s|1min|2min|5min]", RunSet,
     "the instrument's clock (to this computer's time), PI times (1 to 30, T1 < T2) and step interval",
     "qv70cli set --clock --pi 1 10 --step 1min"},
#ifdef QV70_CLI_GRAPH
    {"graph",
     "FILE (--step GR | --logging N) [--report] [--current] [--size WxH] [--decimal period|comma]\n"
     "        (--describe | --png OUT | --svg OUT)",
     RunGraph,
     "the step-voltage graph of record GR (group letter and record 0-9: A2) or of logging set N, as numbers, "
     "PNG or SVG",
     "qv70cli graph demo.csv --logging 0 --png lr0.png"},
#endif
    {"picture", "IN [OUT.bmp]", RunPicture,
     "a logo picture checked as the report loads it, and written as BMP",
     "qv70cli picture logo.jpg logo.bmp"},
    {"report",
#ifdef QV70_CLI_GRAPH
     "FILE (--texts | --drawing | --pdf OUT | --rtf OUT) [--select"
#else
     "FILE --texts [--select"
#endif
     " all|A,C,L0,...] [--items all|FLAGS]\n"
     "        [--decimal period|comma] [--paper a4|b5|letter|legal] [--start-page N | --no-page-numbers]\n"
     "        [--step-graph resistance|current] [--logging-graph resistance|current]\n"
     "        [--logo PATH | --company TEXT | --no-logo] [--author TEXT | --no-author]\n"
     "        [--data-name TEXT] [--date TEXT | --no-date] [--comment TEXT]",
     RunReport,
#ifdef QV70_CLI_GRAPH
     "the report's pages: their texts, their drawing calls or a PDF of the printed pages",
     "qv70cli report demo.csv --pdf report.pdf --paper letter --company \"ACME Test Lab\""
#else
     "the report's pages: their texts", "qv70cli report demo.csv --texts --select A,L0"
#endif
    },
};

void PrintCommandLine(std::FILE* stream, const Command& command) {
  std::fprintf(stream, "  %s%s%s\n", command.name, command.synopsis[0] != '\0' ? " " : "", command.synopsis);
}

void PrintUsage(std::FILE* stream) {
  std::fprintf(stream, "usage: qv70cli COMMAND [ARGUMENTS]\ncommands:\n");
  for (const Command& command : kCommands) PrintCommandLine(stream, command);
}

// The usage, each command with what it does and an example.
void PrintHelp() {
  std::printf(
      "usage: qv70cli COMMAND [ARGUMENTS]\n"
      "The QV70 program's core without a window. Exit status: 0 done, 1 refused, 2 usage.\n"
      "commands:\n");
  for (const Command& command : kCommands) {
    PrintCommandLine(stdout, command);
    std::printf("      %s\n      example: %s\n", command.summary, command.example);
  }
  std::printf(
      "count, download and set talk to the simulator (qv70-sim) when it runs, else to the\n"
      "instrument over USB through libZvUsbSgl.so beside this program.\n");
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
    PrintHelp();
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
