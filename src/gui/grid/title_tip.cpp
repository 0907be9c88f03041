#include "gui/grid/title_tip.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>
#include <algorithm>

namespace qv70 {

TitleTip::TitleTip(QWidget* owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                         Qt::WindowDoesNotAcceptFocus) {
  setObjectName(QStringLiteral("ZTitleTip"));
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);
}

void TitleTip::ShowOver(const QRect& cell, const QString& text, const Look& look) {
  text_ = text;
  look_ = look;
  const QFontMetrics metrics(look.font);
  int width = 0;
  const QStringList lines = text.split(QLatin1Char('\n'));
  for (const QString& line : lines) width = std::max(width, metrics.horizontalAdvance(line));
  // Lines start a margin down, as in the cell; the bottom margin may be cut as it is there.
  const int height = look.margin + metrics.height() * static_cast<int>(lines.size());
  setGeometry(cell.left(), cell.top(), std::max(cell.width(), width + 2 * look.margin),
              std::max(cell.height(), height));
  show();
  update();
}

// The cell's own background rather than a see-through window: on a desktop
// without compositing a translucent window shows black, and over the cell
// the two look the same.
void TitleTip::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), look_.back);
  painter.setFont(look_.font);
  painter.setPen(look_.text);
  const QFontMetrics metrics(look_.font);
  int top = look_.margin;
  for (const QString& line : text_.split(QLatin1Char('\n'))) {
    painter.drawText(QPoint(look_.margin, top + metrics.ascent()), line);
    top += metrics.height();
  }
}

}  // namespace qv70
