#include <QtTest>

#include <iostream>
#include <sstream>
#include <thread>
#include <vector>

#include "Logger.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "TestWorkDir.h"

namespace {

QStringList readLines(const QString& path)
{
    return readText(path).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void touch(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

} // namespace

class LoggerTest : public QObject
{
    Q_OBJECT

private slots:
    void levelNames_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("name");
        QTest::newRow("debug") << 0 << "DEBUG";
        QTest::newRow("info") << 1 << "INFO";
        QTest::newRow("warning") << 2 << "WARNING";
        QTest::newRow("error") << 3 << "ERROR";
        QTest::newRow("critical") << 4 << "CRITICAL";
        QTest::newRow("past the end") << 7 << "UNKNOWN";
        QTest::newRow("negative") << -1 << "UNKNOWN";
    }

    void levelNames()
    {
        QFETCH(int, level);
        QFETCH(QString, name);
        QCOMPARE(QString::fromStdString(Logger::levelName(level)), name);
    }

    void fileNameAndLineFormat()
    {
        TestWorkDir dir;
        Logger logger;
        QVERIFY(logger.isOpen());
        QVERIFY(QRegularExpression(QStringLiteral("^\\./logs/\\d{4}_\\d\\d_\\d\\d_\\d\\d_\\d\\d_\\d\\d\\.txt$"))
                    .match(logger.fileName())
                    .hasMatch());

        logger.log(INFO, "Start Programm");
        logger.log(CRITICAL, QStringLiteral("Отчёт"));
        logger.log(9, "odd");

        const QStringList lines = readLines(logger.fileName());
        QCOMPARE(lines.size(), 3);
        const QRegularExpression line(QStringLiteral("^\\[\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\] (.*)$"));
        QCOMPARE(line.match(lines[0]).captured(1), QStringLiteral("INFO: Start Programm"));
        QCOMPARE(line.match(lines[1]).captured(1), QStringLiteral("CRITICAL: Отчёт"));
        QCOMPARE(line.match(lines[2]).captured(1), QStringLiteral("UNKNOWN: odd"));
    }

    // Two runs started within one second share the file name; the second
    // must not wipe what the first wrote.
    void secondRunInTheSameSecondKeepsTheFirstRunsLines()
    {
        TestWorkDir dir;
        for (int attempt = 0; attempt < 5; ++attempt) {
            QDir(QStringLiteral("logs")).removeRecursively();
            Logger first;
            first.log(INFO, "Start Programm");
            Logger second;
            if (second.fileName() != first.fileName())
                continue;
            second.log(INFO, "Start Programm");
            first.log(INFO, "End programm");
            QStringList texts;
            for (const QString& line : readLines(first.fileName()))
                texts << line.section(QLatin1String("] "), 1);
            QCOMPARE(texts, QStringList({"INFO: Start Programm", "INFO: Start Programm", "INFO: End programm"}));
            return;
        }
        QSKIP("no two loggers were made within one second");
    }

    // 160 old logs and the two folder entries make 162; the ten first by path
    // go, of which "." and ".." cannot be removed, so the 8 oldest logs go.
    void pruningKeepsTheNewestLogs()
    {
        TestWorkDir dir;
        QDir().mkpath(QStringLiteral("logs"));
        QStringList names;
        for (int i = 0; i < 160; ++i)
            names << QStringLiteral("2020_01_01_00_%1_%2.txt").arg(i / 60, 2, 10, QLatin1Char('0')).arg(i % 60, 2, 10, QLatin1Char('0'));
        for (const QString& name : names)
            touch(QStringLiteral("logs/") + name);

        Logger logger;
        const QStringList remaining = QDir(QStringLiteral("logs")).entryList(QDir::Files, QDir::Name);
        QCOMPARE(remaining.size(), Logger::kMaxLogEntries + 1);
        for (int i = 0; i < 8; ++i)
            QVERIFY2(!remaining.contains(names[i]), qPrintable(names[i]));
        for (int i = 8; i < 160; ++i)
            QVERIFY2(remaining.contains(names[i]), qPrintable(names[i]));
    }

    void fewLogsAreKept()
    {
        TestWorkDir dir;
        QDir().mkpath(QStringLiteral("logs"));
        for (int i = 0; i < 20; ++i)
            touch(QStringLiteral("logs/old_%1.txt").arg(i));
        Logger logger;
        QCOMPARE(QDir(QStringLiteral("logs")).entryList(QDir::Files).size(), 21);
    }

    void concurrentLinesStayWhole()
    {
        TestWorkDir dir;
        Logger logger;
        const int threads = 4;
        const int linesPerThread = 2000;
        const std::string payload(200, 'x');
        std::vector<std::thread> workers;
        for (int t = 0; t < threads; ++t) {
            workers.emplace_back([&logger, &payload, t] {
                for (int i = 0; i < linesPerThread; ++i)
                    logger.log(INFO, "thread " + std::to_string(t) + " " + payload);
            });
        }
        for (std::thread& worker : workers)
            worker.join();

        const QStringList lines = readLines(logger.fileName());
        QCOMPARE(lines.size(), threads * linesPerThread);
        const QRegularExpression whole(
            QStringLiteral("^\\[[^\\]]+\\] INFO: thread [0-3] x{200}$"));
        for (const QString& line : lines)
            QVERIFY2(whole.match(line).hasMatch(), qPrintable(line.left(80)));
    }

    void unopenableFileIsReportedOnceAndIgnored()
    {
        TestWorkDir dir;
        touch(QStringLiteral("logs"));

        std::ostringstream captured;
        std::streambuf* previous = std::cerr.rdbuf(captured.rdbuf());
        {
            Logger logger;
            logger.log(INFO, "lost");
            QVERIFY(!logger.isOpen());
        }
        std::cerr.rdbuf(previous);
        QCOMPARE(QString::fromStdString(captured.str()), QStringLiteral("Error opening log file.\n"));
    }
};

KALVORA_TEST_MAIN(LoggerTest)
#include "LoggerTest.moc"
