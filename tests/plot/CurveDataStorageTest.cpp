#include <QtTest>

#include <cstring>
#include <limits>

#include "plot/CurveDataStorage.h"
#include "plot/PlotWidget.h"

#include "TestMain.h"

namespace {

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

QString difference(const QCPCurveDataContainer& expected, const QCPCurveDataContainer& actual)
{
    if (expected.size() != actual.size())
        return QStringLiteral("%1 points against %2").arg(expected.size()).arg(actual.size());
    for (int i = 0; i < expected.size(); ++i) {
        const QCPCurveData& e = *expected.at(i);
        const QCPCurveData& a = *actual.at(i);
        if (!sameBits(e.t, a.t) || !sameBits(e.key, a.key) || !sameBits(e.value, a.value))
            return QStringLiteral("point %1: (%2, %3, %4) against (%5, %6, %7)")
                .arg(i)
                .arg(e.t)
                .arg(e.key)
                .arg(e.value)
                .arg(a.t)
                .arg(a.key)
                .arg(a.value);
    }
    return {};
}

} // namespace

// Points written straight into a curve's storage are the points the
// library's own addData makes of the same values.
class CurveDataStorageTest : public QObject
{
    Q_OBJECT

private slots:
    void appendingMatchesTheLibrarysAddData_data()
    {
        QTest::addColumn<int>("pointsBefore");
        QTest::addColumn<int>("reserved");
        QTest::addColumn<double>("factor");
        QTest::newRow("empty curve") << 0 << 0 << 1.0;
        QTest::newRow("onto points, scaled") << 7 << 0 << 0.001;
        QTest::newRow("into reserved room, scaled") << 3 << 200000 << 1000.0;
    }

    void appendingMatchesTheLibrarysAddData()
    {
        QFETCH(int, pointsBefore);
        QFETCH(int, reserved);
        QFETCH(double, factor);
        PlotWidget plot;
        auto* library = new QCPCurve(plot.xAxis, plot.yAxis);
        auto* direct = new QCPCurve(plot.xAxis, plot.yAxis);
        for (int i = 0; i < pointsBefore; ++i) {
            library->addData(i * 0.5, -i);
            direct->addData(i * 0.5, -i);
        }
        reserveCurveData(*direct->data(), reserved);
        QVector<double> keys, values;
        for (int batch = 0; batch < 3; ++batch) {
            keys.clear();
            values.clear();
            for (int i = 0; i < 1000; ++i) {
                keys << batch * 1000 + i * 0.3;
                values << (i % 97 == 0 ? std::numeric_limits<double>::quiet_NaN() : 0.1 * i - 7);
            }
            QVector<double> scaledKeys = keys, scaledValues = values;
            for (int i = 0; i < keys.size(); ++i) {
                scaledKeys[i] *= factor;
                scaledValues[i] *= factor;
            }
            library->addData(scaledKeys, scaledValues);
            appendCurvePoints(*direct->data(), keys.constData(), values.constData(), keys.size(), factor);
        }
        const QString differs = difference(*library->data(), *direct->data());
        QVERIFY2(differs.isEmpty(), qPrintable(differs));
        bool found = false;
        QCOMPARE(direct->data()->keyRange(found), library->data()->keyRange(found));
    }
};

KALVORA_TEST_MAIN(CurveDataStorageTest)
#include "CurveDataStorageTest.moc"
