#pragma once

// The commands of qv70cli. Each command is one function taking the words after
// its name and returning the exit status:
//   kExitOk       success (output on standard output);
//   kExitRefused  the input was refused: the program's message alone on a line
//                 on standard error (use Refuse, or ExitStatus of a core Result);
//   kExitUsage    the words do not fit the command: main prints the usage text.
//
// Adding a command: declare its function here, define it in a .cpp of this
// folder (the build takes every .cpp), and add one line to kCommands in main.cpp.

#include <string>
#include <vector>

#include "core/platform/result.h"

namespace qv70::cli {

constexpr int kExitOk = 0;
constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;

using Arguments = std::vector<std::string>;

// Writes `message` and a line end to standard error; returns kExitRefused.
int Refuse(const std::string& message);
// kExitOk for a success, else Refuse(result.message).
int ExitStatus(const Result& result);

// Takes "--name value" out of `args` when present. False (a usage error) when
// the option has no value or the value is not one of `allowed`; `value` keeps
// its default when the option is absent.
bool TakeOption(Arguments& args, const std::string& name, const std::vector<std::string>& allowed,
                std::string& value);
// True when a word that looks like an option is left after the options were taken.
bool HasLeftoverOption(const Arguments& args);

// Data files (file_commands.cpp).
int RunDump(Arguments args);
int RunSave(Arguments args);

// Instrument (instrument_commands.cpp).
int RunCount(Arguments args);
int RunDownload(Arguments args);
int RunSet(Arguments args);

#ifdef QV70_CLI_GRAPH
// Graphs (graph_command.cpp), built with the drawing layer.
int RunGraph(Arguments args);
#endif
// Report pages (report_command.cpp).
int RunReport(Arguments args);
// Pictures (picture_command.cpp).
int RunPicture(Arguments args);

}  // namespace qv70::cli
