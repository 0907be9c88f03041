#include <QApplication>
#include <QCursor>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include "gui/services/qt_ui_services.h"
#include "support/qt/application.h"

namespace qv70 {
namespace {

// A box shown while an instrument job has set the wait cursor waits for the
// operator, not the instrument: it shows the ordinary pointer, and the job's
// cursor comes back once the box is closed.
TEST(QtUiServicesMessage, ShowsTheOrdinaryPointerDuringAJobsWaitCursor) {
  test::EnsureApplication();
  QApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
  QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  bool boxShown = false;
  const QCursor* duringBox = reinterpret_cast<const QCursor*>(1);
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    boxShown = box != nullptr;
    duringBox = QApplication::overrideCursor();
    if (box != nullptr) box->accept();
  });
  QtUiServices ui;
  EXPECT_EQ(ui.ShowMessage("All data have been received,please check the data!", "Data Receive",
                           MessageButtons::Ok, MessageIcon::None),
            MessageAnswer::Ok);
  EXPECT_TRUE(boxShown);
  EXPECT_EQ(duringBox, nullptr);
  // Both cursors are back, in their order.
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  QApplication::restoreOverrideCursor();
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
  QApplication::restoreOverrideCursor();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace qv70
