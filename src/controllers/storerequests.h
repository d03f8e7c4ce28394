#pragma once

#include "models/catalogue.h"
#include "models/documentexport.h"
#include "models/documentremoval.h"

#include <QObject>
#include <QString>

#include <QPair>

#include <array>
#include <atomic>
#include <functional>
#include <memory>

class Database;

// The window's questions to the data store that answer with a value: the
// catalogue, the sermon totals and the hovered item's details. Each is asked
// on the data store's thread and answered on the GUI thread, so the window
// never waits for a search that holds the connection. Only the newest
// question of a kind is answered: one that a newer one replaced is skipped
// if it has not started yet, and its late answer is dropped (the tree shows
// the catalogue last asked for; the status bar never shows the details of an
// item the mouse has left).
class StoreRequests : public QObject
{
    Q_OBJECT

public:
    explicit StoreRequests(Database *apDatabase, QObject *parent = nullptr);

    // anKind a CatalogueTree kind; abDuplicates keeps further translations.
    void loadCatalogue(int anKind, bool abDuplicates);
    void countSermons();
    // A sermon's details by its date, or a Bible book's name by its row.
    void askStatusText(bool abBible, const QString &asDate, int anBookRow);
    // The mouse left the item: an answer still on its way must not show.
    void dropStatusText();
    // Exports or deletes the sermons (or Bible chapters) with the catalogue
    // keys asKeys of a data language; every request is answered.
    void exportDocuments(const QString &asLanguage, bool abBible, const QString &asKeys);
    void deleteDocuments(const QString &asLanguage, bool abBible, const QString &asKeys);

signals:
    void catalogueLoaded(const Catalogue &aCatalogue);
    void sermonsCounted(int anFirstTranslations, int anAll);
    void statusTextReady(const QString &asText);
    void documentsExported(const DocumentExport::Report &aReport);
    void documentsDeleted(const DocumentRemoval::Report &aReport);

private:
    enum Topic
    {
        CatalogueTopic,
        CountTopic,
        StatusTopic,
        TopicCount
    };
    using Tickets = std::array<std::atomic<quint64>, TopicCount>;

    // Runs aWork on the data store's thread, unless a newer question of the
    // topic came first, and hands its result to aAnswer on this object's
    // thread if it is still the newest.
    template<typename Result>
    void ask(Topic aTopic, std::function<Result(Database &)> aWork,
             std::function<void(const Result &)> aAnswer);

    // Runs aWork on the data store's thread and hands its result to aAnswer
    // on this object's thread, as long as this object lives.
    template<typename Result>
    void run(std::function<Result(Database &)> aWork, std::function<void(const Result &)> aAnswer);

    Database *mpDatabase = nullptr;
    // Shared with the work on its way, which may outlive this object.
    std::shared_ptr<Tickets> mpTickets;
};
