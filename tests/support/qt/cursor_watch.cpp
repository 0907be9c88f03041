#include "support/qt/cursor_watch.h"

#include <QApplication>
#include <QCursor>

namespace qv70::test {

OverrideCursorWatch::OverrideCursorWatch() {
  timer_.setInterval(0);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    const QCursor* cursor = QApplication::overrideCursor();
    shapes_.push_back(cursor != nullptr ? static_cast<int>(cursor->shape()) : -1);
  });
  timer_.start();
}

}  // namespace qv70::test
