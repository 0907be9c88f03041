#include "gui/grid/qt_grid_text_measure.h"

#include <QApplication>
#include <QString>

namespace qv70 {

namespace {

QFont Bold(QFont font) {
  font.setWeight(QFont::DemiBold);
  return font;
}

}  // namespace

QFont DefaultGridFont() { return QApplication::font("QMessageBox"); }

QtGridTextMeasure::QtGridTextMeasure(const QFont& font)
    : font_(font), boldFont_(Bold(font)), metrics_(font_), boldMetrics_(boldFont_) {}

GridTextSize QtGridTextMeasure::LineExtent(std::string_view line, bool bold) const {
  const QFontMetrics& metrics = Metrics(bold);
  const QString text = QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
  return {metrics.horizontalAdvance(text), metrics.height()};
}

int QtGridTextMeasure::LineHeight() const { return metrics_.height() + metrics_.leading(); }

int QtGridTextMeasure::AverageCharWidth() const { return metrics_.averageCharWidth(); }

int QtGridTextMeasure::SpaceWidth() const { return metrics_.horizontalAdvance(QLatin1Char(' ')); }

}  // namespace qv70
