// The comment's RTF as any bytes: the reader never fails, never reads past the
// input, gives text in normal form, and what it gives writes and reads back to
// itself.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/rtf/rich_text.h"
#include "core/rtf/rtf_reader.h"
#include "core/rtf/rtf_writer.h"
#include "core/rtf/text_codec.h"

namespace {

bool IsCleanText(const std::string& text) {
  if (text.empty() || !qv70::IsUtf8(text)) return false;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && c != '\t') || byte == 0x7F) return false;
  }
  return true;
}

bool InNormalForm(const qv70::RichText& text) {
  for (const qv70::RichParagraph& paragraph : text.paragraphs) {
    for (size_t i = 0; i < paragraph.runs.size(); ++i) {
      const qv70::TextRun& run = paragraph.runs[i];
      if (!IsCleanText(run.text)) return false;
      if (!qv70::IsUtf8(run.format.fontFace)) return false;
      if (run.format.halfPoints < 1 || run.format.halfPoints > qv70::kMaxHalfPoints) return false;
      if (i > 0 && paragraph.runs[i - 1].format == run.format) return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const qv70::RichText text = qv70::ReadRtf(bytes);
  if (!InNormalForm(text)) std::abort();
  if (!qv70::IsUtf8(qv70::PlainText(text))) std::abort();
  const std::string written = qv70::WriteRtf(text);
  if (qv70::ReadRtf(written) != text) std::abort();
  return 0;
}
