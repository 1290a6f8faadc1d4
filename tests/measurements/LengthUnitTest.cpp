#include "measurements/math/LengthUnit.h"

#include "TestMain.h"

using namespace MeasurementMath;

class LengthUnitTest : public QObject
{
    Q_OBJECT
private slots:
    void conversion_data();
    void conversion();
    void unitTexts_data();
    void unitTexts();
};

void LengthUnitTest::conversion_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<double>("expected");

    QTest::newRow("5000 um to mm") << 5000.0 << int(Micrometres) << int(Millimetres) << 5.0;
    QTest::newRow("5 mm to um") << 5.0 << int(Millimetres) << int(Micrometres) << 5000.0;
    QTest::newRow("5 mm to nm") << 5.0 << int(Millimetres) << int(Nanometres) << 5e6;
    QTest::newRow("2500 nm to mm") << 2500.0 << int(Nanometres) << int(Millimetres) << 0.0025;
    QTest::newRow("2500 nm to um") << 2500.0 << int(Nanometres) << int(Micrometres) << 2.5;
    QTest::newRow("0.7 um to nm") << 0.7 << int(Micrometres) << int(Nanometres) << 700.0;
    QTest::newRow("same unit") << 0.1 << int(Nanometres) << int(Nanometres) << 0.1;
    QTest::newRow("to an unknown unit") << 5.0 << int(Millimetres) << 3 << 5.0;
    QTest::newRow("from an unknown unit") << 5.0 << -1 << int(Micrometres) << 5.0;
}

void LengthUnitTest::conversion()
{
    QFETCH(double, value);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(double, expected);
    QCOMPARE(convertLength(value, from, to), expected);
}

void LengthUnitTest::unitTexts_data()
{
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("text");

    QTest::newRow("millimetres") << int(Millimetres) << QStringLiteral("мм");
    QTest::newRow("micrometres") << int(Micrometres) << QStringLiteral("мкм");
    QTest::newRow("nanometres") << int(Nanometres) << QStringLiteral("нм");
}

void LengthUnitTest::unitTexts()
{
    QFETCH(int, unit);
    QFETCH(QString, text);
    QCOMPARE(lengthUnitText(unit), text);
    QCOMPARE(lengthUnitOfText(text), unit);
    QCOMPARE(lengthUnitText(3), QString());
    QCOMPARE(lengthUnitOfText(QStringLiteral("см")), -1);
}

KALVORA_TEST_MAIN(LengthUnitTest)
#include "LengthUnitTest.moc"
