#include "report_page_line.h"

#include "core/data/record_tables.h"

namespace qv70::cli {
namespace {

const char* KindName(PageKind kind) {
  switch (kind) {
    case PageKind::Logging: return "logging";
    case PageKind::Normal: return "normal";
    case PageKind::TC: return "tc";
    case PageKind::Step: return "step";
  }
  return "";
}

std::string SourceName(const PageSource& source) {
  if (source.kind == PageKind::Logging) return SetDataName(source.set);
  return std::string{GroupLetter(source.group), static_cast<char>('0' + source.record)};
}

}  // namespace

std::string EscapedText(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\')
      out += "\\\\";
    else if (c == '\t')
      out += "\\t";
    else if (c == '\n')
      out += "\\n";
    else
      out += c;
  }
  return out;
}

std::string PageLine(int index, const std::optional<ReportPage>& page) {
  // A page the data no longer fills keeps its place with the frame only.
  if (!page) return "page\t" + std::to_string(index) + "\t-\tblank\t-\n";
  const std::string number = page->NumberPrinted() ? std::to_string(page->pageNumber) : "-";
  return "page\t" + std::to_string(index) + '\t' + number + '\t' + KindName(page->source.kind) + '\t' +
         SourceName(page->source) + '\n';
}

}  // namespace qv70::cli
