#include "cli/command.h"
#include "cli/exitstatus.h"
#include "cli/pagecollector.h"
#include "cli/session.h"
#include "models/catalogue.h"
#include "models/database.h"
#include "models/plaintext.h"

#include <QCommandLineParser>

#include <limits>

// The two document commands print a page's records as the reading view
// shows them: per record its number, caption and text, and with --parallel
// the caption and text of the paired record of the other translation.

namespace {

const QString csParallel = QStringLiteral("parallel");
const QString csTranslator = QStringLiteral("translator");

void addParallelOptions(QCommandLineParser &aParser, bool abTranslator)
{
    aParser.addOption({csParallel,
                       QStringLiteral("Add the parallel text in this data language, paired as "
                                      "the reading view pairs it."),
                       QStringLiteral("CODE")});
    if (abTranslator)
        aParser.addOption({csTranslator,
                           QStringLiteral("The translation to pair with, when the parallel "
                                          "language has several of the sermon."),
                           QStringLiteral("NAME")});
}

void writeRecords(RecordWriter &aOut, const QString &asKind, const PageRecords &aRecords,
                  bool abParallel)
{
    for (const ArticleRecord &vRecord : aRecords.records()) {
        QVector<RecordWriter::Field> vcFields{
            {QStringLiteral("number"), vRecord.msNumber},
            {QStringLiteral("title"), vRecord.msLeftTitle},
            {QStringLiteral("text"), PlainText::fromHtml(vRecord.msLeftText)}};
        if (abParallel)
            vcFields << RecordWriter::Field{QStringLiteral("parallelTitle"), vRecord.msRightTitle}
                     << RecordWriter::Field{QStringLiteral("parallelText"),
                                            PlainText::fromHtml(vRecord.msRightText)};
        aOut.write(asKind, vcFields);
    }
}

// Opens the database of the page's language and checks that the parallel
// language (of --parallel; empty when none was asked for) has one too.
int openDatabases(const QCommandLineParser &aParser, Session &aSession, bool abBible,
                  QString *apParallel)
{
    const QString vsLanguage = aSession.language();
    if (aParser.isSet(csParallel)) {
        *apParallel = aParser.value(csParallel);
        if (!Session::isLanguageCode(*apParallel))
            return aSession.fail(BadArguments,
                                 QStringLiteral("not a language code: %0").arg(*apParallel));
        // A chapter's own Bible is no parallel; a sermon's other translations
        // in its own language are.
        if (abBible && *apParallel == vsLanguage)
            return aSession.fail(BadArguments,
                                 QStringLiteral("the parallel text must be in another language"));
    } else if (!abBible && aParser.isSet(csTranslator)) {
        return aSession.fail(BadArguments, QStringLiteral("--translator goes with --parallel"));
    }
    int vnStatus = aSession.openDatabase(vsLanguage, false);
    if (vnStatus == Success && !apParallel->isEmpty())
        vnStatus = aSession.requireDatabase(*apParallel);
    return vnStatus;
}

// ---- open ------------------------------------------------------------------

void addOpenOptions(QCommandLineParser &aParser)
{
    addParallelOptions(aParser, true);
}

// The translator to pair the sermon with, as the translation menu offers
// them: none for the English originals; otherwise the one translation there
// is, or the one chosen from several. In the sermon's own language its own
// translation is not offered.
int chooseTranslator(const QCommandLineParser &aParser, Session &aSession, PageCollector &aPage,
                     const QString &asLocale, QString *apTranslator)
{
    aSession.database().setTranslatorList(asLocale, nullptr, aPage.sermon().msDate, nullptr);
    const int vnStatus = aSession.finish(Success);
    if (vnStatus != Success)
        return vnStatus;
    const QStringList vcTranslators = aPage.translators();
    QStringList vcOffered = vcTranslators;
    if (asLocale == aSession.language())
        vcOffered.removeAll(aPage.sermon().msTranslator);
    if (vcOffered.isEmpty())
        return aSession.fail(
            NothingFound,
            QStringLiteral("no other translation of this sermon in %0").arg(asLocale));
    if (asLocale == QLatin1String("en"))
        return Success;
    if (aParser.isSet(csTranslator)) {
        const QString vsChosen = aParser.value(csTranslator);
        if (!vcOffered.contains(vsChosen))
            return aSession.fail(vcTranslators.contains(vsChosen) ? BadArguments : NothingFound,
                                 vcTranslators.contains(vsChosen)
                                     ? QStringLiteral("that is the sermon's own translation")
                                     : QStringLiteral("no \"%0\" translation of this sermon in %1")
                                           .arg(vsChosen, asLocale));
        *apTranslator = vsChosen;
        return Success;
    }
    if (vcOffered.size() > 1)
        return aSession.fail(BadArguments,
                             QStringLiteral("this sermon has several translations in %0 (%1); "
                                            "choose one with --translator")
                                 .arg(asLocale, vcOffered.join(QStringLiteral(", "))));
    *apTranslator = vcOffered.first();
    return Success;
}

int runOpen(const QCommandLineParser &aParser, Session &aSession)
{
    const QStringList vcArguments = aParser.positionalArguments();
    int vnKey = 0;
    if (vcArguments.size() != 1 ||
        !Arguments::number(vcArguments.first(), 1, std::numeric_limits<int>::max(), &vnKey))
        return aSession.fail(
            BadArguments, QStringLiteral("open takes one sermon key (see the catalogue command)"));
    QString vsParallel;
    int vnStatus = openDatabases(aParser, aSession, false, &vsParallel);
    if (vnStatus != Success)
        return vnStatus;
    const QString vsLanguage = aSession.language();

    // The page title is the sermon's catalogue text, as when it is opened
    // from the tree.
    Database &vDatabase = aSession.database();
    const Catalogue vCatalogue = vDatabase.readCatalogue(CatalogueTree::ByName, true);
    const Catalogue::Entry *vpItem = vCatalogue.findItem(QString::number(vnKey));
    if ((vnStatus = aSession.finish(Success)) != Success)
        return vnStatus;
    if (!vpItem)
        return aSession.fail(
            NothingFound,
            QStringLiteral("no sermon with the key %0 in %1").arg(vnKey).arg(vsLanguage));

    PageCollector vPage(vDatabase, vpItem->msText);
    vDatabase.openQuotesParagraph(nullptr, vnKey);
    if ((vnStatus = aSession.finish(Success)) != Success)
        return vnStatus;
    if (vPage.records().records().isEmpty())
        return aSession.fail(NothingFound,
                             QStringLiteral("the sermon %0 has no paragraphs").arg(vnKey));

    if (!vsParallel.isEmpty()) {
        QString vsTranslator;
        if ((vnStatus = chooseTranslator(aParser, aSession, vPage, vsParallel, &vsTranslator)) !=
            Success)
            return vnStatus;
        vPage.expectParallel(vsLanguage, vsParallel);
        vDatabase.openQuotesParagraphAddLanguage(vsParallel, nullptr, vsTranslator,
                                                 vPage.sermon().msDate);
        if ((vnStatus = aSession.finish(Success)) != Success)
            return vnStatus;
    }

    const PageRecords::SermonDetails &vSermon = vPage.sermon();
    RecordWriter &vOut = aSession.out();
    vOut.write(QStringLiteral("sermon"), {{QStringLiteral("key"), vnKey},
                                          {QStringLiteral("title"), vpItem->msText},
                                          {QStringLiteral("date"), vSermon.msDate},
                                          {QStringLiteral("translator"), vSermon.msTranslator},
                                          {QStringLiteral("place"), vSermon.msPlace},
                                          {QStringLiteral("length"), vSermon.msLength},
                                          {QStringLiteral("pdf"), vSermon.msPdf},
                                          {QStringLiteral("mp3"), vSermon.msMp3}});
    writeRecords(vOut, QStringLiteral("paragraph"), vPage.records(), !vsParallel.isEmpty());
    return Success;
}

// ---- chapter ---------------------------------------------------------------

// The book group named by BOOK: its number, or its name as the catalogue
// spells it (case aside).
const Catalogue::Group *findBook(const Catalogue &aCatalogue, const QString &asBook)
{
    bool vbNumber = false;
    const int vnBook = asBook.toInt(&vbNumber);
    for (const Catalogue::Group &vGroup : aCatalogue.mcGroups) {
        if (vbNumber ? vGroup.mEntry.msKey.toInt() == vnBook
                     : vGroup.mEntry.msText.compare(asBook.trimmed(), Qt::CaseInsensitive) == 0)
            return &vGroup;
    }
    return nullptr;
}

int runChapter(const QCommandLineParser &aParser, Session &aSession)
{
    const QStringList vcArguments = aParser.positionalArguments();
    int vnChapter = 0;
    if (vcArguments.size() < 2 ||
        !Arguments::number(vcArguments.last(), 1, std::numeric_limits<int>::max(), &vnChapter))
        return aSession.fail(
            BadArguments,
            QStringLiteral("chapter takes a book (number or name) and a chapter number"));
    // A book name may come in several words ("1 Samuel", "Song of Solomon").
    const QString vsBook = vcArguments.mid(0, vcArguments.size() - 1).join(QLatin1Char(' '));
    QString vsParallel;
    int vnStatus = openDatabases(aParser, aSession, true, &vsParallel);
    if (vnStatus != Success)
        return vnStatus;
    const QString vsLanguage = aSession.language();

    // The chapter is found and opened as the tree opens it: the book's number
    // from its group, the chapter number from the end of the item's text.
    Database &vDatabase = aSession.database();
    const Catalogue vCatalogue = vDatabase.readCatalogue(CatalogueTree::Bible, true);
    if ((vnStatus = aSession.finish(Success)) != Success)
        return vnStatus;
    const Catalogue::Group *vpBook = findBook(vCatalogue, vsBook);
    const Catalogue::Entry *vpChapter = nullptr;
    if (vpBook)
        for (const Catalogue::Entry &vItem : vpBook->mcItems)
            if (vItem.msText.section(QLatin1Char(' '), -1).toInt() == vnChapter)
                vpChapter = &vItem;
    if (!vpChapter)
        return aSession.fail(NothingFound,
                             QStringLiteral("no chapter %0 of \"%1\" in %2")
                                 .arg(QString::number(vnChapter), vsBook, vsLanguage));

    const int vnBook = vpBook->mEntry.msKey.toInt();
    PageCollector vPage(vDatabase, vpChapter->msText);
    vDatabase.openBibleChapter(nullptr, vnBook, vnChapter);
    if ((vnStatus = aSession.finish(Success)) != Success)
        return vnStatus;
    if (vPage.records().records().isEmpty())
        return aSession.fail(NothingFound, QStringLiteral("the chapter has no verses"));
    if (!vsParallel.isEmpty()) {
        vPage.expectParallel(vsLanguage, vsParallel);
        vDatabase.openBibleAddLanguage(vsParallel, nullptr, vPage.book(), vPage.chapter());
        if ((vnStatus = aSession.finish(Success)) != Success)
            return vnStatus;
    }

    RecordWriter &vOut = aSession.out();
    vOut.write(QStringLiteral("chapter"), {{QStringLiteral("book"), vnBook},
                                           {QStringLiteral("chapter"), vnChapter},
                                           {QStringLiteral("key"), vpChapter->msKey},
                                           {QStringLiteral("title"), vpChapter->msText}});
    writeRecords(vOut, QStringLiteral("verse"), vPage.records(), !vsParallel.isEmpty());
    return Success;
}

} // namespace

Command openCommand()
{
    return {QStringLiteral("open"),
            QStringLiteral("Print a sermon, optionally with a parallel translation."),
            QStringLiteral("KEY"),
            QStringLiteral(
                "KEY is the sermon's catalogue key. Prints a line \"sermon\" (key, title, date, "
                "translator, place, length, pdf, mp3), then one line \"paragraph\" per "
                "paragraph: number, caption, text, and with --parallel the caption and text of "
                "the same paragraph in the other translation (empty where it has none).\n\n"
                "Examples:\n"
                "  quillmark-cli open --lang ru 12\n"
                "  quillmark-cli open --lang ru --parallel en 12\n"
                "  quillmark-cli open --lang ru --parallel fr --translator \"Name\" 12"),
            addOpenOptions,
            runOpen};
}

Command chapterCommand()
{
    return {QStringLiteral("chapter"),
            QStringLiteral("Print a Bible chapter, optionally with a parallel text."),
            QStringLiteral("BOOK CHAPTER"),
            QStringLiteral(
                "BOOK is the book's number in this Bible's order, or its name. Prints a line "
                "\"chapter\" (book, chapter, key, title), then one line \"verse\" per verse: "
                "number, caption, text, and with --parallel the caption and text of the paired "
                "verse of the other Bible (psalms are paired across the two numberings).\n\n"
                "Examples:\n"
                "  quillmark-cli chapter --lang en 1 1\n"
                "  quillmark-cli chapter --lang en Psalms 23\n"
                "  quillmark-cli chapter --lang ru --parallel en 19 9"),
            [](QCommandLineParser &aParser) { addParallelOptions(aParser, false); },
            runChapter};
}
