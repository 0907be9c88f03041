#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/platform/result.h"

namespace qv70 {

class UiServices;

// The comment box's rules. The comment is kept twice: as RTF (commentRtf,
// through core/rtf) and as plain text (commentText), which the pages print.

// The comment box after a change to `plain`: nothing when it holds at most
// 250 characters, else its first 250 characters, which replace the box's
// contents as plain text after "Please enter no more than 250 characters".
std::optional<std::string> CommentCutToLimit(std::string_view plain);

// What "Read Comment File..." makes of a text file's bytes (UTF-8, else
// GB18030): the file read as lines of up to 999 characters, of which the
// first five are kept with their line ends, the fourth without its own (so the
// fourth and fifth run together, as the program has always done), cut to 250
// characters. Line ends come as "\n"; other control characters but tab are
// dropped. `cutTail` says the bytes are only the file's beginning.
std::string CommentFromTextFile(std::string_view bytes, bool cutTail = false);

// Reads the comment text file at `path`: only its beginning, enough for five
// lines. A failure with "Cannot open file "<path>"." when there is no such
// file; a failure without a message when something is there that cannot be
// read as a file (a folder, a FIFO, a device, no permission), which leaves the
// comment as it was. Never waits and never throws.
ResultOf<std::string> ReadCommentTextFile(const std::string& path);

// The "Read Comment File..." button: asks for a "Text File (*.txt)", reads it
// into `comment` and returns true; false, with `comment` unchanged, when the
// operator cancels or the file cannot be read (a missing file is told with
// caption "Open File").
bool ReadCommentFileCommand(UiServices& ui, std::string& comment);

}  // namespace qv70
