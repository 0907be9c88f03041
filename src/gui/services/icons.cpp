#include "gui/services/icons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

namespace qv70 {

namespace {

// One palette per state keeps every icon in the same style: the disabled
// icons are the same drawings in greys, the hot ones a little brighter.
struct Palette {
  QColor outline;
  QColor paper;    // white areas: sheets, screens
  QColor body;     // neutral bodies: instrument case, floppy shell
  QColor accent;   // the command's colour
  QColor accent2;  // a second colour where one is needed
  QColor ink;      // marks drawn on paper
};

Palette PaletteFor(IconState state) {
  switch (state) {
    case IconState::Disabled:
      return {QColor(150, 150, 150), QColor(238, 238, 238), QColor(205, 205, 205),
              QColor(180, 180, 180), QColor(195, 195, 195), QColor(170, 170, 170)};
    case IconState::Hot:
      return {QColor(20, 40, 80), QColor(255, 255, 255), QColor(200, 212, 230),
              QColor(255, 178, 40), QColor(40, 140, 255), QColor(220, 30, 30)};
    case IconState::Normal: break;
  }
  return {QColor(40, 48, 64), QColor(255, 255, 255), QColor(176, 188, 204),
          QColor(236, 156, 20), QColor(24, 110, 210), QColor(200, 24, 24)};
}

void Box(QPainter& p, const Palette& c, int x, int y, int w, int h, const QColor& fill) {
  p.setPen(c.outline);
  p.setBrush(fill);
  p.drawRect(x, y, w - 1, h - 1);
}

void DrawOpen(QPainter& p, const Palette& c) {
  // A folder with its front flap open.
  Box(p, c, 1, 3, 6, 3, c.accent);
  Box(p, c, 1, 5, 13, 9, c.accent);
  p.setBrush(c.accent.lighter(125));
  p.drawPolygon(QPolygon({QPoint(3, 8), QPoint(15, 8), QPoint(13, 13), QPoint(1, 13)}));
}

void DrawSave(QPainter& p, const Palette& c) {
  // A diskette: shell, label and shutter.
  Box(p, c, 1, 1, 14, 14, c.accent2);
  Box(p, c, 4, 1, 8, 6, c.paper);
  Box(p, c, 4, 9, 8, 6, c.body);
  p.fillRect(9, 10, 2, 4, c.outline);
}

void DrawGraph(QPainter& p, const Palette& c, int x, int y, int w, int h) {
  Box(p, c, x, y, w, h, c.paper);
  p.setPen(c.ink);
  p.drawPolyline(QPolygon({QPoint(x + 2, y + h - 3), QPoint(x + 4, y + h - 6), QPoint(x + 6, y + h - 4),
                           QPoint(x + w - 3, y + 2)}));
}

void DrawCopyGraph(QPainter& p, const Palette& c) {
  // Two sheets, the front one carrying a curve.
  Box(p, c, 1, 1, 9, 10, c.body);
  DrawGraph(p, c, 5, 5, 10, 10);
}

void DrawObtainData(QPainter& p, const Palette& c) {
  // The instrument with an arrow coming out of it.
  Box(p, c, 1, 1, 10, 9, c.body);
  Box(p, c, 2, 2, 8, 4, c.paper);
  p.fillRect(3, 7, 2, 2, c.ink);
  p.fillRect(7, 7, 2, 2, c.outline);
  p.setPen(c.outline);
  p.setBrush(c.accent2);
  p.drawPolygon(QPolygon({QPoint(11, 6), QPoint(13, 6), QPoint(13, 10), QPoint(15, 10), QPoint(12, 14),
                          QPoint(9, 10), QPoint(11, 10)}));
}

void DrawQv70Setting(QPainter& p, const Palette& c) {
  // The instrument with a clock face: its clock and test times are set.
  Box(p, c, 1, 3, 10, 9, c.body);
  Box(p, c, 2, 4, 8, 4, c.paper);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(c.outline, 1));
  p.setBrush(c.accent);
  p.drawEllipse(QRectF(7.5, 6.5, 8, 8));
  p.setPen(QPen(c.outline, 1.2));
  p.drawLine(QPointF(11.5, 10.5), QPointF(11.5, 8));
  p.drawLine(QPointF(11.5, 10.5), QPointF(13.5, 10.5));
  p.setRenderHint(QPainter::Antialiasing, false);
}

void DrawSetReport(QPainter& p, const Palette& c) {
  // A page with a folded corner, text lines and a small curve.
  p.setPen(c.outline);
  p.setBrush(c.paper);
  p.drawPolygon(QPolygon({QPoint(2, 0), QPoint(10, 0), QPoint(13, 3), QPoint(13, 15), QPoint(2, 15)}));
  p.drawLine(10, 0, 10, 3);
  p.drawLine(10, 3, 13, 3);
  p.setPen(c.accent2);
  for (int y : {3, 5, 7}) p.drawLine(4, y, y == 3 ? 8 : 11, y);
  p.setPen(c.ink);
  p.drawPolyline(QPolygon({QPoint(4, 13), QPoint(6, 10), QPoint(8, 12), QPoint(11, 9)}));
}

void DrawRoundSign(QPainter& p, const Palette& c, const QColor& fill, const QString& mark) {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(c.outline, 1));
  p.setBrush(fill);
  p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
  QFont font("Liberation Sans");
  font.setPixelSize(12);
  font.setBold(true);
  p.setFont(font);
  p.setPen(c.paper);
  p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, mark);
  p.setRenderHint(QPainter::Antialiasing, false);
}

void DrawExit(QPainter& p, const Palette& c) {
  // An open door and an arrow leaving through it.
  Box(p, c, 1, 1, 9, 14, c.body);
  p.setPen(c.outline);
  p.setBrush(c.accent);
  p.drawPolygon(QPolygon({QPoint(1, 1), QPoint(5, 3), QPoint(5, 15), QPoint(1, 14)}));
  p.setBrush(c.accent2);
  p.drawPolygon(QPolygon({QPoint(7, 7), QPoint(11, 7), QPoint(11, 5), QPoint(15, 8), QPoint(11, 11),
                          QPoint(11, 9), QPoint(7, 9)}));
}

}  // namespace

QPixmap DrawIcon(Icon icon, IconState state) {
  QPixmap pixmap(kIconSize, kIconSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  const Palette c = PaletteFor(state);
  switch (icon) {
    case Icon::Open: DrawOpen(p, c); break;
    case Icon::Save: DrawSave(p, c); break;
    case Icon::CopyGraph: DrawCopyGraph(p, c); break;
    case Icon::ObtainData: DrawObtainData(p, c); break;
    case Icon::Qv70Setting: DrawQv70Setting(p, c); break;
    case Icon::SetReport: DrawSetReport(p, c); break;
    case Icon::Help: DrawRoundSign(p, c, c.accent2, "?"); break;
    case Icon::About: DrawRoundSign(p, c, c.accent, "i"); break;
    case Icon::Exit: DrawExit(p, c); break;
  }
  return pixmap;
}

QIcon CommandIcon(Icon icon) {
  QIcon states;
  states.addPixmap(DrawIcon(icon, IconState::Normal), QIcon::Normal);
  states.addPixmap(DrawIcon(icon, IconState::Hot), QIcon::Active);
  states.addPixmap(DrawIcon(icon, IconState::Disabled), QIcon::Disabled);
  return states;
}

QPixmap DrawProductBand(const QSize& size) {
  QPixmap band(size);
  QPainter p(&band);
  p.setRenderHint(QPainter::Antialiasing, true);
  QLinearGradient sky(0, 0, size.width(), 0);
  sky.setColorAt(0, QColor(16, 42, 92));
  sky.setColorAt(1, QColor(60, 120, 196));
  p.fillRect(band.rect(), sky);

  // The instrument: case, display and the two terminals.
  const int h = size.height();
  const QRectF body(10, h * 0.12, h * 1.5, h * 0.76);
  p.setPen(QPen(QColor(230, 236, 245), 1.5));
  p.setBrush(QColor(236, 156, 20));
  p.drawRoundedRect(body, 4, 4);
  p.setBrush(QColor(210, 236, 214));
  p.drawRect(QRectF(body.left() + 6, body.top() + 5, body.width() * 0.55, body.height() * 0.45));
  p.setBrush(QColor(200, 24, 24));
  p.drawEllipse(QPointF(body.right() - 10, body.bottom() - 9), 4, 4);
  p.setBrush(QColor(30, 30, 30));
  p.drawEllipse(QPointF(body.right() - 22, body.bottom() - 9), 4, 4);

  QFont title("Liberation Sans");
  title.setPixelSize(qMax(10, h / 2));
  title.setBold(true);
  p.setFont(title);
  p.setPen(Qt::white);
  const QRectF text(body.right() + 14, 0, size.width() - body.right() - 20, h);
  p.drawText(text, Qt::AlignVCenter | Qt::AlignLeft, "QV70  Data Analysis");
  return band;
}

namespace {

QIcon ScaledIcon(Icon icon) {
  QIcon sizes;
  for (int scale : {1, 2}) {
    QPixmap pixmap(kIconSize * scale, kIconSize * scale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.scale(scale, scale);
    p.drawPixmap(0, 0, DrawIcon(icon, IconState::Normal));
    p.end();
    sizes.addPixmap(pixmap);
  }
  return sizes;
}

}  // namespace

QIcon AboutIcon() { return ScaledIcon(Icon::About); }

QIcon ProgramIcon() { return ScaledIcon(Icon::ObtainData); }

}  // namespace qv70
