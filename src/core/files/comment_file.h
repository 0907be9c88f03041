#pragma once

#include <string>

#include "core/platform/result.h"

namespace qv70 {

// Comment.inl in the data folder holds one string, the report comment's RTF
// text: a length prefix, then the characters without a terminator. The prefix
// is one byte below 255; else 0xFF and a little-endian 16-bit length below
// 0xFFFE; else 0xFF, 0xFF 0xFF and a little-endian 32-bit length.

std::string EncodeCommentFile(const std::string& text);

// The comment held by `bytes`. A failure, with the value empty, when the prefix
// is cut short, announces more characters than the file holds, or is a form
// this file never uses (the 16-bit value 0xFFFE). Bytes after the string are
// ignored.
ResultOf<std::string> DecodeCommentFile(const std::string& bytes);

// Reads and decodes the file at `path`. A failure, with the value empty, when
// the file is missing, does not hold a comment, or is damaged: not a regular
// file (a FIFO or a device is never read), larger than kMaxSideFileSize, or
// unreadable. Never waits and never throws.
ResultOf<std::string> ReadCommentFile(const std::string& path);

}  // namespace qv70
