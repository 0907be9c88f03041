#pragma once

#include <string>

#include "core/platform/result.h"

namespace qv70 {

struct ReportSettings;

// What Finish keeps for the next start, in the data folder: the INFO
// keys of Config.ini (COMPANYNAME, AUTHOR, PICPATCH, OPERATION), only when the
// file exists, and Comment.inl with commentRtf, created or replaced atomically.
// Both are attempted; a failure names the file that could not be written, as
// the data files' save message does.
Result StoreReportSettings(const ReportSettings& settings, const std::string& dataDirectory);

// "Browse..." for the logo: a path that names no file gives "Cannot open file
// "<path>"." (caption "Open File"); one longer than Config.ini keeps a value
// (254 bytes) is refused with a message of its own.
Result CheckPicturePath(const std::string& path);

}  // namespace qv70
