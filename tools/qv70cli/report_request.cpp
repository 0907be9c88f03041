#include "report_request.h"

#include <algorithm>
#include <initializer_list>
#include <map>

#include "core/files/data_file.h"
#include "core/report/report_pages.h"
#include "core/report/report_start.h"
#include "core/rtf/rich_text.h"
#include "core/rtf/rtf_writer.h"
#include "core/rtf/text_codec.h"

namespace qv70::cli {
namespace {

struct OptionSpec {
  const char* name;
  bool takesValue;
};

constexpr OptionSpec kOptions[] = {
    {"--texts", false},
    {"--drawing", false},
    {"--pdf", true},
    {"--rtf", true},
    {"--paper", true},
    {"--start-page", true},
    {"--no-page-numbers", false},
    {"--select", true},
    {"--items", true},
    {"--step-graph", true},
    {"--logging-graph", true},
    {"--logo", true},
    {"--company", true},
    {"--no-logo", false},
    {"--author", true},
    {"--no-author", false},
    {"--data-name", true},
    {"--date", true},
    {"--no-date", false},
    {"--comment", true},
    {"--decimal", true},
};

// The command's words: its options by name (a flag with an empty value) and the rest.
struct Words {
  std::map<std::string, std::string> options;
  std::vector<std::string> operands;

  bool Has(const std::string& name) const { return options.count(name) > 0; }
  const std::string& Value(const std::string& name) const { return options.at(name); }
  int CountOf(std::initializer_list<const char*> names) const {
    return static_cast<int>(
        std::count_if(names.begin(), names.end(), [this](const char* n) { return Has(n); }));
  }
};

const OptionSpec* FindOption(const std::string& word) {
  for (const OptionSpec& option : kOptions)
    if (word == option.name) return &option;
  return nullptr;
}

// Left to right, so that a value is taken as a value whatever it looks like.
bool SplitWords(const Arguments& args, Words& words) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (word.rfind("--", 0) != 0) {
      words.operands.push_back(word);
      continue;
    }
    const OptionSpec* option = FindOption(word);
    if (option == nullptr || words.Has(word)) return false;
    if (option->takesValue && i + 1 == args.size()) return false;
    words.options[word] = option->takesValue ? args[++i] : std::string();
  }
  return true;
}

// The box pairs of the first page that cannot both be chosen.
bool NoConflicts(const Words& words) {
  return words.CountOf({"--start-page", "--no-page-numbers"}) <= 1 &&
         words.CountOf({"--logo", "--company", "--no-logo"}) <= 1 &&
         words.CountOf({"--date", "--no-date"}) <= 1 && words.CountOf({"--author", "--no-author"}) <= 1;
}

// The option's value as its position in `allowed`; `index` is kept when the
// option is absent, and any other value is false.
bool TakeChoice(const Words& words, const char* name, std::initializer_list<const char*> allowed,
                int& index) {
  if (!words.Has(name)) return true;
  const auto found = std::find_if(allowed.begin(), allowed.end(),
                                  [&](const char* word) { return words.Value(name) == word; });
  if (found == allowed.end()) return false;
  index = static_cast<int>(found - allowed.begin());
  return true;
}

// A text option of the first page: the dialog's limit for its edit, the check
// box that typing into the edit needs ticked, and what the text sets.
struct TextOption {
  const char* name;
  size_t limit;
  bool ReportSetChoices::*box;  // none for the comment
  void (*apply)(ReportSetChoices& first, const std::string& text);
};

const TextOption kTextOptions[] = {
    {"--start-page", report_limit::kStartPage, &ReportSetChoices::pageNumberOn,
     [](ReportSetChoices& c, const std::string& t) { c.startPageText = t; }},
    {"--logo", report_limit::kPicturePath, &ReportSetChoices::logoOn,
     [](ReportSetChoices& c, const std::string& t) {
       c.logoKind = LogoKind::Picture;
       c.picturePath = t;
     }},
    {"--company", report_limit::kCompanyName, &ReportSetChoices::logoOn,
     [](ReportSetChoices& c, const std::string& t) {
       c.logoKind = LogoKind::Text;
       c.companyName = t;
     }},
    {"--author", report_limit::kAuthor, &ReportSetChoices::authorOn,
     [](ReportSetChoices& c, const std::string& t) { c.author = t; }},
    {"--data-name", report_limit::kDataName, &ReportSetChoices::dataNameOn,
     [](ReportSetChoices& c, const std::string& t) { c.dataName = t; }},
    {"--date", report_limit::kTimeText, &ReportSetChoices::timeOn,
     [](ReportSetChoices& c, const std::string& t) {
       ChooseTimeKind(c, TimeKind::Text, {});
       EditTimeText(c, t);
     }},
    {"--comment", report_limit::kComment, nullptr,
     [](ReportSetChoices& c, const std::string& t) {
       // As the comment box would hold it, in both of its forms.
       const RichText comment = RichTextFromPlain(t);
       c.commentText = PlainText(comment);
       c.commentRtf = WriteRtf(comment);
     }},
};

// A flag that unticks one of the first page's check boxes.
struct FlagOption {
  const char* name;
  bool ReportSetChoices::*box;
};

const FlagOption kFlagOptions[] = {
    {"--no-page-numbers", &ReportSetChoices::pageNumberOn},
    {"--no-logo", &ReportSetChoices::logoOn},
    {"--no-author", &ReportSetChoices::authorOn},
    {"--no-date", &ReportSetChoices::timeOn},
};

bool FitsBox(const std::string& text, size_t limit) { return IsUtf8(text) && CharacterCount(text) <= limit; }

bool ParseFirstPage(const Words& words, ReportSetChoices& first) {
  int paper = static_cast<int>(first.paperSize);
  if (!TakeChoice(words, "--paper", {"a4", "b5", "letter", "legal"}, paper)) return false;
  first.paperSize = static_cast<PaperSize>(paper);
  for (const TextOption& option : kTextOptions) {
    if (!words.Has(option.name)) continue;
    const std::string& text = words.Value(option.name);
    if (!FitsBox(text, option.limit)) return false;
    if (option.box != nullptr) first.*option.box = true;
    option.apply(first, text);
  }
  for (const FlagOption& option : kFlagOptions) {
    if (words.Has(option.name)) first.*option.box = false;
  }
  return true;
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

bool TakeGraphKind(const Words& words, const char* name, GraphKind& kind) {
  int index = static_cast<int>(kind);
  if (!TakeChoice(words, name, {"resistance", "current"}, index)) return false;
  kind = static_cast<GraphKind>(index);
  return true;
}

// The group and item pages. The group page's boxes of groups and sets without
// data are disabled, so FinishReport drops them from a partial selection.
bool ParseDataPages(const Words& words, ReportChoices& choices) {
  const std::string select = words.Has("--select") ? words.Value("--select") : "all";
  if (select == "all") {
    choices.first.creationMethod = CreationMethod::AllData;
  } else {
    choices.first.creationMethod = CreationMethod::PartialData;
    if (!ParseSelection(select, choices.partialSelection)) return false;
  }
  return ParseItems(words.Has("--items") ? words.Value("--items") : "all", choices.itemFlags) &&
         TakeGraphKind(words, "--step-graph", choices.stepGraphKind) &&
         TakeGraphKind(words, "--logging-graph", choices.loggingGraphKind);
}

bool ParseOutput(const Words& words, ReportRequest& request) {
  if (words.CountOf({"--texts", "--drawing", "--pdf", "--rtf"}) != 1) return false;
  if (words.Has("--drawing")) request.output = ReportOutput::Drawing;
  if (words.Has("--pdf")) request.output = ReportOutput::Pdf;
  if (words.Has("--rtf")) request.output = ReportOutput::Rtf;
  if (request.output == ReportOutput::Pdf || request.output == ReportOutput::Rtf) {
    request.outputPath = words.Value(request.output == ReportOutput::Pdf ? "--pdf" : "--rtf");
    if (request.outputPath.empty()) return false;
  }
  return true;
}

// The dialog as it first opens in a program directory without Config.ini or Comment.inl.
ReportChoices StartChoices(const std::string& today) {
  const ReportSettings start = StartReportSettings(ReportStart{});
  ReportChoices choices;
  choices.first = ChoicesFromSettings(start, today);
  choices.stepGraphKind = start.stepGraphKind;
  choices.loggingGraphKind = start.loggingGraphKind;
  return choices;
}

}  // namespace

bool ParseReportRequest(const Arguments& args, const std::string& today, ReportRequest& request) {
  Words words;
  if (!SplitWords(args, words) || words.operands.size() != 1 || !NoConflicts(words)) return false;
  request = ReportRequest{};
  request.file = words.operands[0];
  request.choices = StartChoices(today);
  return ParseOutput(words, request) && ParseFirstPage(words, request.choices.first) &&
         ParseDataPages(words, request.choices) &&
         TakeChoice(words, "--decimal", {"period", "comma"}, request.decimal);
}

Result OpenReport(const ReportRequest& request, OpenedReport& report) {
  report.state.SetNumberFormat(request.decimal, 0);
  if (Result opened = ReadDataFile(request.file, report.state.tables); !opened) return opened;
  ResultOf<ReportSettings> finished = FinishReport(request.choices, report.state.tables);
  if (!finished) return Result::Failure(finished.message);
  report.settings = std::move(finished.value);
  return Result::Success();
}

}  // namespace qv70::cli
