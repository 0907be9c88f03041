#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/files/data_file.h"
#include "core/files/data_file_layout.h"

namespace qv70 {
namespace {

std::vector<std::string> ReadAll(const std::string& text, int reads) {
  LineReader reader(text);
  std::vector<std::string> lines;
  for (int i = 0; i < reads; ++i) lines.emplace_back(reader.Next());
  return lines;
}

struct LineCase {
  const char* name;
  std::string text;
  std::vector<std::string> lines;  // the first reads; every further read is empty
};

TEST(LineReader, ReadsLinesAsDataFilesAreRead) {
  const std::string x999(999, 'x');
  const std::string cases_y(1000, 'y');
  const std::vector<LineCase> cases = {
      {"crlf", "a\r\nb\r\n", {"a", "b", ""}},
      {"bare_lf", "a\nb\n", {"a", "b", ""}},
      {"no_final_line_end", "a\r\nb", {"a", "b", ""}},
      {"empty_lines", "\r\n\n\r\n", {"", "", "", ""}},
      {"lone_cr_kept", "a\rb\r\n", {"a\rb", ""}},
      {"cr_cr_lf_keeps_one", "a\r\r\n", {"a\r", ""}},
      {"exactly_999_with_crlf", x999 + "\r\nz\r\n", {x999, "z", ""}},
      {"exactly_999_with_lf", x999 + "\nz\n", {x999, "z", ""}},
      {"998_then_cr_lf", std::string(998, 'x') + "\r\nz", {std::string(998, 'x'), "z", ""}},
      {"1000_is_cut", cases_y + "\r\nz", {std::string(999, 'y'), "y", "z", ""}},
      {"2000_is_cut_twice", std::string(2000, 'w'), {std::string(999, 'w'), std::string(999, 'w'), "ww", ""}},
      {"nul_ends_text", std::string("ab\0cd\r\nz", 8), {"ab", "z", ""}},
      {"empty_text", "", {"", "", ""}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadAll(c.text, static_cast<int>(c.lines.size())), c.lines) << c.name;
  }
}

TEST(LineReader, SeekReadsAgainFromAPosition) {
  LineReader reader("one\r\ntwo\r\nthree\r\n");
  reader.Next();
  const size_t mark = reader.Position();
  EXPECT_EQ(reader.Next(), "two");
  EXPECT_EQ(reader.Next(), "three");
  EXPECT_TRUE(reader.AtEnd());
  reader.Seek(mark);
  EXPECT_EQ(reader.Next(), "two");
}

struct SplitCase {
  const char* name;
  std::string line;
  char separator;
  int count;
  bool commaToPeriod;
  bool dropBlanks;
  std::vector<std::string> fields;
};

TEST(SplitFields, SplitsAtTheSeparator) {
  const std::vector<SplitCase> cases = {
      {"comma_plain", "a,b,c", ',', 3, false, false, {"a", "b", "c"}},
      {"missing_fields_empty", "a", ',', 3, false, false, {"a", "", ""}},
      {"extra_fields_ignored", "a,b,c,d", ',', 2, false, false, {"a", "b"}},
      {"empty_fields_kept", ",,x", ',', 3, false, false, {"", "", "x"}},
      {"semicolon_commas_kept", "1,5;2,5", ';', 2, false, false, {"1,5", "2,5"}},
      {"commas_turned_except_last", "1,5;2,5;3,5", ';', 3, true, false, {"1.5", "2.5", "3,5"}},
      // A field ended by a separator is turned even when it is the last one wanted.
      {"last_wanted_but_ended", "1,5;2,5;3,5", ';', 2, true, false, {"1.5", "2.5"}},
      {"blanks_dropped", " 1 , 2 001 ,\tOF", ',', 3, false, true, {"1", "2001", "OF"}},
      {"no_separator_in_line", "abc", ';', 2, true, false, {"abc", ""}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> fields(static_cast<size_t>(c.count));
    SplitFields(c.line, c.separator, fields.data(), c.count, c.commaToPeriod, c.dropBlanks);
    EXPECT_EQ(fields, c.fields) << c.name;
  }
}

TEST(SplitFields, AppendsToTextAlreadyThere) {
  std::string fields[2] = {"A0", "Normal"};
  SplitFields("AB, Test", ',', fields, 2, false);
  EXPECT_EQ(fields[0], "A0AB");
  EXPECT_EQ(fields[1], "Normal Test");
}

TEST(WithSeparator, ReplacesEveryComma) {
  EXPECT_EQ(WithSeparator(kPiTitle, ';'), "t1[min];t2[min]");
  EXPECT_EQ(WithSeparator(kSampleTitle, ','), kSampleTitle);
}

}  // namespace
}  // namespace qv70
