#include <QtTest>

#include <QDBusConnection>
#include <QMutex>
#include <QProcess>
#include <QTemporaryFile>
#include <QThread>

#include "DesktopOpenRecorder.h"
#include "DesktopServices.h"
#include "TestFiles.h"
#include "TestMain.h"

namespace {

const QString kCaller = QStringLiteral("test: program's side");
const QString kStandIn = QStringLiteral("test: file manager's side");

// A session bus of the test's own: a dbus-daemon that knows no service
// files, so nothing on it is started on demand.
class PrivateBus
{
public:
    PrivateBus()
    {
        m_config.open();
        m_config.write("<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen><auth>EXTERNAL</auth>"
                       "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                       "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>");
        m_config.close();
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--config-file=") + m_config.fileName(), QStringLiteral("--print-address"),
                        QStringLiteral("--nofork")});
        if (m_daemon.waitForStarted() && m_daemon.waitForReadyRead(10000))
            m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        for (const QString& name : m_connections)
            QDBusConnection::disconnectFromBus(name);
        m_daemon.kill();
        m_daemon.waitForFinished();
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    QString address() const { return m_address; }

    QDBusConnection connect(const QString& name)
    {
        m_connections.append(name);
        return QDBusConnection::connectToBus(m_address, name);
    }

private:
    QTemporaryFile m_config;
    QProcess m_daemon;
    QString m_address;
    QStringList m_connections;
};

// The file manager's end of the call, run in a thread of its own so that it
// answers while the program waits for the reply.
class StandInFileManager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    QList<QStringList> calls() const
    {
        QMutexLocker lock(&m_mutex);
        return m_calls;
    }

public slots:
    void ShowItems(const QStringList& uris, const QString& startupId)
    {
        Q_UNUSED(startupId)
        QMutexLocker lock(&m_mutex);
        m_calls.append(uris);
    }

private:
    mutable QMutex m_mutex;
    QList<QStringList> m_calls;
};

} // namespace

class DesktopServicesTest : public QObject
{
    Q_OBJECT

private slots:
    void opensAbsoluteLocations_data()
    {
        QTest::addColumn<bool>("inFolder");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        const QString cwd = QDir::currentPath();
        QTest::newRow("file, relative") << false << "out/report.html" << cwd + "/out/report.html";
        QTest::newRow("file, absolute") << false << "/srv/Профили/a b.txt" << "/srv/Профили/a b.txt";
        QTest::newRow("folder of a relative file") << true << "out/report.html" << cwd + "/out";
        QTest::newRow("folder of an absolute file") << true << "/srv/Профили/a b.txt" << "/srv/Профили";
        QTest::newRow("folder of a bare name") << true << "report.html" << cwd;
    }

    void opensAbsoluteLocations()
    {
        QFETCH(bool, inFolder);
        QFETCH(QString, path);
        QFETCH(QString, expected);
        DesktopOpenRecorder recorder;
        QVERIFY(inFolder ? DesktopServices::showInFolder(path) : DesktopServices::openPath(path));
        QCOMPARE(recorder.urls(), QList<QUrl>{QUrl::fromLocalFile(expected)});
    }

    void reportsTheOpenersResult()
    {
        DesktopOpenRecorder refusing(false);
        QVERIFY(!DesktopServices::openPath(QStringLiteral("report.html")));
        QVERIFY(!DesktopServices::showInFolder(QStringLiteral("report.html")));
        QCOMPARE(refusing.urls().size(), 2);
    }

    // A file manager on the bus shows the file selected; the folder is not
    // opened besides.
    void showsTheFileSelected()
    {
        PrivateBus bus;
        QVERIFY2(!bus.address().isEmpty(), "dbus-daemon did not start");
        QThread thread;
        auto* fileManager = new StandInFileManager;
        fileManager->moveToThread(&thread);
        thread.start();
        QDBusConnection standIn = bus.connect(kStandIn);
        QVERIFY(standIn.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), fileManager,
                                       QDBusConnection::ExportAllSlots));
        QVERIFY(standIn.registerService(QStringLiteral("org.freedesktop.FileManager1")));
        QVERIFY(bus.connect(kCaller).isConnected());
        DesktopOpenRecorder recorder;
        const QString previousBus = DesktopServices::setFileManagerBus(kCaller);

        writeText(QStringLiteral("files/a b#1.txt"), QStringLiteral("PROFILE"));
        const bool shown = DesktopServices::showInFolder(QStringLiteral("files/a b#1.txt"));

        DesktopServices::setFileManagerBus(previousBus);
        const QList<QStringList> calls = fileManager->calls();
        thread.quit();
        thread.wait();
        delete fileManager;
        QVERIFY(shown);
        const QString uri =
            QUrl::fromLocalFile(QDir::current().absoluteFilePath(QStringLiteral("files/a b#1.txt"))).toString(QUrl::FullyEncoded);
        QVERIFY2(uri.endsWith(QStringLiteral("/files/a%20b%231.txt")), qPrintable(uri));
        QCOMPARE(calls, QList<QStringList>{{uri}});
        QVERIFY(recorder.urls().isEmpty());
    }

    // A bus on which no file manager answers: the containing folder opens.
    void opensTheFolderWhenNoFileManagerAnswers()
    {
        PrivateBus bus;
        QVERIFY2(!bus.address().isEmpty(), "dbus-daemon did not start");
        QVERIFY(bus.connect(kCaller).isConnected());
        DesktopOpenRecorder recorder;
        const QString previousBus = DesktopServices::setFileManagerBus(kCaller);

        QVERIFY(DesktopServices::showInFolder(QStringLiteral("files/a.txt")));
        DesktopServices::setFileManagerBus(previousBus);

        QCOMPARE(recorder.urls(), QList<QUrl>{QUrl::fromLocalFile(QDir::current().filePath(QStringLiteral("files")))});
    }

    void innerReplacementRestoresTheOuter()
    {
        DesktopOpenRecorder outer;
        {
            DesktopOpenRecorder inner;
            DesktopServices::openPath(QStringLiteral("a"));
            QCOMPARE(inner.urls().size(), 1);
        }
        DesktopServices::openPath(QStringLiteral("b"));
        QCOMPARE(outer.urls(), QList<QUrl>{QUrl::fromLocalFile(QDir::current().absoluteFilePath("b"))});
    }
};

KALVORA_TEST_MAIN(DesktopServicesTest)
#include "DesktopServicesTest.moc"
