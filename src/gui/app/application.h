#pragma once

#include <string>

class QApplication;

namespace qv70 {

class UiServices;
class DesktopShell;
struct Environment;

// Start-up of the program, in order: the single-instance lock "QV70Software"
// (a second copy shows "... has been opened already! " and returns 0 before any
// window exists; a lock that cannot be used at all is said on standard error
// and the program starts without it), then the data folder made ready
// (PrepareDataFolder), then the main frame with its view, shown normally with
// its fixed title and painted at once, then what there is to tell about the
// data folder; then the event loop. Returns the exit code.
// `lockDirectory` empty: the lock's default folder.
int RunApplication(QApplication& app, UiServices& ui, DesktopShell& shell,
                   const Environment& environment, const std::string& lockDirectory = "");

}  // namespace qv70
