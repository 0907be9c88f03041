#pragma once

#include <string>

#include "core/rtf/rich_text.h"

namespace qv70 {

// `text` as an RTF document that ReadRtf reads back to the same RichText (for
// text in normal form, font names without surrounding blanks). ASCII only:
// every other character is written \uN with "?" as its fallback. Faces go to
// the font table, colours to the colour table, each run into a group of its
// own with its size, effects and colour; each paragraph ends with \par. A run
// with no face names no font and so takes the reader's default (the font table
// starts at 1, so \deff0 names none).
std::string WriteRtf(const RichText& text);

}  // namespace qv70
