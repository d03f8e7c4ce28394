// Every text the code passes through tr() must be translated, and finished,
// in each shipped interface language; the compiled translations must be in
// the resources under the names the program loads.
#include "support/testsupport.h"

#include <QDomDocument>
#include <QProcess>
#include <QTranslator>

namespace {

// "context / source" → the finished translation, empty when it is not.
QMap<QString, QString> readTs(const QString &asPath)
{
    QMap<QString, QString> vcEntries;
    QFile vFile(asPath);
    QDomDocument vDocument;
    if (!vFile.open(QIODevice::ReadOnly) || !vDocument.setContent(&vFile))
        return vcEntries;
    const QDomNodeList vcContexts = vDocument.elementsByTagName("context");
    for (int i = 0; i < vcContexts.size(); ++i) {
        const QDomElement vContext = vcContexts.at(i).toElement();
        for (QDomElement vMessage = vContext.firstChildElement("message"); !vMessage.isNull();
             vMessage = vMessage.nextSiblingElement("message")) {
            const QDomElement vTranslation = vMessage.firstChildElement("translation");
            // Unfinished, vanished and obsolete texts carry a type.
            vcEntries.insert(vContext.firstChildElement("name").text() + " / " +
                                 vMessage.firstChildElement("source").text(),
                             vTranslation.hasAttribute("type") ? QString() : vTranslation.text());
        }
    }
    return vcEntries;
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyTextIsTranslated_data();
    void everyTextIsTranslated();

private:
    QMap<QString, QString> mcExtracted;
};

void TestTranslations::initTestCase()
{
    // Extract the texts of the current code afresh, so that a text added
    // without running the translation update is caught too.
    QTemporaryDir vDir;
    const QString vsExtracted = vDir.filePath("extracted.ts");
    QProcess vLupdate;
    vLupdate.setWorkingDirectory(QUILLMARK_SOURCE_DIR);
    vLupdate.start(QUILLMARK_LUPDATE, {"-silent", "-locations", "none", "src", "-ts", vsExtracted});
    QVERIFY(vLupdate.waitForFinished(120000));
    QCOMPARE(vLupdate.exitCode(), 0);
    mcExtracted = readTs(vsExtracted);
    QVERIFY(!mcExtracted.isEmpty());
}

void TestTranslations::everyTextIsTranslated_data()
{
    QTest::addColumn<QString>("language");
    for (const char *vsLanguage : {"ru", "en", "fr"})
        QTest::newRow(vsLanguage) << QString(vsLanguage);
}

void TestTranslations::everyTextIsTranslated()
{
    QFETCH(QString, language);
    const QMap<QString, QString> vcShipped =
        readTs(QUILLMARK_SOURCE_DIR "/i18n/i18n_" + language + ".ts");
    QVERIFY2(!vcShipped.isEmpty(), "translation source missing or unreadable");
    QStringList vcUntranslated;
    for (const QString &vsText : mcExtracted.keys())
        if (vcShipped.value(vsText).isEmpty())
            vcUntranslated << vsText;
    QVERIFY2(vcUntranslated.isEmpty(), qPrintable(vcUntranslated.join('\n')));

    // The compiled translation, where the program loads it from.
    QTranslator vTranslator;
    QVERIFY(vTranslator.load(":/i18n/i18n_" + language + ".qm"));
    QVERIFY(!vTranslator.isEmpty());
}

QUILLMARK_TEST_MAIN(TestTranslations)
#include "test_translations.moc"
