#include <QApplication>
#include <string>

#include "core/platform/environment.h"
#include "gui/app/application.h"
#include "gui/services/desktop_shell.h"
#include "gui/services/qt_ui_services.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Lets the desktop match the window to the installed qv70.desktop and its icon.
  QGuiApplication::setDesktopFileName("qv70");
  qv70::SystemClock clock;
  const std::string programDirectory = qv70::ExecutableDirectory();
  qv70::Environment environment{programDirectory, &clock,
                                qv70::ChooseDataFolderForThisUser(programDirectory)};
  qv70::QtUiServices ui;
  qv70::QtDesktopShell shell;
  return qv70::RunApplication(app, ui, shell, environment);
}
