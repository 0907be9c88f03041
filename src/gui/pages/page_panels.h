#pragma once

#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace qv70 {

class GraphChartCtrl;
class UiServices;

// The Data Select bar of the Manual Data page: the test-type filter and the
// "Step Graph" switch. The radio choice starts with no button selected.
class DataSelectBar : public QWidget {
  Q_OBJECT

 public:
  explicit DataSelectBar(QWidget* parent = nullptr);

  // -1 (none), 0 All, 1 Normal Test, 2 TC Test, 3 Step Voltage Test.
  int Choice() const;
  void SetChoice(int choice);
  QRadioButton* FilterButton(int choice) const { return filters_[choice]; }
  QCheckBox* StepGraphBox() const { return stepGraph_; }

 signals:
  void filterClicked(int choice);
  void stepGraphClicked();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QGroupBox* frame_;
  QButtonGroup* group_;
  QRadioButton* filters_[4];
  QCheckBox* stepGraph_;
};

// The header panel of the Logging Data page: the logging set's test interval,
// temperature, humidity and set voltage with their units, and the "Logging
// Graph" switch (ticked when the panel opens).
class LoggingHeaderPanel : public QWidget {
  Q_OBJECT

 public:
  explicit LoggingHeaderPanel(QWidget* parent = nullptr);

  struct Values {
    QString interval, intervalUnit, temperature, humidity, setVoltage, setVoltageUnit;
  };
  void Show(const Values& values);
  Values Shown() const;
  QCheckBox* LoggingGraphBox() const { return loggingGraph_; }

 signals:
  void loggingGraphClicked();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QGroupBox* frame_;
  QLineEdit* interval_;
  QLineEdit* intervalUnit_;
  QLineEdit* temperature_;
  QLineEdit* humidity_;
  QLineEdit* setVoltage_;
  QLineEdit* setVoltageUnit_;
  QCheckBox* loggingGraph_;
};

// A graph panel below a page's tables: a frame around the chart of the
// page's graph, which is laid out again whenever the panel changes size.
class GraphPanel : public QWidget {
  Q_OBJECT

 public:
  GraphPanel(const QString& name, UiServices& ui, QWidget* parent = nullptr);
  GraphChartCtrl* Chart() const { return chart_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QGroupBox* frame_;
  GraphChartCtrl* chart_;
};

}  // namespace qv70
