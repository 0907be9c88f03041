// The Set Report window as the operator walks it: pages and buttons, Finish
// through the core, Cancel, and the first page's boxes.
#include "gui/report/set_report_dialog.h"

#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <fstream>
#include <gtest/gtest.h>

#include "core/platform/scripted_ui_services.h"
#include "core/report/messages.h"
#include "core/report/report_logo.h"
#include "core/report/report_start.h"
#include "core/report/report_test_support.h"
#include "core/rtf/rtf_reader.h"
#include "gui/report/comment_edit.h"
#include "gui/report/report_pages.h"
#include "support/qt/application.h"
#include "support/temp_dir.h"

namespace qv70 {
namespace {

using Page = ReportWizard::Page;
using test::kNormal;
using test::kTc;
using test::MakeTables;
using test::ReportData;
using test::Selected;

constexpr int kGroupA = 0, kGroupB = 1, kSetLr2 = 12;
constexpr std::time_t kToday = 1785499200;  // 2026-07-31 12:00 UTC

class SetReportDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test::EnsureApplication(); }

  void Make(const ReportData& data, ReportSettings settings = {}) {
    tables = MakeTables(data);
    dialog = std::make_unique<CSetReportDlg>(*tables, ui, environment, std::move(settings));
    dialog->Open();
  }
  void Ok() { dialog->OkButton()->click(); }
  std::string Today() const { return ReportDateText(kToday); }

  test::TempDir dir;
  FixedClock clock{kToday};
  Environment environment{dir.path(), &clock};
  ScriptedUiServices ui;
  std::unique_ptr<RecordTables> tables;
  std::unique_ptr<CSetReportDlg> dialog;
};

enum class Act { All, Partial, Ok, Back, GroupA, Lr2 };

TEST_F(SetReportDialogTest, ButtonsWalkThePagesAsTheCreationMethodSays) {
  struct Row {
    const char* name;
    std::vector<Act> acts;
    Page page;
    bool backShown;
    const char* okText;
    size_t messages;
  };
  const Row rows[] = {
      {"opens on the first page", {}, Page::ReportSet, false, "Next", 0},
      {"all data skips the group page forwards", {Act::All, Act::Ok}, Page::DisplayItems, true, "Finish", 0},
      {"all data skips the group page backwards", {Act::All, Act::Ok, Act::Back}, Page::ReportSet, false, "Next", 0},
      {"partial data shows the group page", {Act::Partial, Act::Ok}, Page::DataChoice, true, "Next", 0},
      {"partial data without a box stays", {Act::Partial, Act::Ok, Act::Ok}, Page::DataChoice, true, "Next", 1},
      {"partial data with a box goes on", {Act::Partial, Act::Ok, Act::GroupA, Act::Ok}, Page::DisplayItems, true,
       "Finish", 0},
      {"back from the items to the groups", {Act::Partial, Act::Ok, Act::Lr2, Act::Ok, Act::Back}, Page::DataChoice,
       true, "Next", 0},
      {"back from the groups to the first page", {Act::Partial, Act::Ok, Act::Back}, Page::ReportSet, false, "Next",
       0},
  };
  for (const Row& row : rows) {
    ui.messages.clear();
    Make(ReportData{{{kGroupA, {kNormal}}}, {2}});
    for (Act act : row.acts) {
      switch (act) {
        case Act::All: dialog->FirstPage()->AllData()->click(); break;
        case Act::Partial: dialog->FirstPage()->PartialData()->click(); break;
        case Act::Ok: Ok(); break;
        case Act::Back: dialog->BackButton()->click(); break;
        case Act::GroupA: dialog->GroupPage()->Box(kGroupA)->click(); break;
        case Act::Lr2: dialog->GroupPage()->Box(kSetLr2)->click(); break;
      }
    }
    EXPECT_EQ(dialog->CurrentPage(), row.page) << row.name;
    EXPECT_EQ(dialog->BackButton()->isVisibleTo(dialog.get()), row.backShown) << row.name;
    EXPECT_EQ(dialog->BackButton()->isEnabled(), row.backShown) << row.name;
    EXPECT_EQ(dialog->OkButton()->text().toStdString(), row.okText) << row.name;
    ASSERT_EQ(ui.messages.size(), row.messages) << row.name;
    if (row.messages) {
      EXPECT_EQ(ui.messages[0].text, report_message::kChooseData) << row.name;
    }
    EXPECT_EQ(dialog->result(), QDialog::Rejected) << row.name << ": still open";
  }
}

TEST_F(SetReportDialogTest, FirstFinishWithThreeNormalRecordsCommitsAndKeepsTheSettings) {
  Make(ReportData{{{kGroupB, {kNormal, kNormal, kNormal}}}, {}});
  Ok();
  ASSERT_EQ(dialog->CurrentPage(), Page::DisplayItems);
  // Nothing is ticked after installation: Finish is refused and nothing changes.
  Ok();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, report_message::kChooseData);
  EXPECT_EQ(ui.messages[0].caption, report_message::kCaption);
  EXPECT_EQ(dialog->Settings().reportPageCount, 0);
  EXPECT_EQ(dialog->CurrentPage(), Page::DisplayItems);
  EXPECT_FALSE(dialog->ItemPage()->Item(14)->isEnabled()) << "no TC records: TC boxes disabled";

  dialog->ItemPage()->SelectAll()->click();
  dialog->ItemPage()->LoggingGraph(GraphKind::LeakCurrent)->click();
  Ok();
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  const ReportSettings& settings = dialog->Settings();
  EXPECT_EQ(settings.normalCount, 3);
  EXPECT_EQ(settings.reportPageCount, 3);
  EXPECT_EQ(settings.selectedSets, Selected({kGroupB}));
  EXPECT_EQ(settings.loggingGraphKind, GraphKind::LeakCurrent);
  EXPECT_EQ(settings.header.time, Today());
  EXPECT_TRUE(FileExists(JoinPath(dir.path(), "Comment.inl")));
  EXPECT_FALSE(FileExists(JoinPath(dir.path(), "Config.ini"))) << "never created";
  EXPECT_FALSE(dialog->Logo().IsValid()) << "no picture chosen and none beside the program";
}

TEST_F(SetReportDialogTest, FinishLoadsTheChosenLogoElseTheOneBesideTheProgram) {
  PictureImage picture;
  ASSERT_TRUE(picture.Create(6, 2, 24));
  const std::string chosen = JoinPath(dir.path(), "chosen.bmp");
  ASSERT_TRUE(picture.SaveFile(chosen).ok);
  ASSERT_TRUE(picture.Create(4, 2, 24));
  ASSERT_TRUE(picture.SaveFile(JoinPath(dir.path(), kFallbackLogoName)).ok);
  const std::string jpeg = JoinPath(dir.path(), "chosen.jpg");
  ASSERT_TRUE(QImage(9, 3, QImage::Format_RGB32).save(QString::fromStdString(jpeg), "JPEG"));
  struct Row {
    const char* name;
    std::string picturePath;
    int width;
  };
  const Row rows[] = {
      {"the chosen picture", chosen, 6},
      {"a chosen picture gone since", JoinPath(dir.path(), "gone.bmp"), 4},
      {"a JPEG through the platform's reader", jpeg, 9},
  };
  for (const Row& row : rows) {
    ReportSettings settings;
    settings.picturePath = row.picturePath;
    settings.itemFlags = std::string(kItemFlagCount, '1');
    Make(ReportData{{{kGroupA, {kNormal}}}, {}}, settings);
    Ok();
    Ok();
    ASSERT_EQ(dialog->result(), QDialog::Accepted) << row.name;
    EXPECT_EQ(dialog->Logo().Width(), row.width) << row.name;
  }
}

TEST_F(SetReportDialogTest, CancelKeepsTheSettingsButNotTheBoxesTyped) {
  Make(ReportData{{{kGroupA, {kNormal}}, {kGroupB, {kTc}}}, {}});
  dialog->FirstPage()->CompanyName()->setText(QStringLiteral("First Co"));
  Ok();
  dialog->ItemPage()->SelectAll()->click();
  Ok();
  ASSERT_EQ(dialog->result(), QDialog::Accepted);
  const ReportSettings finished = dialog->Settings();

  dialog->Open();
  dialog->FirstPage()->CompanyName()->setText(QStringLiteral("Second Co"));
  dialog->FirstPage()->PartialData()->click();
  Ok();
  dialog->GroupPage()->Box(kGroupB)->click();
  Ok();
  dialog->ItemPage()->StepGraph(GraphKind::LeakCurrent)->click();
  dialog->CancelButton()->click();
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  const ReportSettings& kept = dialog->Settings();
  EXPECT_EQ(kept.companyName, "First Co");
  EXPECT_EQ(kept.creationMethod, CreationMethod::AllData);
  EXPECT_EQ(kept.selectedSets, finished.selectedSets);
  EXPECT_EQ(kept.itemFlags, finished.itemFlags);
  EXPECT_EQ(kept.stepGraphKind, GraphKind::Resistance);
  EXPECT_EQ(kept.reportPageCount, 2);

  // The next opening shows the boxes as they were left.
  dialog->Open();
  EXPECT_EQ(dialog->FirstPage()->CompanyName()->text(), QStringLiteral("Second Co"));
  EXPECT_TRUE(dialog->FirstPage()->PartialData()->isChecked());
}

TEST_F(SetReportDialogTest, FirstPageBoxesEnableTheirEdits) {
  enum class Click { LogoOn, Text, PageNumberOn, DataNameOn, AuthorOn, TimeOn };
  struct Row {
    const char* name;
    std::vector<Click> clicks;
    bool kinds, browse, company, startPage, dataName, author, time;
  };
  const Row rows[] = {
      {"as installed", {}, true, true, false, true, false, true, true},
      {"company text chosen", {Click::Text}, true, false, true, true, false, true, true},
      {"logo box unticked", {Click::LogoOn}, false, false, false, true, false, true, true},
      {"every box switched", {Click::PageNumberOn, Click::DataNameOn, Click::AuthorOn, Click::TimeOn}, true, true,
       false, false, true, false, false},
  };
  for (const Row& row : rows) {
    Make(ReportData{{{kGroupA, {kNormal}}}, {}});
    ReportSet& page = *dialog->FirstPage();
    for (Click click : row.clicks) {
      switch (click) {
        case Click::LogoOn: page.LogoOn()->click(); break;
        case Click::Text: page.CompanyText()->click(); break;
        case Click::PageNumberOn: page.PageNumberOn()->click(); break;
        case Click::DataNameOn: page.DataNameOn()->click(); break;
        case Click::AuthorOn: page.AuthorOn()->click(); break;
        case Click::TimeOn: page.TimeOn()->click(); break;
      }
    }
    EXPECT_EQ(page.Picture()->isEnabled(), row.kinds) << row.name;
    EXPECT_EQ(page.CompanyText()->isEnabled(), row.kinds) << row.name;
    EXPECT_EQ(page.Browse()->isEnabled(), row.browse) << row.name;
    EXPECT_EQ(page.CompanyName()->isEnabled(), row.company) << row.name;
    EXPECT_FALSE(page.PicturePath()->isEnabled()) << row.name;
    EXPECT_EQ(page.StartPage()->isEnabled(), row.startPage) << row.name;
    EXPECT_EQ(page.DataName()->isEnabled(), row.dataName) << row.name;
    EXPECT_EQ(page.Author()->isEnabled(), row.author) << row.name;
    EXPECT_EQ(page.TimeEdit()->isEnabled(), row.time) << row.name;
    EXPECT_EQ(page.TimeText()->isEnabled(), row.time) << row.name;
  }
}

TEST_F(SetReportDialogTest, TimeAndTextSwitchBringBackTheDateAndTheTypedText) {
  Make(ReportData{{{kGroupA, {kNormal}}}, {}});
  ReportSet& page = *dialog->FirstPage();
  EXPECT_EQ(page.TimeEdit()->text().toStdString(), Today());
  page.TimeText()->click();
  EXPECT_EQ(page.TimeEdit()->text(), QString());
  QTest::keyClicks(page.TimeEdit(), QStringLiteral("Summer"));
  page.TimeDate()->click();
  EXPECT_EQ(page.TimeEdit()->text().toStdString(), Today());
  page.TimeText()->click();
  EXPECT_EQ(page.TimeEdit()->text(), QStringLiteral("Summer"));
}

TEST_F(SetReportDialogTest, BrowseTakesOnlyAPictureThatExists) {
  const std::string picture = JoinPath(dir.path(), "logo.bmp");
  std::ofstream(picture) << "BM";
  struct Row {
    const char* name;
    std::string chosen;  // empty: cancelled
    std::string shown;
    std::string told;
  };
  const std::string missing = JoinPath(dir.path(), "gone.jpg");
  const Row rows[] = {
      {"cancelled", "", "", ""},
      {"an existing picture", picture, picture, ""},
      {"a missing file", missing, "", report_message::CannotOpenFile(missing)},
  };
  for (const Row& row : rows) {
    Make(ReportData{{{kGroupA, {kNormal}}}, {}});
    ui.messages.clear();
    ui.openRequests.clear();
    ui.openNames = {row.chosen};
    dialog->FirstPage()->Browse()->click();
    ASSERT_EQ(ui.openRequests.size(), 1u) << row.name;
    const FileDialogRequest& request = ui.openRequests[0];
    EXPECT_EQ(request.filterDescription, "All (*.jpg;*.jpeg;*.bmp)") << row.name;
    ASSERT_EQ(request.moreFilters.size(), 3u) << row.name;
    EXPECT_EQ(request.moreFilters[2].description, "Bitmaps (*.bmp)") << row.name;
    EXPECT_EQ(dialog->FirstPage()->PicturePath()->text().toStdString(), row.shown) << row.name;
    ASSERT_EQ(ui.messages.size(), row.told.empty() ? 0u : 1u) << row.name;
    if (!row.told.empty()) {
      EXPECT_EQ(ui.messages[0].text, row.told) << row.name;
      EXPECT_EQ(ui.messages[0].caption, report_message::kOpenFileCaption) << row.name;
    }
  }
}

TEST_F(SetReportDialogTest, CommentTravelsFromTheBoxIntoTheSettings) {
  Make(ReportData{{{kGroupA, {kNormal}}}, {}});
  dialog->FirstPage()->Comment()->setPlainText(QStringLiteral("Checked by 张"));
  Ok();
  dialog->ItemPage()->SelectAll()->click();
  Ok();
  ASSERT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(dialog->Settings().commentText, "Checked by 张");
  EXPECT_EQ(PlainText(ReadRtf(dialog->Settings().commentRtf)), "Checked by 张");
}

TEST_F(SetReportDialogTest, ReadCommentFileShowsTheFilesFirstLines) {
  const std::string file = JoinPath(dir.path(), "seven.txt");
  std::ofstream(file) << "one\ntwo\nthree\nfour\nfive\nsix\nseven\n";
  Make(ReportData{{{kGroupA, {kNormal}}}, {}});
  CCommentEdit& comment = *dialog->FirstPage()->Comment();
  comment.setPlainText(QStringLiteral("before"));
  ui.openNames = {file, JoinPath(dir.path(), "gone.txt")};
  dialog->FirstPage()->ReadComment()->click();
  EXPECT_EQ(comment.CommentText(), "one\ntwo\nthree\nfourfive\n");
  ASSERT_EQ(ui.openRequests.size(), 1u);
  EXPECT_EQ(ui.openRequests[0].filterPattern, "*.txt");
  dialog->FirstPage()->ReadComment()->click();
  EXPECT_EQ(comment.CommentText(), "one\ntwo\nthree\nfourfive\n") << "a missing file changes nothing";
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].caption, report_message::kOpenFileCaption);
}

}  // namespace
}  // namespace qv70
