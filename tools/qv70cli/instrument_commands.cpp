// count, download and set: the instrument jobs driven from the command line,
// through the instrument library beside the executable.

#include <algorithm>
#include <cstdio>
#include <string>

#include "commands.h"
#include "core/data/program_state.h"
#include "core/files/data_file.h"
#include "core/instrument/download_job.h"
#include "core/instrument/protocol.h"
#include "core/instrument/settings_job.h"
#include "core/instrument/usb_driver.h"
#include "core/instrument/usb_link.h"
#include "core/platform/environment.h"
#include "core/platform/ui_services.h"

namespace qv70::cli {
namespace {

// No windows here: every message goes to standard error and every question is
// answered with its first button.
class StderrUiServices : public UiServices {
 public:
  MessageAnswer ShowMessage(const std::string& text, const std::string& /*caption*/,
                            MessageButtons buttons, MessageIcon /*icon*/) override {
    std::fprintf(stderr, "%s\n", text.c_str());
    ++shown;
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Yes;
  }
  bool AskOpenFileName(const FileDialogRequest&, std::string&) override { return false; }
  bool AskSaveFileName(const FileDialogRequest&, std::string&) override { return false; }

  int shown = 0;
};

struct Instrument {
  DlopenUsbDriver driver{DlopenUsbDriver::DefaultLibraryPath()};
  StderrUiServices ui;
  UsbLink link{driver, ui};
};

bool HasLeftoverWords(const Arguments& args) { return !args.empty(); }

std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> items;
  std::string item;
  for (char c : text + ",") {
    if (c == ',') {
      items.push_back(item);
      item.clear();
    } else {
      item += c;
    }
  }
  return items;
}

// Takes "--name VALUE" with any value; false when the value is missing or the
// option is given twice.
bool TakeFreeOption(Arguments& args, const std::string& name, std::string& value, bool& present) {
  auto it = std::find(args.begin(), args.end(), name);
  if (it == args.end()) return true;
  if (it + 1 == args.end()) return false;
  value = *(it + 1);
  present = true;
  args.erase(it, it + 2);
  return std::find(args.begin(), args.end(), name) == args.end();
}

// Adds the groups (or sets) a --groups (--sets) list names to `selection`.
// "all" is every one of the kind with a count above 0; one named without data
// is refused, as its box in the dialog cannot be ticked.
Result SelectListed(const DownloadJob& job, const std::string& list, bool groups,
                    DownloadJob::Selection& selection) {
  const int first = groups ? 0 : kGroupCount;
  const int count = groups ? kGroupCount : kSetCount;
  bool* chosen = groups ? selection.groups.data() : selection.sets.data();
  if (list == "all") {
    for (int i = 0; i < count; ++i) chosen[i] = chosen[i] || job.Counts()[first + i] > 0;
    return Result::Success();
  }
  for (const std::string& item : SplitList(list)) {
    int index = -1;
    if (groups && item.size() == 1) index = GroupIndex(item[0]);
    if (!groups && item.size() == 1 && item[0] >= '0' && item[0] <= '9') index = item[0] - '0';
    if (index < 0)
      return Result::Failure((groups ? "No memory group \"" : "No logging set \"") + item + "\".");
    if (!job.BoxEnabled(first + index))
      return Result::Failure(DownloadJob::BaseCaption(first + index) + " holds no data.");
    chosen[index] = true;
  }
  return Result::Success();
}

}  // namespace

int RunCount(Arguments args) {
  if (HasLeftoverWords(args)) return kExitUsage;
  Instrument instrument;
  RecordTables tables;
  DownloadJob job(instrument.link, tables, instrument.ui);
  job.SelectData();
  job.Finish();
  if (!job.Counted()) return kExitRefused;
  std::string line = "counts";
  for (int count : job.Counts()) line += "\t" + std::to_string(count);
  std::printf("%s\n", line.c_str());
  return kExitOk;
}

int RunDownload(Arguments args) {
  std::string out, groups, sets;
  bool hasOut = false, hasGroups = false, hasSets = false;
  if (!TakeFreeOption(args, "-o", out, hasOut) || !TakeFreeOption(args, "--groups", groups, hasGroups) ||
      !TakeFreeOption(args, "--sets", sets, hasSets) || !hasOut || out.empty() || HasLeftoverWords(args)) {
    return kExitUsage;
  }

  Instrument instrument;
  ProgramState state;
  DownloadJob::Callbacks callbacks;
  callbacks.progress = [](int position) { std::fprintf(stderr, "progress %d\n", position); };
  DownloadJob job(instrument.link, state.tables, instrument.ui, callbacks);

  if (job.SelectData() == DownloadJob::Outcome::Close || !job.Counted()) {
    job.Finish();
    return kExitRefused;
  }
  // Without a list, everything the instrument holds.
  DownloadJob::Selection selection = job.CountedSelection();
  if (hasGroups || hasSets) {
    selection = {};
    Result listed = Result::Success();
    if (hasGroups) listed = SelectListed(job, groups, true, selection);
    if (listed && hasSets) listed = SelectListed(job, sets, false, selection);
    if (!listed) {
      job.Finish();
      return Refuse(listed.message);
    }
  }
  const DownloadJob::Result result = job.Download(selection);
  job.Report(result);
  job.Finish();
  if (result.outcome != DownloadJob::Outcome::Downloaded) return kExitRefused;

  // A new download is saved in the current layout with the default number format.
  return ExitStatus(WriteDataFile(out, state.tables, NumberFormat{}));
}

int RunSet(Arguments args) {
  bool clock = false;
  if (auto it = std::find(args.begin(), args.end(), "--clock"); it != args.end()) {
    clock = true;
    args.erase(it);
    if (std::find(args.begin(), args.end(), "--clock") != args.end()) return kExitUsage;
  }
  bool pi = false;
  std::string t1, t2;
  if (auto it = std::find(args.begin(), args.end(), "--pi"); it != args.end()) {
    if (args.end() - it < 3) return kExitUsage;
    pi = true;
    t1 = *(it + 1);
    t2 = *(it + 2);
    args.erase(it, it + 3);
    if (std::find(args.begin(), args.end(), "--pi") != args.end()) return kExitUsage;
  }
  std::string step;
  if (!TakeOption(args, "--step", {"30s", "1min", "2min", "5min"}, step)) return kExitUsage;
  if (HasLeftoverWords(args)) return kExitUsage;

  int entry = -1;
  for (int i = 0; i < kStepEntryCount; ++i) {
    if (step == StepEntryText(i)) entry = i;
  }

  SettingsJob::Choices choices;
  choices.clock = clock;
  choices.pi = pi;
  choices.t1 = t1;
  choices.t2 = t2;
  choices.step = entry >= 0;
  choices.stepEntry = entry;

  Instrument instrument;
  RecordTables tables;
  SystemClock systemClock;
  SettingsJob job(instrument.link, tables, instrument.ui, systemClock);
  const SettingsJob::Result result = job.Apply(choices);
  instrument.ui.Tell(result.message);
  return result.sent ? kExitOk : kExitRefused;
}

}  // namespace qv70::cli
