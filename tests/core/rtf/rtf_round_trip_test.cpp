// Formatted comments written as RTF and read back, and the plain-text forms
// of the comment.
#include <gtest/gtest.h>

#include <string>

#include "core/rtf/rich_text.h"
#include "core/rtf/rtf_reader.h"
#include "core/rtf/rtf_test_support.h"
#include "core/rtf/rtf_writer.h"

namespace qv70 {
namespace {

using test::Describe;

CharFormat Format(std::string face, int halfPoints, bool bold = false, bool italic = false,
                  bool underline = false, bool strikeOut = false, std::optional<RgbColor> color = {}) {
  CharFormat format;
  format.fontFace = std::move(face);
  format.halfPoints = halfPoints;
  format.bold = bold;
  format.italic = italic;
  format.underline = underline;
  format.strikeOut = strikeOut;
  format.color = color;
  return format;
}

RichParagraph Paragraph(std::initializer_list<TextRun> runs) { return RichParagraph{runs}; }

TEST(RtfRoundTrip, FormattedCommentsReadBackAsWritten) {
  const RgbColor red{255, 0, 0};
  const RgbColor black{0, 0, 0};
  const struct {
    const char* name;
    RichText text;
  } rows[] = {
      {"empty comment", RichText{}},
      {"one empty paragraph", RichText{{RichParagraph{}}}},
      {"one plain run", RichText{{Paragraph({{"Tested at 500 V", CharFormat{}}})}}},
      {"every effect and a colour",
       RichText{{Paragraph({{"bold ", Format("Arial", 20, true)},
                            {"italic ", Format("Arial", 20, false, true)},
                            {"under ", Format("Arial", 20, false, false, true)},
                            {"struck ", Format("Arial", 20, false, false, false, true)},
                            {"red", Format("Arial", 20, true, true, true, true, red)},
                            {" black", Format("", 24, false, false, false, false, black)}})}}},
      {"several faces, sizes and empty paragraphs",
       RichText{{Paragraph({{"Title", Format("Liberation Serif", 40, true)}}), RichParagraph{},
                 Paragraph({{"body", Format("Liberation Sans", 18)}, {" default", CharFormat{}}}),
                 RichParagraph{}}}},
      {"chinese, accents and beyond 16 bits",
       RichText{{Paragraph({{"绝缘电阻 résumé \U0001F600 ok", Format("Noto Sans CJK SC", 24)}})}}},
      {"face with non-ascii, semicolon and braces", RichText{{Paragraph({{"x", Format("宋体;{A}\\", 24)}})}}},
      {"characters the syntax uses", RichText{{Paragraph({{"a{b}c\\d;e", CharFormat{}}})}}},
      {"tabs and line breaks", RichText{{Paragraph({{"a\tb\u2028c", Format("Arial", 24)}})}}},
      {"smallest and largest size",
       RichText{{Paragraph({{"s", Format("", 1)}, {"L", Format("", kMaxHalfPoints)}})}}},
  };
  for (const auto& row : rows) {
    const std::string rtf = WriteRtf(row.text);
    for (char c : rtf) ASSERT_LT(static_cast<unsigned char>(c), 0x80) << row.name << ": " << rtf;
    const RichText read = ReadRtf(rtf);
    EXPECT_EQ(Describe(read), Describe(row.text)) << row.name << ": " << rtf;
    EXPECT_TRUE(read == row.text) << row.name;
  }
}

TEST(RichTextPlain, ParagraphsAndLineBreaksAsLines) {
  const struct {
    const char* name;
    std::string plain;
    std::string described;
    std::string back;
  } rows[] = {
      {"empty", "", "", ""},
      {"one line", "one", "[]one |", "one"},
      {"final line end adds no paragraph", "one\n", "[]one |", "one"},
      {"blank line between", "one\n\ntwo", "[]one | |[]two |", "one\n\ntwo"},
      {"CR LF and lone CR", "a\r\nb\rc", "[]a |[]b |[]c |", "a\nb\nc"},
      {"control characters dropped, tab kept", "a\x01\x7f\tb", "[]a\tb |", "a\tb"},
      {"malformed UTF-8",
       "a\xff"
       "b",
       "[]a\uFFFDb |", "a\uFFFDb"},
  };
  for (const auto& row : rows) {
    const RichText text = RichTextFromPlain(row.plain);
    EXPECT_EQ(Describe(text), row.described) << row.name;
    EXPECT_EQ(PlainText(text), row.back) << row.name;
  }
  const RichText broken{
      {Paragraph({{"a\u2028b", CharFormat{}}, {"c", Format("Arial", 24)}}), RichParagraph{}}};
  EXPECT_EQ(PlainText(broken), "a\nbc\n");
}

}  // namespace
}  // namespace qv70
