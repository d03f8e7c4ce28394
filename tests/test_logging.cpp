// The log handler: the line format, its two receivers (standard error and the
// observer), the "Debug" box for SQL errors on whatever thread they are logged,
// and the abort after a fatal message.
#include "support/testsupport.h"

#include "controllers/logging.h"

#include <QProcess>
#include <QThread>

#include <memory>

namespace {

// Set in the environment of a child copy of this program that logs a few
// lines and then a fatal one; see initTestCase().
const char cChildVariable[] = "QUILLMARK_LOGGING_FATAL_CHILD";

QString expectedBoxText(const QString &asText, const char *apFile, const char *apFunction,
                        int anLine)
{
    return asText + QStringLiteral("\n\nFile: ") + QString::fromUtf8(apFile) +
           QStringLiteral("\nFunction: ") + QString::fromUtf8(apFunction) +
           QStringLiteral("\nLine: ") + QString::number(anLine);
}

} // namespace

class TestLogging : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void formatLine_data();
    void formatLine();
    void observerGetsEveryFormattedLine();

    void sqlErrorRaisesDebugBox_data();
    void sqlErrorRaisesDebugBox();
    void sqlErrorFromWorkerThreadRaisesBoxOnGuiThread();

    void fatalMessageIsWrittenAndAborts();
};

void TestLogging::initTestCase()
{
    // QTest puts its own message handler in place when it starts; the
    // program's handler is what is under test here.
    Logging::install();

    if (qEnvironmentVariableIsSet(cChildVariable)) {
        qDebug().noquote() << "child debug line";
        qWarning().noquote() << "child warning line";
        qCritical().noquote() << "child critical line";
        qFatal("child fatal line");
    }
}

void TestLogging::formatLine_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("withContext");
    QTest::addColumn<QString>("expected");

    const QString vsSuffix = QStringLiteral(" (src/models/database.cpp:57, void Database::f())");
    QTest::newRow("debug") << int(QtDebugMsg) << QStringLiteral("opened") << true
                           << QStringLiteral("(II) opened") + vsSuffix;
    QTest::newRow("info") << int(QtInfoMsg) << QStringLiteral("opened") << true
                          << QStringLiteral("(II) opened") + vsSuffix;
    QTest::newRow("warning") << int(QtWarningMsg) << QStringLiteral("odd") << true
                             << QStringLiteral("(WW) odd") + vsSuffix;
    QTest::newRow("critical") << int(QtCriticalMsg) << QStringLiteral("bad") << true
                              << QStringLiteral("(CC) bad") + vsSuffix;
    QTest::newRow("fatal") << int(QtFatalMsg) << QStringLiteral("dead") << true
                           << QStringLiteral("(FF) dead") + vsSuffix;
    // Qt's own libraries log without a location.
    QTest::newRow("no location") << int(QtWarningMsg) << QStringLiteral("from Qt") << false
                                 << QStringLiteral("(WW) from Qt (:0, )");
    // Statements are composed from "%0".."%3" templates and are logged as
    // they are; their placeholders must come out unchanged, not be taken for
    // the line's own fields.
    QTest::newRow("placeholders in text")
        << int(QtDebugMsg) << QStringLiteral("SELECT %0 FROM t WHERE a LIKE '%1%'") << true
        << QStringLiteral("(II) SELECT %0 FROM t WHERE a LIKE '%1%'") + vsSuffix;
    QTest::newRow("empty text") << int(QtDebugMsg) << QString() << true
                                << QStringLiteral("(II) ") + vsSuffix;
}

void TestLogging::formatLine()
{
    QFETCH(int, type);
    QFETCH(QString, text);
    QFETCH(bool, withContext);
    QFETCH(QString, expected);

    const QMessageLogContext vLocated("src/models/database.cpp", 57, "void Database::f()",
                                      "default");
    const QMessageLogContext vUnlocated;
    QCOMPARE(Logging::formatLine(static_cast<QtMsgType>(type), withContext ? vLocated : vUnlocated,
                                 text),
             expected);
}

void TestLogging::observerGetsEveryFormattedLine()
{
    LogCapture vCapture;
    qDebug().noquote() << "observed line";
    const int vnLine = __LINE__ - 1;
    const QString vsExpected = QStringLiteral("(II) observed line (%1:%2, %3)")
                                   .arg(QString::fromUtf8(__FILE__), QString::number(vnLine),
                                        QString::fromUtf8(Q_FUNC_INFO));
    QCOMPARE(vCapture.lines(), QStringList{vsExpected});
}

void TestLogging::sqlErrorRaisesDebugBox_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("boxes");

    QTest::newRow("debug") << int(QtDebugMsg) << QStringLiteral("SQL Error: no such table: x") << 1;
    QTest::newRow("info") << int(QtInfoMsg) << QStringLiteral("SQL Error: locked") << 1;
    QTest::newRow("qWarning") << int(QtWarningMsg) << QStringLiteral("SQL Error: disk I/O") << 1;
    QTest::newRow("critical") << int(QtCriticalMsg) << QStringLiteral("SQL Error: full") << 1;
    QTest::newRow("inside the line")
        << int(QtDebugMsg) << QStringLiteral("Import stopped. SQL Error: constraint") << 1;
    QTest::newRow("placeholders in text")
        << int(QtDebugMsg) << QStringLiteral("SQL Error: near '%0': syntax error") << 1;
    QTest::newRow("no SQL error") << int(QtDebugMsg) << QStringLiteral("Create table 'quotes'")
                                  << 0;
    QTest::newRow("no colon") << int(QtWarningMsg) << QStringLiteral("SQL Error without colon")
                              << 0;
    QTest::newRow("other case") << int(QtDebugMsg) << QStringLiteral("sql error: lower case") << 0;
}

void TestLogging::sqlErrorRaisesDebugBox()
{
    QFETCH(int, type);
    QFETCH(QString, text);
    QFETCH(int, boxes);

    BoxRecorder vRecorder;
    const int vnLine = __LINE__;
    const QMessageLogger vLogger(__FILE__, vnLine, Q_FUNC_INFO);
    switch (static_cast<QtMsgType>(type)) {
    case QtWarningMsg:
        vLogger.warning().noquote() << text;
        break;
    case QtCriticalMsg:
        vLogger.critical().noquote() << text;
        break;
    case QtInfoMsg:
        vLogger.info().noquote() << text;
        break;
    default:
        vLogger.debug().noquote() << text;
        break;
    }

    if (boxes > 0)
        QTRY_COMPARE(vRecorder.count(), boxes);
    // Anything queued alongside would arrive now.
    QCoreApplication::processEvents();
    QCOMPARE(vRecorder.count(), boxes);
    if (boxes == 0)
        return;

    const ModalBox::Request vRequest = vRecorder.requests().constFirst();
    QCOMPARE(vRequest.title, QStringLiteral("Debug"));
    QCOMPARE(vRequest.text, expectedBoxText(text, __FILE__, Q_FUNC_INFO, vnLine));
}

void TestLogging::sqlErrorFromWorkerThreadRaisesBoxOnGuiThread()
{
    BoxRecorder vRecorder; // puts the failing responder back when it goes
    QThread *vpBoxThread = nullptr;
    QString vsBoxTitle;
    int vnBoxes = 0;
    ModalBox::setResponder([&](const ModalBox::Request &aRequest) {
        vpBoxThread = QThread::currentThread();
        vsBoxTitle = aRequest.title;
        ++vnBoxes;
        return QMessageBox::Ok;
    });

    std::unique_ptr<QThread> vpWorker(
        QThread::create([] { qDebug().noquote() << "SQL Error: from the worker"; }));
    vpWorker->start();

    // Whether the worker waits for the box is the handler's choice, so the
    // GUI thread keeps running events until both have happened.
    QTRY_COMPARE(vnBoxes, 1);
    QTRY_VERIFY(vpWorker->isFinished());
    vpWorker->wait();
    QCoreApplication::processEvents();
    QCOMPARE(vnBoxes, 1);
    QCOMPARE(vpBoxThread, QCoreApplication::instance()->thread());
    QCOMPARE(vsBoxTitle, QStringLiteral("Debug"));
}

void TestLogging::fatalMessageIsWrittenAndAborts()
{
    QProcess vChild;
    QProcessEnvironment vEnvironment = QProcessEnvironment::systemEnvironment();
    vEnvironment.insert(QString::fromLatin1(cChildVariable), QStringLiteral("1"));
    vChild.setProcessEnvironment(vEnvironment);
    // Without QTest's crash handler the child ends with the plain abort.
    vChild.start(QCoreApplication::applicationFilePath(), {QStringLiteral("-nocrashhandler")});
    QVERIFY2(vChild.waitForFinished(60000), "the child did not end");

    QCOMPARE(vChild.exitStatus(), QProcess::CrashExit);
    const QString vsError = QString::fromUtf8(vChild.readAllStandardError());
    const QString vsLocation = QStringLiteral(" (") + QString::fromUtf8(__FILE__);
    for (const QString &vsExpected :
         {QStringLiteral("(II) child debug line"), QStringLiteral("(WW) child warning line"),
          QStringLiteral("(CC) child critical line"), QStringLiteral("(FF) child fatal line")})
        QVERIFY2(vsError.contains(vsExpected + vsLocation), qPrintable(vsError));
}

QUILLMARK_TEST_MAIN(TestLogging)
#include "test_logging.moc"
