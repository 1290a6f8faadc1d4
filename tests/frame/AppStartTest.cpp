#include <QtTest>

#include "TestFiles.h"
#include "TestMain.h"
#include "TestWorkDir.h"

// Starts the real program offscreen in an empty working directory and waits
// for its log file to record the start.
class AppStartTest : public QObject
{
    Q_OBJECT

private slots:
    void programStartsAndLogs()
    {
        TestWorkDir dir;
        QProcess app;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        app.setProcessEnvironment(env);
        app.setWorkingDirectory(dir.path());
        app.start(QStringLiteral(APP_BINARY), QStringList());
        QVERIFY(app.waitForStarted());

        auto logText = [&dir]() {
            const QStringList logs = QDir(dir.filePath("logs")).entryList(QDir::Files);
            if (logs.isEmpty())
                return QString();
            return readText(dir.filePath("logs/" + logs.first()));
        };
        QTRY_VERIFY_WITH_TIMEOUT(logText().contains(QStringLiteral("INFO: Start Programm")), 20000);
        QCOMPARE(app.state(), QProcess::Running);
        app.kill();
        app.waitForFinished();
    }
};

KALVORA_TEST_MAIN(AppStartTest)
#include "AppStartTest.moc"
