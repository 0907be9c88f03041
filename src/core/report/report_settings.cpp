#include "core/report/report_settings.h"

#include "core/report/report_start.h"
#include "core/rtf/rtf_reader.h"
#include "core/rtf/text_codec.h"

namespace qv70 {

int ReportItemParent(int item) {
  switch (item) {
    case 8: return 7;
    case 10: return 9;
    case 12:
    case 13: return 11;
    default: return -1;
  }
}

std::string NormalizedItemFlags(std::string_view operation) {
  std::string flags(kItemFlagCount, '0');
  for (size_t i = 0; i < flags.size() && i < operation.size(); ++i) {
    if (operation[i] == '1') flags[i] = '1';
  }
  return flags;
}

std::string LimitText(std::string_view text, size_t limit) { return FirstCharacters(text, limit); }

ReportSettings StartReportSettings(const ReportStart& start) {
  ReportSettings settings;
  settings.companyName = LimitText(start.info.companyName, report_limit::kCompanyName);
  settings.author = LimitText(start.info.author, report_limit::kAuthor);
  settings.picturePath = LimitText(start.info.picturePath, report_limit::kPicturePath);
  settings.itemFlags = NormalizedItemFlags(start.info.itemFlags);
  if (start.commentLoaded) {
    settings.commentRtf = start.comment;
    settings.commentText = LimitText(PlainText(ReadRtf(start.comment)), report_limit::kComment);
  }
  return settings;
}

}  // namespace qv70
