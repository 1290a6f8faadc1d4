#include <QtTest>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "AppSettings.h"
#include "ExtraArgs.h"
#include "ParameterRecalculation.h"
#include "ProfileParamNames.h"
#include "ProfileTrace.h"
#include "TestMain.h"
#include "TraceTypes.h"

namespace {

ProfileData noisyProfile(double length, unsigned seed)
{
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0, 0.2);
    ProfileData data(2);
    for (double x = 0; x <= length; x += 0.5) {
        data[0].append(x);
        data[1].append(std::sin(x / 31) + 0.3 * std::sin(x / 900) + noise(random));
    }
    return data;
}

// A main trace with two additional traces, the second with a cut-off of its own.
struct TraceSet
{
    explicit TraceSet(double length, bool median)
    {
        traces.push_back(std::make_unique<ProfileTrace>(noisyProfile(length, 1)));
        traces.push_back(std::make_unique<ProfileTrace>(noisyProfile(length, 2)));
        traces.push_back(std::make_unique<ProfileTrace>(noisyProfile(length, 3)));
        for (auto& trace : traces) {
            trace->filterCutOff = 800;
            trace->medianEnabled = median;
            trace->medianWindow = 5;
            trace->setType(ADDITIONAL_TRACE);
        }
        traces[0]->setType(PROFILE);
        traces[2]->filterCutOff = 250;
        traces[0]->addAdditionalTrace(traces[1].get());
        traces[0]->addAdditionalTrace(traces[2].get());
    }

    QVector<ProfileTrace*> all() const
    {
        QVector<ProfileTrace*> list;
        for (const auto& trace : traces)
            list.append(trace.get());
        return list;
    }

    std::vector<std::unique_ptr<ProfileTrace>> traces;
};

void enable(const QStringList& names)
{
    AppSettings& settings = AppSettings::instance();
    settings.preferenses.enabled_params.clear();
    for (int i = 0; i < names.size(); ++i)
        settings.preferenses.enabled_params.insert(i, names[i]);
    settings.preferenses.enabled_params_count = names.size();
}

} // namespace

class ParameterRecalculationTest : public QObject
{
    Q_OBJECT
private slots:
    void sameAsOneTraceAfterTheOther_data()
    {
        QTest::addColumn<QStringList>("enabled");
        QTest::addColumn<double>("length");
        QTest::addColumn<bool>("median");
        const QStringList all = profileParamNames.values();
        QTest::newRow("all 55 parameters") << all << 6000.0 << false;
        QTest::newRow("with the median filter") << all << 6000.0 << true;
        QTest::newRow("roughness only") << QStringList{"Ra", "Rz"} << 6000.0 << false;
        QTest::newRow("waviness only") << QStringList{"Wa"} << 6000.0 << false;
        QTest::newRow("too short for 800") << all << 1200.0 << false;
    }

    // Bit for bit: the same texts, and the cached filtered profiles equal
    // freshly filtered ones.
    void sameAsOneTraceAfterTheOther()
    {
        QFETCH(QStringList, enabled);
        QFETCH(double, length);
        QFETCH(bool, median);
        enable(enabled);

        TraceSet sequential(length, median);
        ExtraArgs sequentialArgs;
        for (ProfileTrace* trace : sequential.all()) {
            trace->clearFilteredCache();
            sequentialArgs.calculateAll(trace);
        }
        TraceSet parallel(length, median);
        ExtraArgs parallelArgs;
        // Stale results and caches from an earlier cut-off go.
        for (ProfileTrace* trace : parallel.all())
            ProfileTrace::filteredProfile(trace, 2500, ROUGHNESS);
        recalculateParameters(parallelArgs, parallel.all());

        for (int i = 0; i < 3; ++i) {
            QCOMPARE(parallel.traces[i]->parameterResults, sequential.traces[i]->parameterResults);
            QVERIFY(!parallel.traces[i]->parameterResults.isEmpty());
            for (int kind : {ROUGHNESS, WAVINESS}) {
                for (double cutOff : {800.0, 250.0}) {
                    const ProfileData cached = ProfileTrace::filteredProfile(parallel.traces[i].get(), cutOff, kind);
                    sequential.traces[i]->clearFilteredCache();
                    const ProfileData fresh = ProfileTrace::filteredProfile(sequential.traces[i].get(), cutOff, kind);
                    QVERIFY(cached == fresh);
                }
            }
        }
        QCOMPARE(parallelArgs.samplingLength, sequentialArgs.samplingLength);
    }
};

KALVORA_TEST_MAIN(ParameterRecalculationTest)
#include "ParameterRecalculationTest.moc"
