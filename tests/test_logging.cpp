// The log handler: the line format, its two receivers (standard error and the
// observer), the "Debug" box for SQL errors on whatever thread they are logged,
// and the abort after a fatal message.
#include "support/testsupport.h"

#include "controllers/debugbox.h"
#include "controllers/logging.h"

#include <QProcess>
#include <QThread>

#include <memory>

// Set in the environment of a child copy of this program that logs a few
// lines and then a fatal one; see initTestCase().
const char cChildVariable[] = "QUILLMARK_LOGGING_FATAL_CHILD";

class TestLogging : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void formatLine();

    void sqlErrorRaisesDebugBox_data();
    void sqlErrorRaisesDebugBox();
    void sqlErrorFromWorkerThreadRaisesBoxOnGuiThread();

    void fatalMessageIsWrittenAndAborts();
};

void TestLogging::initTestCase()
{
    // QTest puts its own message handler in place when it starts; the
    // program's handler is what is under test here.
    DebugBox::install();

    if (qEnvironmentVariableIsSet(cChildVariable)) {
        qDebug().noquote() << "child debug line";
        qWarning().noquote() << "child warning line";
        qCritical().noquote() << "child critical line";
        qFatal("child fatal line");
    }
}

// The line of each type is checked in the child's output, below.
void TestLogging::formatLine()
{
    const QMessageLogContext vLocated("src/models/database.cpp", 57, "void Database::f()",
                                      "default");
    // Statements are composed from "%0".."%3" templates and are logged as
    // they are; their placeholders must come out unchanged, not be taken for
    // the line's own fields.
    QCOMPARE(Logging::formatLine(QtDebugMsg, vLocated, "SELECT %0 FROM t WHERE a LIKE '%1%'"),
             QString("(II) SELECT %0 FROM t WHERE a LIKE '%1%' (src/models/database.cpp:57, "
                     "void Database::f())"));
    // Qt's own libraries log without a location.
    QCOMPARE(Logging::formatLine(QtWarningMsg, QMessageLogContext(), "from Qt"),
             QString("(WW) from Qt (:0, )"));
}

void TestLogging::sqlErrorRaisesDebugBox_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("boxes");
    const auto row = [](const char *apTag, QtMsgType aType, const char *apText, int anBoxes) {
        QTest::newRow(apTag) << int(aType) << QString(apText) << anBoxes;
    };
    row("qWarning", QtWarningMsg, "SQL Error: disk I/O", 1);
    row("inside the line", QtDebugMsg, "Import stopped. SQL Error: constraint", 1);
    row("placeholders in text", QtDebugMsg, "SQL Error: near '%0': syntax error", 1);
    row("no colon", QtWarningMsg, "SQL Error without colon", 0);
    row("other case", QtDebugMsg, "sql error: lower case", 0);
}

void TestLogging::sqlErrorRaisesDebugBox()
{
    QFETCH(int, type);
    QFETCH(QString, text);
    QFETCH(int, boxes);

    BoxRecorder vRecorder;
    // What qDebug() and its siblings hand to the installed handler.
    const int vnLine = __LINE__;
    qt_message_output(QtMsgType(type), QMessageLogContext(__FILE__, vnLine, Q_FUNC_INFO, "default"),
                      text);

    if (boxes > 0)
        QTRY_COMPARE(vRecorder.count(), boxes);
    // Anything queued alongside would arrive now.
    QCoreApplication::processEvents();
    QCOMPARE(vRecorder.count(), boxes);
    if (boxes > 0)
        QCOMPARE(vRecorder.requests().constFirst().text,
                 QString("%1\n\nFile: %2\nFunction: %3\nLine: %4")
                     .arg(text, __FILE__, Q_FUNC_INFO, QString::number(vnLine)));
}

void TestLogging::sqlErrorFromWorkerThreadRaisesBoxOnGuiThread()
{
    BoxRecorder vRecorder; // puts the failing responder back when it goes
    QThread *vpBoxThread = nullptr;
    int vnBoxes = 0;
    ModalBox::setResponder([&](const ModalBox::Request &) {
        vpBoxThread = QThread::currentThread();
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
}

void TestLogging::fatalMessageIsWrittenAndAborts()
{
    QProcess vChild;
    QProcessEnvironment vEnvironment = QProcessEnvironment::systemEnvironment();
    vEnvironment.insert(QString::fromLatin1(cChildVariable), QStringLiteral("1"));
    vChild.setProcessEnvironment(vEnvironment);
    // Without QTest's crash handler the child ends with the plain abort.
    vChild.start(QCoreApplication::applicationFilePath(), {QStringLiteral("-nocrashhandler")});
    QVERIFY(vChild.waitForFinished(60000));

    QCOMPARE(vChild.exitStatus(), QProcess::CrashExit);
    const QString vsError = QString::fromUtf8(vChild.readAllStandardError());
    for (const char *vpExpected : {"(II) child debug line", "(WW) child warning line",
                                   "(CC) child critical line", "(FF) child fatal line"})
        QVERIFY2(vsError.contains(vpExpected + QString(" (") + __FILE__), qPrintable(vsError));
}

QUILLMARK_TEST_MAIN(TestLogging)
#include "test_logging.moc"
