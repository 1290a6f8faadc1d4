#include "measurements/math/ExtremePoint.h"

#include "TestMain.h"

using MeasurementMath::Extreme;

class ExtremePointTest : public QObject
{
    Q_OBJECT
private slots:
    void firstStrictExtreme_data();
    void firstStrictExtreme();
};

void ExtremePointTest::firstStrictExtreme_data()
{
    QTest::addColumn<QVector<double>>("values");
    QTest::addColumn<int>("highest");
    QTest::addColumn<int>("lowest");

    QTest::newRow("3 7 7 2") << QVector<double>{3, 7, 7, 2} << 1 << 3;
    QTest::newRow("constant") << QVector<double>{5, 5, 5} << 0 << 0;
    QTest::newRow("one point") << QVector<double>{-1} << 0 << 0;
    QTest::newRow("extremes at the ends") << QVector<double>{9, 4, 1, 6, 0.5, 9} << 0 << 4;
    QTest::newRow("empty") << QVector<double>{} << 0 << 0;
}

void ExtremePointTest::firstStrictExtreme()
{
    QFETCH(QVector<double>, values);
    QFETCH(int, highest);
    QFETCH(int, lowest);

    QVector<QPointF> points;
    for (int i = 0; i < values.size(); ++i)
        points.append(QPointF(10 + i, values.at(i)));
    const auto first = points.constBegin();
    QCOMPARE(int(MeasurementMath::extremePoint(first, points.constEnd(), Extreme::Highest) - first), highest);
    QCOMPARE(int(MeasurementMath::extremePoint(first, points.constEnd(), Extreme::Lowest) - first), lowest);
}

KALVORA_TEST_MAIN(ExtremePointTest)
#include "ExtremePointTest.moc"
