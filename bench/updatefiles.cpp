#include "updatefiles.h"

#include "corpusgenerator.h"
#include "models/database.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTextCodec>

UpdateFiles::UpdateFiles(const QString &asLanguage)
{
    CorpusGenerator::Options vOptions;
    vOptions.mnSeed = 7;
    vOptions.msLanguage = asLanguage;
    const CorpusGenerator vGenerator(vOptions);
    for (int i = 0, vnTaken = 0; vnTaken < cnFiles && i < vGenerator.sermons().size(); ++i) {
        SermonFile vSermon = vGenerator.sermon(i);
        if (vSermon.mcParagraphs.size() < cnParagraphs)
            continue;
        vSermon.mcParagraphs.resize(cnParagraphs);
        vSermon.msDate = QStringLiteral("99-%1").arg(++vnTaken, 4, 10, QLatin1Char('0'));
        mcSermons.append(vSermon);
    }
}

bool UpdateFiles::write(const QString &asFolder, const QString &asLanguage, bool abReplace) const
{
    bool vbOk = QDir().mkpath(asFolder);
    for (int i = 0; i < mcSermons.size(); ++i) {
        SermonFile vSermon = mcSermons.at(i);
        vSermon.mbReplace = abReplace;
        QFile vFile(QStringLiteral("%1/%2_%3.txt").arg(asFolder, asLanguage).arg(i + 1));
        vbOk =
            vbOk && vFile.open(QIODevice::WriteOnly) &&
            vFile.write(QTextCodec::codecForName("windows-1251")->fromUnicode(vSermon.text())) > 0;
    }
    return vbOk;
}

void UpdateFiles::removeGenerated(Database *apDatabase)
{
    apDatabase->execQuery(
        QStringList{QStringLiteral("DELETE FROM paragraphs WHERE date LIKE '99-%';"),
                    QStringLiteral("DELETE FROM quotes WHERE date LIKE '99-%';")});
}
