#include "gui/dialogs/wait_cursor.h"

#include <QApplication>
#include <QCursor>

namespace qv70 {

ScopedWaitCursor::ScopedWaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }

ScopedWaitCursor::~ScopedWaitCursor() { QApplication::restoreOverrideCursor(); }

}  // namespace qv70
