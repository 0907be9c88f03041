#pragma once

#include <QFont>
#include <QFontMetrics>

#include "core/grid/grid_text.h"

namespace qv70 {

// The desktop's message font, which every grid starts with.
QFont DefaultGridFont();

// GridTextMeasure over a Qt font and its bold variant (weight 600, as fixed
// cells are drawn). Both metrics are kept, so measuring allocates nothing.
class QtGridTextMeasure : public GridTextMeasure {
 public:
  explicit QtGridTextMeasure(const QFont& font);

  GridTextSize LineExtent(std::string_view line, bool bold) const override;
  int LineHeight() const override;
  int AverageCharWidth() const override;
  int SpaceWidth() const override;

  const QFont& Font(bool bold) const { return bold ? boldFont_ : font_; }
  const QFontMetrics& Metrics(bool bold) const { return bold ? boldMetrics_ : metrics_; }

 private:
  QFont font_;
  QFont boldFont_;
  QFontMetrics metrics_;
  QFontMetrics boldMetrics_;
};

}  // namespace qv70
