#include <QtTest>

#include "DesktopOpenRecorder.h"
#include "DesktopServices.h"
#include "TestMain.h"

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
