#pragma once

#include "models/sermonfile.h"

#include <QString>
#include <QVector>

class Database;

// The sermons the update and converter cases write as files: generated
// sermons cut to 300 paragraphs, under dates of their own ("99-0001" …) so
// that they never touch the corpus's sermons.
class UpdateFiles
{
public:
    static const int cnFiles = 100;
    static const int cnParagraphs = 300;

    explicit UpdateFiles(const QString &asLanguage);

    int count() const { return mcSermons.size(); }

    // Windows-1251 files "<language>_<n>.txt"; update files replace their
    // sermon, the converter knows no such marker.
    bool write(const QString &asFolder, const QString &asLanguage, bool abReplace) const;

    // The generated sermons leave the corpus as they came.
    static void removeGenerated(Database *apDatabase);

private:
    QVector<SermonFile> mcSermons;
};
