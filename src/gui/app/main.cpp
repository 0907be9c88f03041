#include <QApplication>
#include <string>

#include <csignal>

#include "core/platform/environment.h"
#include "gui/app/application.h"
#include "gui/services/desktop_shell.h"
#include "gui/services/qt_ui_services.h"

int main(int argc, char** argv) {
  // Under a file-size limit (ulimit -f) a save past it would end the program
  // and lose the unsaved data; ignored, the save fails with its message.
  std::signal(SIGXFSZ, SIG_IGN);
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
