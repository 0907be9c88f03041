#include <QKeyEvent>
#include <QRegularExpressionValidator>

#include "gui/dialogs/qv70_setting_dialog.h"

namespace qv70 {

DigitField::DigitField(QWidget* parent) : QLineEdit(parent) {
  setMaxLength(2);
  // Keys are filtered below; the validator also keeps pasted or dropped text out.
  setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,2}")),
                                               this));
  setContextMenuPolicy(Qt::NoContextMenu);
}

bool DigitField::AcceptsKey(int key, const QString& text) {
  switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
      return true;
    default:
      break;
  }
  // Keypad digits carry the same key codes with the keypad modifier; the text
  // check keeps out Ctrl or Alt combinations that produce no character.
  return key >= Qt::Key_0 && key <= Qt::Key_9 && text.size() == 1 && text.at(0).isDigit();
}

void DigitField::keyPressEvent(QKeyEvent* event) {
  if (AcceptsKey(event->key(), event->text())) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  // Swallowed: Enter does not press the default button, Escape does not close.
  event->accept();
}

bool DigitField::focusNextPrevChild(bool) {
  // Tab stays in the field, as every other key outside the digit set does.
  return true;
}

}  // namespace qv70
