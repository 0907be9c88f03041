#pragma once

#include <string>
#include <string_view>

namespace qv70 {

// Text in the core is UTF-8. These convert what comes from outside (RTF code
// pages, comment text files) and count characters, which is what every text
// limit of the program counts: Unicode code points, not bytes.

// True when `bytes` is well-formed UTF-8 (no overlong forms, surrogates or
// values above U+10FFFF). With `allowCutTail`, a sequence cut short by the end
// of `bytes` is accepted, for input that was read only in part.
bool IsUtf8(std::string_view bytes, bool allowCutTail = false);

// Code points in well-formed UTF-8 (each byte of a malformed sequence counts as one).
size_t CharacterCount(std::string_view utf8);

// The first `count` characters of `utf8`, never cutting a sequence in two.
std::string FirstCharacters(std::string_view utf8, size_t count);

// Appends `codePoint` as UTF-8; a surrogate or a value beyond U+10FFFF becomes U+FFFD.
void AppendUtf8(std::string& out, char32_t codePoint);

// Decodes the next code point of `utf8` at `at` and advances `at`; a malformed
// byte gives U+FFFD and advances by one.
char32_t NextCodePoint(std::string_view utf8, size_t& at);

// `bytes` in the Windows code page `codePage` (936 and 54936 read as GB18030,
// its superset; 1252, 932, 949, 950, 125x, 874, 437, 850, 10000, 65001 ...) as
// UTF-8. Run-time conversion through the C library's iconv; a byte sequence
// the code page does not define, or a code page the system cannot convert,
// gives U+FFFD for each undecodable byte, ASCII always passing through.
std::string CodePageToUtf8(std::string_view bytes, int codePage);

// `utf8` in the Windows code page `codePage` (936 is GBK, not its GB18030
// superset: a reader of code page 936 knows no four-byte sequences). A
// character the code page lacks, and each malformed byte, becomes "?"; ASCII
// always passes through.
std::string Utf8ToCodePage(std::string_view utf8, int codePage);

// A text file's bytes as UTF-8: UTF-8 (a byte-order mark dropped) when the bytes
// are well-formed UTF-8, else GB18030. `cutTail` says the bytes are the file's
// beginning only, so a character cut by the end is dropped, not replaced.
std::string TextFileToUtf8(std::string_view bytes, bool cutTail = false);

}  // namespace qv70
