// The benchmark program: times the program's own operations on a corpus
// folder (one made by generate-corpus) and prints one line per case,
//
//   <case name> <median milliseconds> ms
//
// medians over --runs runs (default 7) after one warm-up run. A header line
// naming the corpus goes to the standard error stream.
//
//   quillmark-bench <application folder> [--runs N] [--filter text] [--lang code]
//                   [--no-document-indexes] [--no-search-indexes]
//
// --no-document-indexes reads documents through the full-text tables, as
// before the program kept indexes on their content tables, so that the same
// cases give the figures with and without them. --no-search-indexes does the
// same for the search statements.

#include "benchcase.h"

#include "controllers/application.h"
#include "controllers/resources.h"
#include "models/database.h"
#include "models/documentstatements.h"
#include "models/searchstatements.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct Arguments
{
    QString msFolder;
    int mnRuns = 7;
    QString msFilter;
    QString msLanguage;
    bool mbDocumentIndexes = true;
    bool mbSearchIndexes = true;
};

[[noreturn]] void usage()
{
    std::fprintf(stderr, "usage: quillmark-bench <application folder> [--runs N] "
                         "[--filter text] [--lang code] [--no-document-indexes] "
                         "[--no-search-indexes]\n");
    std::exit(2);
}

Arguments parseArguments(int argc, char **argv)
{
    Arguments vArguments;
    for (int i = 1; i < argc; ++i) {
        const char *vpArgument = argv[i];
        const bool vbHasValue = i + 1 < argc;
        if (std::strcmp(vpArgument, "--runs") == 0 && vbHasValue)
            vArguments.mnRuns = std::atoi(argv[++i]);
        else if (std::strcmp(vpArgument, "--filter") == 0 && vbHasValue)
            vArguments.msFilter = QString::fromLocal8Bit(argv[++i]);
        else if (std::strcmp(vpArgument, "--lang") == 0 && vbHasValue)
            vArguments.msLanguage = QString::fromLocal8Bit(argv[++i]);
        else if (std::strcmp(vpArgument, "--no-document-indexes") == 0)
            vArguments.mbDocumentIndexes = false;
        else if (std::strcmp(vpArgument, "--no-search-indexes") == 0)
            vArguments.mbSearchIndexes = false;
        else if (vpArgument[0] != '-' && vArguments.msFolder.isEmpty())
            vArguments.msFolder = QFileInfo(QString::fromLocal8Bit(vpArgument)).absoluteFilePath();
        else
            usage();
    }
    if (vArguments.msFolder.isEmpty() || vArguments.mnRuns < 1)
        usage();
    return vArguments;
}

// Sizes read from the full-text tables' content tables through a connection
// of its own, so the data store's connection starts untouched.
QString corpusSummary(const QString &asFile)
{
    qint64 vnParagraphs = 0, vnVerses = 0;
    {
        QSqlDatabase vConnection =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench-summary"));
        vConnection.setDatabaseName(asFile);
        vConnection.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (vConnection.open()) {
            QSqlQuery vQuery(vConnection);
            if (vQuery.exec(QStringLiteral("SELECT count(*) FROM paragraphs_content")) &&
                vQuery.next())
                vnParagraphs = vQuery.value(0).toLongLong();
            if (vQuery.exec(QStringLiteral("SELECT count(*) FROM verses_content")) && vQuery.next())
                vnVerses = vQuery.value(0).toLongLong();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-summary"));
    return QStringLiteral("%1 paragraphs, %2 verses, file %3 MB")
        .arg(vnParagraphs)
        .arg(vnVerses)
        .arg(double(QFileInfo(asFile).size()) / 1e6, 0, 'f', 1);
}

double median(std::vector<double> acValues)
{
    std::sort(acValues.begin(), acValues.end());
    const size_t vnMiddle = acValues.size() / 2;
    return acValues.size() % 2 ? acValues[vnMiddle]
                               : (acValues[vnMiddle - 1] + acValues[vnMiddle]) / 2.0;
}

double timedRun(const BenchCase &aCase)
{
    if (aCase.mSetup)
        aCase.mSetup();
    QElapsedTimer vTimer;
    vTimer.start();
    aCase.mRun();
    const double vnMilliseconds =
        aCase.mFigure ? aCase.mFigure() : double(vTimer.nsecsElapsed()) / 1e6;
    if (aCase.mTeardown)
        aCase.mTeardown();
    return vnMilliseconds;
}

} // namespace

int main(int argc, char **argv)
{
    const Arguments vArguments = parseArguments(argc, argv);
    // Before any connection opens: every database then keeps its indexes
    // unused (and a file without them does not gain them).
    DocumentStatements::setIndexesAllowed(vArguments.mbDocumentIndexes);
    SearchStatements::setIndexesAllowed(vArguments.mbSearchIndexes);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    // The folder and its data language are settled before the application
    // object exists, because constructing it opens the database.
    Resources::registerAll();
    Application::setApplicationDirectory(vArguments.msFolder);
    QSettings *vpSettings = Application::settings();
    const QString vsLanguage =
        !vArguments.msLanguage.isEmpty()
            ? vArguments.msLanguage
            : vpSettings->value(QStringLiteral("DataLanguage"), QStringLiteral("ru")).toString();
    const QString vsFile =
        QDir(vArguments.msFolder)
            .absoluteFilePath(QStringLiteral("sql/data/kvr_main_%1.sqlite").arg(vsLanguage));
    if (QFileInfo(vsFile).size() <= 0) {
        std::fprintf(stderr, "quillmark-bench: no database at %s (make one with generate-corpus)\n",
                     qPrintable(vsFile));
        return 2;
    }
    vpSettings->setValue(QStringLiteral("DataLanguage"), vsLanguage);
    vpSettings->sync();

    Application vApplication(argc, argv);
    int vnResult = 0;
    {
        BenchContext vContext(vArguments.msFolder);
        BenchCases vcCases;
        addCatalogueCases(vContext, vcCases);
        addDocumentCases(vContext, vcCases);
        addSearchCases(vContext, vcCases);
        addImportCases(vContext, vcCases);
        addConverterCases(vContext, vcCases);
        addMaintenanceCases(vContext, vcCases);

        std::fprintf(stderr,
                     "# corpus %s: %d sermons (%d without further translations), %s; "
                     "median of %d runs after one warm-up%s%s\n",
                     qPrintable(vsFile), vContext.database()->currentLanguageSermonsCount(),
                     vContext.database()->currentLanguageSermonsCountDist(),
                     qPrintable(corpusSummary(vsFile)), vArguments.mnRuns,
                     vArguments.mbDocumentIndexes ? "" : "; document indexes off",
                     vArguments.mbSearchIndexes ? "" : "; search indexes off");

        int vnSelected = 0;
        for (const BenchCase &vCase : qAsConst(vcCases)) {
            if (!vCase.msName.contains(vArguments.msFilter))
                continue;
            ++vnSelected;
            timedRun(vCase);
            const QString vsProblem = vCase.mCheck ? vCase.mCheck() : QString();
            if (!vsProblem.isEmpty()) {
                std::fprintf(stderr, "%s: not measured: %s\n", qPrintable(vCase.msName),
                             qPrintable(vsProblem));
                vnResult = 1;
                continue;
            }
            std::vector<double> vcTimes;
            for (int i = 0; i < vArguments.mnRuns; ++i)
                vcTimes.push_back(timedRun(vCase));
            std::printf("%s %.1f ms\n", qPrintable(vCase.msName), median(vcTimes));
            std::fflush(stdout);
        }
        if (vnSelected == 0) {
            std::fprintf(stderr, "quillmark-bench: no case matches \"%s\"\n",
                         qPrintable(vArguments.msFilter));
            vnResult = 2;
        }
    }
    return vnResult;
}
