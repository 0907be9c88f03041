#pragma once

#include <string_view>

#include "core/rtf/rich_text.h"

namespace qv70 {

// Groups deeper than this end the read: nothing the comment holds comes near
// it, and a bound keeps a hostile file from exhausting the stack of states.
inline constexpr int kMaxRtfGroupDepth = 100;

// True when `bytes` begins, after blanks, with "{\rtf" (or "{\urtf").
bool LooksLikeRtf(std::string_view bytes);

// The text and character formats of an RTF document, in normal form (rich_text.h).
// Reads the font table (names in their character set), the colour table,
// \fs, \b, \i, \ul and its kinds, \strike, \cf, \plain, \par, \line, \tab,
// the escaped characters, \'hh in the font's code page or the document's
// \ansicpg (936 as GB18030), \uN with its \ucN fallback skipped, and skips
// \binN data, \* destinations and the destinations that hold no comment text
// (pictures, objects, style sheet, document information, headers, fields'
// instructions, list markers). Unknown control words are ignored.
//
// Never fails: input that is not RTF reads as plain text (UTF-8, else
// GB18030); an unterminated group, a \bin longer than what follows, or groups
// nested deeper than kMaxRtfGroupDepth end the read with what was read so far;
// what follows the document's closing brace is ignored.
RichText ReadRtf(std::string_view rtf);

}  // namespace qv70
