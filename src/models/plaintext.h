#pragma once

#include <QString>

// Stored paragraphs, verses and hits are shown as rich text; these give the
// text a reader sees of them on one line, for output that is not rendered.
namespace PlainText {

// Markup removed, character references decoded (named ones for the common
// characters, numeric ones in full), and every run of white space, tabs and
// line breaks included, made one blank; trimmed.
QString fromHtml(const QString &asHtml);

// The same white-space rule for a text that is shown as it is (titles,
// details): one line, no tabs, single blanks.
QString oneLine(const QString &asText);

} // namespace PlainText
