#include "controllers/storerequests.h"

#include "models/database.h"

#include <QCoreApplication>
#include <QPointer>

StoreRequests::StoreRequests(Database *apDatabase, QObject *parent)
    : QObject(parent), mpDatabase(apDatabase), mpTickets(std::make_shared<Tickets>())
{
    for (std::atomic<quint64> &vTicket : *mpTickets)
        vTicket = 0;
}

template<typename Result>
void StoreRequests::ask(Topic aTopic, std::function<Result(Database &)> aWork,
                        std::function<void(const Result &)> aAnswer)
{
    const std::shared_ptr<Tickets> vpTickets = mpTickets;
    const quint64 vnTicket = ++(*vpTickets)[aTopic];
    const QPointer<StoreRequests> vpSelf(this);
    Database *vpDatabase = mpDatabase;
    QMetaObject::invokeMethod(
        vpDatabase,
        [vpTickets, vnTicket, aTopic, vpSelf, vpDatabase, aWork, aAnswer] {
            if ((*vpTickets)[aTopic] != vnTicket)
                return;
            const Result vResult = aWork(*vpDatabase);
            // The guarded pointer is read on the GUI thread only, where its
            // object lives.
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [vpTickets, vnTicket, aTopic, vpSelf, aAnswer, vResult] {
                    if (vpSelf && (*vpTickets)[aTopic] == vnTicket)
                        aAnswer(vResult);
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

template<typename Result>
void StoreRequests::run(std::function<Result(Database &)> aWork,
                        std::function<void(const Result &)> aAnswer)
{
    const QPointer<StoreRequests> vpSelf(this);
    Database *vpDatabase = mpDatabase;
    QMetaObject::invokeMethod(
        vpDatabase,
        [vpSelf, vpDatabase, aWork, aAnswer] {
            const Result vResult = aWork(*vpDatabase);
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [vpSelf, aAnswer, vResult] {
                    if (vpSelf)
                        aAnswer(vResult);
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void StoreRequests::loadCatalogue(int anKind, bool abDuplicates)
{
    ask<Catalogue>(
        CatalogueTopic,
        [anKind, abDuplicates](Database &aDatabase) {
            return aDatabase.readCatalogue(anKind, abDuplicates);
        },
        [this](const Catalogue &aCatalogue) { emit catalogueLoaded(aCatalogue); });
}

void StoreRequests::countSermons()
{
    using Counts = QPair<int, int>;
    ask<Counts>(
        CountTopic,
        [](Database &aDatabase) {
            return Counts(aDatabase.currentLanguageSermonsCountDist(),
                          aDatabase.currentLanguageSermonsCount());
        },
        [this](const Counts &aCounts) { emit sermonsCounted(aCounts.first, aCounts.second); });
}

void StoreRequests::askStatusText(bool abBible, const QString &asDate, int anBookRow)
{
    ask<QStringList>(
        StatusTopic,
        [abBible, asDate, anBookRow](Database &aDatabase) {
            return aDatabase.statusTexts(abBible, asDate, anBookRow);
        },
        [this](const QStringList &acTexts) {
            // Several records of one date: the status bar keeps the last.
            if (!acTexts.isEmpty())
                emit statusTextReady(acTexts.last());
        });
}

void StoreRequests::dropStatusText()
{
    ++(*mpTickets)[StatusTopic];
}

void StoreRequests::exportDocuments(const QString &asLanguage, bool abBible, const QString &asKeys)
{
    run<DocumentExport::Report>(
        [asLanguage, abBible, asKeys](Database &aDatabase) {
            return aDatabase.exportSql(asLanguage, abBible, asKeys);
        },
        [this](const DocumentExport::Report &aReport) { emit documentsExported(aReport); });
}

void StoreRequests::deleteDocuments(const QString &asLanguage, bool abBible, const QString &asKeys)
{
    run<DocumentRemoval::Report>(
        [asLanguage, abBible, asKeys](Database &aDatabase) {
            return aDatabase.deleteSql(asLanguage, abBible, asKeys);
        },
        [this](const DocumentRemoval::Report &aReport) { emit documentsDeleted(aReport); });
}
