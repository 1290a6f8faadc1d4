#include "measurements/RAMeasurement.h"
#include "measurements/RZMeasurement.h"
#include "measurements/math/Dimension.h"

#include "plot/AdaptiveCurve.h"

#include "AmplitudeParameters.h"
#include "GaussFilter.h"

#include "FuzzyCompare.h"
#include "LogTexts.h"
#include "PlotFixture.h"
#include "SettingsFixture.h"
#include "SignalTexts.h"
#include "TestMain.h"

#include <cmath>
#include <memory>

namespace {

constexpr double kPi = 3.14159265358979323846;

void setSettings(int axisUnit, int standard)
{
    changeSettings([&](AppSettings& settings) {
        settings.view.axis_unit = axisUnit;
        settings.preferenses.standartisation_value = standard;
    });
}

// Ra that counts its evaluations.
class CountingRa : public RAMeasurement
{
public:
    using RAMeasurement::RAMeasurement;
    double computeParameter(const ProfileData& profile, double cutOff) const override
    {
        ++evaluations;
        return RAMeasurement::computeParameter(profile, cutOff);
    }
    mutable int evaluations = 0;
};

// A sine of amplitude 1 µm and period 100 µm, one point per micrometre,
// `length` micrometres long, in the display unit; the view shows it whole.
struct SineScene
{
    explicit SineScene(double length, double unitsPerMicrometre)
        : scale(unitsPerMicrometre)
    {
        curve = new AdaptiveCurve(f.plot.xAxis, f.plot.yAxis);
        for (int i = 0; i <= int(length); ++i)
            curve->addData(i * scale, std::sin(2 * kPi * i / 100) * scale);
        f.plot.xAxis->setRange(-0.05 * length * scale, 1.05 * length * scale);
        f.plot.yAxis->setRange(-3 * scale, 3 * scale);
        end = length * scale;
    }

    // The whole trace, picked with one drag.
    void pickAll()
    {
        f.plot.replot();
        f.drag(f.pixel(0, 0), f.pixel(end, 0));
    }

    QPoint at(double micrometresAlong, double micrometresUp) const
    {
        return f.pixel(micrometresAlong * scale, micrometresUp * scale);
    }

    PlotFixture f;
    AdaptiveCurve* curve = nullptr;
    double scale = 1;
    double end = 0;
};

QCPItemText* labelOf(PlotWidget& plot)
{
    for (int i = 0; i < plot.itemCount(); ++i) {
        if (auto* label = qobject_cast<QCPItemText*>(plot.item(i)))
            return label;
    }
    return nullptr;
}

// Rz of the profile of the curve's points [begin, end) in micrometres,
// filtered once with 800 µm.
double rzAt800(const QCPCurve* curve, qint64 begin, qint64 end, double scale)
{
    ProfileData profile(2);
    for (qint64 i = begin; i < end; ++i) {
        const QCPCurveData& point = *(curve->data()->constBegin() + i);
        profile[0].append(point.key / scale);
        profile[1].append(point.value / scale);
    }
    return Algos::Rz(Algos::gaussFilter(profile, 800, 800.0 / 300), 800);
}

} // namespace

class RoughnessTest : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void sine_data();
    void sine();
    void filteringRunsWhenTheInputsChange();
    void shortRangeShowsNothing();
};

void RoughnessTest::cleanup()
{
    setSettings(0, 0);
}

void RoughnessTest::sine_data()
{
    QTest::addColumn<bool>("rz");
    QTest::addColumn<int>("axisUnit");
    QTest::addColumn<double>("unitsPerMicrometre");

    QTest::newRow("Ra, millimetres") << false << 0 << 0.001;
    QTest::newRow("Ra, micrometres") << false << 1 << 1.0;
    QTest::newRow("Rz, millimetres") << true << 0 << 0.001;
}

// The value is in micrometres in every display unit; the value line of the
// label is the one next to the dimension line.
void RoughnessTest::sine()
{
    QFETCH(bool, rz);
    QFETCH(int, axisUnit);
    QFETCH(double, unitsPerMicrometre);
    setSettings(axisUnit, 0);

    SineScene scene(4000, unitsPerMicrometre);
    std::unique_ptr<RoughnessMeasurement> m;
    if (rz)
        m = std::make_unique<RZMeasurement>(&scene.f.plot, 1);
    else
        m = std::make_unique<RAMeasurement>(&scene.f.plot, 1);
    QCOMPARE(logTexts().last(), QStringLiteral("INFO: RAMeasurement started"));
    QSignalSpy status(m.get(), &Measurement::statusText);
    scene.pickAll();
    QCOMPARE(signalTexts(status).last(), QStringLiteral("Расположите значение"));
    QVERIFY(m->selection(0)->end - m->selection(0)->begin > 3900);

    scene.f.move(scene.at(2000, 2));
    const double expected = rz ? rzAt800(scene.curve, m->selection(0)->begin, m->selection(0)->end, scene.scale)
                               : 2 / kPi;
    KALVORA_COMPARE_NEAR(m->value(), expected, 0.02 * expected);
    QVERIFY(m->valueText().endsWith(QStringLiteral("мкм")));
    const QString result = m->name() + QStringLiteral(": ") + m->valueText();
    QCOMPARE(signalTexts(status).last(), result);
    QCPItemText* label = labelOf(scene.f.plot);
    QVERIFY(label);
    QVERIFY(label->visible());
    QCOMPARE(int(label->positionAlignment()), MeasurementMath::kAnchoredAtBottom);
    QCOMPARE(label->text(), QStringLiteral("\n") + result);

    scene.f.move(scene.at(2000, -2));
    QCOMPARE(int(label->positionAlignment()), MeasurementMath::kAnchoredAtTop);
    QCOMPARE(label->text(), result + QStringLiteral("\n"));
    m->setLabelText(QStringLiteral("R_1"));
    m->updateLabel();
    QCOMPARE(label->text(), QStringLiteral("R_1"));

    scene.f.press(scene.at(2000, -2));
    scene.f.release(scene.at(2000, -2));
    QVERIFY(m->isFinished());
    const QStringList log = logTexts();
    QCOMPARE(log.mid(log.size() - 2),
             QStringList({"INFO: Finished", QStringLiteral("INFO: Result - ") + result}));
    m.reset();
    QCOMPARE(logTexts().last(), QStringLiteral("INFO: ") + result.section(':', 0, 0)
                                    + QStringLiteral(" delete with value: ") + result.section(": ", 1));
}

// Moving the label does not filter again; changed data or a changed standard
// does.
void RoughnessTest::filteringRunsWhenTheInputsChange()
{
    SineScene scene(4000, 0.001);
    CountingRa m(&scene.f.plot, 1);
    scene.pickAll();
    scene.f.move(scene.at(1000, 2));
    const int evaluations = m.evaluations;
    const double value = m.value();
    for (int i = 0; i < 5; ++i)
        scene.f.move(scene.at(1200 + 300 * i, 1.5 - i));
    QCOMPARE(m.evaluations, evaluations);

    for (auto it = scene.curve->data()->begin(); it != scene.curve->data()->end(); ++it)
        it->value *= 1.5;
    m.calculate();
    QCOMPARE(m.evaluations, evaluations + 1);
    KALVORA_COMPARE_NEAR(m.value(), 1.5 * value, 1e-9);

    setSettings(0, 1);
    m.calculate();
    QCOMPARE(m.evaluations, evaluations + 2);
}

// 1.5 mm is shorter than twice the first cut-off: nothing is shown, the value
// is not computed, and the status line says why.
void RoughnessTest::shortRangeShowsNothing()
{
    SineScene scene(1500, 0.001);
    RAMeasurement m(&scene.f.plot, 1);
    QSignalSpy status(&m, &Measurement::statusText);
    scene.pickAll();
    scene.f.move(scene.at(700, 2));
    QCOMPARE(m.valueText(), QStringLiteral("—"));
    QVERIFY(!labelOf(scene.f.plot)->visible());
    scene.f.press(scene.at(700, 2));
    scene.f.release(scene.at(700, 2));
    QVERIFY(m.isFinished());
    QCOMPARE(signalTexts(status).last(), QStringLiteral("Ra: участок короче двух длин отсечки 0.8 мм"));
    QCOMPARE(logTexts().last(), QStringLiteral("INFO: Result - Ra: —"));
}

KALVORA_TEST_MAIN(RoughnessTest)
#include "RoughnessTest.moc"
