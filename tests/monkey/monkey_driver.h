#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <map>
#include <string>

#include "gui/app/main_frame.h"

namespace qv70::monkey {

class MonkeyRandom;
class MonkeyUiServices;
class MonkeyWorld;

// The monkey: a chain of single-shot timers, one step each, that keeps going
// inside every modal dialog's and menu's own event loop. A step acts on what
// the operator would face: an open menu, else the modal window in front, else
// the print preview, else the main window. While an instrument job holds the
// wait cursor no step is taken, as the operator could not act either.
//
// The program may end (Exit); each run of the program finds its window anew.
// When the steps or the time are used up, the monkey closes the program
// without saving.
class Monkey : public QObject {
  Q_OBJECT

 public:
  struct Limits {
    long steps = 5000;
    double minutes = 0;  // 0: no limit
  };

  Monkey(MonkeyRandom& random, MonkeyWorld& world, MonkeyUiServices& ui, Limits limits);

  // The first step; later ones follow each other, across program runs.
  void Start();
  // A program run has ended (its window is gone).
  void RunEnded();
  bool Finished() const { return finishing_ && frame_ == nullptr; }
  bool SawWindowThisRun() const { return sawWindow_; }

  long StepsTaken() const { return taken_; }
  int Runs() const { return runs_; }
  const std::map<std::string, long>& ActionCounts() const { return counts_; }

 private:
  void Step();
  void Schedule(int delayMs);
  bool JobBusy() const;
  CMainFrame* FindFrame() const;
  void MeetFrame(CMainFrame* frame);
  void ActivateFrontWindow();
  bool UsedUp() const;
  void Close();

  // `name` counts the kind of action; `detail` goes to the step log.
  void Begin(const std::string& name, const std::string& detail = "");

  void ActOnPopup(QWidget* popup);
  void ActOnModal(QWidget* modal);
  void ActOnFileDialog(QWidget* dialog);
  void ActOnPreview();
  void ActOnMainWindow();
  void AfterNestedLoop();

  void ClickButton(QWidget* window);
  void PressForward(QWidget* window);
  void EditText(QWidget* window);
  void PressKey(QWidget* target, bool dialog);
  void MenuCommand();
  void RunAnyCommand();
  void OpenMenu();
  void ClickToolButton();
  void DirectKey();
  void ChooseTab(bool mainTabs);
  void ClickFilter();
  void ClickGraphBox();
  void UseGrid();
  void GridKeys();
  void DropOntoGrid();
  void FillClipboard();
  void UseChart();
  void ChangeWindow();
  void MoveToolBar();
  void ClickAnywhere();

  MonkeyRandom& random_;
  MonkeyWorld& world_;
  MonkeyUiServices& ui_;
  Limits limits_;
  QElapsedTimer clock_;
  QPointer<CMainFrame> frame_;
  long taken_ = 0;
  int runs_ = 0;
  int depth_ = 0;  // steps under way: more than one means a nested event loop
  bool finishing_ = false;
  bool sawWindow_ = false;
  int closeAttempts_ = 0;
  std::map<std::string, long> counts_;
};

}  // namespace qv70::monkey
