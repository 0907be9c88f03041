#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>

namespace qv70 {

// The whole text of a clipped cell, shown in a borderless window laid over
// the cell. The pointer passes through it, so the grid under it goes on
// receiving moves and clicks and decides when the tip goes away.
class TitleTip : public QWidget {
  Q_OBJECT

 public:
  explicit TitleTip(QWidget* owner);

  struct Look {
    QFont font;
    QColor text;
    QColor back;
    int margin = 0;
  };
  // `cell` in global coordinates; the tip starts there, as high as the cell
  // and as wide as the text needs (never narrower than the cell).
  void ShowOver(const QRect& cell, const QString& text, const Look& look);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString text_;
  Look look_;
};

}  // namespace qv70
