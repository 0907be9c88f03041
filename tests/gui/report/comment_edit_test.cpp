// The comment box: the 250-character rule, the comment's way through the
// editor's document and RTF, the right-button menu and the font choice.
#include "gui/report/comment_edit.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <gtest/gtest.h>

#include "core/platform/scripted_ui_services.h"
#include "core/report/messages.h"
#include "core/rtf/rtf_reader.h"
#include "core/rtf/rtf_writer.h"
#include "support/qt/application.h"

namespace qv70 {
namespace {

std::string Repeat(const std::string& text, int times) {
  std::string repeated;
  for (int i = 0; i < times; ++i) repeated += text;
  return repeated;
}

CharFormat Bold() {
  CharFormat format;
  format.bold = true;
  return format;
}

RichText OneRun(const std::string& text, const CharFormat& format = {}) {
  RichText rich;
  rich.paragraphs.push_back({{{text, format}}});
  return rich;
}

class CommentEditTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test::EnsureApplication(); }

  ScriptedUiServices ui;
  CCommentEdit edit{ui};
};

TEST_F(CommentEditTest, KeepsAtMost250CharactersAndTheFormattingOfShorterTexts) {
  struct Row {
    const char* name;
    std::string text;  // shown bold, then one "x" typed at its end
    bool told;
    std::string left;
    bool boldKept;
  };
  const Row rows[] = {
      {"249 and one typed stays formatted", std::string(249, 'a'), false, std::string(249, 'a') + "x", true},
      {"250 and one typed is cut as plain text", std::string(250, 'a'), true, std::string(250, 'a'), false},
      {"chinese characters count as one each", Repeat("中", 249), false, Repeat("中", 249) + "x", true},
      {"chinese at the limit is cut", Repeat("中", 250), true, Repeat("中", 250), false},
  };
  for (const Row& row : rows) {
    ui.messages.clear();
    edit.SetCommentRtf(WriteRtf(OneRun(row.text, Bold())));
    edit.moveCursor(QTextCursor::End);
    edit.textCursor().insertText(QStringLiteral("x"));
    EXPECT_EQ(edit.CommentText(), row.left) << row.name;
    ASSERT_EQ(ui.messages.size(), row.told ? 1u : 0u) << row.name;
    if (row.told) {
      EXPECT_EQ(ui.messages[0].text, report_message::kCommentTooLong) << row.name;
      EXPECT_EQ(ui.messages[0].caption, report_message::kCaption) << row.name;
    }
    const RichText shown = ReadRtf(edit.CommentRtf());
    ASSERT_FALSE(shown.paragraphs.empty()) << row.name;
    EXPECT_EQ(shown.paragraphs[0].runs[0].format.bold, row.boldKept) << row.name;
  }
}

TEST_F(CommentEditTest, CommentComesBackAsItWentInThroughTheEditor) {
  CharFormat everything;
  everything.fontFace = "Liberation Serif";
  everything.halfPoints = 36;
  everything.bold = everything.italic = everything.underline = everything.strikeOut = true;
  everything.color = RgbColor{200, 10, 30};
  CharFormat small;
  small.halfPoints = 16;
  RichText twoParagraphs;
  twoParagraphs.paragraphs.push_back({{{"first", {}}, {"bold", Bold()}}});
  twoParagraphs.paragraphs.push_back({{{"second\u2028line", small}}});
  RichText withEmptyParagraph;
  withEmptyParagraph.paragraphs = {{{{"above", {}}}}, {}, {{{"below", {}}}}};
  struct Row {
    const char* name;
    RichText comment;
    std::string plain;
  };
  const Row rows[] = {
      {"empty", RichText{}, ""},
      {"plain", OneRun("Insulation test\tok"), "Insulation test\tok"},
      {"every effect, face, size and colour", OneRun("Marked", everything), "Marked"},
      {"paragraphs and a line break", twoParagraphs, "firstbold\nsecond\nline"},
      {"an empty paragraph between", withEmptyParagraph, "above\n\nbelow"},
      {"chinese text", OneRun("绝缘电阻测试"), "绝缘电阻测试"},
  };
  for (const Row& row : rows) {
    edit.SetCommentRtf(WriteRtf(row.comment));
    EXPECT_EQ(ReadRtf(edit.CommentRtf()), row.comment) << row.name;
    EXPECT_EQ(edit.CommentText(), row.plain) << row.name;
  }
}

TEST_F(CommentEditTest, MenuShowsItsCaptionsAndEnablesWhatCanBeDone) {
  enum Setup { Fresh, Typed, Selected, ClipboardText };
  struct Row {
    const char* name;
    Setup setup;
    bool undo, cut, copy, paste, clear;
  };
  const Row rows[] = {
      {"empty box, empty clipboard", Fresh, false, false, false, false, false},
      {"after typing", Typed, true, false, false, false, false},
      {"with a selection", Selected, true, true, true, false, true},
      {"with text on the clipboard", ClipboardText, false, false, false, true, false},
  };
  const QStringList captions = {"撤销(&U)\tCtrl+Z", "", "剪切(&T)\tCtrl+X", "复制(&C)\tCtrl+C",
                                "粘贴(&P)\tCtrl+V", "删除(&D)\tDel", "", "全选(&A)\tCtrl+A", "",
                                "设置字体(&F)"};
  for (const Row& row : rows) {
    CCommentEdit box(ui);
    QApplication::clipboard()->clear();
    if (row.setup == ClipboardText) QApplication::clipboard()->setText(QStringLiteral("pasted"));
    if (row.setup == Typed || row.setup == Selected) box.textCursor().insertText(QStringLiteral("typed"));
    if (row.setup == Selected) box.selectAll();
    std::unique_ptr<QMenu> menu(box.CreateCommentMenu(nullptr));
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), captions.size()) << row.name;
    for (int i = 0; i < actions.size(); ++i) {
      EXPECT_EQ(actions[i]->isSeparator(), captions[i].isEmpty()) << row.name << " entry " << i;
      if (!captions[i].isEmpty()) {
        EXPECT_EQ(actions[i]->text(), captions[i]) << row.name << " entry " << i;
      }
    }
    EXPECT_EQ(actions[0]->isEnabled(), row.undo) << row.name;
    EXPECT_EQ(actions[2]->isEnabled(), row.cut) << row.name;
    EXPECT_EQ(actions[3]->isEnabled(), row.copy) << row.name;
    EXPECT_EQ(actions[4]->isEnabled(), row.paste) << row.name;
    EXPECT_EQ(actions[5]->isEnabled(), row.clear) << row.name;
    EXPECT_TRUE(actions[7]->isEnabled()) << row.name;
    EXPECT_TRUE(actions[9]->isEnabled()) << row.name;
  }
  QApplication::clipboard()->clear();
}

TEST_F(CommentEditTest, ChosenFontGoesToTheSelectionOrToWhatIsTypedNext) {
  CharFormat chosenCore;
  chosenCore.fontFace = "Liberation Mono";
  chosenCore.halfPoints = 28;
  chosenCore.bold = chosenCore.underline = true;
  chosenCore.color = RgbColor{0, 0, 255};
  int asked = 0;
  bool cancel = false;
  edit.SetFormatChooser([&](const QTextCharFormat&) -> std::optional<QTextCharFormat> {
    ++asked;
    if (cancel) return std::nullopt;
    QTextCharFormat chosen;
    chosen.setFontFamilies({QStringLiteral("Liberation Mono")});
    chosen.setFontPointSize(14);
    chosen.setFontWeight(QFont::Bold);
    chosen.setFontUnderline(true);
    chosen.setForeground(QColor(0, 0, 255));
    return chosen;
  });
  struct Row {
    const char* name;
    bool select;  // "world" selected, else the cursor at the end
    bool cancel;
    RichText expected;
  };
  RichText selected;
  selected.paragraphs.push_back({{{"hello ", {}}, {"world", chosenCore}}});
  RichText typedNext;
  typedNext.paragraphs.push_back({{{"hello world", {}}, {"!", chosenCore}}});
  const Row rows[] = {
      {"selection formatted", true, false, selected},
      {"no selection: the text typed next", false, false, typedNext},
      {"cancelled changes nothing", true, true, OneRun("hello world")},
  };
  for (const Row& row : rows) {
    edit.SetCommentRtf(WriteRtf(OneRun("hello world")));
    QTextCursor cursor = edit.textCursor();
    cursor.movePosition(QTextCursor::End);
    if (row.select) cursor.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, 5);
    edit.setTextCursor(cursor);
    cancel = row.cancel;
    asked = 0;
    edit.ChooseFont();
    EXPECT_EQ(asked, 1) << row.name;
    if (!row.select) edit.textCursor().insertText(QStringLiteral("!"));
    EXPECT_EQ(ReadRtf(edit.CommentRtf()), row.expected) << row.name;
  }
}

TEST_F(CommentEditTest, PastedRtfKeepsItsTextAndFormats) {
  CharFormat red;
  red.color = RgbColor{255, 0, 0};
  RichText pasted;
  pasted.paragraphs.push_back({{{"Über ", Bold()}, {"测试", red}}});
  struct Row {
    const char* name;
    const char* type;
    std::string data;
    std::string plain;  // "[" and "]" typed around the paste
  };
  const Row rows[] = {
      {"text/rtf", "text/rtf", WriteRtf(pasted), "[Über 测试]"},
      {"application/rtf", "application/rtf", WriteRtf(pasted), "[Über 测试]"},
      {"rtf in a code page", "text/rtf", "{\\rtf1\\ansi\\ansicpg936 {\\b \\'b2\\'e2}\\par}", "[测]"},
      {"plain text only", "text/plain", "plain", "[plain]"},
  };
  for (const Row& row : rows) {
    edit.clear();
    edit.textCursor().insertText(QStringLiteral("["));
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(row.type), QByteArray::fromStdString(row.data));
    if (std::string(row.type) == "text/plain") mime->setText(QString::fromStdString(row.data));
    QApplication::clipboard()->setMimeData(mime);
    ASSERT_TRUE(edit.canPaste()) << row.name;
    edit.paste();
    edit.textCursor().insertText(QStringLiteral("]"));
    EXPECT_EQ(edit.CommentText(), row.plain) << row.name;
  }
  QApplication::clipboard()->clear();
  edit.clear();
  QApplication::clipboard()->setMimeData([&] {
    auto* mime = new QMimeData;
    mime->setData(QStringLiteral("text/rtf"), QByteArray::fromStdString(WriteRtf(pasted)));
    return mime;
  }());
  edit.paste();
  EXPECT_EQ(ReadRtf(edit.CommentRtf()), pasted);
  QApplication::clipboard()->clear();
}

}  // namespace
}  // namespace qv70
