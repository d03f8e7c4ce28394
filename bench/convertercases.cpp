// The settings dialog's converter page: the same 100 sermon files as the
// update cases (without their replace marker) converted into the corpus's
// language from the Import command to the page's end of the run, the
// conversion running on the data store's thread as in the program. Unlike
// "convert the same 100 sermons" this includes what a real conversion does
// besides the statements: the language switch before and the compaction
// (VACUUM) after. The catalogue refresh that follows is left out (the
// catalogue cases time it).
//
//   "converter page 100 sermons"          the whole run
//   "converter page 100 sermons gui gap"  the window's longest pause meanwhile
//
// The converted sermons are removed afterwards (untimed).

#include "benchcase.h"
#include "guigap.h"
#include "updatefiles.h"

#include "controllers/application.h"
#include "controllers/sharedoptions.h"
#include "models/database.h"
#include "widgets/converterpage.h"

#include <QEventLoop>
#include <QProgressBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace {

const int cnTimeoutMs = 600000;

struct ConverterRun
{
    bool mbComplete = false;
    bool mbTimedOut = false;
    int mnConverted = 0;
    double mnGuiGap = 0;
};

// Starts the page's import as its button does and turns the event loop until
// the page reports the end, measuring the window's longest pause.
ConverterRun runConversion(ConverterPage *apPage)
{
    ConverterRun vRun;
    QEventLoop vLoop;
    QObject vContext;
    QObject::connect(apPage, &ConverterPage::importFinished, &vContext,
                     [&vRun, &vLoop](bool abComplete) {
                         vRun.mbComplete = abComplete;
                         vLoop.quit();
                     });
    QTimer::singleShot(cnTimeoutMs, &vContext, [&] {
        vRun.mbTimedOut = true;
        vLoop.quit();
    });
    GuiGap vGap;
    vGap.start();
    if (apPage->startImport())
        vLoop.exec();
    vRun.mnGuiGap = vGap.stop();
    vRun.mnConverted = apPage->findChild<QProgressBar *>()->value();
    return vRun;
}

} // namespace

void addConverterCases(BenchContext &aContext, BenchCases &acCases)
{
    BenchContext *vpContext = &aContext;
    const QString vsLanguage = aContext.database()->currentLanguage();
    auto vpFiles = std::make_shared<UpdateFiles>(vsLanguage);
    auto vpSources = std::make_shared<QTemporaryDir>();
    auto vpRun = std::make_shared<ConverterRun>();
    // The page lives as long as the cases; the data store it is given is
    // looked up when a run starts, as reopenDatabase() replaces it.
    auto vpPage = std::make_shared<std::unique_ptr<ConverterPage>>();

    auto vSetup = [vpContext, vpFiles, vpSources, vpPage, vsLanguage] {
        vpFiles->write(vpSources->path(), vsLanguage, false);
        *vpPage = std::make_unique<ConverterPage>(Application::settings(), vpContext->database(),
                                                  Application::sharedOptions(), nullptr, nullptr);
        const QString vsFolder = vpSources->path();
        (*vpPage)->setDirectoryChooser([vsFolder](QWidget *, const QString &) { return vsFolder; });
        (*vpPage)->chooseDirectory();
    };
    auto vConvert = [vpPage, vpRun] { *vpRun = runConversion(vpPage->get()); };
    auto vCheck = [vpFiles, vpRun] {
        if (vpRun->mbTimedOut)
            return QStringLiteral("no end within %1 s").arg(cnTimeoutMs / 1000);
        if (!vpRun->mbComplete || vpRun->mnConverted != vpFiles->count())
            return QStringLiteral("%1 of %2 files converted%3")
                .arg(vpRun->mnConverted)
                .arg(vpFiles->count())
                .arg(vpRun->mbComplete ? QString() : QStringLiteral(", with failures"));
        return QString();
    };
    auto vRemove = [vpContext, vpPage] {
        vpPage->reset();
        UpdateFiles::removeGenerated(vpContext->database());
    };
    acCases.append(
        {QStringLiteral("converter page 100 sermons"), vConvert, vSetup, vCheck, vRemove});
    BenchCase vGap{QStringLiteral("converter page 100 sermons gui gap"), vConvert, vSetup, vCheck,
                   vRemove};
    vGap.mFigure = [vpRun] { return vpRun->mnGuiGap; };
    acCases.append(vGap);
}
