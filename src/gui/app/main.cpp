#include <QApplication>

#include "core/platform/environment.h"
#include "gui/app/application.h"
#include "gui/services/desktop_shell.h"
#include "gui/services/qt_ui_services.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  qv70::SystemClock clock;
  qv70::Environment environment{qv70::ExecutableDirectory(), &clock};
  qv70::QtUiServices ui;
  qv70::QtDesktopShell shell;
  return qv70::RunApplication(app, ui, shell, environment);
}
