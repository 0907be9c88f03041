#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/report/report_settings.h"

namespace qv70 {

class ChartCtrl;
class RecordTables;

enum class PageKind { Logging, Normal, TC, Step };

// Where a page's data lies: a logging set, or a record slot of a group.
struct PageSource {
  PageKind kind = PageKind::Logging;
  int set = -1;
  int group = -1;
  int record = -1;
  bool operator==(const PageSource& o) const {
    return kind == o.kind && set == o.set && group == o.group && record == o.record;
  }
};

// A page number at or above this is not printed.
inline constexpr int kUnprintedPageNumber = 99999;

struct PageText {
  const char* name;  // the text's field name, e.g. "leak-current"
  std::string value;
};

// One report page: the header texts, then the value texts of its kind, in the
// order the page lists them, each with the decimal symbol already applied.
struct ReportPage {
  PageSource source;
  int pageIndex = 1;
  int pageNumber = kUnprintedPageNumber;
  std::vector<PageText> texts;
  GraphKind chartKind = GraphKind::Resistance;  // logging and step pages

  bool NumberPrinted() const { return pageNumber < kUnprintedPageNumber; }
  // The text of `name`, empty when the page has none of that name.
  const std::string& Text(std::string_view name) const;
};

// Unit modes of the resistance and current texts: threshold picks the unit
// from the value; chart mode uses the unit the page's graph chose.
struct UnitMode {
  bool chart = false;
  double divisor = 1;
  static UnitMode Threshold() { return {}; }
  static UnitMode Chart(double divisor) { return {true, divisor}; }
};

// What a resistance whose converted value reads as 0 shows: "0.00 [Ohms]"
// on paper; in the RTF file the secondary resistances are computed from the
// raw value like any other (a raw 0 on a GOhms graph shows 0 in GOhms).
enum class ZeroRule { ZeroOhms, FromRaw };

// Which pages the texts are for: the printed ones, or the RTF file's, which
// differ in the secondary resistances of Normal Test pages and the step
// resistances of Step Voltage Test pages (ZeroRule::FromRaw), and number
// their pages from `startPageText`.
enum class PageTexts { Printed, Rtf };

// The value texts of the pages, before the decimal symbol.
std::string ReportVoltageText(const std::string& volts);
std::string ReportResistanceText(const std::string& converted, const std::string& raw, UnitMode mode,
                                 ZeroRule zero = ZeroRule::ZeroOhms);
std::string ReportCurrentText(const std::string& kiloVolts, const std::string& gigaOhms, UnitMode mode);
// The leak current beside a resistance: "UF" over an "OF" resistance, "OF"
// over a zero one, else ReportCurrentText.
std::string LeakCurrentText(const std::string& kiloVolts, const std::string& gigaOhms, UnitMode mode);
std::string ReportElapsedText(std::string_view elapsed);
std::string LoggingIntervalText(const std::string& seconds);

// Every page of the report in print order, with the page index its position
// from 1. A selected logging set counts whether or not it still has samples.
std::vector<PageSource> EnumeratePages(const ReportSettings& settings, const RecordTables& tables);
int PageCount(const ReportSettings& settings, const RecordTables& tables);

// The page at `pageIndex`, filling `chart` first for logging and step pages.
// Nothing (a page with its frame only, chart untouched) when no page has that
// index or when the page's logging set has no samples left.
std::optional<ReportPage> BuildPage(int pageIndex, const ReportSettings& settings, const RecordTables& tables,
                                    ChartCtrl& chart, PageTexts texts = PageTexts::Printed);

}  // namespace qv70
