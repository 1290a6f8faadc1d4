#include "measurements/math/StretchLevel.h"

#include "FuzzyCompare.h"
#include "TestMain.h"

#include <functional>

namespace {

// Points (x, f(x)) for x = 0, 1, ..., count - 1.
QVector<QPointF> points(int count, const std::function<double(double)>& f)
{
    QVector<QPointF> result;
    for (int i = 0; i < count; ++i)
        result.append(QPointF(i, f(i)));
    return result;
}

MeasurementMath::StretchLevel levelOf(const QVector<QPointF>& data, qint64 begin, qint64 end)
{
    return MeasurementMath::stretchLevel(data.constBegin(), data.size(), begin, end);
}

} // namespace

class StretchLevelTest : public QObject
{
    Q_OBJECT
private slots:
    void level_data();
    void level();
    void heightBetweenLevels();
};

void StretchLevelTest::level_data()
{
    QTest::addColumn<QVector<QPointF>>("data");
    QTest::addColumn<qint64>("begin");
    QTest::addColumn<qint64>("end");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("middle");
    QTest::addColumn<double>("height");

    const QVector<QPointF> atOne = points(11, [](double) { return 1.0; });
    const QVector<QPointF> atFour = points(11, [](double) { return 4.0; });
    const QVector<QPointF> tilted = points(11, [](double x) { return 2 * x + 1; });
    const QVector<QPointF> vertical = {{5, 0}, {5, 1}, {5, 2}, {5, 3}};

    // The stretch [2, 6) is closed by the point at 6.
    QTest::newRow("level stretch") << atOne << qint64(2) << qint64(6) << true << 4.0 << 1.0;
    QTest::newRow("tilted stretch") << tilted << qint64(0) << qint64(4) << true << 2.0 << 5.0;
    QTest::newRow("closed by the last point") << atFour << qint64(6) << qint64(10) << true << 8.0 << 4.0;
    // No point after the stretch: the last one closes it.
    QTest::newRow("reaching the end of the data") << atFour << qint64(6) << qint64(11) << true << 8.0 << 4.0;
    QTest::newRow("end beyond the data") << tilted << qint64(6) << qint64(40) << true << 8.0 << 17.0;
    QTest::newRow("empty") << atOne << qint64(3) << qint64(3) << false << 0.0 << 0.0;
    QTest::newRow("one point") << atOne << qint64(3) << qint64(4) << false << 0.0 << 0.0;
    QTest::newRow("keys all equal") << vertical << qint64(0) << qint64(4) << false << 0.0 << 0.0;
    QTest::newRow("begin beyond the data") << atOne << qint64(20) << qint64(30) << false << 0.0 << 0.0;
}

void StretchLevelTest::level()
{
    QFETCH(QVector<QPointF>, data);
    QFETCH(qint64, begin);
    QFETCH(qint64, end);
    QFETCH(bool, valid);
    QFETCH(double, middle);
    QFETCH(double, height);

    const MeasurementMath::StretchLevel level = levelOf(data, begin, end);
    QCOMPARE(level.isValid(), valid);
    if (!valid)
        return;
    KALVORA_COMPARE_NEAR(level.middle, middle, 1e-12);
    KALVORA_COMPARE_NEAR(level.height, height, 1e-12);
}

// Stretches along y = 1 and y = 4 are 3 apart, in either order.
void StretchLevelTest::heightBetweenLevels()
{
    const QVector<QPointF> atOne = points(11, [](double) { return 1.0; });
    const QVector<QPointF> atFour = points(11, [](double) { return 4.0; });
    const MeasurementMath::StretchLevel low = levelOf(atOne, 0, 5);
    const MeasurementMath::StretchLevel high = levelOf(atFour, 5, 11);
    QCOMPARE(MeasurementMath::meanHeight(low, high), 3.0);
    QCOMPARE(MeasurementMath::meanHeight(high, low), 3.0);
    // The value passes through single precision.
    const MeasurementMath::StretchLevel tenth{0, 0.1};
    const MeasurementMath::StretchLevel zero{0, 0};
    QCOMPARE(MeasurementMath::meanHeight(zero, tenth), double(0.1f));
}

KALVORA_TEST_MAIN(StretchLevelTest)
#include "StretchLevelTest.moc"
