#include <QtTest>

#include <cmath>
#include <memory>

#include "AmplitudeParameters.h"
#include "AppSettings.h"
#include "ExtraArgs.h"
#include "HeightDistribution.h"
#include "MaterialRatio.h"
#include "ProfileFixtures.h"
#include "ProfileParamNames.h"
#include "ProfileParams.h"
#include "ProfileTrace.h"
#include "SpacingParameters.h"
#include "TestMain.h"
#include "TraceTypes.h"

namespace {

constexpr double kCutOff = 800;

std::unique_ptr<ProfileTrace> traceOf(const ProfileData& points, double cutOff = kCutOff)
{
    auto trace = std::make_unique<ProfileTrace>(points);
    trace->setType(PROFILE);
    trace->filterCutOff = cutOff;
    trace->level = 0.5;
    trace->heightDistribution = {{-1, 0, 1}, {5, 60, 35}};
    return trace;
}

void enableParameters(const QStringList& names)
{
    AppSettings& settings = AppSettings::instance();
    settings.preferenses.enabled_params.clear();
    for (int i = 0; i < names.size(); ++i)
        settings.preferenses.enabled_params.insert(i, names.at(i));
    settings.preferenses.enabled_params_count = names.size();
}

double value(const ProfileParamEntry& entry, const ProfileData& profile, const ExtraArgs& args)
{
    return entry.evaluator(profile, args);
}

} // namespace

class ProfileParamsTest : public QObject
{
    Q_OBJECT

private slots:
    void catalogueHoldsTheNamedParameters()
    {
        QCOMPARE(profileParams.size(), 55);
        for (auto it = profileParamNames.cbegin(); it != profileParamNames.cend(); ++it) {
            QVERIFY2(profileParams.contains(it.value()), qPrintable(it.value()));
            const int expectedKind = it.key() <= 28 ? ROUGHNESS : it.key() <= 41 ? WAVINESS : PRIMARY;
            QCOMPARE(profileParams.value(it.value()).kind, expectedKind);
            QVERIFY(profileParams.value(it.value()).evaluator);
        }
    }

    void units_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("unit");
        QTest::newRow("Ra") << "Ra" << "мкм";
        QTest::newRow("Rsk") << "Rsk" << "";
        QTest::newRow("RΔq(Δq)") << "RΔq(Δq)" << "°";
        QTest::newRow("D, peaks per 10000 µm") << "D" << "1/см";
        QTest::newRow("Dp") << "Dp" << "%";
        QTest::newRow("l0") << "l0" << "";
        QTest::newRow("tp") << "tp" << "%";
        QTest::newRow("Mr2(tp2)") << "Mr2(tp2)" << "%";
        QTest::newRow("Wku") << "Wku" << "";
        QTest::newRow("PΔa") << "PΔa" << "°";
        QTest::newRow("Pt") << "Pt" << "мкм";
        for (const char* name : {"Rmax", "Rp", "Rv", "Rz", "R3z", "Rc", "Rt", "Rq", "RSm", "Rm", "S", "L0", "λq", "λa",
                                 "ηp", "Rk", "Rpk", "Rvk"})
            QTest::newRow(name) << QString::fromUtf8(name) << "мкм";
        QTest::newRow("Rku") << "Rku" << "";
        QTest::newRow("RΔa(Δa)") << "RΔa(Δa)" << "°";
        QTest::newRow("Mr1(tp1)") << "Mr1(tp1)" << "%";
        QTest::newRow("WΔq") << "WΔq" << "°";
        QTest::newRow("PSm") << "PSm" << "мкм";
    }

    void units()
    {
        QFETCH(QString, name);
        QFETCH(QString, unit);
        QCOMPARE(profileParams.value(name).unit, unit);
    }

    // Each kind's rows compute the roughness row's function on their own profile.
    void entriesComputeTheirFunctions()
    {
        const ProfileData profile = fixtures::randomProfile(6000, 5);
        ExtraArgs args;
        args.samplingLength = kCutOff;
        args.level = 0.5;
        args.heightDistribution = {{-1, 0, 1}, {5, 60, 35}};
        args.materialRatioCurve = Algos::materialRatioCurve(profile);
        QCOMPARE(value(profileParams.value("Ra"), profile, args), Algos::Ra(profile, kCutOff));
        QCOMPARE(value(profileParams.value("Rt"), profile, args), Algos::Rt(profile));
        QCOMPARE(value(profileParams.value("S"), profile, args), Algos::S(profile));
        QCOMPARE(value(profileParams.value("λa"), profile, args), Algos::lambdaA(profile, kCutOff));
        QCOMPARE(value(profileParams.value("ηp"), profile, args), Algos::etaP(profile, kCutOff, 0.5));
        QCOMPARE(value(profileParams.value("tp"), profile, args), 100 * Algos::tp(profile, kCutOff, 0.5));
        QCOMPARE(value(profileParams.value("Dp"), profile, args), 35.0);
        QCOMPARE(value(profileParams.value("Rk"), ProfileData(), args), Algos::Rk(args.materialRatioCurve));
        QCOMPARE(value(profileParams.value("Mr2(tp2)"), ProfileData(), args), Algos::Mr2(args.materialRatioCurve));
        QCOMPARE(value(profileParams.value("WΔq"), profile, args), Algos::RDq(profile, kCutOff));
        QCOMPARE(value(profileParams.value("PΔa"), profile, args), Algos::RDa(profile, kCutOff));
    }

    // All parameters at once share one split per profile; each must come out
    // as it does computed on its own.
    void calculateAllEqualsOneByOne()
    {
        auto trace = traceOf(fixtures::randomProfile(12000, 1));
        auto second = traceOf(fixtures::randomProfile(11000, 2, 1.1));
        auto third = traceOf(fixtures::cosine(1, 100, 9000, 0.75));
        trace->addAdditionalTrace(second.get());
        trace->addAdditionalTrace(third.get());
        enableParameters(profileParamNames.values());

        ExtraArgs all;
        all.calculateAll(trace.get());
        QCOMPARE(trace->parameterResults.size(), 55);
        for (const QString& name : profileParamNames) {
            ExtraArgs single;
            single.samplingLength = kCutOff;
            single.setMaterialRatioCurve(trace.get());
            QCOMPARE(trace->parameterResults.value(name), single.resultText(trace.get(), name));
        }
        QVERIFY(trace->parameterResults.value("Ra").endsWith("%)"));
        QVERIFY(trace->parameterResults.value("Rk").contains("±0.000(0.00%)"));
    }

    void plainValueWithoutAdditionalTraces()
    {
        const ProfileData points = fixtures::cosine(1, 100, 9000, 0.5);
        auto trace = traceOf(points);
        ExtraArgs args;
        const QString text = args.resultText(trace.get(), "Rz");
        const ProfileData roughness = ProfileTrace::filteredProfile(trace.get(), kCutOff, ROUGHNESS);
        QCOMPARE(text, QString::number(Algos::Rz(roughness, kCutOff), 'f', 3));
        QCOMPARE(trace->parameterResults.value("Rz"), text);
        QCOMPARE(args.resultText(trace.get(), "Pt"), QString::number(Algos::Rt(points), 'f', 3));
        QCOMPARE(args.resultText(trace.get(), "Rm"), args.resultText(trace.get(), "Rz"));
    }

    void spreadText_data()
    {
        QTest::addColumn<QVector<double>>("values");
        QTest::addColumn<QString>("text");
        const double d = 0.051 * std::sqrt(1.5);
        QTest::newRow("one value") << QVector<double>{0.4123} << "0.412";
        QTest::newRow("three values") << QVector<double>{1.204 - d, 1.204, 1.204 + d} << "1.204±0.051(4.24%)";
        QTest::newRow("all equal") << QVector<double>{2, 2} << "2.000±0.000(0.00%)";
        QTest::newRow("mean 0") << QVector<double>{-1, 1} << "0.000±1.000(inf%)";
    }

    void spreadText()
    {
        QFETCH(QVector<double>, values);
        QFETCH(QString, text);
        QCOMPARE(ExtraArgs::spreadText(values), text);
    }

    // Twice the cut-off is the shortest trace evaluated.
    void traceTooShort()
    {
        enableParameters({"Ra", "Rk", "Dp"});
        auto exactlyTwice = traceOf(fixtures::cosine(1, 100, 2 * kCutOff, 0.5));
        ExtraArgs args;
        QVERIFY(args.resultText(exactlyTwice.get(), "Ra") != ExtraArgs::kTooShortText);

        auto shorter = traceOf(fixtures::cosine(1, 100, 2 * kCutOff - 0.5, 0.5));
        QCOMPARE(args.resultText(shorter.get(), "Ra"), ExtraArgs::kTooShortText);
        QVERIFY(shorter->parameterResults.isEmpty());
        args.calculateAll(shorter.get());
        QCOMPARE(shorter->parameterResults.size(), 3);
        for (const QString& text : qAsConst(shorter->parameterResults))
            QCOMPARE(text, ExtraArgs::kTooShortText);
    }

    // An additional trace too short for the evaluation length has no value:
    // the mean and the spread are over the traces that have one.
    void aTooShortAdditionalTraceStaysOutOfTheSpread()
    {
        auto main = traceOf(fixtures::randomProfile(9000, 1));
        auto longer = traceOf(fixtures::randomProfile(7000, 2, 1.3));
        auto shorter = traceOf(fixtures::randomProfile(1000, 3, 0.7));
        longer->setType(ADDITIONAL_TRACE);
        shorter->setType(ADDITIONAL_TRACE);
        ExtraArgs args;
        const QString mainAlone = args.resultText(main.get(), "Ra");

        main->addAdditionalTrace(shorter.get());
        QCOMPARE(args.resultText(main.get(), "Ra"), mainAlone);
        QCOMPARE(args.resultText(shorter.get(), "Ra"), ExtraArgs::kTooShortText);

        main->addAdditionalTrace(longer.get());
        const QString withBoth = args.resultText(main.get(), "Ra");
        main->removeAdditionalTrace(shorter->id);
        QCOMPARE(withBoth, args.resultText(main.get(), "Ra"));
        QVERIFY2(withBoth.contains(QStringLiteral("±")), qPrintable(withBoth));
    }

    void theUnitGoesWithAComputedValue_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("unit");
        QTest::newRow("a height") << "Ra" << "0.412" << "мкм";
        QTest::newRow("a spread of heights") << "Rz" << "1.204±0.051(4.24%)" << "мкм";
        QTest::newRow("a ratio") << "Dp" << "0.413±0.000(0.00%)" << "%";
        QTest::newRow("dimensionless") << "Rsk" << "-0.213" << "";
        QTest::newRow("too short a trace") << "Ra" << ExtraArgs::kTooShortText << "";
        QTest::newRow("nothing computed") << "Ra" << "" << "";
        QTest::newRow("not in the catalogue") << "Bogus" << "1.000" << "";
    }

    void theUnitGoesWithAComputedValue()
    {
        QFETCH(QString, name);
        QFETCH(QString, result);
        QFETCH(QString, unit);
        QCOMPARE(ExtraArgs::unitText(name, result), unit);
    }

    void calculateAllTakesTheEnabledList_data()
    {
        QTest::addColumn<QStringList>("enabled");
        QTest::addColumn<QStringList>("results");
        QTest::newRow("default") << QStringList{"Ra"} << QStringList{"Ra"};
        QTest::newRow("names not in the catalogue are skipped")
            << QStringList{"Bogus", "", "Rz", "Wa"} << QStringList{"Rz", "Wa"};
    }

    void calculateAllTakesTheEnabledList()
    {
        QFETCH(QStringList, enabled);
        QFETCH(QStringList, results);
        enableParameters(enabled);
        auto trace = traceOf(fixtures::randomProfile(4000, 3));
        trace->parameterResults.insert("Rq", "stale");
        ExtraArgs args;
        args.calculateAll(trace.get());
        QCOMPARE(trace->parameterResults.keys(), results);
    }

    void unknownNameGivesNothing()
    {
        auto trace = traceOf(fixtures::randomProfile(4000, 3));
        ExtraArgs args;
        QCOMPARE(args.resultText(trace.get(), "Bogus"), QString());
        QVERIFY(trace->parameterResults.isEmpty());
    }

    void unusableCutOffGivesZero_data()
    {
        QTest::addColumn<double>("cutOff");
        QTest::newRow("zero") << 0.0;
        QTest::newRow("negative") << -800.0;
        QTest::newRow("not a number") << qQNaN();
    }

    void unusableCutOffGivesZero()
    {
        QFETCH(double, cutOff);
        enableParameters({"Ra", "Rz", "D", "l0", "Wa", "Pa", "PΔq"});
        auto trace = traceOf(fixtures::randomProfile(4000, 3), cutOff);
        ExtraArgs args;
        args.calculateAll(trace.get());
        QCOMPARE(trace->parameterResults.size(), 7);
        for (const QString& text : qAsConst(trace->parameterResults))
            QCOMPARE(text, QStringLiteral("0.000"));
    }

    void updateDp()
    {
        auto trace = traceOf(fixtures::randomProfile(4000, 3));
        ExtraArgs args;
        args.updateDp(trace.get());
        QVERIFY(trace->parameterResults.isEmpty());

        trace->parameterResults.insert("Dp", "old");
        trace->parameterResults.insert("Ra", "kept");
        trace->level = -0.5;
        args.updateDp(trace.get());
        QCOMPARE(trace->parameterResults.value("Dp"), QStringLiteral("60.000"));
        QCOMPARE(trace->parameterResults.value("Ra"), QStringLiteral("kept"));
    }
};

KALVORA_TEST_MAIN(ProfileParamsTest)
#include "ProfileParamsTest.moc"
