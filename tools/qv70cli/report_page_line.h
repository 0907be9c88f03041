#pragma once

#include <optional>
#include <string>

#include "core/report/report_page.h"

namespace qv70::cli {

// Backslash, tab and line feed written as "\\", "\t" and "\n", so that each
// text stays on its line.
std::string EscapedText(const std::string& text);

// "page", the index, the printed number or "-", the kind and the source, tab
// separated and ending in a line feed; a page the data no longer fills is
// "blank" from "-".
std::string PageLine(int index, const std::optional<ReportPage>& page);

}  // namespace qv70::cli
