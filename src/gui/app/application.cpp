#include "gui/app/application.h"

#include <QApplication>
#include <cstdio>
#include <memory>

#include "core/data/program_state.h"
#include "core/files/data_folder_setup.h"
#include "core/platform/environment.h"
#include "core/platform/single_instance_lock.h"
#include "core/platform/ui_services.h"
#include "core/view/commands.h"
#include "gui/app/main_frame.h"
#include "gui/services/qt_ui_services.h"

namespace qv70 {

int RunApplication(QApplication& app, UiServices& ui, DesktopShell& shell,
                   const Environment& environment, const std::string& lockDirectory) {
  SingleInstanceLock lock(kInstanceLockName, lockDirectory);
  switch (lock.TryAcquire()) {
    case SingleInstanceLock::Outcome::Taken: break;
    case SingleInstanceLock::Outcome::HeldElsewhere:
      ui.ShowMessage(kAlreadyOpenText, kAlreadyOpenCaption, MessageButtons::Ok, MessageIcon::Warning);
      return 0;
    case SingleInstanceLock::Outcome::Unusable:
      // Whoever made the lock unusable (another user's file, a folder open to
      // others) must not be able to keep the operator from working.
      std::fprintf(stderr, "qv70: the single-instance lock cannot be used (%s); starting without it\n",
                   lock.problem().c_str());
      break;
  }
  QCoreApplication::setOrganizationName("Local AppWizard-Generated Applications");
  // Before anything reads a setting; told once the window is there to own the box.
  const OperatorMessage whereFilesAre = PrepareDataFolder(environment.programDirectory, environment.data);

  // The program's one state, alive until the window has gone.
  auto state = std::make_unique<ProgramState>();
  CMainFrame frame(*state, ui, environment, shell);
  if (!frame.Create()) return 1;
  // From here on the message boxes belong to the main window.
  if (auto* qtUi = dynamic_cast<QtUiServices*>(&ui)) qtUi->SetOwner(&frame);
  frame.showNormal();
  frame.setWindowTitle(kMainTitle);
  frame.repaint();
  ui.Tell(whereFilesAre);
  return app.exec();
}

}  // namespace qv70
