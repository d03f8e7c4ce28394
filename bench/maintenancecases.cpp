// Maintenance: exporting checked documents into the exchange archive and
// deleting checked sermons, on the full corpus.
//
//   "export 10 sermons", "export 100 sermons", "export 10 chapters"
//                                   the archive written, from the data store
//   "export 100 sermons gui gap"    the window's longest pause while the tree's
//                                   Export runs on the data store's thread
//   "delete 10 sermons"             ten sermons deleted with their paragraphs
//
// The sermons are taken across the whole catalogue. The archives are removed
// and the export counter reset after every run; the deleted sermons are
// copies made before each run (untimed), so the corpus stays as it was.

#include "benchcase.h"
#include "guigap.h"

#include "controllers/application.h"
#include "controllers/storerequests.h"
#include "models/database.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <cstdio>
#include <memory>

namespace {

// The copies' dates run from "98-0" up to (not including) csCopyEnd.
const QString csCopyDate = QStringLiteral("98-");
const QString csCopyEnd = QStringLiteral("98.");

// The copies' rows by a date column of a content table (through its index).
QString copyRange(const char *asColumn)
{
    return QStringLiteral("%0 >= '%1' AND %0 < '%2'")
        .arg(QLatin1String(asColumn), csCopyDate, csCopyEnd);
}

// anCount keys spread evenly over the catalogue of a kind, as a list.
QString spreadKeys(Database *apDatabase, int anKind, int anCount)
{
    QStringList vcAll;
    const Catalogue vCatalogue = apDatabase->readCatalogue(anKind, false);
    for (const Catalogue::Group &vGroup : vCatalogue.mcGroups)
        for (const Catalogue::Entry &vItem : vGroup.mcItems)
            vcAll.append(vItem.msKey);
    QStringList vcKeys;
    for (int i = 0; i < anCount && !vcAll.isEmpty(); ++i)
        vcKeys.append(vcAll.at(int(qint64(i) * vcAll.size() / anCount)));
    return QStringLiteral("(%0)").arg(vcKeys.join(QLatin1Char(',')));
}

// Removes what an export left in the corpus folder, and its count.
void removeArchives(Database *apDatabase)
{
    const QString vsLanguage = apDatabase->currentLanguage();
    QDir vFolder(Application::applicationDirectory());
    for (const QString &vsName :
         vFolder.entryList({QStringLiteral("%0_*.zip").arg(vsLanguage)}, QDir::Files))
        vFolder.remove(vsName);
    Application::settings()->remove(QStringLiteral("expVer%0").arg(vsLanguage));
    Application::settings()->sync();
}

// Copies of ten sermons, under dates of their own; the copies' keys.
QString copySermons(Database *apDatabase, const QString &asKeys)
{
    QStringList vcStatements;
    const QStringList vcKeys = asKeys.mid(1, asKeys.size() - 2).split(QLatin1Char(','));
    for (int i = 0; i < vcKeys.size(); ++i) {
        const QString vsDate = csCopyDate + QString::number(i);
        vcStatements << QStringLiteral(
                            "INSERT INTO quotes (date, name, translator, pdf, mp3, length, "
                            "place) SELECT '%0', c2name, c3translator, c4pdf, c5mp3, "
                            "c6length, c7place FROM quotes_content WHERE docid = %1;")
                            .arg(vsDate, vcKeys.at(i))
                     << QStringLiteral(
                            "INSERT INTO paragraphs (id, date, text) SELECT c1id, '%0', c3text "
                            "FROM paragraphs_content WHERE c2date = (SELECT c1date FROM "
                            "quotes_content WHERE docid = %1) ORDER BY docid;")
                            .arg(vsDate, vcKeys.at(i));
    }
    apDatabase->execQuery(vcStatements);
    QStringList vcCopies;
    {
        QSqlDatabase vConnection =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITEICU"), QStringLiteral("bench-keys"));
        vConnection.setDatabaseName(Application::databaseFilePath(apDatabase->currentLanguage()));
        QSqlQuery vQuery(vConnection);
        if (vConnection.open() &&
            vQuery.exec(QStringLiteral("SELECT docid FROM quotes_content WHERE %0;")
                            .arg(copyRange("c1date"))))
            while (vQuery.next())
                vcCopies.append(vQuery.value(0).toString());
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-keys"));
    return QStringLiteral("(%0)").arg(vcCopies.join(QLatin1Char(',')));
}

struct Outcome
{
    QString msProblem;
    qint64 mnArchiveBytes = 0;
    double mnGuiGap = 0;
};

void noteExport(Outcome *apOutcome, const DocumentExport::Report &aReport)
{
    const bool vbWritten = aReport.mStatus == DocumentExport::Report::Written;
    apOutcome->msProblem =
        vbWritten ? QString()
                  : QStringLiteral("no archive: %0 %1").arg(aReport.msPath, aReport.msProblem);
    apOutcome->mnArchiveBytes = vbWritten ? QFileInfo(aReport.msPath).size() : 0;
}

} // namespace

void addMaintenanceCases(BenchContext &aContext, BenchCases &acCases)
{
    BenchContext *vpContext = &aContext;
    auto vpOutcome = std::make_shared<Outcome>();
    auto vCheck = [vpOutcome] {
        if (vpOutcome->mnArchiveBytes > 0)
            std::fprintf(stderr, "#   an archive of %lld KiB\n", vpOutcome->mnArchiveBytes / 1024);
        return vpOutcome->msProblem;
    };
    auto vTeardown = [vpContext] { removeArchives(vpContext->database()); };

    struct Export
    {
        const char *name;
        int kind;
        int count;
    };
    for (const Export &vExport : {Export{"export 10 sermons", CatalogueTree::ByYear, 10},
                                  Export{"export 100 sermons", CatalogueTree::ByYear, 100},
                                  Export{"export 10 chapters", CatalogueTree::Bible, 10}}) {
        const bool vbBible = vExport.kind == CatalogueTree::Bible;
        const QString vsKeys = spreadKeys(aContext.database(), vExport.kind, vExport.count);
        acCases.append({QString::fromLatin1(vExport.name),
                        [vpContext, vpOutcome, vbBible, vsKeys] {
                            noteExport(vpOutcome.get(), vpContext->database()->exportSql(
                                                            QString(), vbBible, vsKeys));
                        },
                        {},
                        vCheck,
                        vTeardown});
    }

    // The tree's Export as the window runs it: asked on the data store's
    // thread, answered on the GUI thread, which keeps painting meanwhile.
    const QString vsHundred = spreadKeys(aContext.database(), CatalogueTree::ByYear, 100);
    BenchCase vGap{QStringLiteral("export 100 sermons gui gap"),
                   [vpContext, vpOutcome, vsHundred] {
                       StoreRequests vRequests(vpContext->database());
                       QEventLoop vLoop;
                       QObject::connect(&vRequests, &StoreRequests::documentsExported, &vLoop,
                                        [&](const DocumentExport::Report &aReport) {
                                            noteExport(vpOutcome.get(), aReport);
                                            vLoop.quit();
                                        });
                       GuiGap vMeter;
                       vMeter.start();
                       vRequests.exportDocuments(QString(), false, vsHundred);
                       vLoop.exec();
                       vpOutcome->mnGuiGap = vMeter.stop();
                   },
                   {},
                   vCheck,
                   vTeardown};
    vGap.mFigure = [vpOutcome] { return vpOutcome->mnGuiGap; };
    acCases.append(vGap);

    const QString vsTen = spreadKeys(aContext.database(), CatalogueTree::ByYear, 10);
    auto vpCopies = std::make_shared<QString>();
    acCases.append(
        {QStringLiteral("delete 10 sermons"),
         [vpContext, vpOutcome, vpCopies] {
             const DocumentRemoval::Report vReport =
                 vpContext->database()->deleteSql(QString(), false, *vpCopies);
             vpOutcome->msProblem =
                 vReport.mStatus == DocumentRemoval::Report::Deleted && vReport.mnDeleted == 10
                     ? QString()
                     : QStringLiteral("%0 of 10 deleted %1")
                           .arg(vReport.mnDeleted)
                           .arg(vReport.msProblem);
         },
         [vpContext, vpCopies, vsTen] { *vpCopies = copySermons(vpContext->database(), vsTen); },
         vCheck,
         [vpContext] {
             // Whatever a failed run left.
             vpContext->database()->execQuery(QStringList{
                 QStringLiteral("DELETE FROM paragraphs WHERE rowid IN (SELECT docid FROM "
                                "paragraphs_content WHERE %0);")
                     .arg(copyRange("c2date")),
                 QStringLiteral("DELETE FROM quotes WHERE rowid IN (SELECT docid FROM "
                                "quotes_content WHERE %0);")
                     .arg(copyRange("c1date"))});
         }});
}
