// Character counting and the code pages the comment meets.
#include "core/rtf/text_codec.h"

#include <gtest/gtest.h>

#include <string>

namespace qv70 {
namespace {

TEST(TextCodec, CountsAndCutsCharactersNotBytes) {
  const struct {
    const char* name;
    std::string text;
    size_t count;
    std::string firstTwo;
  } rows[] = {
      {"ascii", "abc", 3, "ab"},
      {"chinese", "绝缘电阻", 4, "绝缘"},
      {"beyond 16 bits", "\U0001F600\U0001F601x", 3, "\U0001F600\U0001F601"},
      {"mixed", "é中", 2, "é中"},
      {"malformed bytes count one each",
       "\xff\xfe"
       "a",
       3, "\xff\xfe"},
      {"empty", "", 0, ""},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(CharacterCount(row.text), row.count) << row.name;
    EXPECT_EQ(FirstCharacters(row.text, 2), row.firstTwo) << row.name;
  }
}

TEST(TextCodec, TellsWellFormedUtf8) {
  const struct {
    const char* name;
    std::string bytes;
    bool utf8;
    bool utf8WithCutTail;
  } rows[] = {
      {"ascii", "abc", true, true},
      {"chinese", "中文", true, true},
      {"four bytes", "\xF0\x9F\x98\x80", true, true},
      {"cut at the end", "a\xE4\xB8", false, true},
      {"cut in the middle",
       "\xE4\xB8"
       "a",
       false, false},
      {"overlong slash", "\xC0\xAF", false, false},
      {"overlong three bytes", "\xE0\x80\xAF", false, false},
      {"surrogate", "\xED\xA0\x80", false, false},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", false, false},
      {"gb18030 bytes", "\xd6\xd0\xce\xc4", false, false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(IsUtf8(row.bytes), row.utf8) << row.name;
    EXPECT_EQ(IsUtf8(row.bytes, true), row.utf8WithCutTail) << row.name;
  }
}

TEST(TextCodec, ReadsTextFilesAsUtf8ElseGb18030) {
  const struct {
    const char* name;
    std::string bytes;
    bool cutTail;
    std::string text;
  } rows[] = {
      {"utf-8", "绝缘 ok", false, "绝缘 ok"},
      {"utf-8 with byte-order mark", "\xEF\xBB\xBFok", false, "ok"},
      {"gb18030 two-byte", "\xbe\xf8\xd4\xb5 ok", false, "绝缘 ok"},
      {"gb18030 four-byte", "\x81\x30\x81\x30", false, "\u0080"},
      {"gb18030 beyond 16 bits", "\x90\x30\x81\x30", false, "\U00010000"},
      {"utf-8 cut by the read", "ab\xE4\xB8", true, "ab"},
      {"gb18030 cut by the read", "\xbe\xf8\xd4", true, "绝"},
      {"gb18030 cut at the file's end", "\xbe\xf8\xd4", false, "绝\uFFFD"},
      {"undefined bytes",
       "a\xff"
       "b",
       false, "a\uFFFDb"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(TextFileToUtf8(row.bytes, row.cutTail), row.text) << row.name;
  }
}

TEST(TextCodec, DecodesWindowsCodePages) {
  const struct {
    const char* name;
    std::string bytes;
    int codePage;
    std::string text;
  } rows[] = {
      {"1252 euro and accent", "\x80\xe9", 1252, "€é"},
      {"936 as gb18030", "\xd6\xd0", 936, "中"},
      {"950 big5", "\xa4\xa4", 950, "中"},
      {"932 shift-jis", "\x93\xfa", 932, "日"},
      {"1251 cyrillic", "\xc4", 1251, "Д"},
      {"unknown code page keeps ascii", "a\xc4", 12345, "a\uFFFD"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(CodePageToUtf8(row.bytes, row.codePage), row.text) << row.name;
  }
}

TEST(TextCodec, EncodesCodePage936WithQuestionMarksForTheRest) {
  const struct {
    const char* name;
    std::string text;
    std::string bytes;
  } rows[] = {
      {"ascii unchanged", "Report with QV70", "Report with QV70"},
      {"chinese in gbk", "\xe7\xbb\x9d\xe7\xbc\x98 ok", "\xbe\xf8\xd4\xb5 ok"},
      {"degree sign in gbk", "10 \xc2\xb0""C", "10 \xa1\xe3""C"},
      {"emoji outside 936", "a\xf0\x9f\x98\x80""b", "a?b"},
      {"pinyin accent in 936", "r\xc3\xa9sum\xc3\xa9", "r\xa8\xa6sum\xa8\xa6"},
      {"euro as windows 936 has it", "\xe2\x82\xac", "\x80"},
      {"malformed byte", "a\xff""b", "a?b"},
      {"sequence cut at the end", "a\xe7\xbb", "a??"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Utf8ToCodePage(row.text, 936), row.bytes) << row.name;
  }
}

}  // namespace
}  // namespace qv70
