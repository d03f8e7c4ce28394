#include "cli/command.h"
#include "cli/exitstatus.h"
#include "cli/session.h"
#include "models/catalogue.h"
#include "models/database.h"

#include <QCommandLineParser>

namespace {

void addOptions(QCommandLineParser &aParser)
{
    aParser.addOption(
        {QStringLiteral("by"),
         QStringLiteral("How the tree groups it: year, name or bible (default year)."),
         QStringLiteral("KIND"), QStringLiteral("year")});
    aParser.addOption(
        {QStringLiteral("no-duplicates"),
         QStringLiteral("Leave out further translations of a sermon (sermons only).")});
}

RecordWriter::Field textField(const QString &asName, const QString &asValue)
{
    return {asName, asValue};
}

int run(const QCommandLineParser &aParser, Session &aSession)
{
    if (!aParser.positionalArguments().isEmpty())
        return aSession.fail(BadArguments,
                             QStringLiteral("catalogue takes no arguments, only options"));
    const QString vsBy = aParser.value(QStringLiteral("by"));
    int vnKind = CatalogueTree::ByYear;
    if (vsBy == QLatin1String("name"))
        vnKind = CatalogueTree::ByName;
    else if (vsBy == QLatin1String("bible"))
        vnKind = CatalogueTree::Bible;
    else if (vsBy != QLatin1String("year"))
        return aSession.fail(BadArguments, QStringLiteral("--by takes year, name or bible"));

    int vnStatus = aSession.openDatabase(aSession.language(), false);
    if (vnStatus != Success)
        return vnStatus;
    const Catalogue vCatalogue =
        aSession.database().readCatalogue(vnKind, !aParser.isSet(QStringLiteral("no-duplicates")));
    if ((vnStatus = aSession.finish(Success)) != Success)
        return vnStatus;

    RecordWriter &vOut = aSession.out();
    for (const Catalogue::Group &vGroup : vCatalogue.mcGroups) {
        vOut.write(QStringLiteral("group"),
                   {textField(QStringLiteral("key"), vGroup.mEntry.msKey),
                    textField(QStringLiteral("text"), vGroup.mEntry.msText)});
        for (const Catalogue::Entry &vItem : vGroup.mcItems)
            vOut.write(QStringLiteral("item"),
                       {textField(QStringLiteral("key"), vItem.msKey),
                        textField(QStringLiteral("text"), vItem.msText),
                        textField(QStringLiteral("details"), vItem.msDetails),
                        {QStringLiteral("mp3"), vItem.mbHasMp3},
                        {QStringLiteral("further"), vItem.mbFurtherTranslation}});
    }
    return vCatalogue.mcGroups.isEmpty() ? NothingFound : Success;
}

} // namespace

Command catalogueCommand()
{
    return {QStringLiteral("catalogue"),
            QStringLiteral("Print the catalogue as the tree shows it."),
            QString(),
            QStringLiteral(
                "Prints one line \"group\" per group (key, text) followed by one line \"item\" "
                "per item in it (key, text, details, then \"mp3\" when the sermon has a "
                "recording and \"further\" for a further translation; \"-\" otherwise). Item "
                "keys are what open, chapter and search --restrict take.\n\n"
                "Examples:\n"
                "  quillmark-cli catalogue --lang en --by name\n"
                "  quillmark-cli catalogue --lang ru --by year --no-duplicates\n"
                "  quillmark-cli catalogue --lang en --by bible --json"),
            addOptions,
            run};
}
