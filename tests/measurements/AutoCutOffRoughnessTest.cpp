#include "measurements/math/AutoCutOffRoughness.h"

#include "../algos/ProfileFixtures.h"

#include "AmplitudeParameters.h"
#include "CutOff.h"

#include "FuzzyCompare.h"
#include "TestMain.h"

#include <limits>

Q_DECLARE_METATYPE(std::optional<double>)

namespace {

// What a stubbed parameter saw, pass by pass.
struct Passes
{
    QVector<double> cutOffs;
    QVector<double> lengths;
};

double lengthOf(const ProfileData& profile)
{
    return profile[0].isEmpty() ? 0 : profile[0].last() - profile[0].first();
}

// The loop on a cosine `length` micrometres long, with a parameter that
// returns `values` pass by pass and a choice that calls for `choices`.
MeasurementMath::CutOffRoughness runScript(double length, const QVector<double>& values, const QVector<int>& choices,
                                 Passes& passes)
{
    int call = 0;
    int choice = 0;
    return MeasurementMath::autoCutOffRoughness(
        fixtures::cosine(1, 100, length, 1),
        [&](const ProfileData& profile, double cutOff) {
            passes.cutOffs.append(cutOff);
            passes.lengths.append(lengthOf(profile));
            return values.value(call++);
        },
        [&](double) { return choices.value(choice++); });
}

} // namespace

class AutoCutOffRoughnessTest : public QObject
{
    Q_OBJECT
private slots:
    void cutOffChoice_data();
    void cutOffChoice();
    void sineThroughTheRealFilter_data();
    void sineThroughTheRealFilter();
    void micrometresPerUnit_data();
    void micrometresPerUnit();
    void twiceTheCutOffAsReadBack();
};

void AutoCutOffRoughnessTest::cutOffChoice_data()
{
    QTest::addColumn<double>("length");
    QTest::addColumn<QVector<double>>("values");
    QTest::addColumn<QVector<int>>("choices");
    QTest::addColumn<std::optional<double>>("shown");
    // Without a value, the cut-off the profile was too short for (0: none).
    QTest::addColumn<double>("tooShortFor");
    QTest::addColumn<QVector<double>>("cutOffs");
    // Lengths of the profile each pass evaluated: every pass filters the
    // profile the pass before left, half a cut-off shorter at each end.
    QTest::addColumn<QVector<double>>("lengths");

    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("calls for its own cut-off") << 4000.0 << QVector<double>{0.5} << QVector<int>{800}
                                               << std::optional<double>(0.5) << 0.0 << QVector<double>{800}
                                               << QVector<double>{3200};
    QTest::newRow("back to a cut-off tried before")
        << 8000.0 << QVector<double>{0.5, 3.0} << QVector<int>{2500, 800} << std::optional<double>(3.0) << 0.0
        << QVector<double>{800, 2500} << QVector<double>{7200, 4700};
    QTest::newRow("down to the shortest")
        << 8000.0 << QVector<double>{0.5, 0.3, 0.01} << QVector<int>{250, 80, 80} << std::optional<double>(0.01) << 0.0
        << QVector<double>{800, 250, 80} << QVector<double>{7200, 6950, 6870};
    QTest::newRow("no standard names a cut-off") << 4000.0 << QVector<double>{0.5} << QVector<int>{0}
                                                 << std::optional<double>(0.5) << 0.0 << QVector<double>{800}
                                                 << QVector<double>{3200};
    QTest::newRow("shorter than twice 800") << 1500.0 << QVector<double>{0.5} << QVector<int>{800}
                                            << std::optional<double>() << 800.0 << QVector<double>{}
                                            << QVector<double>{};
    QTest::newRow("exactly twice 800") << 1600.0 << QVector<double>{0.5} << QVector<int>{800}
                                       << std::optional<double>(0.5) << 0.0 << QVector<double>{800}
                                       << QVector<double>{800};
    QTest::newRow("filtered profile too short for the next cut-off")
        << 4000.0 << QVector<double>{0.5} << QVector<int>{2500} << std::optional<double>() << 2500.0
        << QVector<double>{800} << QVector<double>{3200};
    QTest::newRow("0 at four decimals") << 4000.0 << QVector<double>{0.00004} << QVector<int>{800}
                                        << std::optional<double>() << 0.0 << QVector<double>{800}
                                        << QVector<double>{3200};
    QTest::newRow("0.0001 at four decimals") << 4000.0 << QVector<double>{0.00006} << QVector<int>{800}
                                             << std::optional<double>(0.00006) << 0.0 << QVector<double>{800}
                                             << QVector<double>{3200};
    QTest::newRow("not a number") << 4000.0 << QVector<double>{nan} << QVector<int>{800} << std::optional<double>()
                                  << 0.0 << QVector<double>{800} << QVector<double>{3200};
}

void AutoCutOffRoughnessTest::cutOffChoice()
{
    QFETCH(double, length);
    QFETCH(QVector<double>, values);
    QFETCH(QVector<int>, choices);
    QFETCH(std::optional<double>, shown);
    QFETCH(double, tooShortFor);
    QFETCH(QVector<double>, cutOffs);
    QFETCH(QVector<double>, lengths);

    Passes passes;
    const MeasurementMath::CutOffRoughness result = runScript(length, values, choices, passes);
    QCOMPARE(result.value.has_value(), shown.has_value());
    if (shown)
        QCOMPARE(*result.value, *shown);
    QCOMPARE(result.tooShortFor, tooShortFor);
    QCOMPARE(passes.cutOffs, cutOffs);
    QCOMPARE(passes.lengths, lengths);
}

// Ra of a sine of amplitude 1 µm is 2/π µm, whatever display unit the points
// come in.
void AutoCutOffRoughnessTest::sineThroughTheRealFilter_data()
{
    QTest::addColumn<double>("unitsPerMicrometre");
    QTest::addColumn<int>("axisUnit");
    QTest::addColumn<double>("expected");

    QTest::newRow("millimetres") << 0.001 << 0 << 2 / fixtures::kPi;
    QTest::newRow("micrometres") << 1.0 << 1 << 2 / fixtures::kPi;
    QTest::newRow("nanometres") << 1000.0 << 2 << 2 / fixtures::kPi;
}

void AutoCutOffRoughnessTest::sineThroughTheRealFilter()
{
    QFETCH(double, unitsPerMicrometre);
    QFETCH(int, axisUnit);
    QFETCH(double, expected);

    // A sine of period 100 µm over 4 mm, one point per micrometre, in the
    // display unit.
    QVector<QPointF> points;
    for (int i = 0; i <= 4000; ++i)
        points.append(QPointF(i, std::sin(2 * fixtures::kPi * i / 100)) * unitsPerMicrometre);

    const ProfileData profile = MeasurementMath::profileInMicrometres(
        points.constBegin(), points.constEnd(), MeasurementMath::micrometresPerUnit(axisUnit));
    QCOMPARE(profile[0].size(), points.size());
    KALVORA_COMPARE_NEAR(profile[0].last(), 4000.0, 1e-9);

    QVector<double> cutOffs;
    const std::optional<double> value = MeasurementMath::autoCutOffRoughness(
        profile,
        [&](const ProfileData& filtered, double cutOff) {
            cutOffs.append(cutOff);
            return Algos::Ra(filtered, cutOff);
        },
        [](double v) { return Algos::standardCutOff(v, 0); }).value;
    QVERIFY(value);
    KALVORA_COMPARE_NEAR(*value, expected, 0.02 * expected);
    QCOMPARE(cutOffs, QVector<double>{800});
}

void AutoCutOffRoughnessTest::micrometresPerUnit_data()
{
    QTest::addColumn<int>("axisUnit");
    QTest::addColumn<double>("micrometres");

    QTest::newRow("millimetres") << 0 << 1000.0;
    QTest::newRow("micrometres") << 1 << 1.0;
    QTest::newRow("nanometres") << 2 << 0.001;
    QTest::newRow("unknown unit") << 7 << 0.001;
}

void AutoCutOffRoughnessTest::micrometresPerUnit()
{
    QFETCH(int, axisUnit);
    QFETCH(double, micrometres);
    QCOMPARE(MeasurementMath::micrometresPerUnit(axisUnit), micrometres);
}

// A stretch exactly twice 800 um long as it comes back from millimetres (1130
// as 1130.0000000000002, 2730 as 2730) is long enough, as it is with the keys
// as sampled.
void AutoCutOffRoughnessTest::twiceTheCutOffAsReadBack()
{
    ProfileData profile = fixtures::sampled(1130, 2730, 10, [](double x) { return std::sin(x / 50); });
    profile[0] = fixtures::readBackFromMillimetres(profile[0]);
    QVERIFY(lengthOf(profile) < 1600);
    const MeasurementMath::CutOffRoughness result = MeasurementMath::autoCutOffRoughness(
        profile, [](const ProfileData&, double) { return 0.5; }, [](double) { return 800; });
    QCOMPARE(result.value, std::optional<double>(0.5));
}

KALVORA_TEST_MAIN(AutoCutOffRoughnessTest)
#include "AutoCutOffRoughnessTest.moc"
