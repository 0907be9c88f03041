#pragma once

// The words of `qv70cli report` as the Set Report dialog's choices, and the
// report they give for a data file. Every output mode starts from here.

#include <string>

#include "commands.h"
#include "core/data/program_state.h"
#include "core/report/report_finish.h"

namespace qv70::cli {

// What the report is written as; exactly one per run.
enum class ReportOutput { Texts, Drawing, Pdf, Rtf };

struct ReportRequest {
  std::string file;
  ReportOutput output = ReportOutput::Texts;
  std::string outputPath;  // the file of --pdf and --rtf
  int decimal = 0;         // as NumberFormat::decimal
  // The three pages as the options leave them, starting from the settings'
  // start values without Config.ini or Comment.inl.
  ReportChoices choices;
};

// The words after "report" as a request, with `today` in the time box unless
// --date names a text. False for a usage error: an unknown or repeated
// option, a value outside its list, a text beyond the dialog's limit (counted
// in characters) or not UTF-8, options that exclude each other, not exactly
// one output mode or not exactly one FILE.
bool ParseReportRequest(const Arguments& args, const std::string& today, ReportRequest& request);

// The request's data file read as the Open command reads it, and the settings
// the wizard's Finish gives for it.
struct OpenedReport {
  ProgramState state;
  ReportSettings settings;
};

// Fills `report`; a failure carries the open's message or Finish's refusal
// ("Please Choose Data To Print!"), and then no page may be written.
Result OpenReport(const ReportRequest& request, OpenedReport& report);

}  // namespace qv70::cli
