#include <QApplication>

#include "app/application.h"
#include "platform/environment.h"
#include "ui/desktop_shell.h"
#include "ui/qt_ui_services.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  qv70::SystemClock clock;
  qv70::Environment environment{qv70::ExecutableDirectory(), &clock};
  qv70::QtUiServices ui;
  qv70::QtDesktopShell shell;
  return qv70::RunApplication(app, ui, shell, environment);
}
