// The report command's options as the settings Finish commits, for what the
// page texts do not show (paper, logo, the unticked boxes, the comment's RTF).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/rtf/rich_text.h"
#include "core/rtf/rtf_reader.h"
#include "report_request.h"
#include "support/data_file_test_support.h"

namespace qv70 {
namespace {

using cli::OpenedReport;
using cli::ReportRequest;

TEST(ReportRequest, OptionsBecomeTheFinishedSettings) {
  const std::string file = test::ExamplePath("current_comma_period.csv");
  const struct {
    const char* name;
    std::vector<std::string> options;
    void (*check)(const ReportSettings& s);
  } cases[] = {
      {"no options: the start values",
       {},
       [](const ReportSettings& s) {
         EXPECT_EQ(s.paperSize, PaperSize::A4);
         EXPECT_TRUE(s.logoOn && s.pageNumberOn && s.authorOn && s.timeOn);
         EXPECT_EQ(s.logoKind, LogoKind::Picture);
         EXPECT_EQ(s.picturePath, "");
         EXPECT_FALSE(s.dataNameOn);
         EXPECT_EQ(s.timeKind, TimeKind::Date);
         EXPECT_EQ(s.header.time, "2031-2-3");
         EXPECT_EQ(s.creationMethod, CreationMethod::AllData);
         EXPECT_EQ(s.itemFlags, std::string(kItemFlagCount, '1'));
         EXPECT_EQ(s.commentRtf, "");
       }},
      {"paper b5", {"--paper", "b5"}, [](const ReportSettings& s) { EXPECT_EQ(s.paperSize, PaperSize::B5); }},
      {"paper letter",
       {"--paper", "letter"},
       [](const ReportSettings& s) { EXPECT_EQ(s.paperSize, PaperSize::Letter); }},
      {"paper legal",
       {"--paper", "legal"},
       [](const ReportSettings& s) { EXPECT_EQ(s.paperSize, PaperSize::Legal); }},
      {"logo path",
       {"--logo", "/tmp/logo.jpg"},
       [](const ReportSettings& s) {
         EXPECT_TRUE(s.logoOn);
         EXPECT_EQ(s.logoKind, LogoKind::Picture);
         EXPECT_EQ(s.picturePath, "/tmp/logo.jpg");
       }},
      {"company text",
       {"--company", "ACME Ltd."},
       [](const ReportSettings& s) {
         EXPECT_TRUE(s.logoOn);
         EXPECT_EQ(s.logoKind, LogoKind::Text);
         EXPECT_EQ(s.companyName, "ACME Ltd.");
       }},
      {"no logo", {"--no-logo"}, [](const ReportSettings& s) { EXPECT_FALSE(s.logoOn); }},
      {"no author",
       {"--no-author"},
       [](const ReportSettings& s) {
         EXPECT_FALSE(s.authorOn);
         EXPECT_EQ(s.header.author, "");
       }},
      {"comment of two lines",
       {"--comment", "first\r\nsecond"},
       [](const ReportSettings& s) {
         EXPECT_EQ(s.commentText, "first\nsecond");
         EXPECT_EQ(PlainText(ReadRtf(s.commentRtf)), "first\nsecond");
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    cli::Arguments args = {file, "--texts"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    ReportRequest request;
    ASSERT_TRUE(cli::ParseReportRequest(args, "2031-2-3", request));
    OpenedReport report;
    const Result opened = cli::OpenReport(request, report);
    ASSERT_TRUE(opened) << opened.message;
    c.check(report.settings);
  }
}

TEST(ReportRequest, OutputModes) {
  const struct {
    const char* name;
    std::vector<std::string> args;
    cli::ReportOutput output;
    std::string path;
  } cases[] = {
      {"texts", {"f.csv", "--texts"}, cli::ReportOutput::Texts, ""},
      {"drawing", {"--drawing", "f.csv"}, cli::ReportOutput::Drawing, ""},
      {"pdf", {"f.csv", "--pdf", "out.pdf"}, cli::ReportOutput::Pdf, "out.pdf"},
      {"rtf", {"f.csv", "--rtf", "out.rtf"}, cli::ReportOutput::Rtf, "out.rtf"},
  };
  for (const auto& c : cases) {
    ReportRequest request;
    ASSERT_TRUE(cli::ParseReportRequest(c.args, "2031-2-3", request)) << c.name;
    EXPECT_EQ(request.output, c.output) << c.name;
    EXPECT_EQ(request.outputPath, c.path) << c.name;
    EXPECT_EQ(request.file, "f.csv") << c.name;
  }
  ReportRequest request;
  EXPECT_FALSE(cli::ParseReportRequest({"f.csv", "--pdf", ""}, "2031-2-3", request)) << "empty output path";
}

}  // namespace
}  // namespace qv70
