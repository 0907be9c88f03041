#pragma once

#include <QMainWindow>
#include <map>
#include <string>

#include "core/files/config_settings.h"
#include "core/platform/environment.h"

class QAction;
class QKeyEvent;
class QToolBar;

namespace qv70 {

struct ProgramState;
class UiServices;
class DesktopShell;
class CMyQV70ProjectView;
class ReportPrinting;

// The direct keys, looked at before anything else handles a key: Ctrl+C, Ctrl+O,
// Ctrl+S and F1 run their command (enabled or not); 0 for every other key.
int DirectKeyCommand(int key, Qt::KeyboardModifiers modifiers);

// The main window: menus, toolbar, status bar and the main view; runs the
// frame's commands and the close prompt, and keeps its outer rectangle (frame
// included) in WNDRECT.
// Messages and file dialogs go through `ui`; files come from `environment`.
class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  CMainFrame(ProgramState& state, UiServices& ui, const Environment& environment,
             DesktopShell& shell, QWidget* parent = nullptr);
  ~CMainFrame() override;

  // Window creation: rectangle from WNDRECT, toolbar, status bar, menus, and
  // the view's initialisation. False when the window could not be built.
  bool Create();

  CMyQV70ProjectView* View() const { return view_; }
  ReportPrinting* Printing() const { return printing_; }
  QAction* Action(int commandId) const;
  QToolBar* ToolBar() const { return toolBar_; }
  // The status line's text ("Ready" when idle).
  QString StatusText() const;
  // An empty text shows "Ready".
  void SetStatusText(const std::string& text);

  // Enables the commands from the view's flags.
  void UpdateCommandUi();
  // Runs a command as its menu item, button or key would.
  void RunCommand(int commandId);

  // Frame commands.
  void OnFileOpen();
  bool OnFileSave();
  void OnObtainData();
  void OnQv70Setting();
  void OnHelp();
  void OnAbout();

  // The close handling: a print preview shown is closed instead; otherwise the
  // save prompt, then WNDRECT. False when the window stays open (preview
  // closed, Cancel, or a save that did not succeed).
  bool PrepareToClose();

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool HandleTableKey(const QKeyEvent& key, bool shortcutOverride);

 private:
  QAction* AddCommand(int commandId, QMenu* menu);
  void BuildMenusAndToolBar();
  void StoreWindowRect();
  // Puts the window where `placement_` says; the outer size is corrected by
  // FitFrameToPlacement once the window manager's frame is known.
  void PlaceFrame();
  void FitFrameToPlacement();

  ProgramState& state_;
  UiServices& ui_;
  Environment environment_;
  DesktopShell& shell_;
  CMyQV70ProjectView* view_ = nullptr;
  ReportPrinting* printing_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  std::map<int, QAction*> actions_;
  WindowRect placement_;
  bool framePending_ = false;
};

}  // namespace qv70
