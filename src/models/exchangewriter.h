#pragma once

#include <QString>
#include <QTextStream>

class QIODevice;

// Writes the exchange file that maintainers send to the update server: one
// element per line inside <Documents>, the data language, then either the
// sermon records and their paragraphs or the Bible's books, chapters and
// verses, flat and tied together by date or by book and chapter numbers.
//
// What goes into the file is the stored text, made safe for any XML reader:
// attribute values have &, <, >, " and the white space an XML reader would
// turn into blanks written as references; texts go into CDATA sections,
// split where they hold "]]>" or a carriage return (which a reader would
// drop). Characters that XML does not allow at all (control characters
// other than tab, line feed and carriage return, unpaired surrogates,
// U+FFFE and U+FFFF) are left out and counted.
class ExchangeWriter
{
public:
    // Nothing is written until begin(); the device must be open for writing.
    explicit ExchangeWriter(QIODevice *apDevice);

    void begin(const QString &asLanguage, bool abBible);
    void quote(const QString &asDate, const QString &asName, const QString &asTranslator,
               const QString &asPdf, const QString &asMp3, const QString &asLength,
               const QString &asPlace);
    void paragraph(const QString &asDate, const QString &asId, const QString &asText);
    void book(const QString &asBook, const QString &asName);
    void chapter(const QString &asBook, const QString &asChapter, const QString &asName);
    void verse(const QString &asBook, const QString &asChapter, const QString &asVerse,
               const QString &asText);
    // Closes the group and the root; false when the device refused a write.
    bool finish();

    // How many characters XML does not allow were left out so far.
    int droppedCharacters() const { return mnDropped; }

    // The value as an attribute value between double quotes, and the text
    // as CDATA content; both count what they leave out into *apDropped.
    static QString attribute(const QString &asValue, int *apDropped);
    static QString characterData(const QString &asText, int *apDropped);

private:
    void line(const QString &asLine);
    QString attr(const QString &asValue) { return attribute(asValue, &mnDropped); }

    QTextStream mStream;
    bool mbBible = false;
    bool mbFirstLine = true;
    int mnDropped = 0;
};
