#pragma once

#include <QString>
#include <QWidget>

class QTabBar;

namespace qv70 {

// A tab control as the pages use it: a tab row at the top and a framed body
// whose children the owner places itself, so every child sits exactly where the
// page layout puts it. Each tab carries a number (the page, group or set it
// stands for), so nothing is read back from a caption. `tabChosen` reports only
// the operator's choice, never a selection made in code.
class TabFrame : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kTabRowHeight = 22;

  explicit TabFrame(QWidget* parent = nullptr);

  int AddTab(const QString& text, int value);
  void ClearTabs();
  int Count() const;
  QString TabText(int index) const;
  // The number the tab at `index` carries; -1 for no such tab.
  int TabValue(int index) const;
  // -1 when no tab is selected.
  int Current() const;
  // The number of the tab in front; -1 when no tab is selected.
  int CurrentValue() const { return TabValue(Current()); }
  // Selects a tab without reporting it as chosen.
  void SetCurrent(int index);
  QTabBar* Bar() const { return bar_; }

 signals:
  void tabChosen(int index);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QTabBar* bar_;
  bool selecting_ = false;
};

}  // namespace qv70
