// Sermon source and update files: any bytes, read as UTF-8 or windows-1251,
// parse without harm, and a parsed sermon written out by text() reads back
// the same wherever the line format can hold it.
#include "fuzzsupport.h"

#include "models/sermonfile.h"

namespace {

bool sameSermon(const SermonFile &aOne, const SermonFile &aOther)
{
    if (aOne.mcParagraphs.size() != aOther.mcParagraphs.size())
        return false;
    for (int i = 0; i < aOne.mcParagraphs.size(); ++i) {
        if (aOne.mcParagraphs.at(i).msId != aOther.mcParagraphs.at(i).msId ||
            aOne.mcParagraphs.at(i).msText != aOther.mcParagraphs.at(i).msText)
            return false;
    }
    return aOne.msDate == aOther.msDate && aOne.msName == aOther.msName &&
           aOne.msTranslator == aOther.msTranslator && aOne.msPdf == aOther.msPdf &&
           aOne.msMp3 == aOther.msMp3 && aOne.msLength == aOther.msLength &&
           aOne.msPlace == aOther.msPlace && aOne.mbReplace == aOther.mbReplace;
}

// text() joins a paragraph's id and text on one line, so the id ends where
// the text's leading blank begins: a text that does not start with a blank
// (continuation lines after an "E-" line without one) moves into the id.
bool expressible(const SermonFile &aSermon)
{
    for (const SermonFile::Paragraph &vParagraph : aSermon.mcParagraphs) {
        if (!vParagraph.msText.isEmpty() && !vParagraph.msText.startsWith(QLatin1Char(' ')))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *apData, size_t anSize)
{
    FuzzSupport::init();
    for (const bool vbWindows1251 : {false, true}) {
        const QString vsText = FuzzSupport::decode(apData, anSize, vbWindows1251);
        for (const bool vbMarker : {false, true}) {
            const SermonFile vSermon = SermonFile::parse(vsText, vbMarker);
            FUZZ_CHECK(!vSermon.mcParagraphs.isEmpty(), vsText);
            if (!expressible(vSermon))
                continue;
            const QString vsWritten = vSermon.text();
            FUZZ_CHECK(sameSermon(SermonFile::parse(vsWritten, vbMarker), vSermon),
                       QStringLiteral("read:\n%1\nwritten:\n%2").arg(vsText, vsWritten));
        }
    }
    return 0;
}
