#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/draw/draw_types.h"
#include "core/files/atomic_file.h"
#include "core/platform/result.h"
#include "core/report/report_page.h"

namespace qv70 {

class UiServices;

class ChartCtrl;
class FontMetrics;
class PictureImage;
class RecordTables;
class Surface;

// Save as RTF: every page of the report as one metafile picture of an RTF
// document, on a page of its own fixed layout whatever the paper chosen.

// The RTF page in its units (pixels of the 96 per inch reference surface).
inline constexpr Size kRtfPageSize{680, 880};

// The document around the pictures, byte for byte.
namespace rtf_text {
inline constexpr const char* kPrologue =
    "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052 "
    "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}}"
    "{\\*\\generator Msftedit 5.41.15.1507;}\\viewkind4\\uc1\\pard\\nowidctlpar\\f0";
inline constexpr const char* kPictureStart = "\\fs20{\\pict\\wmetafile8\\picwgoal10300\\pichgoal13500 \n";
inline constexpr const char* kPictureEnd = "}\\fs24\\par \n";
inline constexpr const char* kEpilogue = "}";
}  // namespace rtf_text

// Two lower-case hexadecimal digits per byte, the high four bits first,
// nothing between: exactly 2 x count characters.
std::string HexDigits(const std::uint8_t* bytes, std::size_t count);

// Where a logo of width x height pixels goes in the 165 x 140 box at (28, 28):
// a side within the box is kept and centred, a longer one scaled by the
// larger of the two ratios to the box (so a picture too long one way only is
// scaled that way only).
Rect RtfLogoDestination(int width, int height);

// The logo as the pages draw it: its place by RtfLogoDestination of the
// picture's own size, and 24-bit pixels, top row first. A picture more than
// twice its drawn size in a direction is averaged down to twice that size
// there, so a photograph costs each page about 2 x 2 pixels per unit drawn
// rather than megabytes.
struct RtfLogo {
  Rect dest;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;

  bool IsEmpty() const { return pixels.empty(); }
  BitmapView View() const { return {width, height, pixels.data(), static_cast<std::ptrdiff_t>(width) * 3}; }
};
// Empty for an empty picture: the logo place stays empty.
RtfLogo MakeRtfLogo(const PictureImage& picture);

// One RTF page: white ground, frame, logo or company text, the graph of
// logging and step pages (the chart as BuildPage filled it), the header, the
// kind's labels and values, page number and foot. Without a page (its data
// gone since the settings were made) the frame, logo, labels and foot only,
// as the printed report does. The surface's pen and font are restored.
void DrawRtfPage(Surface& surface, const std::optional<ReportPage>& page, const ReportSettings& settings,
                 const RtfLogo& logo, ChartCtrl& chart);

// Writes an RTF report page by page: BeginRtf, WriteRtfPage for each page,
// EndRtf. The document goes into a new file beside the path, which replaces
// the file at the path only when EndRtf has written it whole; a writer
// destroyed before that leaves the old file as it was. Failures give the
// operator's message with the path.
class RtfPageWriter {
 public:
  explicit RtfPageWriter(const FontMetrics& metrics) : metrics_(metrics) {}

  // Opens the new file and writes the prologue.
  Result BeginRtf(const std::string& path);
  // Records the page as a metafile and appends its picture group; the
  // metafile and its hexadecimal text exist only while this runs.
  Result WriteRtfPage(const std::optional<ReportPage>& page, const ReportSettings& settings,
                      const RtfLogo& logo, ChartCtrl& chart);
  // Writes the epilogue and puts the file in place.
  Result EndRtf();

 private:
  Result Append(std::string_view text);

  const FontMetrics& metrics_;
  AtomicFileWriter file_;
  std::string path_;
};

// Whether the file at `path` can be opened for writing, tried without
// truncating it (nor creating it: a new file is made only by a complete
// export). A file without any write permission bit counts as read-only even
// for a process that could write it anyway.
bool CanOpenForWriting(const std::string& path);

// The whole command after the file dialog: the open test, then every page of
// the report in print order with the texts of the RTF file (PageTexts::Rtf),
// the logo when the settings show a picture. On failure the message is the
// operator's (caption report_message::kSaveRtfCaption) and the file at the
// path is left as it was. The report chart keeps the last graph drawn.
Result SaveReportRtf(const std::string& path, const ReportSettings& settings, const RecordTables& tables,
                     ChartCtrl& chart, const PictureImage& logo, const FontMetrics& metrics);

// Save as RTF from its command: the save dialog ("QV70 File (*.rtf)", ".rtf"
// added to a name without an extension, a question before an existing file
// is replaced), then SaveReportRtf; its failure told under "Save as RTF".
// False when cancelled or not saved.
bool SaveReportAsRtf(UiServices& ui, const ReportSettings& settings, const RecordTables& tables, ChartCtrl& chart,
                     const PictureImage& logo, const FontMetrics& metrics);

}  // namespace qv70
