#include "gui/app/application.h"

#include <QApplication>
#include <memory>

#include "core/data/program_state.h"
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
  if (!lock.TryAcquire()) {
    ui.ShowMessage(kAlreadyOpenText, kAlreadyOpenCaption, MessageButtons::Ok, MessageIcon::Warning);
    return 0;
  }
  QCoreApplication::setOrganizationName("Local AppWizard-Generated Applications");

  // The program's one state, alive until the window has gone.
  auto state = std::make_unique<ProgramState>();
  CMainFrame frame(*state, ui, environment, shell);
  if (!frame.Create()) return 1;
  // From here on the message boxes belong to the main window.
  if (auto* qtUi = dynamic_cast<QtUiServices*>(&ui)) qtUi->SetOwner(&frame);
  frame.showNormal();
  frame.setWindowTitle(kMainTitle);
  frame.repaint();
  return app.exec();
}

}  // namespace qv70
