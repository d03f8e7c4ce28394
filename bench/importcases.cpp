// Updates: importing 100 update files of 300 paragraphs each (made by the
// corpus generator, windows-1251, each replacing its sermon) into the corpus,
// as the start-up does, from the first importStarted to importFinished, with
// the import's progress window on the screen; and, for comparison, the same
// sermons run through the text converter's statements (one batch per file,
// as a conversion does before its final compaction, which is left out).
//
//   "import 100 update files"            the import on the data store's thread
//   "import 100 update files gui gap"    the progress window's longest pause
//   "convert the same 100 sermons"       the converter's statements
//
// Every run writes its files anew; the converted sermons are removed
// afterwards (untimed), the imported ones replace themselves.

#include "benchcase.h"
#include "guigap.h"
#include "updatefiles.h"

#include "controllers/application.h"
#include "controllers/textconverter.h"
#include "models/database.h"
#include "widgets/importsplashscreen.h"

#include <QDir>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

const int cnTimeoutMs = 300000;

struct ImportOutcome
{
    int mnImported = -1;
    int mnSetAside = -1;
    bool mbTimedOut = false;
    double mnGuiGap = 0;
};

// The start-up's wait: the progress window connected as the application
// connects it, the import asked for on the data store's thread, and the
// window's longest pause meanwhile.
ImportOutcome runImport(Database *apDatabase, ImportSplashScreen *apSplash)
{
    ImportOutcome vOutcome;
    QEventLoop vLoop;
    QObject vContext;
    QObject::connect(apDatabase, &Database::importStarted, apSplash,
                     &ImportSplashScreen::showCentred);
    QObject::connect(apDatabase, &Database::totalUpdated, apSplash,
                     &ImportSplashScreen::updateOverall);
    QObject::connect(apDatabase, &Database::currentUpdated, apSplash,
                     &ImportSplashScreen::updateCurrent);
    QObject::connect(apDatabase, &Database::importCompleted, &vContext,
                     [&vOutcome](int anImported, int anSetAside) {
                         vOutcome.mnImported = anImported;
                         vOutcome.mnSetAside = anSetAside;
                     });
    QObject::connect(apDatabase, &Database::importFinished, &vLoop, &QEventLoop::quit);
    QTimer::singleShot(cnTimeoutMs, &vLoop, [&] {
        vOutcome.mbTimedOut = true;
        vLoop.quit();
    });
    GuiGap vGap;
    vGap.start();
    QMetaObject::invokeMethod(apDatabase, &Database::importSql, Qt::QueuedConnection);
    vLoop.exec();
    vOutcome.mnGuiGap = vGap.stop();
    QObject::disconnect(apDatabase, nullptr, apSplash, nullptr);
    apSplash->hide();
    return vOutcome;
}

} // namespace

void addImportCases(BenchContext &aContext, BenchCases &acCases)
{
    BenchContext *vpContext = &aContext;
    const QString vsLanguage = aContext.database()->currentLanguage();
    auto vpFiles = std::make_shared<UpdateFiles>(vsLanguage);
    auto vpSplash = std::make_shared<ImportSplashScreen>();
    auto vpOutcome = std::make_shared<ImportOutcome>();
    auto vWrite = [vpFiles, vsLanguage] {
        vpFiles->write(Application::importPath(), vsLanguage, true);
    };
    auto vRemove = [vpContext] { UpdateFiles::removeGenerated(vpContext->database()); };
    auto vImport = [vpContext, vpSplash, vpOutcome] {
        *vpOutcome = runImport(vpContext->database(), vpSplash.get());
    };
    auto vCheck = [vpFiles, vpOutcome] {
        if (vpOutcome->mbTimedOut)
            return QStringLiteral("no end within %1 s").arg(cnTimeoutMs / 1000);
        if (vpOutcome->mnImported != vpFiles->count() || vpOutcome->mnSetAside != 0)
            return QStringLiteral("%1 imported, %2 set aside of %3")
                .arg(vpOutcome->mnImported)
                .arg(vpOutcome->mnSetAside)
                .arg(vpFiles->count());
        std::fprintf(stderr, "#   %d files of %d paragraphs\n", vpFiles->count(),
                     UpdateFiles::cnParagraphs);
        return QString();
    };
    acCases.append({QStringLiteral("import 100 update files"), vImport, vWrite, vCheck, vRemove});
    BenchCase vGap{QStringLiteral("import 100 update files gui gap"), vImport, vWrite, vCheck,
                   vRemove};
    vGap.mFigure = [vpOutcome] { return vpOutcome->mnGuiGap; };
    acCases.append(vGap);

    // The converter's statements for the same files, one batch each.
    auto vpSources = std::make_shared<QTemporaryDir>();
    auto vpConverted = std::make_shared<int>(0);
    acCases.append(
        {QStringLiteral("convert the same 100 sermons"),
         [vpContext, vpSources, vpConverted] {
             Database *vpDatabase = vpContext->database();
             *vpConverted = 0;
             for (const QString &vsFile : QDir(vpSources->path()).entryList(QDir::Files))
                 *vpConverted += vpDatabase->execQuery(
                     TextConverter::convertSermonFile(vpSources->filePath(vsFile)));
         },
         [vpFiles, vpSources, vsLanguage] { vpFiles->write(vpSources->path(), vsLanguage, false); },
         [vpFiles, vpConverted] {
             return *vpConverted == vpFiles->count() ? QString()
                                                     : QStringLiteral("%1 of %2 files converted")
                                                           .arg(*vpConverted)
                                                           .arg(vpFiles->count());
         },
         vRemove});
}
