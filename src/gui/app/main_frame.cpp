#include "gui/app/main_frame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

#include "core/data/program_state.h"
#include "core/files/config_settings.h"
#include "core/files/data_file_commands.h"
#include "core/files/messages.h"
#include "core/files/settings_file.h"
#include "core/platform/ui_services.h"
#include "core/view/commands.h"
#include "core/view/window_placement.h"
#include "gui/app/about_box.h"
#include "gui/app/main_view.h"
#include "gui/app/report_printing.h"
#include "gui/grid/record_grid_widget.h"
#include "gui/services/desktop_shell.h"
#include "gui/services/icons.h"

#include "gui/dialogs/obtain_data_dialog.h"
#include "gui/dialogs/qv70_setting_dialog.h"

namespace qv70 {

namespace {

constexpr const char* kReady = "Ready";

bool IconOf(int commandId, Icon& icon) {
  switch (commandId) {
    case kCmdOpen: icon = Icon::Open; return true;
    case kCmdSave: icon = Icon::Save; return true;
    case kCmdExit: icon = Icon::Exit; return true;
    case kCmdCopyGraph: icon = Icon::CopyGraph; return true;
    case kCmdObtainData: icon = Icon::ObtainData; return true;
    case kCmdQv70Setting: icon = Icon::Qv70Setting; return true;
    case kCmdSetReport: icon = Icon::SetReport; return true;
    case kCmdHelp: icon = Icon::Help; return true;
    case kCmdAbout: icon = Icon::About; return true;
    default: return false;
  }
}

WindowRect ToWindowRect(const QRect& rect) {
  return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

// The part of every screen a window may take, the primary screen first.
std::vector<WindowRect> AvailableScreens() {
  std::vector<WindowRect> screens;
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (primary) screens.push_back(ToWindowRect(primary->availableGeometry()));
  for (const QScreen* screen : QGuiApplication::screens()) {
    if (screen != primary) screens.push_back(ToWindowRect(screen->availableGeometry()));
  }
  return screens;
}

// Keys of the window's own shortcut table that carry a command. The window
// sees them before the control with the focus, so a focused text field must not
// take Ctrl+Insert as its own copy key.
bool IsWindowTableKey(int key, Qt::KeyboardModifiers modifiers) {
  if ((modifiers & ~Qt::KeypadModifier) != Qt::ControlModifier) return false;
  return key == Qt::Key_Insert || key == Qt::Key_P;
}

// The cut and paste keys of the window's shortcut table, bound to commands
// nothing handles: a table with the focus must not cut or paste with them.
bool IsInertTableKey(int key, Qt::KeyboardModifiers modifiers) {
  const Qt::KeyboardModifiers plain = modifiers & ~Qt::KeypadModifier;
  if (plain == Qt::ControlModifier) return key == Qt::Key_X || key == Qt::Key_V;
  if (plain == Qt::ShiftModifier) return key == Qt::Key_Insert || key == Qt::Key_Delete;
  return false;
}

// The table that has the keyboard focus, if any.
RecordGridWidget* FocusedGrid() {
  for (QWidget* widget = QApplication::focusWidget(); widget != nullptr; widget = widget->parentWidget()) {
    if (auto* grid = qobject_cast<RecordGridWidget*>(widget)) return grid;
  }
  return nullptr;
}

}  // namespace

int DirectKeyCommand(int key, Qt::KeyboardModifiers modifiers) {
  const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
  switch (key) {
    case Qt::Key_C: return ctrl ? kCmdCopyGraph : 0;
    case Qt::Key_O: return ctrl ? kCmdOpen : 0;
    case Qt::Key_S: return ctrl ? kCmdSave : 0;
    case Qt::Key_F1: return kCmdHelp;
    default: return 0;
  }
}

CMainFrame::CMainFrame(ProgramState& state, UiServices& ui, const Environment& environment,
                       DesktopShell& shell, QWidget* parent)
    : QMainWindow(parent), state_(state), ui_(ui), environment_(environment), shell_(shell) {
  setObjectName("MainFrame");
  setWindowTitle(kMainTitle);
  setWindowIcon(ProgramIcon());
  setMinimumSize(kMinWindowWidth, kMinWindowHeight);
  qApp->installEventFilter(this);
}

CMainFrame::~CMainFrame() { qApp->removeEventFilter(this); }

bool CMainFrame::Create() {
  const SettingsFile settings = SettingsFile::InDirectory(environment_.DataDirectory());
  WindowRect stored;
  if (settings.Exists()) stored = ReadWindowRect(settings);
  // Whatever the file holds (edited by hand, or from a desktop that is gone),
  // the window gets a place and size the screens can show.
  placement_ = PlaceMainWindow(stored, AvailableScreens());
  PlaceFrame();

  view_ = new CMyQV70ProjectView(state_, ui_, environment_, this);
  setCentralWidget(view_);
  BuildMenusAndToolBar();
  printing_ = new ReportPrinting(*this, *view_, ui_);
  connect(view_, &CMyQV70ProjectView::flagsChanged, this, &CMainFrame::UpdateCommandUi);
  view_->Initialise();
  UpdateCommandUi();
  return toolBar_ != nullptr && statusBar() != nullptr;
}

QAction* CMainFrame::AddCommand(int commandId, QMenu* menu) {
  const CommandTexts* texts = FindCommandTexts(commandId);
  auto* action = new QAction(texts ? texts->caption : "", this);
  if (texts) {
    action->setStatusTip(texts->prompt);
    if (texts->toolTip) action->setToolTip(texts->toolTip);
  }
  Icon icon;
  if (IconOf(commandId, icon)) action->setIcon(CommandIcon(icon));
  action->setIconVisibleInMenu(true);
  if (menu) menu->addAction(action);
  actions_[commandId] = action;
  connect(action, &QAction::triggered, this, [this, commandId] { RunCommand(commandId); });
  return action;
}

void CMainFrame::BuildMenusAndToolBar() {
  QMenu* file = menuBar()->addMenu("&File");
  AddCommand(kCmdOpen, file);
  AddCommand(kCmdSave, file);
  file->addSeparator();
  AddCommand(kCmdExit, file);

  QMenu* edit = menuBar()->addMenu("&Edit");
  QAction* copyGraph = AddCommand(kCmdCopyGraph, edit);
  // Ctrl+Insert copies only while Copy Graph is enabled. It is the window's own
  // shortcut rather than the item's, so the menu shows the bare "&Copy Graph".
  QAction* copyGraphKey = new QAction(this);
  copyGraphKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Insert));
  addAction(copyGraphKey);
  connect(copyGraphKey, &QAction::triggered, this, [this, copyGraph] {
    UpdateCommandUi();
    if (copyGraph->isEnabled()) RunCommand(kCmdCopyGraph);
  });

  QMenu* data = menuBar()->addMenu("&Data");
  AddCommand(kCmdObtainData, data);

  QMenu* set = menuBar()->addMenu("&Set");
  AddCommand(kCmdQv70Setting, set);
  set->addSeparator();
  AddCommand(kCmdSetReport, set);
  set->addSeparator();
  AddCommand(kCmdSaveAsRtf, set);
  set->addSeparator();
  AddCommand(kCmdCustomize, set);

  toolBar_ = new QToolBar("Tool bar", this);
  toolBar_->setObjectName("MainToolBar");
  toolBar_->setIconSize(QSize(kIconSize, kIconSize));
  toolBar_->setMovable(true);
  toolBar_->setFloatable(true);
  toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
  toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
  addToolBar(Qt::TopToolBarArea, toolBar_);

  QMenu* window = menuBar()->addMenu("&Window");
  QAction* display = toolBar_->toggleViewAction();
  display->setText("&Display Tool bar");
  display->setStatusTip(FindCommandTexts(kCmdDisplayToolBar)->prompt);
  window->addAction(display);
  actions_[kCmdDisplayToolBar] = display;

  QMenu* help = menuBar()->addMenu("&Help");
  AddCommand(kCmdHelp, help);
  AddCommand(kCmdAbout, help);

  for (int id : kToolbarLayout) {
    if (id == 0) {
      toolBar_->addSeparator();
    } else {
      toolBar_->addAction(actions_.at(id));
    }
  }

  // Printing has no menu item; Ctrl+P reaches it through the window's shortcut.
  QAction* print = new QAction(this);
  print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  addAction(print);
  actions_[kCmdPrint] = print;
  connect(print, &QAction::triggered, this, [this] { RunCommand(kCmdPrint); });

  for (QMenu* menu : {file, edit, data, set, window, help}) {
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUi);
  }

  QStatusBar* status = statusBar();
  status->setObjectName("StatusBar");
  connect(status, &QStatusBar::messageChanged, this, [status](const QString& text) {
    if (text.isEmpty()) status->showMessage(kReady);
  });
  status->showMessage(kReady);
}

QAction* CMainFrame::Action(int commandId) const {
  auto found = actions_.find(commandId);
  return found == actions_.end() ? nullptr : found->second;
}

QString CMainFrame::StatusText() const { return statusBar()->currentMessage(); }

void CMainFrame::SetStatusText(const std::string& text) {
  // An empty text is the idle line, as when a prompt ends.
  statusBar()->showMessage(text.empty() ? QString(kReady) : QString::fromStdString(text));
  // The download's texts must show while its exchanges block the event loop.
  statusBar()->repaint();
}

void CMainFrame::UpdateCommandUi() {
  if (!view_) return;
  for (auto& [id, action] : actions_) {
    if (id == kCmdDisplayToolBar) continue;
    const bool enabled = IsCommandEnabled(id, view_->flags());
    action->setEnabled(enabled);
    // A greyed item or button shows no prompt: the status line stays "Ready".
    const CommandTexts* texts = FindCommandTexts(id);
    action->setStatusTip(enabled && texts ? texts->prompt : "");
  }
}

void CMainFrame::RunCommand(int commandId) {
  switch (commandId) {
    case kCmdOpen: OnFileOpen(); break;
    case kCmdSave: OnFileSave(); break;
    case kCmdExit: close(); break;
    case kCmdCopyGraph: view_->OnCopyGraph(); break;
    case kCmdObtainData: OnObtainData(); break;
    case kCmdQv70Setting: OnQv70Setting(); break;
    case kCmdSetReport: view_->OnSetReport(); break;
    case kCmdSaveAsRtf: view_->OnSaveAsRtf(); break;
    case kCmdCustomize: view_->OnCustomize(); break;
    case kCmdHelp: OnHelp(); break;
    case kCmdAbout: OnAbout(); break;
    case kCmdPrint: view_->OnPrint(); break;
    case kCmdPrintDirect: view_->OnPrintDirect(); break;
    case kCmdPrintPreview: view_->OnPrintPreview(); break;
    case kCmdSaveReportPicture: view_->OnSaveReportPicture(); break;
    default: break;
  }
  UpdateCommandUi();
}

void CMainFrame::OnFileOpen() {
  OpenDataFile(state_, ui_, [this] { view_->ShowNewData(true); });
}

bool CMainFrame::OnFileSave() { return SaveDataFile(state_, ui_); }

void CMainFrame::OnObtainData() {
  CObtainDataDlg dialog(
      state_, ui_, environment_, [this](const std::string& text) { SetStatusText(text); },
      [this] { view_->ShowNewData(false); }, this);
  dialog.exec();
}

void CMainFrame::OnQv70Setting() {
  CInstrumentSettingDlg dialog(state_, ui_, environment_, this);
  dialog.exec();
}

void CMainFrame::OnHelp() {
  const std::string path = JoinPath(environment_.programDirectory, kHelpFile);
  if (FileExists(path)) shell_.Open(path);
}

void CMainFrame::OnAbout() {
  CAboutDlg about(shell_, this);
  about.exec();
}

bool CMainFrame::PrepareToClose() {
  if (view_->printPreviewShown) {
    // The preview goes first and the window stays; its data is asked about when
    // the window itself is closed.
    if (view_->reportCommands().closePreview) view_->reportCommands().closePreview();
    view_->printPreviewShown = false;
    return false;
  }
  if (state_.tables.dataState == DataState::Unsaved) {
    const MessageAnswer answer =
        ui_.ShowMessage(save_message::kSaveDataQuestion, save_message::kSaveDataCaption,
                        MessageButtons::YesNoCancel, MessageIcon::Question);
    // Closing would throw away a download that was never saved: only a save
    // that succeeded, or No, lets the window go.
    if (answer == MessageAnswer::Cancel) return false;
    if (answer == MessageAnswer::Yes && !SaveDataFile(state_, ui_)) return false;
  }
  StoreWindowRect();
  return true;
}

void CMainFrame::StoreWindowRect() {
  if (isMinimized()) return;
  // The outer rectangle, frame included, as the next start places it: a
  // maximised window comes back exactly as large as the screen.
  const WindowRect rect = ToWindowRect(frameGeometry());
  if (rect.right <= 0 || rect.bottom <= 0) return;
  SettingsFile settings = SettingsFile::InDirectory(environment_.DataDirectory());
  WriteWindowRect(settings, rect);
}

void CMainFrame::PlaceFrame() {
  // The window manager's frame is known only once the window is shown; until
  // then the frame is taken to be as large as the window.
  move(placement_.left, placement_.top);
  resize(placement_.Width(), placement_.Height());
  framePending_ = true;
}

void CMainFrame::FitFrameToPlacement() {
  const QSize margins = frameGeometry().size() - size();
  if (!isVisible() || margins.isNull()) return;
  framePending_ = false;
  resize(QSize(placement_.Width(), placement_.Height()) - margins);
  move(placement_.left, placement_.top);
}

bool CMainFrame::event(QEvent* event) {
  const bool handled = QMainWindow::event(event);
  const QEvent::Type type = event->type();
  if (framePending_ && (type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize)) {
    FitFrameToPlacement();
  }
  return handled;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (PrepareToClose()) {
    event->accept();
  } else {
    event->ignore();
  }
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (HandleTableKey(*key, type == QEvent::ShortcutOverride)) return true;
  const int command = DirectKeyCommand(key->key(), key->modifiers());
  const bool tableKey = type == QEvent::ShortcutOverride && IsWindowTableKey(key->key(), key->modifiers());
  if (command == 0 && !tableKey) return false;
  // Only keys meant for the main window: a modal dialog keeps its own keys.
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != this || QApplication::activeModalWidget()) return false;
  if (tableKey) {
    // Left unclaimed, so the window's shortcut runs instead of the control's key.
    event->ignore();
    return true;
  }
  if (type == QEvent::ShortcutOverride) {
    // Claimed here so that no shortcut of the window runs it a second time.
    event->accept();
    return true;
  }
  if (!key->isAutoRepeat()) RunCommand(command);
  return true;
}

// Ctrl+C copies the cells of a table that has the focus and more than one
// cell selected; otherwise it stays Copy Graph, so a click on a row followed
// by Ctrl+C still copies the graph.
bool CMainFrame::HandleTableKey(const QKeyEvent& key, bool shortcutOverride) {
  RecordGridWidget* grid = FocusedGrid();
  if (grid == nullptr || grid->window() != this || QApplication::activeModalWidget()) return false;
  const bool copy = DirectKeyCommand(key.key(), key.modifiers()) == kCmdCopyGraph &&
                    grid->HasMultiCellSelection();
  if (!copy && !IsInertTableKey(key.key(), key.modifiers())) return false;
  if (copy && !shortcutOverride && !key.isAutoRepeat()) grid->CopySelection();
  return true;
}

}  // namespace qv70
