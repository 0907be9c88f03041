#pragma once

#include <string>

namespace qv70::monkey {

// What the monkey did, for the one who has to reproduce a finding: every step
// goes to a log file at once (so it survives any death), and the last ones are
// kept in memory and printed when the process dies of a sanitizer report, a
// signal or a hang. One per process, as the death paths have no other way in.
namespace step_log {

// Opens the log file (truncated) and installs the death paths.
void Open(const std::string& path);
// Step `number` begins: `text` says what it does.
void Begin(long number, const std::string& text);
// A line within the current step (a message shown, a Qt warning).
void Note(const std::string& text);
// The event loop is alive even when no step is taken (a job is busy).
void Beat();
// Writes the last steps to standard error.
void PrintRecent(const char* why);
// Ends the process, saying so, when no beat comes for `seconds`.
void StartWatchdog(int seconds);
void StopWatchdog();

}  // namespace step_log
}  // namespace qv70::monkey
