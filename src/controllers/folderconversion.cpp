#include "controllers/folderconversion.h"

#include "controllers/sharedoptions.h"
#include "models/database.h"

#include <QCoreApplication>
#include <QPointer>

#include <functional>

FolderConversion::FolderConversion(Database *apDatabase, SharedOptions *apOptions, QObject *parent)
    : QObject(parent), mpDatabase(apDatabase), mpOptions(apOptions)
{
}

bool FolderConversion::start(const TextConverter::ImportRun &aRun)
{
    if (mbRunning)
        return false;
    mbRunning = true;
    // Queued before the conversion, so the data store has switched when it starts.
    mpOptions->switchDataLanguage(aRun.msLanguage);

    const QPointer<FolderConversion> vpSelf(this);
    Database *vpDatabase = mpDatabase;
    QMetaObject::invokeMethod(
        vpDatabase,
        [vpSelf, vpDatabase, aRun] {
            // Every report is handed to the GUI thread, where the guarded
            // pointer is read; reports keep their order on the way.
            const auto report = [vpSelf](const std::function<void(FolderConversion &)> &aCall) {
                QMetaObject::invokeMethod(
                    QCoreApplication::instance(),
                    [vpSelf, aCall] {
                        if (vpSelf)
                            aCall(*vpSelf);
                    },
                    Qt::QueuedConnection);
            };
            if (TextConverter::wouldMixBibles(*vpDatabase, aRun)) {
                report([aRun](FolderConversion &aConversion) {
                    aConversion.mbRunning = false;
                    emit aConversion.refused(aRun.msLanguage);
                });
                return;
            }
            QStringList vcTitles;
            const TextConverter::Outcome vOutcome = TextConverter::importInto(
                *vpDatabase, aRun,
                [&report](int anDone, int anTotal, const QString &asFile) {
                    report([anDone, anTotal, asFile](FolderConversion &aConversion) {
                        emit aConversion.fileConverted(anDone, anTotal, asFile);
                    });
                },
                &vcTitles,
                [&report](const QString &asBook) {
                    report([asBook](FolderConversion &aConversion) {
                        emit aConversion.bookFound(asBook);
                    });
                });
            report([vOutcome, vcTitles](FolderConversion &aConversion) {
                aConversion.finish(vOutcome, vcTitles);
            });
        },
        Qt::QueuedConnection);
    return true;
}

void FolderConversion::finish(TextConverter::Outcome aOutcome, const QStringList &acTitles)
{
    mbRunning = false;
    mpOptions->setDatabaseLastUpdated();
    emit finished(aOutcome, acTitles);
}
