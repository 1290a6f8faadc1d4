#include <QtTest>

#include <QDir>
#include <QPointer>

#include <memory>
#include <vector>

#include "AnalisysWidget.h"
#include "ContourTrace.h"
#include "FileDataProvider.h"
#include "TestFiles.h"
#include "TestMain.h"

namespace {

// A workspace that creates contour traces for type 0, none for any other
// type, and records which provider's signals reached which slot.
class StubWorkspace : public AnalisysWidget
{
public:
    StubWorkspace() : AnalisysWidget(QStringLiteral("ПРОФИЛЬ")) {}
    // The read fills a trace of this workspace: it ends before the traces go.
    ~StubWorkspace() override { stopRead(); }

    AbstractTrace* createTrace(E_ANALISIS_TYPE type) override
    {
        if (type != CONTOUR)
            return nullptr;
        traces.push_back(std::make_unique<ContourTrace>());
        traces.back()->setType(type);
        return traces.back().get();
    }
    void prepareForReport() override {}
    void restoreAfterReport() override {}
    void printReport(QWidget*) override {}
    void saveData() override {}

    void dataReadStarted() override { record(QStringLiteral("started")); }
    void dataBatchReady(int, int) override { ++batches; }
    void dataReadFinished() override { record(QStringLiteral("finished")); }
    void dataReadError(QString error) override { record(QStringLiteral("error ") + error); }
    void dataReset() override { record(QStringLiteral("reset")); }

    // "<slot> <file name of the sending provider>"
    QStringList events;
    int batches = 0;
    std::vector<std::unique_ptr<ContourTrace>> traces;

private:
    void record(const QString& slot)
    {
        const auto* provider = qobject_cast<const DataProvider*>(sender());
        events.append(slot + QLatin1Char(' ') + (provider ? QFileInfo(provider->name()).fileName() : "?"));
    }
};

// A plain number file of `points` rows of x and height.
QString pointsFile(const QString& name, int points)
{
    QString text;
    text.reserve(points * 16);
    for (int i = 0; i < points; ++i)
        text += QString::number(i) + QLatin1Char(' ') + QString::number(i % 97) + QLatin1Char('\n');
    writeText(name, text);
    return QDir::current().filePath(name);
}

} // namespace

class AnalisysWidgetTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void providerSignalsReachTheWorkspace();
    void unreadableSourceReachesTheErrorSlot();
    void replacedProviderNoLongerReaches();
    void replacingAProviderDuringARead();
    void startReadNeedsAProviderAndATrace();
    void destructorDeletesTheProvider_data();
    void destructorDeletesTheProvider();
    void destructorDeletesAReplacedProvider();

private:
    QString m_small;
    QString m_large;
};

void AnalisysWidgetTest::initTestCase()
{
    m_small = pointsFile("small.txt", 1200);
    m_large = pointsFile("large.txt", 1000000);
}

void AnalisysWidgetTest::providerSignalsReachTheWorkspace()
{
    StubWorkspace workspace;
    QCOMPARE(workspace.name(), QStringLiteral("ПРОФИЛЬ"));
    QCOMPARE(workspace.dataProvider(), nullptr);
    auto* provider = new FileDataProvider(m_small);
    workspace.setDataProvider(provider);
    QCOMPARE(workspace.dataProvider(), provider);
    QVERIFY(workspace.startRead(CONTOUR));
    QTRY_COMPARE(workspace.events, (QStringList{"started small.txt", "finished small.txt"}));
    QCOMPARE(workspace.batches, 2);
    QCOMPARE(workspace.traces.size(), std::size_t(1));
    QCOMPARE(workspace.traces.front()->lockedRawData().data->first().size(), 1200);
}

void AnalisysWidgetTest::unreadableSourceReachesTheErrorSlot()
{
    StubWorkspace workspace;
    const QString missing = QDir::current().filePath("missing.txt");
    workspace.setDataProvider(new FileDataProvider(missing));
    QVERIFY(workspace.startRead(CONTOUR));
    QTRY_COMPARE(workspace.events.size(), 3);
    QCOMPARE(workspace.events.first(), QStringLiteral("started missing.txt"));
    QVERIFY(workspace.events.at(1).startsWith("error Can't open file "));
    QVERIFY(workspace.events.at(1).endsWith(" missing.txt"));
    QCOMPARE(workspace.events.last(), QStringLiteral("finished missing.txt"));
}

void AnalisysWidgetTest::replacedProviderNoLongerReaches()
{
    StubWorkspace workspace;
    QPointer<DataProvider> first = new FileDataProvider(m_small);
    workspace.setDataProvider(first);
    QVERIFY(workspace.startRead(CONTOUR));
    QTRY_COMPARE(workspace.events.size(), 2);

    auto* second = new FileDataProvider(m_small);
    workspace.setDataProvider(second);
    QVERIFY(first);
    emit first->dataReadFinished();
    emit first->dataReadError(QStringLiteral("late"));
    emit first->dataReset();
    QCOMPARE(workspace.events.size(), 2);
    QTRY_VERIFY(!first);

    emit second->dataReset();
    QCOMPARE(workspace.events.last(), QStringLiteral("reset small.txt"));
}

// A recording started while a long file is read: the file's read is awaited,
// everything it sent is handled while its provider still exists, and the
// provider goes afterwards.
void AnalisysWidgetTest::replacingAProviderDuringARead()
{
    StubWorkspace workspace;
    QPointer<DataProvider> reading = new FileDataProvider(m_large);
    workspace.setDataProvider(reading);
    QVERIFY(workspace.startRead(CONTOUR));
    QTRY_VERIFY(workspace.batches > 0);
    QVERIFY(reading->isRunning());

    workspace.setDataProvider(new FileDataProvider(m_small));
    QVERIFY(reading);
    QVERIFY(!reading->isRunning());
    QVERIFY(workspace.startRead(CONTOUR));
    QTRY_COMPARE(workspace.events.count(QStringLiteral("finished small.txt")), 1);
    QCOMPARE(workspace.events.count(QStringLiteral("finished large.txt")), 1);
    QCOMPARE(workspace.events.indexOf("finished large.txt") < workspace.events.indexOf("started small.txt"), true);
    QTRY_VERIFY(!reading);
    QCOMPARE(workspace.traces.front()->lockedRawData().data->first().size(), 1000000);
}

void AnalisysWidgetTest::startReadNeedsAProviderAndATrace()
{
    StubWorkspace workspace;
    QVERIFY(!workspace.startRead(CONTOUR));
    workspace.setDataProvider(new FileDataProvider(m_small));
    QVERIFY(!workspace.startRead(PROFILE));
    QVERIFY(workspace.traces.empty());
    QTest::qWait(20);
    QVERIFY(workspace.events.isEmpty());
}

void AnalisysWidgetTest::destructorDeletesTheProvider_data()
{
    QTest::addColumn<bool>("reading");
    QTest::newRow("read finished") << false;
    QTest::newRow("during a read") << true;
}

void AnalisysWidgetTest::destructorDeletesTheProvider()
{
    QFETCH(bool, reading);
    QPointer<DataProvider> provider = new FileDataProvider(reading ? m_large : m_small);
    {
        StubWorkspace workspace;
        workspace.setDataProvider(provider);
        QVERIFY(workspace.startRead(CONTOUR));
        if (reading)
            QTRY_VERIFY(workspace.batches > 0);
        else
            QTRY_COMPARE(workspace.events.size(), 2);
    }
    QVERIFY(!provider);
    QTest::qWait(20);
}

// A provider replaced just before the workspace goes, its deletion still
// pending, goes with the workspace: a recording's provider must not outlive
// the instrument the workspace's panel holds.
void AnalisysWidgetTest::destructorDeletesAReplacedProvider()
{
    QPointer<DataProvider> replaced = new FileDataProvider(m_small);
    {
        StubWorkspace workspace;
        workspace.setDataProvider(replaced);
        QVERIFY(workspace.startRead(CONTOUR));
        QTRY_COMPARE(workspace.events.size(), 2);
        workspace.setDataProvider(new FileDataProvider(m_small));
        QVERIFY(replaced);
    }
    QVERIFY(!replaced);
    QTest::qWait(20);
}

KALVORA_TEST_MAIN(AnalisysWidgetTest)
#include "AnalisysWidgetTest.moc"
