#include "monkey_driver.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCursor>
#include <QDialog>
#include <QFileDialog>
#include <QGraphicsView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <vector>

#include "core/view/commands.h"
#include "gui/app/main_frame.h"
#include "gui/app/main_view.h"
#include "gui/app/report_printing.h"
#include "gui/chart/graph_chart_ctrl.h"
#include "gui/grid/record_grid_widget.h"
#include "gui/pages/data_pages.h"
#include "gui/pages/page_panels.h"
#include "gui/pages/tab_frame.h"
#include "gui/report/report_preview.h"
#include "monkey_random.h"
#include "monkey_ui.h"
#include "monkey_world.h"
#include "step_log.h"

namespace QTestPrivate {
extern Q_TESTLIB_EXPORT Qt::MouseButtons qtestMouseButtons;
}

namespace qv70::monkey {

namespace {

constexpr int kBusyPollMs = 20;

struct Key {
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  const char* name;
};

const std::vector<Key>& DialogKeys() {
  static const std::vector<Key> keys = {
      {Qt::Key_Tab, Qt::NoModifier, "Tab"},           {Qt::Key_Backtab, Qt::ShiftModifier, "Shift+Tab"},
      {Qt::Key_Return, Qt::NoModifier, "Return"},     {Qt::Key_Enter, Qt::KeypadModifier, "Enter"},
      {Qt::Key_Space, Qt::NoModifier, "Space"},       {Qt::Key_Up, Qt::NoModifier, "Up"},
      {Qt::Key_Down, Qt::NoModifier, "Down"},         {Qt::Key_Left, Qt::NoModifier, "Left"},
      {Qt::Key_Right, Qt::NoModifier, "Right"},       {Qt::Key_Home, Qt::NoModifier, "Home"},
      {Qt::Key_End, Qt::NoModifier, "End"},           {Qt::Key_Delete, Qt::NoModifier, "Delete"},
      {Qt::Key_Backspace, Qt::NoModifier, "Backspace"}, {Qt::Key_A, Qt::ControlModifier, "Ctrl+A"},
      {Qt::Key_C, Qt::ControlModifier, "Ctrl+C"},     {Qt::Key_V, Qt::ControlModifier, "Ctrl+V"},
      {Qt::Key_X, Qt::ControlModifier, "Ctrl+X"},     {Qt::Key_Z, Qt::ControlModifier, "Ctrl+Z"},
      {Qt::Key_7, Qt::NoModifier, "7"},               {Qt::Key_0, Qt::KeypadModifier, "keypad 0"},
      {Qt::Key_Q, Qt::NoModifier, "q"},               {Qt::Key_P, Qt::AltModifier, "Alt+P"},
      {Qt::Key_D, Qt::AltModifier, "Alt+D"},          {Qt::Key_U, Qt::AltModifier, "Alt+U"},
      {Qt::Key_F1, Qt::NoModifier, "F1"},             {Qt::Key_Escape, Qt::NoModifier, "Escape"},
  };
  return keys;
}

const std::vector<Key>& WindowKeys() {
  static const std::vector<Key> keys = {
      {Qt::Key_O, Qt::ControlModifier, "Ctrl+O"},      {Qt::Key_S, Qt::ControlModifier, "Ctrl+S"},
      {Qt::Key_C, Qt::ControlModifier, "Ctrl+C"},      {Qt::Key_Insert, Qt::ControlModifier, "Ctrl+Insert"},
      {Qt::Key_P, Qt::ControlModifier, "Ctrl+P"},      {Qt::Key_F1, Qt::NoModifier, "F1"},
      {Qt::Key_X, Qt::ControlModifier, "Ctrl+X"},      {Qt::Key_V, Qt::ControlModifier, "Ctrl+V"},
      {Qt::Key_Insert, Qt::ShiftModifier, "Shift+Insert"}, {Qt::Key_Delete, Qt::ShiftModifier, "Shift+Delete"},
      {Qt::Key_F, Qt::AltModifier, "Alt+F"},           {Qt::Key_E, Qt::AltModifier, "Alt+E"},
      {Qt::Key_D, Qt::AltModifier, "Alt+D"},           {Qt::Key_S, Qt::AltModifier, "Alt+S"},
      {Qt::Key_W, Qt::AltModifier, "Alt+W"},           {Qt::Key_H, Qt::AltModifier, "Alt+H"},
      {Qt::Key_Tab, Qt::ControlModifier, "Ctrl+Tab"},  {Qt::Key_Escape, Qt::NoModifier, "Escape"},
  };
  return keys;
}

const std::vector<Key>& GridKeyList() {
  static const std::vector<Key> keys = {
      {Qt::Key_Down, Qt::NoModifier, "Down"},          {Qt::Key_Up, Qt::NoModifier, "Up"},
      {Qt::Key_Left, Qt::NoModifier, "Left"},          {Qt::Key_Right, Qt::NoModifier, "Right"},
      {Qt::Key_Down, Qt::ShiftModifier, "Shift+Down"}, {Qt::Key_Right, Qt::ShiftModifier, "Shift+Right"},
      {Qt::Key_PageDown, Qt::NoModifier, "PageDown"},  {Qt::Key_PageUp, Qt::NoModifier, "PageUp"},
      {Qt::Key_Home, Qt::NoModifier, "Home"},          {Qt::Key_End, Qt::NoModifier, "End"},
      {Qt::Key_Home, Qt::ControlModifier, "Ctrl+Home"}, {Qt::Key_End, Qt::ControlModifier, "Ctrl+End"},
      {Qt::Key_End, Qt::ShiftModifier | Qt::ControlModifier, "Ctrl+Shift+End"},
      {Qt::Key_A, Qt::ControlModifier, "Ctrl+A"},      {Qt::Key_C, Qt::ControlModifier, "Ctrl+C"},
      {Qt::Key_X, Qt::ControlModifier, "Ctrl+X"},      {Qt::Key_V, Qt::ControlModifier, "Ctrl+V"},
      {Qt::Key_Insert, Qt::ShiftModifier, "Shift+Insert"}, {Qt::Key_Delete, Qt::NoModifier, "Delete"},
      {Qt::Key_Insert, Qt::ControlModifier, "Ctrl+Insert"}, {Qt::Key_Tab, Qt::NoModifier, "Tab"},
      {Qt::Key_Return, Qt::NoModifier, "Return"},      {Qt::Key_5, Qt::NoModifier, "5"},
  };
  return keys;
}

const std::vector<Key>& PreviewKeys() {
  static const std::vector<Key> keys = {
      {Qt::Key_PageDown, Qt::NoModifier, "PageDown"}, {Qt::Key_PageDown, Qt::NoModifier, "PageDown"},
      {Qt::Key_PageUp, Qt::NoModifier, "PageUp"},     {Qt::Key_PageUp, Qt::NoModifier, "PageUp"},
      {Qt::Key_Home, Qt::NoModifier, "Home"},         {Qt::Key_End, Qt::NoModifier, "End"},
      {Qt::Key_Down, Qt::NoModifier, "Down"},         {Qt::Key_Up, Qt::NoModifier, "Up"},
      {Qt::Key_Plus, Qt::NoModifier, "+"},            {Qt::Key_Minus, Qt::NoModifier, "-"},
      {Qt::Key_P, Qt::ControlModifier, "Ctrl+P"},     {Qt::Key_O, Qt::ControlModifier, "Ctrl+O"},
      {Qt::Key_S, Qt::ControlModifier, "Ctrl+S"},     {Qt::Key_C, Qt::ControlModifier, "Ctrl+C"},
      {Qt::Key_F1, Qt::NoModifier, "F1"},             {Qt::Key_Escape, Qt::NoModifier, "Escape"},
  };
  return keys;
}

// What the operator types into a field: nothing, numbers in and out of range,
// words, long and foreign texts.
const std::vector<QString>& Texts() {
  static const std::vector<QString> texts = {
      "",       "0",  "1",     "12",  "99",    "-1",   "007",       "1e308", "abc", "A4", " ",
      "3.5",    "1,5", "%s%n%x", "\\par}{\\rtf1", QString(300, QChar('w')),
      QString::fromUtf8("\xe6\xb5\x8b\xe8\xaf\x95\xe6\x8a\xa5\xe5\x91\x8a"), QString::fromUtf8("\xc3\xa9t\xc3\xa9"),
      "2025/13/45", "a\tb",
  };
  return texts;
}

template <typename T>
std::vector<T*> Usable(QWidget* window) {
  std::vector<T*> found;
  for (T* widget : window->findChildren<T*>()) {
    if (widget->isVisible() && widget->isEnabled() && widget->window() == window) found.push_back(widget);
  }
  return found;
}

std::string Describe(const QWidget* widget) {
  std::string text = widget->metaObject()->className();
  if (!widget->objectName().isEmpty()) text += " " + widget->objectName().toStdString();
  if (auto* button = qobject_cast<const QAbstractButton*>(widget)) {
    if (!button->text().isEmpty()) text += " \"" + button->text().toStdString() + "\"";
  }
  return text;
}

std::string SizeText(const QSize& size) { return std::to_string(size.width()) + "x" + std::to_string(size.height()); }

QPoint RandomPoint(const QWidget* widget, MonkeyRandom& random) {
  return QPoint(random.Below(std::max(1, widget->width())), random.Below(std::max(1, widget->height())));
}

// Where a click lands on a button: the indicator of a check box or radio
// button (its label may be shorter than the widget), the middle of any other.
QPoint ClickPoint(const QAbstractButton* button) {
  if (qobject_cast<const QCheckBox*>(button) || qobject_cast<const QRadioButton*>(button))
    return QPoint(std::min(6, button->width() / 2), button->height() / 2);
  return button->rect().center();
}

// Buttons that end a window or move a job on are pressed more or less often
// than the rest, so that dialogs neither close at once nor never.
int ButtonWeight(const QAbstractButton* button) {
  const QString plain = QString(button->text()).remove('&');
  if (plain == "Cancel" || plain == "Close") return 2;
  static const char* const strong[] = {"Select Data", "Obtain Data", "Select All", "Next", "Finish",
                                       "Apply", "OK", "Yes", "No", "Print"};
  for (const char* text : strong) {
    if (plain == text) return 12;
  }
  return 4;
}

// A double click as the window system delivers it: press, release, double
// click, release (QTest's own sends the third alone and leaves the button down).
void DoubleClick(QWidget* widget, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint& at) {
  QPointer<QWidget> target(widget);
  QTest::mouseClick(widget, button, modifiers, at);
  if (target) QTest::mouseDClick(target, button, modifiers, at);
  if (target) QTest::mouseRelease(target, button, modifiers, at);
}

void TypeText(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() < 128 && c.unicode() >= 32) {
      QTest::keyClick(widget, c.toLatin1());
    } else {
      QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
  }
}

void SendWheel(QWidget* widget, const QPoint& pos, int steps, Qt::KeyboardModifiers modifiers) {
  QWheelEvent wheel(QPointF(pos), QPointF(widget->mapToGlobal(pos)), QPoint(), QPoint(0, steps * 120),
                    Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
  QApplication::sendEvent(widget, &wheel);
}

void SendHover(QWidget* widget, const QPoint& pos) {
  QMouseEvent move(QEvent::MouseMove, QPointF(pos), QPointF(widget->mapToGlobal(pos)), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(widget, &move);
}

// A table as a spreadsheet would put it on the clipboard, now and then odd.
QString TableText(MonkeyRandom& random) {
  const int rows = random.Chance(10) ? random.Between(200, 2000) : random.Between(1, 6);
  const int columns = random.Between(1, 40);
  QString text;
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      if (column) text += '\t';
      text += Texts()[static_cast<size_t>(random.Below(static_cast<int>(Texts().size())))];
    }
    text += random.Chance(50) ? "\r\n" : "\n";
  }
  return text;
}

}  // namespace

Monkey::Monkey(MonkeyRandom& random, MonkeyWorld& world, MonkeyUiServices& ui, Limits limits)
    : random_(random), world_(world), ui_(ui), limits_(limits) {}

void Monkey::Start() {
  clock_.start();
  Schedule(0);
}

void Monkey::Schedule(int delayMs) { QTimer::singleShot(delayMs, this, &Monkey::Step); }

void Monkey::RunEnded() {
  frame_ = nullptr;
  ui_.SetOwner(nullptr);
}

bool Monkey::UsedUp() const {
  if (taken_ >= limits_.steps) return true;
  return limits_.minutes > 0 && clock_.elapsed() > static_cast<qint64>(limits_.minutes * 60000.0);
}

// A download or a settings exchange holds the wait cursor; the operator's
// clicks wait until it is over, and so does the monkey. A message box shown
// meanwhile lifts the cursor and is answered.
bool Monkey::JobBusy() const {
  const QCursor* cursor = QApplication::overrideCursor();
  return cursor != nullptr && cursor->shape() == Qt::WaitCursor;
}

CMainFrame* Monkey::FindFrame() const {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* frame = qobject_cast<CMainFrame*>(widget);
    if (frame && frame->isVisible()) return frame;
  }
  return nullptr;
}

void Monkey::MeetFrame(CMainFrame* frame) {
  frame_ = frame;
  sawWindow_ = true;
  ++runs_;
  step_log::Note("program run " + std::to_string(runs_) + " has its window");
  ui_.SetOwner(frame);
  ReportPrinting* printing = frame->Printing();
  // Print jobs go to a PDF file: the print dialog answered here, at random.
  printing->Printer().setOutputFileName(QString::fromStdString(world_.PrintFile()));
  printing->printDialog = [this](QPrinter& printer, int pageCount) {
    if (random_.Chance(20)) {
      step_log::Note("print dialog -> Cancel");
      return false;
    }
    printer.setOutputFileName(QString::fromStdString(world_.PrintFile()));
    const QPrinter::PrintRange ranges[] = {QPrinter::AllPages, QPrinter::PageRange, QPrinter::Selection,
                                           QPrinter::CurrentPage};
    printer.setPrintRange(ranges[random_.Below(4)]);
    const int from = random_.Between(0, pageCount + 1);
    printer.setFromTo(from, random_.Chance(20) ? 0 : random_.Between(from, pageCount + 2));
    printer.setCopyCount(random_.Chance(80) ? 1 : random_.Between(2, 3));
    printer.setCollateCopies(random_.Chance(50));
    printer.setPageOrder(random_.Chance(80) ? QPrinter::FirstPageFirst : QPrinter::LastPageFirst);
    step_log::Note("print dialog -> Print, range " + std::to_string(printer.printRange()) + " pages " +
                   std::to_string(printer.fromPage()) + "-" + std::to_string(printer.toPage()) + " of " +
                   std::to_string(pageCount) + ", copies " + std::to_string(printer.copyCount()));
    return true;
  };
}

void Monkey::Begin(const std::string& name, const std::string& detail) {
  ++counts_[name];
  step_log::Begin(taken_, detail.empty() ? name : name + ": " + detail);
}

void Monkey::Step() {
  step_log::Beat();
  CMainFrame* frame = FindFrame();
  if (frame == nullptr) {
    // Between two runs of the program, or after the last one.
    if (!Finished()) Schedule(kBusyPollMs);
    return;
  }
  if (frame != frame_) MeetFrame(frame);
  // Decided without a random draw, so that a seed replays however long a job took.
  if (JobBusy()) {
    Schedule(kBusyPollMs);
    return;
  }
  // A dialog has closed but its loop has not returned yet, or the program
  // keeps painting in a loop of its own: no operator input is handled there.
  if (depth_ > 0 && !QApplication::activePopupWidget() && !QApplication::activeModalWidget() &&
      QTestPrivate::qtestMouseButtons == Qt::NoButton) {
    Schedule(kBusyPollMs);
    return;
  }
  if (!finishing_ && UsedUp()) {
    finishing_ = true;
    ui_.SetClosing(true);
  }
  if (finishing_) {
    Close();
    return;
  }
  ++taken_;
  // Most steps follow at once; now and then the program's own timers get time.
  Schedule(random_.Chance(5) ? random_.Between(50, 400) : random_.Between(0, 3));
  ++depth_;
  ActivateFrontWindow();
  if (QWidget* popup = QApplication::activePopupWidget()) {
    ActOnPopup(popup);
  } else if (QWidget* modal = QApplication::activeModalWidget()) {
    ActOnModal(modal);
  } else if (depth_ > 1) {
    AfterNestedLoop();
  } else if (frame_->View()->printPreviewShown && frame_->Printing()->Preview()) {
    ActOnPreview();
  } else {
    ActOnMainWindow();
  }
  --depth_;
}

// The window system activates a window shown in front, and with it gives a
// control the focus, some time after the show. Done here at once, so that a
// key lands on the same control in every run of a seed.
void Monkey::ActivateFrontWindow() {
  if (QApplication::activePopupWidget()) return;
  QWidget* front = QApplication::activeModalWidget();
  if (front == nullptr) front = frame_;
  if (QApplication::activeWindow() != front) QApplication::setActiveWindow(front);
}

// Closes whatever is open, then the program, answering No to saving.
void Monkey::Close() {
  ++closeAttempts_;
  if (QWidget* popup = QApplication::activePopupWidget()) {
    popup->close();
  } else if (QWidget* modal = QApplication::activeModalWidget()) {
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      dialog->reject();
    } else {
      modal->close();
    }
  } else if (QTestPrivate::qtestMouseButtons != Qt::NoButton) {
    AfterNestedLoop();
  } else {
    step_log::Note("closing the program");
    frame_->close();
  }
  if (closeAttempts_ > 2000) {
    step_log::PrintRecent("the program would not close");
    std::abort();
  }
  Schedule(1);
}

void Monkey::ActOnPopup(QWidget* popup) {
  auto* menu = qobject_cast<QMenu*>(popup);
  if (menu == nullptr) {
    const Qt::Key keys[] = {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Down, Qt::Key_Up};
    const Qt::Key key = keys[random_.Below(4)];
    Begin("popup key", Describe(popup) + " " + QKeySequence(key).toString().toStdString());
    QTest::keyClick(popup->focusWidget() ? popup->focusWidget() : popup, key);
    return;
  }
  std::vector<QAction*> items;
  for (QAction* action : menu->actions()) {
    if (action->isVisible() && action->isEnabled() && !action->isSeparator()) items.push_back(action);
  }
  if (items.empty() || random_.Chance(25)) {
    Begin("menu Escape");
    QTest::keyClick(menu, Qt::Key_Escape);
    return;
  }
  QAction* item = random_.Pick(items);
  Begin("menu item", item->text().toStdString());
  menu->setActiveAction(item);
  QTest::keyClick(menu, Qt::Key_Return);
}

void Monkey::ActOnModal(QWidget* modal) {
  if (qobject_cast<QFileDialog*>(modal)) {
    ActOnFileDialog(modal);
    return;
  }
  switch (random_.Weighted({48, 14, 14, 4, 2, 2, 2, 14})) {
    case 0: ClickButton(modal); break;
    case 1: EditText(modal); break;
    case 2: PressKey(modal, true); break;
    case 3: {
      const std::vector<QComboBox*> lists = Usable<QComboBox>(modal);
      if (lists.empty()) {
        ClickButton(modal);
        break;
      }
      QComboBox* list = random_.Pick(lists);
      if (random_.Chance(30)) {
        Begin("dialog list opened", Describe(list));
        QTest::mouseClick(list, Qt::LeftButton);
      } else {
        const Qt::Key key = random_.Chance(50) ? Qt::Key_Down : Qt::Key_Up;
        Begin("dialog list key", Describe(list) + (key == Qt::Key_Down ? " Down" : " Up"));
        list->setFocus();
        QTest::keyClick(list, key);
      }
      break;
    }
    case 4:
      Begin("dialog close box", Describe(modal));
      modal->close();
      break;
    case 5:
      Begin("dialog Escape", Describe(modal));
      QTest::keyClick(modal, Qt::Key_Escape);
      break;
    case 6: {
      const QSize size(random_.Between(50, 1500), random_.Between(50, 1100));
      Begin("dialog resized", Describe(modal) + " to " + SizeText(size));
      modal->resize(size);
      break;
    }
    default: PressForward(modal); break;
  }
}

// The button that carries a window's job on (Next, Finish, Obtain Data,
// Apply, OK), pressed as an operator who knows the way would: without it the
// deeper pages and what follows them are seldom reached.
void Monkey::PressForward(QWidget* window) {
  static const char* const forward[] = {"Next", "Finish", "Select Data", "Obtain Data", "Apply", "OK", "Yes"};
  std::vector<QAbstractButton*> buttons;
  for (QAbstractButton* button : Usable<QAbstractButton>(window)) {
    const QString plain = QString(button->text()).remove('&');
    for (const char* text : forward) {
      if (plain == text) buttons.push_back(button);
    }
  }
  if (buttons.empty()) return ClickButton(window);
  QAbstractButton* button = random_.Pick(buttons);
  Begin("forward button", Describe(button) + " in " + Describe(window));
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, ClickPoint(button));
}

// Only a name chosen or Cancel: inside the dialog the file system model
// lists folders in threads of its own, so anything else would make a run
// depend on their timing, not on its seed alone.
void Monkey::ActOnFileDialog(QWidget* window) {
  auto* dialog = static_cast<QFileDialog*>(window);
  const MonkeyUiServices::FileQuestion* question = ui_.ShownFileQuestion();
  if (question == nullptr || random_.Chance(25)) {
    Begin("file dialog Cancel");
    dialog->reject();
    return;
  }
  const std::string path = question->save ? world_.SavePath(question->request, random_)
                                          : world_.OpenPath(question->request, random_);
  Begin("file dialog chosen", path);
  dialog->selectFile(QString::fromStdString(path));
  // Through QDialog, where it is public: the file dialog's own checks run.
  static_cast<QDialog*>(dialog)->accept();
}

void Monkey::ClickButton(QWidget* window) {
  const std::vector<QAbstractButton*> buttons = Usable<QAbstractButton>(window);
  if (buttons.empty()) {
    PressKey(window, true);
    return;
  }
  std::vector<int> weights;
  for (const QAbstractButton* button : buttons) weights.push_back(ButtonWeight(button));
  QAbstractButton* button = buttons[static_cast<size_t>(random_.Weighted(weights))];
  Begin("button", Describe(button) + " in " + Describe(window));
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, ClickPoint(button));
}

void Monkey::EditText(QWidget* window) {
  std::vector<QWidget*> fields;
  for (QLineEdit* edit : Usable<QLineEdit>(window)) {
    if (!edit->isReadOnly()) fields.push_back(edit);
  }
  for (QTextEdit* edit : Usable<QTextEdit>(window)) {
    if (!edit->isReadOnly()) fields.push_back(edit);
  }
  if (fields.empty()) {
    ClickButton(window);
    return;
  }
  QWidget* field = random_.Pick(fields);
  const QString text = random_.Pick(Texts());
  const bool replace = random_.Chance(40);
  const bool menu = qobject_cast<QTextEdit*>(field) && random_.Chance(15);
  Begin("typing", Describe(field) + (menu ? " right button" : (replace ? " replaced by \"" : " added \"") +
                                                                   text.left(40).toStdString() + "\""));
  field->setFocus(Qt::MouseFocusReason);
  if (menu) {
    auto* edit = static_cast<QTextEdit*>(field);
    const QPoint at = RandomPoint(edit->viewport(), random_);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, edit->viewport()->mapToGlobal(at));
    QApplication::sendEvent(edit->viewport(), &event);
    return;
  }
  if (replace) {
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Backspace);
  }
  TypeText(field, text);
}

void Monkey::PressKey(QWidget* window, bool dialog) {
  const std::vector<Key>& keys = dialog ? DialogKeys() : WindowKeys();
  const Key& key = random_.Pick(keys);
  // The window's own focus child, which does not wait for the window system
  // to activate the window: the same key lands on the same control every run.
  QWidget* target = window->focusWidget() ? window->focusWidget() : window;
  Begin(dialog ? "dialog key" : "window key", std::string(key.name) + " to " + Describe(target));
  QTest::keyClick(target, key.key, key.modifiers);
}

// The mouse is still held by an earlier step: a drag has begun its own loop.
// The button comes up over a table, where the drag may drop.
void Monkey::AfterNestedLoop() {
  std::vector<RecordGridWidget*> grids = Usable<RecordGridWidget>(frame_);
  QWidget* target = grids.empty() ? static_cast<QWidget*>(frame_) : random_.Pick(grids)->viewport();
  const QPoint at = RandomPoint(target, random_);
  Begin("mouse released", Describe(target));
  for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
    if (QTestPrivate::qtestMouseButtons & button) QTest::mouseRelease(target, button, Qt::NoModifier, at);
  }
}

void Monkey::ActOnPreview() {
  CMyPreviewView* preview = frame_->Printing()->Preview();
  switch (random_.Weighted({40, 30, 8, 8, 8, 6})) {
    case 0: {
      const struct {
        const char* caption;
        int weight;
      } buttons[] = {{"&Print...", 3},  {"Page &Up", 10},  {"Page &Down", 12},
                     {"Zoom &In", 8},   {"Zoom &Out", 8},  {"&Close", 3}};
      std::vector<int> weights;
      for (const auto& button : buttons) weights.push_back(button.weight);
      const char* caption = buttons[random_.Weighted(weights)].caption;
      QPushButton* button = preview->Button(caption);
      Begin("preview button", caption);
      if (button && button->isEnabled()) QTest::mouseClick(button, Qt::LeftButton);
      break;
    }
    case 1: {
      const Key& key = random_.Pick(PreviewKeys());
      QWidget* target = frame_->focusWidget() ? frame_->focusWidget() : preview->Pages();
      Begin("preview key", std::string(key.name) + " to " + Describe(target));
      QTest::keyClick(target, key.key, key.modifiers);
      break;
    }
    case 2: {
      auto* view = preview->Pages()->findChild<QGraphicsView*>();
      QWidget* target = view ? view->viewport() : preview->Pages();
      const int steps = random_.Between(-5, 5);
      const bool zoom = random_.Chance(30);
      Begin("preview wheel", std::to_string(steps) + (zoom ? " with Ctrl" : ""));
      SendWheel(target, RandomPoint(target, random_), steps, zoom ? Qt::ControlModifier : Qt::NoModifier);
      break;
    }
    case 3: ChangeWindow(); break;
    case 4: DirectKey(); break;
    default: ClickAnywhere(); break;
  }
}

void Monkey::ActOnMainWindow() {
  switch (random_.Weighted({14, 3, 5, 5, 5, 8, 8, 8, 4, 12, 8, 3, 3, 4, 6, 2, 3, 2, 5})) {
    case 0: MenuCommand(); break;
    case 1: RunAnyCommand(); break;
    case 2: OpenMenu(); break;
    case 3: ClickToolButton(); break;
    case 4: DirectKey(); break;
    case 5: ChooseTab(true); break;
    case 6: ChooseTab(false); break;
    case 7: ClickFilter(); break;
    case 8: ClickGraphBox(); break;
    case 9: UseGrid(); break;
    case 10: GridKeys(); break;
    case 11: DropOntoGrid(); break;
    case 12: FillClipboard(); break;
    case 13: UseChart(); break;
    case 14: ChangeWindow(); break;
    case 15: MoveToolBar(); break;
    case 16: Begin("instrument", world_.ChooseInstrument(random_)); break;
    case 17: Begin("program folder", world_.DamageProgramFile(random_)); break;
    default: ClickAnywhere(); break;
  }
}

void Monkey::MenuCommand() {
  const struct {
    int id;
    const char* name;
    int weight;
  } commands[] = {{kCmdOpen, "Open", 9},         {kCmdSave, "Save", 5},
                  {kCmdExit, "Exit", 1},         {kCmdCopyGraph, "Copy Graph", 3},
                  {kCmdObtainData, "Obtain Data", 10}, {kCmdQv70Setting, "QV70 Setting", 4},
                  {kCmdSetReport, "Set Report", 9},    {kCmdSaveAsRtf, "Save as RTF", 4},
                  {kCmdCustomize, "Customize", 4},     {kCmdDisplayToolBar, "Display Tool bar", 1},
                  {kCmdHelp, "Help", 1},         {kCmdAbout, "About", 2}};
  std::vector<int> weights;
  for (const auto& command : commands) weights.push_back(command.weight);
  const auto& command = commands[random_.Weighted(weights)];
  if (command.id == kCmdObtainData || command.id == kCmdQv70Setting) {
    if (random_.Chance(40)) step_log::Note("instrument: " + world_.ChooseInstrument(random_));
  }
  // As opening the menu would: the items follow the view's flags first.
  frame_->UpdateCommandUi();
  QAction* action = frame_->Action(command.id);
  const bool enabled = action && action->isEnabled();
  Begin("menu command", std::string(command.name) + (enabled ? "" : " (greyed: nothing)"));
  if (enabled) action->trigger();
}

// Every command id as the frame runs it, greyed or not, and those that no
// menu item carries.
void Monkey::RunAnyCommand() {
  const int ids[] = {kCmdOpen,        kCmdSave,         kCmdCopyGraph,  kCmdObtainData, kCmdQv70Setting,
                     kCmdSetReport,   kCmdSaveAsRtf,    kCmdCustomize,  kCmdHelp,       kCmdAbout,
                     kCmdPrint,       kCmdPrintDirect,  kCmdPrintPreview, kCmdSaveReportPicture, kCmdExit};
  const int id = ids[random_.Below(static_cast<int>(std::size(ids)))];
  if (id == kCmdExit && random_.Chance(70)) return RunAnyCommand();
  Begin("command id", std::to_string(id));
  frame_->RunCommand(id);
}

void Monkey::OpenMenu() {
  QMenuBar* bar = frame_->menuBar();
  if (!bar->isVisible() || bar->actions().isEmpty()) return DirectKey();
  const QList<QAction*> menus = bar->actions();
  QAction* menu = menus[random_.Below(static_cast<int>(menus.size()))];
  Begin("menu bar", menu->text().toStdString());
  QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->actionGeometry(menu).center());
}

void Monkey::ClickToolButton() {
  QToolBar* bar = frame_->ToolBar();
  std::vector<QWidget*> buttons;
  if (bar && bar->isVisible()) {
    for (QAction* action : bar->actions()) {
      QWidget* button = action->isSeparator() ? nullptr : bar->widgetForAction(action);
      if (button && button->isVisible()) buttons.push_back(button);
    }
  }
  if (buttons.empty()) return MenuCommand();
  QWidget* button = random_.Pick(buttons);
  Begin("tool button", Describe(button) + " " + button->toolTip().toStdString());
  QTest::mouseClick(button, Qt::LeftButton);
}

void Monkey::DirectKey() { PressKey(frame_, false); }

void Monkey::ChooseTab(bool mainTabs) {
  CMyQV70ProjectView* view = frame_->View();
  TabFrame* tabs = view->MainTabs();
  if (!mainTabs) {
    tabs = view->FrontTab() == kManualTab ? view->ManualPage()->GroupTabs() : view->LoggingPage()->SetTabs();
  }
  QTabBar* bar = tabs->Bar();
  if (!bar->isVisible() || bar->count() == 0) return UseGrid();
  const int index = random_.Below(bar->count());
  Begin(mainTabs ? "page tab" : "data tab", bar->tabText(index).toStdString());
  if (random_.Chance(85)) {
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(index).center());
  } else {
    bar->setFocus();
    QTest::keyClick(bar, random_.Chance(50) ? Qt::Key_Right : Qt::Key_Left);
  }
}

void Monkey::ClickFilter() {
  DataSelectBar* bar = frame_->View()->ManualPage()->DataSelect();
  if (!bar->isVisible()) return ChooseTab(true);
  const char* names[] = {"All", "Normal Test", "TC Test", "Step Voltage Test"};
  const int choice = random_.Below(4);
  QRadioButton* button = bar->FilterButton(choice);
  Begin("filter", names[choice]);
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, ClickPoint(button));
}

void Monkey::ClickGraphBox() {
  CMyQV70ProjectView* view = frame_->View();
  QCheckBox* box = view->FrontTab() == kManualTab ? view->ManualPage()->DataSelect()->StepGraphBox()
                                                  : view->LoggingPage()->Header()->LoggingGraphBox();
  Begin("graph box", box->text().toStdString() + (box->isEnabled() ? "" : " (greyed)"));
  QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, ClickPoint(box));
}

void Monkey::UseGrid() {
  const std::vector<RecordGridWidget*> grids = Usable<RecordGridWidget>(frame_);
  if (grids.empty()) return ChooseTab(true);
  RecordGridWidget* grid = random_.Pick(grids);
  QWidget* port = grid->viewport();
  // Half the clicks near the top left, where the titles and the first rows are.
  QPoint at = RandomPoint(port, random_);
  if (random_.Chance(50)) at = QPoint(at.x() / 3, at.y() % 60);
  const Qt::KeyboardModifiers modifiers[] = {Qt::NoModifier, Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier};
  const Qt::KeyboardModifiers modifier = modifiers[random_.Below(4)];
  const std::string where = Describe(grid) + " at " + std::to_string(at.x()) + "," + std::to_string(at.y());
  switch (random_.Weighted({40, 10, 8, 20, 10, 12})) {
    case 0:
      Begin("table click", where);
      QTest::mouseClick(port, Qt::LeftButton, modifier, at);
      break;
    case 1:
      Begin("table double click", where);
      DoubleClick(port, Qt::LeftButton, modifier, at);
      break;
    case 2:
      Begin("table right click", where);
      QTest::mouseClick(port, Qt::RightButton, modifier, at);
      break;
    case 3: {
      const QPoint to = RandomPoint(port, random_);
      Begin("table drag", where + " to " + std::to_string(to.x()) + "," + std::to_string(to.y()));
      QTest::mousePress(port, Qt::LeftButton, modifier, at);
      QTest::mouseMove(port, (at + to) / 2);
      QTest::mouseMove(port, to);
      if (QTestPrivate::qtestMouseButtons != Qt::NoButton) QTest::mouseRelease(port, Qt::LeftButton, modifier, to);
      break;
    }
    case 4:
      Begin("table hover", where);
      SendHover(port, at);
      break;
    default: {
      const int steps = random_.Between(-6, 6);
      Begin("table wheel", where + " " + std::to_string(steps));
      SendWheel(port, at, steps, random_.Chance(20) ? Qt::ShiftModifier : Qt::NoModifier);
      break;
    }
  }
}

void Monkey::GridKeys() {
  const std::vector<RecordGridWidget*> grids = Usable<RecordGridWidget>(frame_);
  if (grids.empty()) return DirectKey();
  RecordGridWidget* grid = random_.Pick(grids);
  const Key& key = random_.Pick(GridKeyList());
  Begin("table key", std::string(key.name) + " to " + Describe(grid));
  grid->setFocus(Qt::OtherFocusReason);
  QTest::keyClick(grid, key.key, key.modifiers);
}

// Text dragged in from another program and dropped on a table.
void Monkey::DropOntoGrid() {
  const std::vector<RecordGridWidget*> grids = Usable<RecordGridWidget>(frame_);
  if (grids.empty()) return FillClipboard();
  QWidget* port = random_.Pick(grids)->viewport();
  const QPoint at = RandomPoint(port, random_);
  QMimeData data;
  data.setText(TableText(random_));
  Begin("drop", Describe(port->parentWidget()) + " " + std::to_string(data.text().size()) + " characters");
  QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(port, &enter);
  if (!enter.isAccepted()) return;
  QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(port, &move);
  QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(port, &drop);
}

// What another program left on the clipboard: tables, odd text, RTF, a picture.
void Monkey::FillClipboard() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  switch (random_.Below(4)) {
    case 0: {
      const QString text = TableText(random_);
      Begin("clipboard", "table text, " + std::to_string(text.size()) + " characters");
      clipboard->setText(text);
      break;
    }
    case 1: {
      const QString text = random_.Pick(Texts());
      Begin("clipboard", "text \"" + text.left(40).toStdString() + "\"");
      clipboard->setText(text);
      break;
    }
    case 2: {
      static const char* const rtf[] = {
          "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs48 big {\\b bold}\\par}",
          "{\\rtf1{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{",
          "{\\rtf1\\ansi\\u-3000?\\u65535?\\'ff\\bin5 xxxxx\\par",
          "{\\rtf1\\ansicpg936\\fs999999999 \\'b2\\'e2\\'ca\\'d4}"};
      const char* text = rtf[random_.Below(4)];
      Begin("clipboard", std::string("rtf ") + text);
      auto* data = new QMimeData;
      data->setData("text/rtf", text);
      data->setData("application/rtf", text);
      data->setText("plain beside the rtf");
      clipboard->setMimeData(data);
      break;
    }
    default: {
      const QSize size(random_.Between(1, 800), random_.Between(1, 600));
      Begin("clipboard", "picture " + SizeText(size));
      QImage picture(size, QImage::Format_RGB32);
      picture.fill(Qt::darkCyan);
      clipboard->setImage(picture);
      break;
    }
  }
}

void Monkey::UseChart() {
  const std::vector<GraphChartCtrl*> charts = Usable<GraphChartCtrl>(frame_);
  if (charts.empty()) return ChangeWindow();
  GraphChartCtrl* chart = random_.Pick(charts);
  const QPoint at = RandomPoint(chart, random_);
  switch (random_.Below(3)) {
    case 0:
      Begin("chart right click", Describe(chart));
      QTest::mouseClick(chart, Qt::RightButton, Qt::NoModifier, at);
      break;
    case 1:
      Begin("chart click", Describe(chart));
      QTest::mouseClick(chart, Qt::LeftButton, Qt::NoModifier, at);
      break;
    default:
      Begin("chart double click", Describe(chart));
      DoubleClick(chart, Qt::LeftButton, Qt::NoModifier, at);
      break;
  }
}

void Monkey::ChangeWindow() {
  switch (random_.Weighted({50, 10, 8, 12, 5, 10, 5})) {
    case 0: {
      const QSize size(random_.Between(100, 2400), random_.Between(80, 1600));
      Begin("window size", SizeText(size));
      frame_->resize(size);
      break;
    }
    case 1:
      Begin("window maximised");
      frame_->showMaximized();
      break;
    case 2:
      Begin("window minimised");
      frame_->showMinimized();
      break;
    case 3:
      Begin("window normal");
      frame_->showNormal();
      break;
    case 4:
      Begin("window full screen");
      frame_->showFullScreen();
      break;
    case 5: {
      const QPoint to(random_.Between(-500, 3000), random_.Between(-300, 2000));
      Begin("window moved", std::to_string(to.x()) + "," + std::to_string(to.y()));
      frame_->move(to);
      break;
    }
    default: {
      // Tiny steps, as a window edge dragged slowly.
      Begin("window shrunk by a pixel");
      frame_->resize(frame_->size() - QSize(1, 1));
      break;
    }
  }
}

void Monkey::MoveToolBar() {
  QToolBar* bar = frame_->ToolBar();
  if (!bar) return ChangeWindow();
  const Qt::ToolBarArea areas[] = {Qt::TopToolBarArea, Qt::LeftToolBarArea, Qt::RightToolBarArea,
                                   Qt::BottomToolBarArea};
  const Qt::ToolBarArea area = areas[random_.Below(4)];
  Begin("tool bar moved", std::to_string(area));
  frame_->addToolBar(area, bar);
}

void Monkey::ClickAnywhere() {
  std::vector<QWidget*> widgets = Usable<QWidget>(frame_);
  if (widgets.empty()) return ChangeWindow();
  QWidget* widget = random_.Pick(widgets);
  const QPoint at = RandomPoint(widget, random_);
  const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::LeftButton, Qt::LeftButton, Qt::RightButton,
                                     Qt::MiddleButton};
  const Qt::MouseButton button = buttons[random_.Below(5)];
  Begin("click", Describe(widget) + " button " + std::to_string(button));
  if (random_.Chance(10)) {
    DoubleClick(widget, button, Qt::NoModifier, at);
  } else {
    QTest::mouseClick(widget, button, Qt::NoModifier, at);
  }
}

}  // namespace qv70::monkey
