// Writes a full-size generated corpus into an application folder, through the
// program's own data store:
//
//   generate-corpus <application folder> [--lang ru] [--sermons 1260] [--seed N] [--replace]
//
// Progress goes to the standard error stream, the totals to the standard
// output. The same arguments give the same file contents on every machine.

#include "corpusgenerator.h"

#include "controllers/application.h"
#include "models/database.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <cstdio>

namespace {

double megabytes(qint64 anBytes)
{
    return double(anBytes) / 1e6;
}

int fail(const QString &asMessage)
{
    std::fprintf(stderr, "generate-corpus: %s\n", qPrintable(asMessage));
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication vApplication(argc, argv);
    QCommandLineParser vParser;
    vParser.setApplicationDescription(
        QStringLiteral("Generates a full-size corpus for benchmarks into an application folder."));
    vParser.addHelpOption();
    vParser.addPositionalArgument(QStringLiteral("folder"),
                                  QStringLiteral("Application folder (created when missing)."));
    const QCommandLineOption vLanguage(QStringLiteral("lang"), QStringLiteral("Data language."),
                                       QStringLiteral("code"), QStringLiteral("ru"));
    const QCommandLineOption vSermons(QStringLiteral("sermons"),
                                      QStringLiteral("Number of sermons."), QStringLiteral("n"),
                                      QStringLiteral("1260"));
    const QCommandLineOption vSeed(QStringLiteral("seed"), QStringLiteral("Generator seed."),
                                   QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption vReplace(QStringLiteral("replace"),
                                      QStringLiteral("Replace an existing database file."));
    vParser.addOptions({vLanguage, vSermons, vSeed, vReplace});
    vParser.process(vApplication);

    const QStringList vcArguments = vParser.positionalArguments();
    if (vcArguments.size() != 1)
        vParser.showHelp(2);
    bool vbSermonsOk = false, vbSeedOk = false;
    CorpusGenerator::Options vOptions;
    vOptions.msLanguage = vParser.value(vLanguage);
    vOptions.mnSermons = vParser.value(vSermons).toInt(&vbSermonsOk);
    vOptions.mnSeed = vParser.value(vSeed).toUInt(&vbSeedOk);
    if (!vbSermonsOk || vOptions.mnSermons < 0 || !vbSeedOk || vOptions.msLanguage.isEmpty())
        vParser.showHelp(2);

    const QString vsFolder = QFileInfo(vcArguments.first()).absoluteFilePath();
    if (!QDir().mkpath(vsFolder))
        return fail(QStringLiteral("cannot create %1").arg(vsFolder));
    Application::setApplicationDirectory(vsFolder);

    // The data store opens the file of the "DataLanguage" setting. A folder
    // that had another language set gets it back afterwards.
    QSettings *vpSettings = Application::settings();
    const QVariant vPreviousLanguage = vpSettings->value(QStringLiteral("DataLanguage"));
    vpSettings->setValue(QStringLiteral("DataLanguage"), vOptions.msLanguage);
    const QString vsFile = Application::databaseFilePath();
    if (QFileInfo::exists(vsFile)) {
        if (!vParser.isSet(vReplace))
            return fail(QStringLiteral("%1 exists; pass --replace to make it again").arg(vsFile));
        if (!QFile::remove(vsFile))
            return fail(QStringLiteral("cannot remove %1").arg(vsFile));
    }

    QElapsedTimer vTimer;
    vTimer.start();
    const CorpusGenerator vGenerator(vOptions);
    CorpusGenerator::Totals vTotals;
    {
        Database vDatabase(vOptions.msLanguage, *Application::storeEnvironment());
        const int vnSermons = vGenerator.sermons().size();
        vTotals = vGenerator.write(vDatabase, true, [&](const CorpusGenerator::Totals &aTotals) {
            const bool vbSermonStep = aTotals.mnBooks == 0 && (aTotals.mnSermons % 60 == 0 ||
                                                               aTotals.mnSermons == vnSermons);
            const bool vbBookStep = aTotals.mnBooks > 0 && aTotals.mnBooks % 11 == 0;
            if (vbSermonStep || vbBookStep)
                std::fprintf(stderr, "sermons %d/%d, books %d/%d, %.1f MB of text, %.0f s\n",
                             aTotals.mnSermons, vnSermons, aTotals.mnBooks,
                             CorpusGenerator::bookCount(),
                             megabytes(aTotals.mnSermonBytes + aTotals.mnBibleBytes),
                             double(vTimer.elapsed()) / 1000.0);
        });
    }
    if (vPreviousLanguage.isValid())
        vpSettings->setValue(QStringLiteral("DataLanguage"), vPreviousLanguage);
    Application::releaseSingletons();

    int vnFurther = 0;
    for (const CorpusGenerator::Sermon &vSermon : vGenerator.sermons())
        vnFurther += vSermon.msDate.endsWith(QLatin1Char('*')) ? 1 : 0;
    if (!vTotals.mbOk)
        return fail(
            QStringLiteral("a statement failed (see the log above); %1 is incomplete").arg(vsFile));
    std::printf("%s: %d sermons (%d further translations), %lld paragraphs, %.1f MB of sermon "
                "text; %d books, %d chapters, %d verses, %.1f MB of Bible text; file %.1f MB; "
                "%.1f s\n",
                qPrintable(vsFile), vTotals.mnSermons, vnFurther,
                static_cast<long long>(vTotals.mnParagraphs), megabytes(vTotals.mnSermonBytes),
                vTotals.mnBooks, vTotals.mnChapters, vTotals.mnVerses,
                megabytes(vTotals.mnBibleBytes), megabytes(QFileInfo(vsFile).size()),
                double(vTimer.elapsed()) / 1000.0);
    return 0;
}
