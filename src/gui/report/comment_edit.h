#pragma once

#include <QTextCharFormat>
#include <QTextEdit>
#include <functional>
#include <optional>
#include <string>

class QMenu;

namespace qv70 {

class UiServices;

// The report comment box: a rich-text edit that keeps at most 250 characters,
// reads a comment text file, and offers the right-button menu with the font
// choice. The comment leaves it as RTF (WriteRtf) and as plain text.
class CCommentEdit : public QTextEdit {
  Q_OBJECT

 public:
  // The right-button menu's commands, in the menu's order.
  enum class MenuCommand { Undo, Cut, Copy, Paste, Clear, SelectAll, Font };

  // Asks for a new character format starting from `current`; nothing when
  // the operator cancels. The default asks with QFontDialog and QColorDialog.
  using FormatChooser = std::function<std::optional<QTextCharFormat>(const QTextCharFormat& current)>;

  CCommentEdit(UiServices& ui, QWidget* parent = nullptr);

  std::string CommentRtf() const;
  std::string CommentText() const;
  // Shows the comment of `rtf` (any RTF the core reads, or plain text).
  void SetCommentRtf(const std::string& rtf);

  // "Read Comment File...": the file's first lines replace the comment.
  void ReadCommentFile();

  // The right-button menu as it would show now, its enabling included.
  QMenu* CreateCommentMenu(QWidget* parent);
  void SetFormatChooser(FormatChooser chooser) { chooser_ = std::move(chooser); }
  // "设置字体(&F)": the chosen format goes to the selection or, without one,
  // to what is typed next.
  void ChooseFont();

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  // RTF on the clipboard (word processors put it there) goes through the
  // comment's own reader, so it arrives as the comment will keep it.
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  void OnTextChanged();
  std::optional<QTextCharFormat> AskFormat(const QTextCharFormat& current);

  UiServices& ui_;
  FormatChooser chooser_;
  bool cutting_ = false;
};

}  // namespace qv70
