#pragma once

#include <string>

namespace qv70 {

// Comment.inl beside the program holds one string, the report comment's RTF
// text: a length prefix, then the characters without a terminator. The prefix
// is one byte below 255; else 0xFF and a little-endian 16-bit length below
// 0xFFFE; else 0xFF, 0xFF 0xFF and a little-endian 32-bit length.

std::string EncodeCommentFile(const std::string& text);

// The comment held by `bytes`. False, with `text` empty, when the prefix is
// cut short, announces more characters than the file holds, or is a form this
// file never uses (the 16-bit value 0xFFFE). Bytes after the string are ignored.
bool DecodeCommentFile(const std::string& bytes, std::string& text);

// Reads and decodes the file at `path`. False, with `text` empty, when the file
// cannot be read or does not hold a comment.
bool ReadCommentFile(const std::string& path, std::string& text);

}  // namespace qv70
