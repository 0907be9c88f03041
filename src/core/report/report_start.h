#pragma once

#include <ctime>
#include <string>

namespace qv70 {

class SettingsFile;
struct Environment;

// INFO of Config.ini: the report texts.
struct ReportInfoTexts {
  std::string companyName;
  std::string author;
  std::string picturePath;
  std::string itemFlags;  // one "0" or "1" per report item
};
// Leaves `texts` untouched when the file does not exist.
void ReadReportInfo(const SettingsFile& settings, ReportInfoTexts& texts);
// Does nothing and returns false when the file does not exist.
bool WriteReportInfo(SettingsFile& settings, const ReportInfoTexts& texts);

// What the report settings start from: the INFO texts of Config.ini, the saved
// comment of Comment.inl and today's date.
struct ReportStart {
  ReportInfoTexts info;
  std::string comment;
  bool commentLoaded = false;
  std::string dateText;  // "%d-%d-%d": year, month, day
};

// The start values as a new view reads them from the program directory: a
// missing or damaged Config.ini leaves the texts empty, a missing, cut-short or
// damaged Comment.inl (see ReadCommentFile) leaves the comment empty and not
// loaded.
ReportStart LoadReportStart(const Environment& environment);

// Today's date as the report shows it: "%d-%d-%d" of year, month and day.
std::string ReportDateText(std::time_t now);

}  // namespace qv70
