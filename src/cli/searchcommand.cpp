#include "cli/command.h"
#include "cli/exitstatus.h"
#include "cli/pagecollector.h"
#include "cli/session.h"
#include "models/database.h"
#include "models/plaintext.h"
#include "models/searchstatements.h"

#include <QCommandLineParser>

#include <algorithm>
#include <limits>

namespace {

struct NamedFlag
{
    const char *option;
    AdvancedSearchFlag flag;
    const char *description;
};

const NamedFlag cNamedFlags[] = {
    {"case-sensitive", CaseSensitive, "Match upper and lower case as written (flag 1)."},
    {"whole-words", WholeWords, "Match whole words only (flag 2)."},
    {"phrase", ExactPhrase, "Match the words as one phrase (flag 4)."},
    {"any-word", AnyWord, "Match any one of the words (flag 8)."},
    {"regex", RegularExpression, "Take the text as a regular expression (flag 16)."},
};

const int cnAllFlags = CaseSensitive | WholeWords | ExactPhrase | AnyWord | RegularExpression;
const int cnLargestPage = 100000;

// "12,57" or "(12, 57)" as the searches take a restriction; false when it
// is not a list of keys.
bool restriction(const QString &asText, QString *apList)
{
    QString vsList = asText.trimmed();
    if (!vsList.startsWith(QLatin1Char('(')))
        vsList = QStringLiteral("(%0)").arg(vsList);
    if (!SearchStatements::isKeyList(vsList))
        return false;
    *apList = vsList;
    return true;
}

void addOptions(QCommandLineParser &aParser)
{
    aParser.addOption(
        {QStringLiteral("bible"), QStringLiteral("Search the Bible instead of the sermons.")});
    aParser.addOption({QStringLiteral("flags"),
                       QStringLiteral("Search options as one number, the sum of the flags below "
                                      "(0 to 31; default 0)."),
                       QStringLiteral("N")});
    for (const NamedFlag &vFlag : cNamedFlags)
        aParser.addOption({QLatin1String(vFlag.option), QLatin1String(vFlag.description)});
    aParser.addOption({QStringLiteral("word-forms"),
                       QStringLiteral("Also find the other forms of each word (its stem as a "
                                      "prefix), as the program's \"find word forms\"; not with "
                                      "--case-sensitive, --whole-words or --phrase.")});
    aParser.addOption({QStringLiteral("strict-yo"),
                       QStringLiteral("Take е and ё as different letters (by default they are "
                                      "one, unless the settings' SearchYoAlike is false).")});
    aParser.addOption({QStringLiteral("restrict"),
                       QStringLiteral("Search only these catalogue keys: sermon keys, or chapter "
                                      "keys with --bible (see the catalogue command), e.g. 12,57."),
                       QStringLiteral("LIST")});
    aParser.addOption({QStringLiteral("page"),
                       QStringLiteral("The page of hits to print (default 1)."),
                       QStringLiteral("N")});
    aParser.addOption({QStringLiteral("page-size"),
                       QStringLiteral("Hits per page (default: the program's ParagraphCount, or "
                                      "VersesCount with --bible)."),
                       QStringLiteral("N")});
}

int run(const QCommandLineParser &aParser, Session &aSession)
{
    const QString vsText = aParser.positionalArguments().join(QLatin1Char(' '));
    const QString vsSql = SearchStatements::fromUserText(vsText);
    if (vsSql.trimmed().isEmpty())
        return aSession.fail(BadArguments, QStringLiteral("Search text is too short"));

    int vnFlags = 0;
    if (aParser.isSet(QStringLiteral("flags")) &&
        !Arguments::number(aParser.value(QStringLiteral("flags")), 0, cnAllFlags, &vnFlags))
        return aSession.fail(BadArguments, QStringLiteral("--flags takes a number from 0 to 31"));
    for (const NamedFlag &vFlag : cNamedFlags)
        if (aParser.isSet(QLatin1String(vFlag.option)))
            vnFlags |= vFlag.flag;

    // The same modifiers as the window's searches.
    AdvancedSearchFlags vFlags(vnFlags);
    if (!aParser.isSet(QStringLiteral("strict-yo")))
        vFlags |= aSession.environment().searchModifiers();
    if (aParser.isSet(QStringLiteral("word-forms")))
        vFlags |= WordForms;

    QString vsList;
    if (aParser.isSet(QStringLiteral("restrict")) &&
        !restriction(aParser.value(QStringLiteral("restrict")), &vsList))
        return aSession.fail(BadArguments,
                             QStringLiteral("--restrict takes catalogue keys separated by commas"));

    int vnPage = 1;
    if (aParser.isSet(QStringLiteral("page")) &&
        !Arguments::number(aParser.value(QStringLiteral("page")), 1,
                           std::numeric_limits<int>::max() / cnLargestPage, &vnPage))
        return aSession.fail(BadArguments, QStringLiteral("--page takes a page number from 1"));
    int vnPageSize = -1;
    if (aParser.isSet(QStringLiteral("page-size")) &&
        !Arguments::number(aParser.value(QStringLiteral("page-size")), 1, cnLargestPage,
                           &vnPageSize))
        return aSession.fail(
            BadArguments,
            QStringLiteral("--page-size takes a number from 1 to %0").arg(cnLargestPage));

    const QString vsLanguage = aSession.language();
    int vnStatus = aSession.openDatabase(vsLanguage, false);
    if (vnStatus != Success)
        return vnStatus;

    const bool vbBible = aParser.isSet(QStringLiteral("bible"));
    const StoreEnvironment &vOptions = aSession.environment();
    const int vnSize = vnPageSize > 0 ? vnPageSize
                                      : std::max(1, vbBible ? vOptions.versesPerPage()
                                                            : vOptions.paragraphsPerPage());
    const int vnOffset = (vnPage - 1) * vnSize;

    // As the search line asks for a first page: the hit count is unknown,
    // so the data store counts it, here in the same pass as the page.
    Database &vDatabase = aSession.database();
    PageCollector vPage(vDatabase, QString());
    if (vbBible)
        vDatabase.searchBible(nullptr, vsSql, vsList, vFlags, vnOffset, vnPageSize);
    else
        vDatabase.searchMessagesCounted(nullptr, vsSql, vsList, vFlags, vnOffset, vnPageSize);
    vnStatus = aSession.finish(Success);
    if (vnStatus != Success)
        return vnStatus;

    const int vnHits = std::max(0, vPage.hitCount());
    const int vnPages = std::max(0, vPage.pageCount());
    RecordWriter &vOut = aSession.out();
    vOut.write(QStringLiteral("found"), {{QStringLiteral("hits"), vnHits},
                                         {QStringLiteral("pages"), vnPages},
                                         {QStringLiteral("page"), vnPage}});
    for (const ArticleRecord &vHit : vPage.records().records()) {
        if (vbBible)
            vOut.write(QStringLiteral("hit"),
                       {{QStringLiteral("book"), vHit.msExtra1.toInt()},
                        {QStringLiteral("chapter"), vHit.msExtra2.toInt()},
                        {QStringLiteral("verse"), vHit.msNumber},
                        {QStringLiteral("title"), vHit.msLeftTitle},
                        {QStringLiteral("text"), PlainText::fromHtml(vHit.msLeftText)}});
        else
            vOut.write(QStringLiteral("hit"),
                       {{QStringLiteral("date"), vHit.msExtra1},
                        {QStringLiteral("paragraph"), vHit.msNumber},
                        {QStringLiteral("title"), vHit.msLeftTitle},
                        {QStringLiteral("text"), PlainText::fromHtml(vHit.msLeftText)}});
    }
    if (vnHits == 0)
        return NothingFound;
    if (vPage.records().records().isEmpty())
        return aSession.fail(
            NothingFound,
            QStringLiteral("page %0 is past the last page (%1)").arg(vnPage).arg(vnPages));
    return Success;
}

} // namespace

Command searchCommand()
{
    return {QStringLiteral("search"),
            QStringLiteral("Search the sermons or the Bible."),
            QStringLiteral("TEXT..."),
            QStringLiteral(
                "Prints a line \"found\" with the hit count, the page count and the page, then "
                "one line \"hit\" per hit of the page: for sermons the sermon's date, the "
                "paragraph number, the caption and the text; for the Bible the book and chapter "
                "numbers, the verse, the caption and the text. The words of TEXT may be given "
                "as separate arguments.\n\nExamples:\n"
                "  quillmark-cli search --lang en grace\n"
                "  quillmark-cli search --bible --whole-words --page 2 --page-size 10 light\n"
                "  quillmark-cli search --lang ru --word-forms говорить\n"
                "  quillmark-cli search --restrict 12,57 --json \"living word\""),
            addOptions,
            run};
}
