#include "gui/report/comment_edit.h"

#include <QColorDialog>
#include <QContextMenuEvent>
#include <QFontDialog>
#include <QMenu>
#include <QMimeData>

#include "core/platform/ui_services.h"
#include "core/report/messages.h"
#include "core/report/report_comment.h"
#include "core/rtf/rtf_reader.h"
#include "core/rtf/rtf_writer.h"
#include "gui/report/rich_text_document.h"

namespace qv70 {

namespace {

struct MenuEntry {
  CCommentEdit::MenuCommand command;
  const char* caption;  // UTF-8
  bool separatorBefore;
};

constexpr const char* kRtfMimeTypes[] = {"text/rtf", "application/rtf", "text/richtext"};

const char* RtfMimeType(const QMimeData* source) {
  for (const char* type : kRtfMimeTypes) {
    if (source->hasFormat(QString::fromLatin1(type))) return type;
  }
  return nullptr;
}

constexpr MenuEntry kMenu[] = {
    {CCommentEdit::MenuCommand::Undo, "撤销(&U)\tCtrl+Z", false},
    {CCommentEdit::MenuCommand::Cut, "剪切(&T)\tCtrl+X", true},
    {CCommentEdit::MenuCommand::Copy, "复制(&C)\tCtrl+C", false},
    {CCommentEdit::MenuCommand::Paste, "粘贴(&P)\tCtrl+V", false},
    {CCommentEdit::MenuCommand::Clear, "删除(&D)\tDel", false},
    {CCommentEdit::MenuCommand::SelectAll, "全选(&A)\tCtrl+A", true},
    {CCommentEdit::MenuCommand::Font, "设置字体(&F)", true},
};

}  // namespace

CCommentEdit::CCommentEdit(UiServices& ui, QWidget* parent) : QTextEdit(parent), ui_(ui) {
  setAcceptRichText(true);
  setTabChangesFocus(true);
  connect(this, &QTextEdit::textChanged, this, &CCommentEdit::OnTextChanged);
}

std::string CCommentEdit::CommentRtf() const { return WriteRtf(RichTextFromDocument(*document())); }

std::string CCommentEdit::CommentText() const { return PlainText(RichTextFromDocument(*document())); }

void CCommentEdit::SetCommentRtf(const std::string& rtf) { FillDocument(*document(), ReadRtf(rtf)); }

void CCommentEdit::OnTextChanged() {
  if (cutting_) return;
  // Only an overlong text is rewritten, so ordinary edits keep their formatting.
  const std::optional<std::string> cut = CommentCutToLimit(CommentText());
  if (!cut) return;
  ui_.ShowMessage(report_message::kCommentTooLong, report_message::kCaption, MessageButtons::Ok,
                  MessageIcon::None);
  cutting_ = true;
  // The document's own plain text drops the formats the cursor still carries.
  document()->setPlainText(QString::fromStdString(*cut));
  setCurrentCharFormat(QTextCharFormat());
  moveCursor(QTextCursor::End);
  cutting_ = false;
}

void CCommentEdit::ReadCommentFile() {
  std::string comment;
  if (ReadCommentFileCommand(ui_, comment)) setPlainText(QString::fromStdString(comment));
}

QMenu* CCommentEdit::CreateCommentMenu(QWidget* parent) {
  auto* menu = new QMenu(parent);
  const bool selection = textCursor().hasSelection();
  for (const MenuEntry& entry : kMenu) {
    if (entry.separatorBefore) menu->addSeparator();
    QAction* action = menu->addAction(QString::fromUtf8(entry.caption));
    switch (entry.command) {
      case MenuCommand::Undo:
        action->setEnabled(document()->isUndoAvailable());
        connect(action, &QAction::triggered, this, &QTextEdit::undo);
        break;
      case MenuCommand::Cut:
        action->setEnabled(selection);
        connect(action, &QAction::triggered, this, &QTextEdit::cut);
        break;
      case MenuCommand::Copy:
        action->setEnabled(selection);
        connect(action, &QAction::triggered, this, &QTextEdit::copy);
        break;
      case MenuCommand::Paste:
        action->setEnabled(canPaste());
        connect(action, &QAction::triggered, this, &QTextEdit::paste);
        break;
      case MenuCommand::Clear:
        action->setEnabled(selection);
        connect(action, &QAction::triggered, this, [this] { textCursor().removeSelectedText(); });
        break;
      case MenuCommand::SelectAll: connect(action, &QAction::triggered, this, &QTextEdit::selectAll); break;
      case MenuCommand::Font: connect(action, &QAction::triggered, this, &CCommentEdit::ChooseFont); break;
    }
  }
  return menu;
}

void CCommentEdit::contextMenuEvent(QContextMenuEvent* event) {
  setFocus(Qt::MouseFocusReason);
  QMenu* menu = CreateCommentMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(event->globalPos());
}

bool CCommentEdit::canInsertFromMimeData(const QMimeData* source) const {
  return RtfMimeType(source) != nullptr || QTextEdit::canInsertFromMimeData(source);
}

void CCommentEdit::insertFromMimeData(const QMimeData* source) {
  const char* rtf = RtfMimeType(source);
  if (!rtf) {
    QTextEdit::insertFromMimeData(source);
    return;
  }
  QTextCursor cursor = textCursor();
  InsertRichText(cursor, ReadRtf(source->data(QString::fromLatin1(rtf)).toStdString()));
  setTextCursor(cursor);
}

void CCommentEdit::ChooseFont() {
  QTextCharFormat current = currentCharFormat();
  if (!current.hasProperty(QTextFormat::FontPointSize)) current.setFontPointSize(document()->defaultFont().pointSizeF());
  const std::optional<QTextCharFormat> chosen = AskFormat(current);
  if (!chosen) return;
  QTextCursor cursor = textCursor();
  if (cursor.hasSelection()) {
    cursor.mergeCharFormat(*chosen);
  } else {
    QTextCharFormat next = current;
    next.merge(*chosen);
    setCurrentCharFormat(next);
  }
}

std::optional<QTextCharFormat> CCommentEdit::AskFormat(const QTextCharFormat& current) {
  if (chooser_) return chooser_(current);
  bool ok = false;
  // What the format leaves unset is the document's default font.
  const QFont shown = current.font().resolve(document()->defaultFont());
  const QFont font = QFontDialog::getFont(&ok, shown, this, QStringLiteral("Font"));
  if (!ok) return std::nullopt;
  QTextCharFormat chosen;
  chosen.setFont(font, QTextCharFormat::FontPropertiesAll);
  // Qt's font dialog has no colour of its own: the colour is asked next,
  // and cancelling it keeps the text's colour.
  const QColor color = QColorDialog::getColor(current.foreground().color(), this, QStringLiteral("Color"));
  if (color.isValid()) chosen.setForeground(color);
  return chosen;
}

}  // namespace qv70
