// report --texts: the pages of a data file's report and every text on them,
// computed by the same Finish and page rules as the program's print preview.

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <optional>
#include <string>

#include "commands.h"
#include "core/chart/chart_ctrl.h"
#include "core/data/program_state.h"
#include "core/files/data_file.h"
#include "core/report/report_finish.h"
#include "core/report/report_page.h"
#include "core/report/report_start.h"

namespace qv70::cli {
namespace {

struct ReportRequest {
  std::string file;
  std::string select = "all";
  std::string items = "all";
  std::string decimal = "period";
};

// "--name value" with any value; false when the value is missing or the option is given twice.
bool TakeAnyValue(Arguments& args, const std::string& name, std::string& value) {
  auto it = std::find(args.begin(), args.end(), name);
  if (it == args.end()) return true;
  if (it + 1 == args.end()) return false;
  value = *(it + 1);
  args.erase(it, it + 2);
  return std::find(args.begin(), args.end(), name) == args.end();
}

bool TakeFlagOnce(Arguments& args, const std::string& name) {
  const auto count = std::count(args.begin(), args.end(), name);
  args.erase(std::remove(args.begin(), args.end(), name), args.end());
  return count == 1;
}

// "A,C,L0": group letters and logging sets; false for any other word.
bool ParseSelection(const std::string& text, DataSelection& selection) {
  selection = {};
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = std::min(text.find(',', start), text.size());
    const std::string word = text.substr(start, comma - start);
    if (word.size() == 1 && GroupIndex(word[0]) >= 0) {
      selection[static_cast<size_t>(GroupIndex(word[0]))] = true;
    } else if (word.size() == 2 && word[0] == 'L' && word[1] >= '0' && word[1] <= '9') {
      selection[static_cast<size_t>(kGroupCount + word[1] - '0')] = true;
    } else {
      return false;
    }
    start = comma + 1;
  }
  return true;
}

bool ParseItems(const std::string& text, std::string& flags) {
  if (text == "all") {
    flags = std::string(kItemFlagCount, '1');
    return true;
  }
  flags = text;
  return text.size() == static_cast<size_t>(kItemFlagCount) &&
         text.find_first_not_of("01") == std::string::npos;
}

// Backslash, tab and line feed written so that each text stays on its line.
std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') out += "\\\\";
    else if (c == '\t') out += "\\t";
    else if (c == '\n') out += "\\n";
    else out += c;
  }
  return out;
}

const char* KindName(PageKind kind) {
  switch (kind) {
    case PageKind::Logging: return "logging";
    case PageKind::Normal: return "normal";
    case PageKind::TC: return "tc";
    case PageKind::Step: return "step";
  }
  return "";
}

std::string SourceName(const PageSource& source) {
  if (source.kind == PageKind::Logging) return SetDataName(source.set);
  return std::string{GroupLetter(source.group), static_cast<char>('0' + source.record)};
}

void PrintLine(const std::string& line) { std::fwrite(line.data(), 1, line.size(), stdout); }

void PrintPage(int index, const std::optional<ReportPage>& page) {
  if (!page) {
    // A page the data no longer fills keeps its place with the frame only.
    PrintLine("page\t" + std::to_string(index) + "\t-\tblank\t-\n");
    return;
  }
  const std::string number = page->NumberPrinted() ? std::to_string(page->pageNumber) : "-";
  PrintLine("page\t" + std::to_string(index) + '\t' + number + '\t' + KindName(page->source.kind) + '\t' +
            SourceName(page->source) + '\n');
  for (const PageText& text : page->texts)
    PrintLine(std::string("text\t") + text.name + '\t' + Escaped(text.value) + '\n');
}

}  // namespace

int RunReport(Arguments args) {
  ReportRequest request;
  std::string itemFlags;
  DataSelection partial{};
  if (!TakeFlagOnce(args, "--texts") || !TakeAnyValue(args, "--select", request.select) ||
      !TakeAnyValue(args, "--items", request.items) ||
      !TakeOption(args, "--decimal", {"period", "comma"}, request.decimal) || args.size() != 1 ||
      HasLeftoverOption(args) || !ParseItems(request.items, itemFlags) ||
      (request.select != "all" && !ParseSelection(request.select, partial)))
    return kExitUsage;
  request.file = args[0];

  ProgramState state;
  state.SetNumberFormat(request.decimal == "comma" ? 1 : 0, 0);
  if (Result opened = ReadDataFile(request.file, state.tables); !opened) return Refuse(opened.message);

  // The settings' start values, without Config.ini or Comment.inl.
  ReportStart start;
  start.dateText = ReportDateText(std::time(nullptr));
  const ReportSettings initial = StartReportSettings(start);
  ReportChoices choices;
  choices.first = ChoicesFromSettings(initial, start.dateText);
  choices.first.creationMethod = request.select == "all" ? CreationMethod::AllData : CreationMethod::PartialData;
  choices.partialSelection = partial;
  choices.itemFlags = itemFlags;
  choices.stepGraphKind = initial.stepGraphKind;
  choices.loggingGraphKind = initial.loggingGraphKind;
  ResultOf<ReportSettings> finished = FinishReport(choices, state.tables);
  if (!finished) return Refuse(finished.message);

  ChartCtrl chart;
  for (int index = 1; index <= finished.value.reportPageCount; ++index)
    PrintPage(index, BuildPage(index, finished.value, state.tables, chart));
  return kExitOk;
}

}  // namespace qv70::cli
