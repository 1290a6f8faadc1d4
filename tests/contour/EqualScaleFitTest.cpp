#include "contour/EqualScaleFit.h"

#include "FuzzyCompare.h"
#include "TestMain.h"

#include <QPointF>
#include <QVector>

#include <cmath>

Q_DECLARE_METATYPE(QVector<QPointF>)

// The view of a contour plot: every point inside with its margin, one unit as
// long on both axes, whatever the shape of the axis rect.
class EqualScaleFitTest : public QObject
{
    Q_OBJECT

private slots:
    void ranges_data()
    {
        QTest::addColumn<QVector<QPointF>>("points");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("keyLength");
        QTest::addColumn<double>("valueLength");
        const QVector<QPointF> longFlat{{0, 0}, {10, 2}};
        const QVector<QPointF> tallThin{{0, 0}, {2, 10}};
        // The larger margined span is 11; the axis along the rect's shorter
        // side gets it, the other one as much more as the rect is longer.
        QTest::newRow("long trace, wide rect") << longFlat << 800.0 << 400.0 << 22.0 << 11.0;
        QTest::newRow("long trace, narrow rect") << longFlat << 300.0 << 600.0 << 11.0 << 22.0;
        QTest::newRow("long trace, square rect") << longFlat << 500.0 << 500.0 << 11.0 << 11.0;
        QTest::newRow("tall trace, wide rect") << tallThin << 800.0 << 400.0 << 22.0 << 11.0;
        QTest::newRow("tall trace, narrow rect") << tallThin << 300.0 << 600.0 << 11.0 << 22.0;
        QTest::newRow("NaN points are skipped")
            << QVector<QPointF>{{0, 0}, {qQNaN(), 50}, {10, 2}, {40, qQNaN()}} << 300.0 << 600.0 << 11.0 << 22.0;
    }

    void ranges()
    {
        QFETCH(QVector<QPointF>, points);
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(double, keyLength);
        QFETCH(double, valueLength);
        EqualScaleFit fit;
        QVERIFY(fit.isEmpty());
        double keyMin = qInf(), keyMax = -qInf(), valueMin = qInf(), valueMax = -qInf();
        for (const QPointF& point : points) {
            fit.include(point.x(), point.y());
            if (std::isnan(point.x()) || std::isnan(point.y()))
                continue;
            keyMin = std::min(keyMin, point.x());
            keyMax = std::max(keyMax, point.x());
            valueMin = std::min(valueMin, point.y());
            valueMax = std::max(valueMax, point.y());
        }
        QVERIFY(!fit.isEmpty());

        const EqualScaleFit::Ranges r = fit.ranges(width, height);
        KALVORA_COMPARE_NEAR(r.keyUpper - r.keyLower, keyLength, 1e-9);
        KALVORA_COMPARE_NEAR(r.valueUpper - r.valueLower, valueLength, 1e-9);
        KALVORA_COMPARE_NEAR((r.keyLower + r.keyUpper) / 2, (keyMin + keyMax) / 2, 1e-9);
        KALVORA_COMPARE_NEAR((r.valueLower + r.valueUpper) / 2, (valueMin + valueMax) / 2, 1e-9);
        KALVORA_COMPARE_NEAR((r.keyUpper - r.keyLower) / width, (r.valueUpper - r.valueLower) / height, 1e-12);
        QVERIFY(r.keyLower < keyMin && keyMax < r.keyUpper);
        QVERIFY(r.valueLower < valueMin && valueMax < r.valueUpper);
    }
};

KALVORA_TEST_MAIN(EqualScaleFitTest)
#include "EqualScaleFitTest.moc"
