#include "measurements/CurveAccess.h"

#include "plot/PlotCurve.h"

#include "PlotFixture.h"
#include "TestMain.h"

class CurveAccessTest : public QObject
{
    Q_OBJECT
private slots:
    void selectionPointsClipToData_data();
    void selectionPointsClipToData();
    void pointReads_data();
    void pointReads();
    void traceWalkStaysInRegistry();
};

void CurveAccessTest::selectionPointsClipToData_data()
{
    QTest::addColumn<qint64>("begin");
    QTest::addColumn<qint64>("end");
    QTest::addColumn<QVector<double>>("keys");
    QTest::newRow("inside") << qint64(2) << qint64(5) << QVector<double>{2, 3, 4};
    QTest::newRow("begins before the data") << qint64(-3) << qint64(2) << QVector<double>{0, 1};
    QTest::newRow("ends past the data") << qint64(8) << qint64(20) << QVector<double>{8, 9};
    QTest::newRow("reversed") << qint64(5) << qint64(3) << QVector<double>{};
    QTest::newRow("empty range") << qint64(0) << qint64(0) << QVector<double>{};
    QTest::newRow("past the end") << qint64(12) << qint64(14) << QVector<double>{};
}

// A curve of ten points (i, 10 i).
void CurveAccessTest::selectionPointsClipToData()
{
    QFETCH(qint64, begin);
    QFETCH(qint64, end);
    QFETCH(QVector<double>, keys);
    PlotWidget plot;
    auto* curve = new PlotCurve(plot.xAxis, plot.yAxis);
    for (int i = 0; i < 10; ++i)
        curve->addData(i, 10 * i);
    const Selection selection{begin, end, curve};
    QVector<QPointF> expected;
    for (double key : keys)
        expected.append(QPointF(key, 10 * key));
    QCOMPARE(selectionPoints(selection), expected);
    QCOMPARE(selectionSpan(selection).size(), keys.size());

    // The same range on a graph, or on a curve that is gone, reads nothing.
    const Selection onGraph{begin, end, plot.addGraph()};
    QVERIFY(selectionSpan(onGraph).isEmpty());
    plot.removePlottable(curve);
    QVERIFY(selectionPoints(selection).isEmpty());
}

void CurveAccessTest::pointReads_data()
{
    QTest::addColumn<qint64>("index");
    QTest::addColumn<QPointF>("point");
    QTest::newRow("first") << qint64(0) << QPointF(0, 5);
    QTest::newRow("last") << qint64(2) << QPointF(2, 7);
    QTest::newRow("the point count") << qint64(3) << QPointF(0, 0);
    QTest::newRow("negative") << qint64(-1) << QPointF(0, 0);
}

void CurveAccessTest::pointReads()
{
    QFETCH(qint64, index);
    QFETCH(QPointF, point);
    PlotWidget plot;
    auto* curve = new PlotCurve(plot.xAxis, plot.yAxis);
    curve->addData({0, 1, 2}, {5, 6, 7});
    QCOMPARE(curvePointAt(PointRef{index, curve}), point);
    QCOMPARE(curvePointKey(curve, index), point.x());
    QCOMPARE(curvePointValue(curve, index), point.y());
    QCOMPARE(curvePointAt(PointRef{index, nullptr}), QPointF(0, 0));
}

// Curves 0 .. count - 1 of the registry, however many are asked for.
void CurveAccessTest::traceWalkStaysInRegistry()
{
    PlotWidget plot;
    QList<QCPCurve*> curves;
    for (int i = 0; i < 3; ++i)
        curves << new PlotCurve(plot.xAxis, plot.yAxis);
    for (int count : {0, 2, 3, 7}) {
        QList<QCPCurve*> walked;
        forEachTraceCurve(&plot, count, [&](QCPCurve* curve) { walked << curve; });
        QCOMPARE(walked, curves.mid(0, qMin(count, 3)));
    }
    QList<QCPCurve*> all;
    forEachCurve(&plot, [&](QCPCurve* curve) { all << curve; });
    QCOMPARE(all, curves);
    forEachCurve(nullptr, [&](QCPCurve*) { QFAIL("no plot, no curve"); });
}

KALVORA_TEST_MAIN(CurveAccessTest)
#include "CurveAccessTest.moc"
