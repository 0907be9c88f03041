// The RTF reader: what the comment keeps of documents from the comment
// editor and from other programs, and how it ends on damaged or hostile ones.
#include "core/rtf/rtf_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "core/rtf/rtf_test_support.h"

namespace qv70 {
namespace {

using test::Describe;

struct ReadRow {
  const char* name;
  std::string rtf;
  std::string described;
};

TEST(RtfReader, KeepsTheTextOfEveryConstruct) {
  const ReadRow rows[] = {
      {"plain words", R"({\rtf1 Tested at 500 V})", "[]Tested at 500 V |"},
      {"escaped braces and backslash", R"({\rtf1 a\{b\}c\\d})", "[]a{b}c\\d |"},
      {"line ends in the file are layout", "{\\rtf1 one\r\ntwo\ntwo}", "[]onetwotwo |"},
      {"par ends a paragraph, a final par adds none", R"({\rtf1 one\par two\par})", "[]one |[]two |"},
      {"two pars leave an empty paragraph", R"({\rtf1 one\par\par two})", "[]one | |[]two |"},
      {"escaped line end is a paragraph", "{\\rtf1 one\\\ntwo}", "[]one |[]two |"},
      {"line break and tab", R"({\rtf1 a\line b\tab c})", "[]a\u2028b\tc |"},
      {"named characters", R"({\rtf1 \emdash\endash\lquote\rquote\ldblquote\rdblquote\bullet\~})",
       "[]\u2014\u2013\u2018\u2019\u201C\u201D\u2022\u00A0 |"},
      {"hex in the default code page 1252", R"({\rtf1\ansi \'e9\'80})", "[]\u00E9\u20AC |"},
      {"hex in code page 936", R"({\rtf1\ansi\ansicpg936 \'d6\'d0\'ce\'c4})", "[]中文 |"},
      {"hex in a GB2312 font of a 1252 document",
       R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0\fnil\fcharset134 \'cb\'ce\'cc\'e5;}}\f0 \'d6\'d0})",
       "[宋体]中 |"},
      {"a double-byte character split by a group keeps its halves apart", R"({\rtf1\ansicpg936 \'d6{}\'d0})",
       "[]\uFFFD\uFFFD |"},
      {"unicode with one fallback character", R"({\rtf1 \u20013?\u25991?})", "[]中文 |"},
      {"unicode after uc2 skips two hex bytes", R"({\rtf1\ansicpg936\uc2 \u20013\'d6\'d0 ok})", "[]中 ok |"},
      {"unicode after uc0 skips nothing", R"({\rtf1\uc0 \u20013 x})", "[]中x |"},
      {"uc is kept by its group", R"({\rtf1{\uc2 \u20013??}\u25991?x})", "[]中文x |"},
      {"negative unicode", R"({\rtf1 \u-3?})", "[]\uFFFD |"},
      {"surrogate pair", R"({\rtf1 \u-10179?\u-8704?})", "[]\U0001F600 |"},
      {"lone high surrogate", R"({\rtf1 \u-10179? x})", "[]\uFFFD x |"},
      {"a group ends the fallback", R"({\rtf1\uc3 \u20013{}x})", "[]中x |"},
      {"bin data with braces is skipped", "{\\rtf1 a\\bin4 }{\\}b}", "[]ab |"},
      {"bin inside a skipped picture", "{\\rtf1 a{\\pict\\bin3 }}}}b}", "[]ab |"},
      {"bin of zero bytes", R"({\rtf1 a\bin0 b})", "[]ab |"},
      {"unknown starred destination", R"({\rtf1 a{\*\mynewthing {x}y}b})", "[]ab |"},
      {"unknown control words are ignored", R"({\rtf1\qzzy12 a\frobnicate-5 b})", "[]ab |"},
      {"known destinations hold no text",
       R"({\rtf1{\info{\title T}{\author A}}{\stylesheet{\s0 Normal;}}{\header H}{\pict 89ab}a})", "[]a |"},
      {"field instruction skipped, result kept",
       R"({\rtf1{\field{\*\fldinst HYPERLINK "x"}{\fldrslt link}}})", "[]link |"},
      {"list marker text skipped", R"({\rtf1{\listtext 1.\tab}item})", "[]item |"},
      {"text after the document is ignored", R"({\rtf1 a}b{c})", "[]a |"},
      {"leading blanks before the document", "  \r\n{\\rtf1 a}", "[]a |"},
      {"control characters are dropped", R"({\rtf1 a\'01\'00b\u7?c})", "[]abc |"},
      {"empty document", R"({\rtf1})", ""},
      {"not rtf reads as plain text", "first\r\nsecond\n", "[]first |[]second |"},
      {"plain text in GB18030", "\xd6\xd0\xce\xc4", "[]中文 |"},
  };
  for (const ReadRow& row : rows) {
    EXPECT_EQ(Describe(ReadRtf(row.rtf)), row.described) << row.name;
  }
}

TEST(RtfReader, KeepsCharacterFormats) {
  const std::string tables =
      R"({\rtf1\ansi\deff0{\fonttbl{\f0\fswiss\fcharset0 Arial;}{\f1\froman{\*\panose 02020603}Times New Roman;})"
      R"(\f2\fnil No Braces;}{\colortbl;\red255\green0\blue0;\red0\green128\blue255;})";
  const ReadRow rows[] = {
      {"default font from deff", tables + "a}", "[Arial]a |"},
      {"font, size and effects", tables + R"(\f1\fs20\b\i\ul\strike a})",
       "[Times New Roman fs20 b i u s]a |"},
      {"entry without braces", tables + R"(\f2 a})", "[No Braces]a |"},
      {"effects switched off", tables + R"(\b\i\ul\strike a\b0\i0\ulnone\strike0 b})",
       "[Arial b i u s]a[Arial]b |"},
      {"underline kinds and not its colour", tables + R"(\uldb a\ul0\ulc1 b\ulwave c})",
       "[Arial u]a[Arial]b[Arial u]c |"},
      {"colours by table index, 0 automatic", tables + R"(\cf1 a\cf2 b\cf0 c\cf9 d})",
       "[Arial #ff0000]a[Arial #0080ff]b[Arial]cd |"},
      {"a group gives its format back", tables + R"({\b\cf1 a}b})", "[Arial b #ff0000]a[Arial]b |"},
      {"plain resets the character format", tables + R"(\f1\fs40\b\cf1 a\plain b})",
       "[Times New Roman fs40 b #ff0000]a[Arial]b |"},
      {"double strike", tables + R"(\striked1 a})", "[Arial s]a |"},
      {"size beyond the editor's range", tables + R"(\fs99999 a\fs0 b})", "[Arial fs3276]ab |"},
      {"unknown font number", tables + R"(\f7 a})", "[]a |"},
      {"format spans paragraphs", tables + R"(\b a\par b})", "[Arial b]a |[Arial b]b |"},
      {"no font table", R"({\rtf1\f3\fs18 a})", "[fs18]a |"},
  };
  for (const ReadRow& row : rows) {
    EXPECT_EQ(Describe(ReadRtf(row.rtf)), row.described) << row.name;
  }
}

TEST(RtfReader, EndsDamagedDocumentsWithWhatWasRead) {
  const std::string deep =
      "{\\rtf1 kept" + std::string(200000, '{') + "lost" + std::string(200000, '}') + "}";
  std::string nestedToTheLimit = "{\\rtf1 a";
  for (int depth = 2; depth <= kMaxRtfGroupDepth; ++depth) nestedToTheLimit += "{";
  nestedToTheLimit += "b";
  const ReadRow rows[] = {
      {"unterminated group", R"({\rtf1 one\par two{\b three)", "[]one |[]two[b]three |"},
      {"unterminated hex escape", R"({\rtf1 a\'4)", "[]a |"},
      {"backslash at the end", "{\\rtf1 a\\", "[]a |"},
      {"bin longer than the rest", R"({\rtf1 a\bin100 bc})", "[]a |"},
      {"negative bin length", R"({\rtf1 a\bin-5 b})", "[]ab |"},
      {"huge parameter", R"({\rtf1 a\bin99999999999999999999 b})", "[]a |"},
      {"nesting beyond the limit", deep, "[]kept |"},
      {"nesting up to the limit", nestedToTheLimit, "[]ab |"},
      {"closing brace first", "{\\rtf1 a}}}}", "[]a |"},
  };
  for (const ReadRow& row : rows) {
    EXPECT_EQ(Describe(ReadRtf(row.rtf)), row.described) << row.name;
  }
}

}  // namespace
}  // namespace qv70
