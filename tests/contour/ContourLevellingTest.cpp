#include "contour/ContourLevelling.h"

#include "measurements/math/Levelling.h"

#include "FuzzyCompare.h"
#include "TestMain.h"

#include <QPointF>
#include <QVector>

namespace {

// Points of a contour in micrometres, far enough from the origin that their
// single-precision images differ from unit to unit.
QVector<QPointF> contour()
{
    QVector<QPointF> points;
    for (int i = 0; i <= 100; ++i)
        points.append(QPointF(4123.456 + 37.1 * i, 1234.567 + 11.3 * i));
    return points;
}

QVector<QPointF> scaled(QVector<QPointF> points, double factor)
{
    for (QPointF& p : points)
        p *= factor;
    return points;
}

} // namespace

// The trace points turned by the kept levelling, then shown in a display unit,
// are the curve points turned in place by the lay-flat measurements in the
// units they were made in, brought to that display unit.
class ContourLevellingTest : public QObject
{
    Q_OBJECT
private slots:
    void turnsAsTheCurvesWereTurned()
    {
        const QVector<QPointF> trace = contour();
        // Levelled steeply in millimetres, then again in micrometres.
        QVector<QPointF> curve = scaled(trace, 0.001);
        const QPointF first = curve[10];
        MeasurementMath::rotateInPlace(curve.begin(), curve.end(), first, -1.1);
        curve = scaled(curve, 1000);
        const QPointF second = curve[60];
        MeasurementMath::rotateInPlace(curve.begin(), curve.end(), second, 0.03);

        ContourLevelling levelling;
        QVERIFY(levelling.isEmpty());
        levelling.add(-1.1, first, 0.001);
        levelling.add(0.03, second, 1);
        // In nanometres, to a millionth of one.
        for (int i = 0; i < trace.size(); ++i) {
            const QPointF shown = levelling(trace[i]) * 1000;
            KALVORA_COMPARE_NEAR_AT(shown.x(), curve[i].x() * 1000, 1e-6, QString::number(i));
            KALVORA_COMPARE_NEAR_AT(shown.y(), curve[i].y() * 1000, 1e-6, QString::number(i));
        }

        levelling.clear();
        QVERIFY(levelling.isEmpty());
        QCOMPARE(levelling(trace[5]), trace[5]);
    }
};

KALVORA_TEST_MAIN(ContourLevellingTest)
#include "ContourLevellingTest.moc"
