#include "gui/report/rich_text_document.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <cmath>

namespace qv70 {

namespace {

// Only text goes into the comment: embedded objects and control characters
// other than tab and the line separator are left out.
QString CommentCharacters(const QString& text) {
  QString kept;
  kept.reserve(text.size());
  for (const QChar c : text) {
    if (c == QChar::ObjectReplacementCharacter) continue;
    if (c.category() == QChar::Other_Control && c != QLatin1Char('\t')) continue;
    kept.append(c);
  }
  return kept;
}

int HalfPoints(double points) {
  const int halfPoints = static_cast<int>(std::lround(points * 2));
  if (halfPoints < 1) return kDefaultHalfPoints;
  return std::min(halfPoints, kMaxHalfPoints);
}

}  // namespace

QTextCharFormat QtCharFormat(const CharFormat& format) {
  QTextCharFormat qt;
  if (!format.fontFace.empty()) qt.setFontFamilies({QString::fromStdString(format.fontFace)});
  qt.setFontPointSize(format.halfPoints / 2.0);
  qt.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
  qt.setFontItalic(format.italic);
  qt.setFontUnderline(format.underline);
  qt.setFontStrikeOut(format.strikeOut);
  if (format.color) qt.setForeground(QColor(format.color->red, format.color->green, format.color->blue));
  return qt;
}

CharFormat CoreCharFormat(const QTextCharFormat& qt, const QFont& defaultFont) {
  CharFormat format;
  const QStringList families = qt.fontFamilies().toStringList();
  if (!families.isEmpty()) format.fontFace = families.front().toStdString();
  const double points = qt.fontPointSize() > 0 ? qt.fontPointSize() : defaultFont.pointSizeF();
  format.halfPoints = HalfPoints(points);
  format.bold = qt.hasProperty(QTextFormat::FontWeight) ? qt.fontWeight() >= QFont::DemiBold
                                                        : defaultFont.bold();
  format.italic = qt.fontItalic();
  format.underline = qt.fontUnderline();
  format.strikeOut = qt.fontStrikeOut();
  if (qt.hasProperty(QTextFormat::ForegroundBrush) && qt.foreground().style() != Qt::NoBrush) {
    const QColor color = qt.foreground().color();
    format.color = RgbColor{static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
                            static_cast<std::uint8_t>(color.blue())};
  }
  return format;
}

RichText RichTextFromDocument(const QTextDocument& document) {
  RichText text;
  const QFont defaultFont = document.defaultFont();
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    RichParagraph paragraph;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!fragment.isValid()) continue;
      AppendRun(paragraph, CommentCharacters(fragment.text()).toStdString(),
                CoreCharFormat(fragment.charFormat(), defaultFont));
    }
    text.paragraphs.push_back(std::move(paragraph));
  }
  if (text.paragraphs.size() == 1 && text.paragraphs.front().runs.empty()) text.paragraphs.clear();
  return text;
}

void FillDocument(QTextDocument& document, const RichText& text) {
  document.clear();
  QTextCursor cursor(&document);
  InsertRichText(cursor, text);
}

void InsertRichText(QTextCursor& cursor, const RichText& text) {
  cursor.beginEditBlock();
  cursor.removeSelectedText();
  bool first = true;
  for (const RichParagraph& paragraph : text.paragraphs) {
    if (!first) cursor.insertBlock();
    first = false;
    for (const TextRun& run : paragraph.runs) {
      cursor.insertText(QString::fromStdString(run.text), QtCharFormat(run.format));
    }
  }
  cursor.endEditBlock();
}

}  // namespace qv70
