#include "core/report/report_store.h"

#include "core/files/atomic_file.h"
#include "core/files/comment_file.h"
#include "core/files/messages.h"
#include "core/files/settings_file.h"
#include "core/platform/environment.h"
#include "core/report/messages.h"
#include "core/report/report_settings.h"
#include "core/report/report_start.h"

namespace qv70 {

Result StoreReportSettings(const ReportSettings& settings, const std::string& dataDirectory) {
  std::string failed;
  SettingsFile config = SettingsFile::InDirectory(dataDirectory);
  if (config.Exists()) {
    const ReportInfoTexts info{settings.companyName, settings.author, settings.picturePath,
                               settings.itemFlags};
    if (!WriteReportInfo(config, info)) failed = save_message::Failed(config.Path());
  }
  const std::string commentPath = JoinPath(dataDirectory, "Comment.inl");
  const Result comment = WriteFileAtomically(commentPath, EncodeCommentFile(settings.commentRtf));
  if (!comment) {
    if (!failed.empty()) failed += "\n";
    failed += save_message::Failed(commentPath, comment.message);
  }
  return failed.empty() ? Result::Success() : Result::Failure(failed);
}

Result CheckPicturePath(const std::string& path) {
  if (!FileExists(path)) return Result::Failure(report_message::CannotOpenFile(path));
  if (path.size() > SettingsFile::kMaxValueLength)
    return Result::Failure(report_message::kPicturePathTooLong);
  return Result::Success();
}

}  // namespace qv70
