#pragma once

#include <QString>
#include <QVector>

// One sermon in the plain-text line format shared by the maintainers' source
// files and the update files from the update server: seven header lines
// (date, name, translator, pdf, mp3, length, place), then paragraphs. A line
// starting with "E-" opens a paragraph: its id is the text before the first
// blank, its text the rest from that blank on; any other line continues the
// paragraph without a separator; the first empty line (or the end) ends the
// sermon (carriage returns at a line's end count as part of its end).
// Lines before the first "E-" line contribute nothing. As the
// statements made from it always did, the last paragraph is written even
// when no "E-" line came: one paragraph with an empty id and text.
struct SermonFile
{
    struct Paragraph
    {
        QString msId;
        QString msText;
    };

    QString msDate;
    QString msName;
    QString msTranslator;
    QString msPdf;
    QString msMp3;
    QString msLength;
    QString msPlace;
    // An update file whose first line starts with "R": its date's sermon is
    // replaced (the marker is not part of the date).
    bool mbReplace = false;
    QVector<Paragraph> mcParagraphs;

    // Reads the sermon from a file's text; abReplaceMarker reads an "R" at
    // the start of the first line as the replace marker (update files).
    static SermonFile parse(const QString &asText, bool abReplaceMarker);

    // The file's text that parse() reads back: header lines, then one line
    // per paragraph (its id and its text, which starts with the blank after
    // the id), the replace marker first when set.
    QString text() const;

    // The text of a source or update file: UTF-8 when its bytes are valid
    // UTF-8, windows-1251 otherwise. False when the file cannot be read.
    static bool readText(const QString &asPath, QString *apText);
};
