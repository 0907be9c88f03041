#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/data/record_tables.h"

namespace qv70 {

struct ReportStart;

// What the report pages show for each test type: one check box per item on
// the item page, stored as one '0'/'1' character per item in `itemFlags`.
enum class ReportKind { Normal, TC, Step, Logging };
inline constexpr int kReportKindCount = 4;

struct ReportItem {
  ReportKind kind;
  const char* caption;
};

inline constexpr int kReportItemCount = 32;
// The position in `itemFlags` of the item page's "Select All" box.
inline constexpr int kSelectAllFlag = kReportItemCount;
inline constexpr int kItemFlagCount = kReportItemCount + 1;

inline constexpr std::array<ReportItem, kReportItemCount> kReportItems = {{
    {ReportKind::Normal, "Test Time"},
    {ReportKind::Normal, "Temperature"},
    {ReportKind::Normal, "Humidity"},
    {ReportKind::Normal, "Set Voltage"},
    {ReportKind::Normal, "Output Voltage"},
    {ReportKind::Normal, "Resistance Value"},
    {ReportKind::Normal, "Leak Current Value"},
    {ReportKind::Normal, "DAR Value [1min/15s]"},
    {ReportKind::Normal, "Resistance 1min,15s"},
    {ReportKind::Normal, "DAR Value [1min/30s]"},
    {ReportKind::Normal, "Resistance 1min,30s"},
    {ReportKind::Normal, "PI Value"},
    {ReportKind::Normal, "PI Test Time t1,t2"},
    {ReportKind::Normal, "Resistance t1,t2 Value"},
    {ReportKind::TC, "Test Time"},
    {ReportKind::TC, "Temperature"},
    {ReportKind::TC, "Humidity"},
    {ReportKind::TC, "Output Voltage"},
    {ReportKind::TC, "Resistance Value"},
    {ReportKind::TC, "Table No."},
    {ReportKind::TC, "Reference Temperature"},
    {ReportKind::TC, "Corrected Resistance"},
    {ReportKind::TC, "Set Voltage"},
    {ReportKind::TC, "Leak Current Value"},
    {ReportKind::Step, "Step Interval"},
    {ReportKind::Step, "Set Voltage"},
    {ReportKind::Step, "Temperature"},
    {ReportKind::Step, "Humidity"},
    {ReportKind::Logging, "Test Interval"},
    {ReportKind::Logging, "Set Voltage"},
    {ReportKind::Logging, "Temperature"},
    {ReportKind::Logging, "Humidity"},
}};

// The item whose box a dependant follows (8 follows 7, 10 follows 9, 12 and
// 13 follow 11), or -1 for an item that follows none.
int ReportItemParent(int item);

// Operator text limits, counted in characters (code points), not bytes.
namespace report_limit {
inline constexpr size_t kCompanyName = 32;
inline constexpr size_t kDataName = 30;
inline constexpr size_t kStartPage = 5;
inline constexpr size_t kPicturePath = 259;
inline constexpr size_t kComment = 250;
inline constexpr size_t kAuthor = 16;
inline constexpr size_t kTimeText = 10;
}  // namespace report_limit

enum class PaperSize { A4 = 0, B5 = 1, Letter = 2, Legal = 3 };
enum class CreationMethod { AllData = 0, PartialData = 1 };  // "Select All Data" / "Select Partial Data"
enum class LogoKind { Picture = 0, Text = 1 };
enum class TimeKind { Date = 0, Text = 1 };  // "Time" (today's date) / "Text" (the user's own)
enum class GraphKind { Resistance = 0, LeakCurrent = 1 };

// Memory groups A..P at 0..9, logging sets Lr0..Lr9 at 10..19, as in the count list.
using DataSelection = std::array<bool, kCountListSize>;

// The header texts the pages print, as the first page's boxes decide them.
struct ReportHeaderTexts {
  std::string startPage = "1";  // the Start Page box with numbering on, else "1"
  std::string time;             // the time box with "Input Time" on, else empty
  std::string author;           // the author box with "Input Author Name" on, else empty
  std::string dataName;         // the data name box with "Input Data Name" on, else empty
  bool operator==(const ReportHeaderTexts& o) const {
    return startPage == o.startPage && time == o.time && author == o.author && dataName == o.dataName;
  }
};

// What a report contains and how its pages are headed. It changes only at
// Finish (FinishReport); page content, printing and RTF export read it.
struct ReportSettings {
  std::string commentRtf;  // the comment with its formatting
  bool pageNumberOn = true;
  TimeKind timeKind = TimeKind::Date;
  bool timeOn = true;
  PaperSize paperSize = PaperSize::A4;
  CreationMethod creationMethod = CreationMethod::AllData;
  bool dataNameOn = false;
  bool authorOn = true;
  // Pages per kind; a kind without a ticked item counts 0.
  int loggingCount = 0;
  int normalCount = 0;
  int tcCount = 0;
  int stepCount = 0;
  std::string companyName;
  bool logoOn = true;
  LogoKind logoKind = LogoKind::Picture;
  std::string dataName;
  std::string startPageText = "1";
  std::string picturePath;
  std::string commentText;  // the comment as plain text
  std::string author;
  std::string customTimeText;  // the user's time text, kept while the date is shown
  DataSelection selectedSets{};

  std::string itemFlags = std::string(kItemFlagCount, '0');
  GraphKind stepGraphKind = GraphKind::Resistance;
  GraphKind loggingGraphKind = GraphKind::Resistance;
  ReportHeaderTexts header;
  int reportPageCount = 0;  // the four counts added: the last page to print

  bool ItemTicked(int item) const { return itemFlags[static_cast<size_t>(item)] == '1'; }
};

// OPERATION as `itemFlags`: exactly kItemFlagCount characters, a missing or short
// value filled with '0', a longer one cut, and anything but '1' read as '0'.
std::string NormalizedItemFlags(std::string_view operation);

// `text` cut to its first `limit` characters.
std::string LimitText(std::string_view text, size_t limit);

// The settings at program start: the defaults, the INFO texts of Config.ini
// (cut to their limits) and the saved comment, whose plain text is read from
// its RTF (a damaged or missing Comment.inl gives the empty comment).
ReportSettings StartReportSettings(const ReportStart& start);

}  // namespace qv70
