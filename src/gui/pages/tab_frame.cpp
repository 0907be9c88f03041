#include "gui/pages/tab_frame.h"

#include <QEvent>
#include <QPainter>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

namespace qv70 {

TabFrame::TabFrame(QWidget* parent) : QWidget(parent), bar_(new QTabBar(this)) {
  bar_->setDrawBase(false);
  bar_->setExpanding(false);
  bar_->setUsesScrollButtons(true);
  bar_->setElideMode(Qt::ElideNone);
  bar_->setFocusPolicy(Qt::TabFocus);
  connect(bar_, &QTabBar::currentChanged, this, [this](int index) {
    if (!selecting_) emit tabChosen(index);
  });
}

int TabFrame::AddTab(const QString& text, int value) {
  selecting_ = true;
  const int index = bar_->addTab(text);
  bar_->setTabData(index, value);
  selecting_ = false;
  return index;
}

void TabFrame::ClearTabs() {
  selecting_ = true;
  while (bar_->count() > 0) bar_->removeTab(bar_->count() - 1);
  selecting_ = false;
}

int TabFrame::Count() const { return bar_->count(); }

QString TabFrame::TabText(int index) const { return bar_->tabText(index); }

int TabFrame::TabValue(int index) const {
  if (index < 0 || index >= bar_->count()) return -1;
  bool ok = false;
  const int value = bar_->tabData(index).toInt(&ok);
  return ok ? value : -1;
}

int TabFrame::Current() const { return bar_->currentIndex(); }

void TabFrame::SetCurrent(int index) {
  selecting_ = true;
  bar_->setCurrentIndex(index);
  selecting_ = false;
}

void TabFrame::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  bar_->setGeometry(2, 0, qMax(0, width() - 4), kTabRowHeight);
}

void TabFrame::changeEvent(QEvent* event) {
  // A disabled tab control still shows its tabs, greyed like the rest.
  QWidget::changeEvent(event);
  if (event->type() == QEvent::EnabledChange) bar_->update();
}

void TabFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QStyleOptionTabWidgetFrame frame;
  frame.initFrom(this);
  frame.rect = QRect(0, kTabRowHeight - 1, width(), height() - kTabRowHeight + 1);
  frame.shape = QTabBar::RoundedNorth;
  frame.tabBarSize = bar_->sizeHint();
  frame.tabBarRect = bar_->geometry();
  style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}

}  // namespace qv70
