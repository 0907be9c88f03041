#pragma once

#include <QRect>

class QFont;
class QWidget;

namespace qv70 {

// Dialog templates place controls in dialog units: a quarter of the font's
// average character width across, an eighth of its height down. Mapping them
// through the dialog's own font keeps the windows in the proportions they were
// drawn in, whatever the screen's resolution.
class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);

  int X(int units) const;
  int Y(int units) const;
  // A rectangle given as left, top, width, height in dialog units.
  QRect Rect(int x, int y, int width, int height) const;
  // Places `widget` at the rectangle given in dialog units.
  void Place(QWidget* widget, int x, int y, int width, int height) const;

 private:
  int baseX_;  // average character width in pixels
  int baseY_;  // character height in pixels
};

}  // namespace qv70
