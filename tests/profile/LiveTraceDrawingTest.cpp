#include <QtTest>

#include <QElapsedTimer>
#include <QtConcurrent>

#include <atomic>

#include "LiveTraceDrawing.h"
#include "ProfileTrace.h"
#include "TestMain.h"
#include "plot/PlotWidget.h"

namespace {

ProfileData rows(int from, int count)
{
    ProfileData data(2);
    for (int i = from; i < from + count; ++i) {
        data[0].append(10.0 * i);
        data[1].append(i % 2 == 0 ? 1.0 : -1.0);
    }
    return data;
}

struct Drawing
{
    Drawing()
    {
        graphs.setUnit(QStringLiteral("mm"), false);
        // The replots the plots queued for themselves when they were made.
        QCoreApplication::processEvents();
        connect();
        live.start(&graphs);
    }

    void connect()
    {
        QObject::connect(&main, &QCustomPlot::afterReplot, [this] {
            ++replots;
            pointsAtReplots << graphs.profileCurve()->dataCount();
        });
    }

    // Long enough for the redraw that appends the announced rows.
    static void waitForRedraw() { QTest::qWait(3 * LiveTraceDrawing::kRedrawIntervalMs); }

    QVector<double> keys() const
    {
        QVector<double> keys;
        for (auto it = graphs.profileCurve()->data()->constBegin(); it != graphs.profileCurve()->data()->constEnd(); ++it)
            keys << it->key;
        return keys;
    }

    PlotWidget main;
    PlotWidget histogram;
    PlotWidget ratio;
    ProfileTrace trace;
    TraceGraphsHolder graphs{nullptr, &trace, &main, &histogram, &ratio};
    LiveTraceDrawing live{&main};
    int replots = 0;
    QVector<int> pointsAtReplots;
};

} // namespace

// A trace drawn while it is read: the plot is redrawn at most every 40 ms,
// each redraw appending the rows announced since the one before as far as
// they exist, its ranges taking the rows in.
class LiveTraceDrawingTest : public QObject
{
    Q_OBJECT

private slots:
    void batchesAppendTheRowsThatExist_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("count");
        QTest::addColumn<QVector<double>>("keys"); // millimetres
        QTest::newRow("whole batch") << 2 << 3 << QVector<double>{0.02, 0.03, 0.04};
        QTest::newRow("beyond the end") << 8 << 5 << QVector<double>{0.08, 0.09};
        QTest::newRow("all gone") << 20 << 5 << QVector<double>{};
        QTest::newRow("empty") << 0 << 0 << QVector<double>{};
        QTest::newRow("huge count") << 9 << std::numeric_limits<int>::max() << QVector<double>{0.09};
    }

    void batchesAppendTheRowsThatExist()
    {
        QFETCH(int, from);
        QFETCH(int, count);
        QFETCH(QVector<double>, keys);
        Drawing d;
        d.trace.addPoints(rows(0, 10));
        d.live.append(from, count);
        d.waitForRedraw();
        QCOMPARE(d.keys(), keys);
    }

    void redrawsAtMostEvery40Milliseconds()
    {
        Drawing d;
        QElapsedTimer clock;
        clock.start();
        for (int batch = 0; batch < 200; ++batch) {
            d.trace.addPoints(rows(batch * 100, 100));
            d.live.append(batch * 100, 100);
            QTest::qWait(2);
        }
        QVERIFY(QTest::qWaitFor([&] { return !d.pointsAtReplots.isEmpty() && d.pointsAtReplots.last() == 20000; }));
        QVERIFY2(d.replots <= clock.elapsed() / LiveTraceDrawing::kRedrawIntervalMs + 1,
                 qPrintable(QStringLiteral("%1 replots in %2 ms").arg(d.replots).arg(clock.elapsed())));
        QVERIFY(d.replots >= 2);
        QVERIFY(std::is_sorted(d.pointsAtReplots.cbegin(), d.pointsAtReplots.cend()));
        // The view takes the rows in with a margin of 5 %.
        QCOMPARE(d.main.xAxis->range().lower, -0.05 * 199.99);
        QCOMPARE(d.main.xAxis->range().upper, 199.99 * 1.05);
        QCOMPARE(d.main.yAxis->range().lower, -0.0011);
        QCOMPARE(d.main.yAxis->range().upper, 0.0011);
    }

    // Rows announced at once beyond what one redraw appends follow at the
    // next redraws, in order.
    void manyRowsFollowOverSeveralRedraws()
    {
        Drawing d;
        const int count = 2 * LiveTraceDrawing::kMaxRowsPerRedraw + 123;
        d.trace.addPoints(rows(0, count));
        d.live.append(0, count);
        QVERIFY(QTest::qWaitFor([&] { return !d.pointsAtReplots.isEmpty() && d.pointsAtReplots.last() == count; }));
        QCOMPARE(d.pointsAtReplots.first(), LiveTraceDrawing::kMaxRowsPerRedraw);
        QCOMPARE(d.pointsAtReplots.size(), 3);
        const QVector<double> keys = d.keys();
        QCOMPARE(keys.size(), count);
        for (int i = 0; i < count; ++i)
            QCOMPARE(keys[i], 0.01 * i);
    }

    // A reading thread holding the trace's lock does not hold up the GUI:
    // the redraw leaves the rows for later and the event loop goes on.
    void redrawDoesNotWaitForTheTracesLock()
    {
        Drawing d;
        d.trace.addPoints(rows(0, 10));
        std::atomic<bool> locked{false};
        std::atomic<bool> release{false};
        QFuture<void> reader = QtConcurrent::run([&] {
            const LockedTraceData held = d.trace.lockedRawData();
            locked = true;
            QElapsedTimer clock;
            clock.start();
            while (!release && clock.elapsed() < 5000)
                QThread::msleep(1);
        });
        QVERIFY(QTest::qWaitFor([&] { return locked.load(); }));
        d.live.append(0, 10);
        d.waitForRedraw();
        const int pointsWhileLocked = d.graphs.profileCurve()->dataCount();
        release = true;
        reader.waitForFinished();
        QCOMPARE(pointsWhileLocked, 0);
        d.waitForRedraw();
        QCOMPARE(d.graphs.profileCurve()->dataCount(), 10);
    }

    // The plot's other visible curves stay in view; a trace emptied by its
    // source empties its curve, and rows announced before are not appended.
    void otherCurvesAndARestart()
    {
        Drawing d;
        auto* other = new QCPCurve(d.main.xAxis, d.main.yAxis);
        other->addData(-1, 5);
        other->addData(0.5, -5);
        auto* hidden = new QCPCurve(d.main.xAxis, d.main.yAxis);
        hidden->addData(-100, 100);
        hidden->setVisible(false);
        d.live.start(&d.graphs);
        d.trace.addPoints(rows(0, 10));
        d.live.append(0, 10);
        QVERIFY(QTest::qWaitFor([&] { return d.pointsAtReplots.contains(10); }));
        QCOMPARE(d.main.xAxis->range().lower, -1.075);
        QCOMPARE(d.main.xAxis->range().upper, 0.575);
        QCOMPARE(d.main.yAxis->range().lower, -5.5);
        QCOMPARE(d.main.yAxis->range().upper, 5.5);

        d.trace.addPoints(rows(10, 5));
        d.live.append(10, 5);
        d.trace.clearPoints();
        d.live.clear();
        QCOMPARE(d.graphs.profileCurve()->dataCount(), 0);
        d.trace.addPoints(rows(100, 20));
        d.waitForRedraw();
        QCOMPARE(d.graphs.profileCurve()->dataCount(), 0);
        d.live.append(0, 2);
        d.waitForRedraw();
        QCOMPARE(d.keys(), (QVector<double>{1.0, 1.01}));
        d.live.append(2, 2);
        d.live.stop();
        d.live.append(4, 2);
        d.waitForRedraw();
        QCOMPARE(d.keys(), (QVector<double>{1.0, 1.01}));
    }
};

KALVORA_TEST_MAIN(LiveTraceDrawingTest)
#include "LiveTraceDrawingTest.moc"
