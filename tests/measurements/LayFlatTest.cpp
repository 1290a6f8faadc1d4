#include "measurements/LayFlatByTwoMeasurement.h"
#include "measurements/LayFlatMeasurement.h"

#include "plot/AdaptiveCurve.h"

#include "DebugCapture.h"
#include "FuzzyCompare.h"
#include "LogTexts.h"
#include "PlotFixture.h"
#include "SignalTexts.h"
#include "TestMain.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <memory>

namespace {

// Points (x, f(x)) for x = 0, 1, ..., 100.
AdaptiveCurve* addCurve(PlotFixture& f, const std::function<double(double)>& shape)
{
    auto* curve = new AdaptiveCurve(f.plot.xAxis, f.plot.yAxis);
    for (int x = 0; x <= 100; ++x)
        curve->addData(x, shape(x));
    return curve;
}

QVector<QCPCurveData> dataOf(const QCPCurve* curve)
{
    return QVector<QCPCurveData>(curve->data()->constBegin(), curve->data()->constEnd());
}

bool bitIdentical(const QVector<QCPCurveData>& a, const QVector<QCPCurveData>& b)
{
    return a.size() == b.size() && std::memcmp(a.constData(), b.constData(), sizeof(QCPCurveData) * size_t(a.size())) == 0;
}

// One lay-flat measurement of either kind, with the cells the manager would
// own for the two-range kind.
struct LayFlat
{
    LayFlat(int kind, PlotWidget* plot, int traceCount)
    {
        if (kind == LAY_FLAT)
            measurement = std::make_unique<LayFlatMeasurement>(plot, traceCount);
        else
            measurement = std::make_unique<LayFlatByTwoMeasurement>(plot, traceCount, &angleCell, &centreCell);
    }

    // One stretch for the one-range kind, two for the other, each picked by a
    // drag from and to the given x along the curve.
    void pick(PlotFixture& f, const std::function<double(double)>& shape, double from, double to)
    {
        if (measurement->type() == LAY_FLAT) {
            f.drag(f.pixel(from, shape(from)), f.pixel(to, shape(to)));
            return;
        }
        const double middle = (from + to) / 2;
        f.drag(f.pixel(from, shape(from)), f.pixel(middle - 5, shape(middle - 5)));
        f.drag(f.pixel(middle + 5, shape(middle + 5)), f.pixel(to, shape(to)));
    }

    double angleCell = 99;
    QPointF centreCell{-1, -1};
    std::unique_ptr<Measurement> measurement;
};

} // namespace

class LayFlatTest : public QObject
{
    Q_OBJECT
private slots:
    void levelling_data();
    void levelling();
    void withoutLineNothingHappens_data();
    void withoutLineNothingHappens();
    void byTwoAfterAStrayClick();
};

void LayFlatTest::levelling_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("slope");
    QTest::addColumn<QString>("ready");

    QTest::newRow("one range, level") << int(LAY_FLAT) << 0.0 << "Укладка готова: [2, 0]";
    QTest::newRow("one range, slope 0.5") << int(LAY_FLAT) << 0.5 << "Укладка готова: [2, 0.5]";
    QTest::newRow("one range, falling") << int(LAY_FLAT) << -0.25 << "Укладка готова: [2, -0.25]";
    QTest::newRow("two ranges, level") << int(LAY_FLAT_BY_TWO) << 0.0 << "Укладка готова: [2, 0]";
    QTest::newRow("two ranges, slope 0.5") << int(LAY_FLAT_BY_TWO) << 0.5 << "Укладка готова: [2, 0.5]";
}

// The trace curve (the first one) along y = 2 + slope x is turned about the
// first picked point until it lies flat; a curve past the trace count keeps
// its data. A level trace keeps its data bit for bit.
void LayFlatTest::levelling()
{
    QFETCH(int, kind);
    QFETCH(double, slope);
    QFETCH(QString, ready);

    PlotFixture f;
    f.plot.yAxis->setRange(-40, 100);
    const auto shape = [slope](double x) { return 2 + slope * x; };
    AdaptiveCurve* trace = addCurve(f, shape);
    AdaptiveCurve* other = addCurve(f, [](double x) { return 80 - x / 4; });
    const QVector<QCPCurveData> traceBefore = dataOf(trace);
    const QVector<QCPCurveData> otherBefore = dataOf(other);
    LayFlat layFlat(kind, &f.plot, 1);
    Measurement* m = layFlat.measurement.get();
    f.plot.replot();
    QSignalSpy rotation(m, &Measurement::setNewAngleAndCenterRot);
    QSignalSpy changed(m, &Measurement::graphDataChanged);
    QSignalSpy status(m, &Measurement::statusText);

    layFlat.pick(f, shape, 10, 60);
    QVERIFY(m->isFinished());
    QCOMPARE(signalTexts(status).last(), ready);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(rotation.count(), 1);
    const double angle = rotation.first().at(0).toDouble();
    const QPointF centre = rotation.first().at(1).toPointF();
    KALVORA_COMPARE_NEAR(angle, -std::atan(slope), 1e-7);
    QCOMPARE(centre, QPointF(10, shape(10)));
    if (kind == LAY_FLAT_BY_TWO) {
        QCOMPARE(layFlat.angleCell, angle);
        QCOMPARE(layFlat.centreCell, centre);
    }
    QVERIFY(logTexts().contains(kind == LAY_FLAT ? QStringLiteral("INFO: LayFlat released ")
                                                 : QStringLiteral("INFO: LayFlatByTwo released ")));

    if (slope == 0)
        QVERIFY(bitIdentical(dataOf(trace), traceBefore));
    for (const QCPCurveData& point : dataOf(trace))
        KALVORA_COMPARE_NEAR(point.value, shape(10), 1e-5);
    QVERIFY(bitIdentical(dataOf(other), otherBefore));
    QCOMPARE(trace->selectable(), QCP::stSingleData);
    QCOMPARE(other->selectable(), QCP::stWhole);
}

void LayFlatTest::withoutLineNothingHappens_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("one range") << int(LAY_FLAT);
    QTest::newRow("two ranges") << int(LAY_FLAT_BY_TWO);
}

// Stretches along a vertical trace have no line (the fit's coefficients are
// not numbers): nothing is rotated, and the measurement stays locked and
// unfinished.
void LayFlatTest::withoutLineNothingHappens()
{
    QFETCH(int, kind);
    PlotFixture f;
    auto* trace = new AdaptiveCurve(f.plot.xAxis, f.plot.yAxis);
    for (int y = 0; y <= 100; ++y)
        trace->addData(50, y);
    const QVector<QCPCurveData> before = dataOf(trace);
    LayFlat layFlat(kind, &f.plot, 1);
    Measurement* m = layFlat.measurement.get();
    f.plot.replot();
    QSignalSpy rotation(m, &Measurement::setNewAngleAndCenterRot);
    QSignalSpy changed(m, &Measurement::graphDataChanged);
    DebugCapture debug;

    layFlat.pick(f, [](double y) { return y; }, 10, 60);
    QVERIFY(m->selectionsComplete());
    QVERIFY(m->isSelectionLocked());
    QVERIFY(!m->isFinished());
    QVERIFY(rotation.isEmpty());
    QVERIFY(changed.isEmpty());
    QVERIFY(bitIdentical(dataOf(trace), before));
    QCOMPARE(debug.contains(QStringLiteral("Invalid RMS")), kind == LAY_FLAT_BY_TWO);
    QCOMPARE(layFlat.angleCell, 99.0);
    QCOMPARE(layFlat.centreCell, QPointF(-1, -1));
}

// A click that picked nothing takes the place of the first range: the two
// selections never become complete, so the release after the next drag has
// no line to level with.
void LayFlatTest::byTwoAfterAStrayClick()
{
    PlotFixture f;
    const auto shape = [](double x) { return 10 + x / 2; };
    addCurve(f, shape);
    LayFlat layFlat(LAY_FLAT_BY_TWO, &f.plot, 1);
    Measurement* m = layFlat.measurement.get();
    f.plot.replot();
    QSignalSpy status(m, &Measurement::statusText);
    DebugCapture debug;

    f.strayClick();
    f.drag(f.pixel(20, shape(20)), f.pixel(60, shape(60)));
    QCOMPARE(m->selectionCount(), 2);
    QVERIFY(!m->selectionsComplete());
    QCOMPARE(signalTexts(status).last(), QStringLiteral("Выделите две линии"));
    QVERIFY(debug.contains(QStringLiteral("Invalid RMS")));
    QVERIFY(m->isSelectionLocked());
    QVERIFY(!m->isFinished());
    QCOMPARE(layFlat.angleCell, 99.0);
}

KALVORA_TEST_MAIN(LayFlatTest)
#include "LayFlatTest.moc"
