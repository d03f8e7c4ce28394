// Every text the code passes through tr() must be translated, and finished,
// in each shipped interface language; the compiled translations must be in
// the resources under the names the program loads.
#include "support/testsupport.h"

#include <QDomDocument>
#include <QProcess>
#include <QTranslator>

namespace {

struct Entry
{
    QString msContext;
    QString msSource;
    QString msTranslation;
    bool mbFinished;
};

QList<Entry> readTs(const QString &asPath)
{
    QList<Entry> vcEntries;
    QFile vFile(asPath);
    if (!vFile.open(QIODevice::ReadOnly))
        return vcEntries;
    QDomDocument vDocument;
    if (!vDocument.setContent(&vFile))
        return vcEntries;
    const QDomNodeList vcContexts = vDocument.elementsByTagName(QStringLiteral("context"));
    for (int i = 0; i < vcContexts.size(); ++i) {
        const QDomElement vContext = vcContexts.at(i).toElement();
        const QString vsName = vContext.firstChildElement(QStringLiteral("name")).text();
        for (QDomElement vMessage = vContext.firstChildElement(QStringLiteral("message"));
             !vMessage.isNull();
             vMessage = vMessage.nextSiblingElement(QStringLiteral("message"))) {
            const QDomElement vTranslation =
                vMessage.firstChildElement(QStringLiteral("translation"));
            const QString vsType = vTranslation.attribute(QStringLiteral("type"));
            vcEntries.append({vsName, vMessage.firstChildElement(QStringLiteral("source")).text(),
                              vTranslation.text(),
                              vsType != QLatin1String("unfinished") &&
                                  vsType != QLatin1String("vanished") &&
                                  vsType != QLatin1String("obsolete")});
        }
    }
    return vcEntries;
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void everyTextIsTranslated_data();
    void everyTextIsTranslated();
    void compiledTranslationsLoad_data();
    void compiledTranslationsLoad();
};

void TestTranslations::everyTextIsTranslated_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("ru") << QStringLiteral("ru");
    QTest::newRow("en") << QStringLiteral("en");
    QTest::newRow("fr") << QStringLiteral("fr");
}

void TestTranslations::everyTextIsTranslated()
{
    QFETCH(QString, language);
    // Extract the texts of the current code afresh, so that a text added
    // without running the translation update is caught too.
    QTemporaryDir vDir;
    const QString vsExtracted = vDir.filePath(QStringLiteral("extracted.ts"));
    QProcess vLupdate;
    vLupdate.setWorkingDirectory(QStringLiteral(QUILLMARK_SOURCE_DIR));
    vLupdate.start(QStringLiteral(QUILLMARK_LUPDATE),
                   {QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
                    QStringLiteral("src"), QStringLiteral("-ts"), vsExtracted});
    QVERIFY(vLupdate.waitForFinished(120000));
    QCOMPARE(vLupdate.exitCode(), 0);
    const QList<Entry> vcExtracted = readTs(vsExtracted);
    QVERIFY(!vcExtracted.isEmpty());

    const QList<Entry> vcShipped =
        readTs(QStringLiteral(QUILLMARK_SOURCE_DIR "/i18n/i18n_%1.ts").arg(language));
    QVERIFY2(!vcShipped.isEmpty(), "translation source missing or unreadable");

    QStringList vcProblems;
    for (const Entry &vText : vcExtracted) {
        auto it = std::find_if(vcShipped.cbegin(), vcShipped.cend(), [&](const Entry &e) {
            return e.msContext == vText.msContext && e.msSource == vText.msSource;
        });
        if (it == vcShipped.cend())
            vcProblems << QStringLiteral("missing: %1 / %2").arg(vText.msContext, vText.msSource);
        else if (!it->mbFinished || it->msTranslation.isEmpty())
            vcProblems
                << QStringLiteral("unfinished: %1 / %2").arg(vText.msContext, vText.msSource);
    }
    QVERIFY2(vcProblems.isEmpty(), qPrintable(vcProblems.join(QLatin1Char('\n'))));
}

void TestTranslations::compiledTranslationsLoad_data()
{
    everyTextIsTranslated_data();
}

void TestTranslations::compiledTranslationsLoad()
{
    QFETCH(QString, language);
    QTranslator vTranslator;
    QVERIFY(vTranslator.load(QStringLiteral(":/i18n/i18n_%1.qm").arg(language)));
    QVERIFY(!vTranslator.isEmpty());
}

QUILLMARK_TEST_MAIN(TestTranslations)
#include "test_translations.moc"
