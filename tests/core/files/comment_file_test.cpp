// The saved report comment: its length prefix in each of its three sizes, and
// files that are cut short or hold a form the program never writes.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "core/files/comment_file.h"
#include "support/temp_dir.h"

namespace qv70 {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

TEST(CommentFile, PrefixSizeFollowsTheLength) {
  const struct {
    const char* name;
    std::size_t length;
    std::string prefix;
  } rows[] = {
      {"empty", 0, Bytes({0x00})},
      {"254 characters", 254, Bytes({0xFE})},
      {"255 characters", 255, Bytes({0xFF, 0xFF, 0x00})},
      {"300 characters", 300, Bytes({0xFF, 0x2C, 0x01})},
      {"65533 characters", 0xFFFD, Bytes({0xFF, 0xFD, 0xFF})},
      {"65534 characters", 0xFFFE, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
      {"70000 characters", 70000, Bytes({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
  };
  for (const auto& row : rows) {
    const std::string text(row.length, 'x');
    const std::string encoded = EncodeCommentFile(text);
    EXPECT_EQ(encoded.substr(0, row.prefix.size()), row.prefix) << row.name;
    EXPECT_EQ(encoded.size(), row.prefix.size() + row.length) << row.name;
    const ResultOf<std::string> decoded = DecodeCommentFile(encoded);
    EXPECT_TRUE(decoded.ok) << row.name;
    EXPECT_EQ(decoded.value, text) << row.name;
  }
}

TEST(CommentFile, DecodesWhatTheFileHolds) {
  const struct {
    const char* name;
    std::string bytes;
    bool ok;
    std::string text;
  } rows[] = {
      {"short comment", Bytes({5}) + "{\\rtf", true, "{\\rtf"},
      {"bytes after the string", Bytes({2}) + "ab" + "zz", true, "ab"},
      {"characters 0xFF inside", Bytes({2, 0xFF, 0x41}), true, Bytes({0xFF, 0x41})},
      {"no bytes", "", false, ""},
      {"fewer characters than announced", Bytes({9}) + "abc", false, ""},
      {"16-bit prefix cut short", Bytes({0xFF, 0x10}), false, ""},
      {"32-bit prefix cut short", Bytes({0xFF, 0xFF, 0xFF, 0x01, 0x00}), false, ""},
      {"16-bit length beyond the file", Bytes({0xFF, 0x00, 0x01}) + "abc", false, ""},
      {"wide-character marker", Bytes({0xFF, 0xFE, 0xFF, 0x02}) + "ab", false, ""},
  };
  for (const auto& row : rows) {
    const ResultOf<std::string> decoded = DecodeCommentFile(row.bytes);
    EXPECT_EQ(decoded.ok, row.ok) << row.name;
    EXPECT_EQ(decoded.value, row.text) << row.name;
  }
}

TEST(CommentFile, ReadsTheFileBesideTheProgram) {
  test::TempDir dir;
  const std::string path = dir.File("Comment.inl");
  EXPECT_FALSE(ReadCommentFile(path).ok);
  EXPECT_EQ(ReadCommentFile(path).value, "");

  const std::string rtf = "{\\rtf1 Tested at 500 V}";
  {
    std::ofstream out(path, std::ios::binary);
    out << EncodeCommentFile(rtf);
  }
  const ResultOf<std::string> read = ReadCommentFile(path);
  EXPECT_TRUE(read.ok) << read.message;
  EXPECT_EQ(read.value, rtf);
}

}  // namespace
}  // namespace qv70
