#include "gui/pages/page_panels.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "core/view/page_layout.h"
#include "gui/chart/graph_chart_ctrl.h"

namespace qv70 {

namespace {

void Place(QWidget* widget, const LayoutRect& rect) {
  widget->setGeometry(rect.left, rect.top, qMax(0, rect.Width()), qMax(0, rect.Height()));
}

QLineEdit* ValueField(QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setReadOnly(true);
  field->setFocusPolicy(Qt::NoFocus);
  return field;
}

}  // namespace

DataSelectBar::DataSelectBar(QWidget* parent)
    : QWidget(parent), frame_(new QGroupBox("Data Select", this)), group_(new QButtonGroup(this)) {
  const char* captions[4] = {"All", "Normal Test", "TC Test", "Step Voltage Test"};
  for (int i = 0; i < 4; ++i) {
    filters_[i] = new QRadioButton(captions[i], this);
    group_->addButton(filters_[i], i);
  }
  stepGraph_ = new QCheckBox("Step Graph", this);
  connect(group_, &QButtonGroup::idClicked, this, &DataSelectBar::filterClicked);
  connect(stepGraph_, &QCheckBox::clicked, this, &DataSelectBar::stepGraphClicked);
}

int DataSelectBar::Choice() const { return group_->checkedId(); }

void DataSelectBar::SetChoice(int choice) {
  if (choice >= 0 && choice < 4) {
    filters_[choice]->setChecked(true);
    return;
  }
  // No button selected: an exclusive group allows that only while exclusivity is lifted.
  group_->setExclusive(false);
  for (QRadioButton* button : filters_) button->setChecked(false);
  group_->setExclusive(true);
}

void DataSelectBar::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const DataSelectLayout layout = LayoutDataSelect(width(), height());
  Place(frame_, layout.groupBox);
  Place(stepGraph_, layout.stepGraphCheck);
  const int widths[4] = {60, 110, 90, 150};
  int x = 20;
  for (int i = 0; i < 4; ++i) {
    filters_[i]->setGeometry(x, 22, widths[i], qMax(20, height() - 32));
    x += widths[i] + 16;
  }
}

LoggingHeaderPanel::LoggingHeaderPanel(QWidget* parent)
    : QWidget(parent), frame_(new QGroupBox(this)) {
  interval_ = ValueField(this);
  intervalUnit_ = ValueField(this);
  temperature_ = ValueField(this);
  humidity_ = ValueField(this);
  setVoltage_ = ValueField(this);
  setVoltageUnit_ = ValueField(this);
  setVoltageUnit_->setText("KV");
  const char* statics[4] = {"Test Interval", "Temperature", "Humidity", "Set Voltage"};
  for (int i = 0; i < 4; ++i) {
    auto* label = new QLabel(statics[i], this);
    label->setObjectName(QString("static%1").arg(i));
    label->setGeometry(12, 24 + i * 34, 84, 22);
  }
  auto* celsius = new QLabel("C", this);
  celsius->setGeometry(158, 24 + 34, 36, 22);
  auto* percent = new QLabel("%RH", this);
  percent->setGeometry(158, 24 + 68, 36, 22);
  QLineEdit* values[4] = {interval_, temperature_, humidity_, setVoltage_};
  for (int i = 0; i < 4; ++i) values[i]->setGeometry(98, 24 + i * 34, 56, 22);
  intervalUnit_->setGeometry(158, 24, 34, 22);
  setVoltageUnit_->setGeometry(158, 24 + 102, 34, 22);
  loggingGraph_ = new QCheckBox("Logging Graph", this);
  loggingGraph_->setChecked(true);
  loggingGraph_->setGeometry(12, 24 + 4 * 34 + 6, 150, 22);
  connect(loggingGraph_, &QCheckBox::clicked, this, &LoggingHeaderPanel::loggingGraphClicked);
}

void LoggingHeaderPanel::Show(const Values& values) {
  interval_->setText(values.interval);
  intervalUnit_->setText(values.intervalUnit);
  temperature_->setText(values.temperature);
  humidity_->setText(values.humidity);
  setVoltage_->setText(values.setVoltage);
  setVoltageUnit_->setText(values.setVoltageUnit);
}

LoggingHeaderPanel::Values LoggingHeaderPanel::Shown() const {
  return {interval_->text(),  intervalUnit_->text(), temperature_->text(),
          humidity_->text(),  setVoltage_->text(),   setVoltageUnit_->text()};
}

void LoggingHeaderPanel::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  frame_->setGeometry(0, 0, width(), height());
}

GraphPanel::GraphPanel(const QString& name, UiServices& ui, QWidget* parent)
    : QWidget(parent), frame_(new QGroupBox(this)), chart_(new GraphChartCtrl(ui, this)) {
  setObjectName(name);
  chart_->setObjectName(name + "Chart");
}

void GraphPanel::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const GraphPanelLayout layout = LayoutGraphPanel(width(), height());
  Place(frame_, layout.groupBox);
  Place(chart_, layout.chart);
  chart_->Refresh();
}

}  // namespace qv70
