#include "support/qt/application.h"

#include <QApplication>

namespace qv70::test {

QApplication& EnsureApplication() {
  if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return *existing;
  static int argc = 1;
  static char name[] = "qv70-test";
  static char* argv[] = {name, nullptr};
  // Alive until the test program ends, as every window of the tests needs it.
  return *new QApplication(argc, argv);
}

}  // namespace qv70::test
