#include "core/report/report_start.h"

#include <cstdio>
#include <utility>

#include "core/files/comment_file.h"
#include "core/files/settings_file.h"
#include "core/platform/environment.h"

namespace qv70 {

void ReadReportInfo(const SettingsFile& settings, ReportInfoTexts& texts) {
  if (!settings.Exists()) return;
  texts.companyName = settings.Read("INFO", "COMPANYNAME", "");
  texts.author = settings.Read("INFO", "AUTHOR", "");
  texts.picturePath = settings.Read("INFO", "PICPATCH", "");
  texts.itemFlags = settings.Read("INFO", "OPERATION", "");
}

bool WriteReportInfo(SettingsFile& settings, const ReportInfoTexts& texts) {
  if (!settings.Exists()) return false;
  bool ok = settings.Write("INFO", "COMPANYNAME", texts.companyName).ok;
  ok = settings.Write("INFO", "AUTHOR", texts.author) && ok;
  ok = settings.Write("INFO", "PICPATCH", texts.picturePath) && ok;
  return settings.Write("INFO", "OPERATION", texts.itemFlags) && ok;
}

ReportStart LoadReportStart(const Environment& environment) {
  ReportStart start;
  ReadReportInfo(SettingsFile::InDirectory(environment.DataDirectory()), start.info);
  const std::string commentPath = JoinPath(environment.DataDirectory(), "Comment.inl");
  // The file holds the comment behind a length prefix; one that is cut short,
  // or a file that is damaged, leaves the comment empty.
  if (FileExists(commentPath)) {
    ResultOf<std::string> comment = ReadCommentFile(commentPath);
    start.commentLoaded = comment.ok;
    start.comment = std::move(comment.value);
  }
  const std::time_t now = environment.clock ? environment.clock->Now() : std::time(nullptr);
  start.dateText = ReportDateText(now);
  return start;
}

std::string ReportDateText(std::time_t now) {
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::snprintf(text, sizeof text, "%d-%d-%d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  return text;
}

}  // namespace qv70
