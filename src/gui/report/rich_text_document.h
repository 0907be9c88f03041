#pragma once

#include <QTextCharFormat>

#include "core/rtf/rich_text.h"

class QFont;
class QTextCursor;
class QTextDocument;

namespace qv70 {

// The comment editor's document as the core's RichText and back: the core
// reads and writes the RTF, the editor only holds the text.

// A run's format in the editor; an empty face and no colour leave the
// editor's default font and text colour.
QTextCharFormat QtCharFormat(const CharFormat& format);
// The core's view of an editor format; what the format does not set comes
// from `defaultFont` (the document's).
CharFormat CoreCharFormat(const QTextCharFormat& format, const QFont& defaultFont);

// Every block a paragraph; a document of one empty block is the empty comment.
RichText RichTextFromDocument(const QTextDocument& document);
// Replaces the document's contents with `text`.
void FillDocument(QTextDocument& document, const RichText& text);
// Inserts `text` at the cursor (replacing its selection) as one undo step.
void InsertRichText(QTextCursor& cursor, const RichText& text);

}  // namespace qv70
