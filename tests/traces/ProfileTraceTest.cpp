#include <QtTest>

#include <cmath>

#include "DataMedianFilterProcessor.h"
#include "FilterRoughnessProfileProcessor.h"
#include "GaussFilter.h"
#include "MedianFilter.h"
#include "ProfileTrace.h"
#include "TestMain.h"
#include "TestTraces.h"
#include "TraceTypes.h"
#include "YZeronator.h"

namespace {

// A rough profile 0.5 apart: two sines and a spike every 97 points.
ProfileData roughProfile(int points)
{
    ProfileData data(2);
    for (int j = 0; j < points; ++j) {
        const double x = j * 0.5;
        data[0].append(x);
        data[1].append(std::sin(x / 7) + 0.3 * std::sin(x / 300) + (j % 97 == 0 ? 2 : 0));
    }
    return data;
}

} // namespace

class ProfileTraceTest : public QObject
{
    Q_OBJECT

private slots:
    void filteredProfiles_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<double>("cutOff");
        QTest::addColumn<bool>("median");
        QTest::addColumn<double>("secondCutOff");
        QTest::newRow("roughness") << int(ROUGHNESS) << 800.0 << false << 800.0 / 300;
        QTest::newRow("roughness with median") << int(ROUGHNESS) << 800.0 << true << 800.0 / 300;
        QTest::newRow("roughness, other short-wave cut-off") << int(ROUGHNESS) << 250.0 << false << 2.5;
        QTest::newRow("waviness") << int(WAVINESS) << 800.0 << false << 1600.0;
        QTest::newRow("waviness with median") << int(WAVINESS) << 250.0 << true << 500.0;
    }

    // The long cut-off is the trace's own; the argument chooses the other.
    void filteredProfiles()
    {
        QFETCH(int, kind);
        QFETCH(double, cutOff);
        QFETCH(bool, median);
        QFETCH(double, secondCutOff);
        const ProfileData raw = roughProfile(10000);
        ProfileTrace trace(raw);
        trace.filterCutOff = 800;
        trace.medianEnabled = median;
        trace.medianWindow = 5;

        ProfileData expectedInput = raw;
        if (median)
            Algos::medianFilter(5, expectedInput);
        const ProfileData expected = Algos::gaussFilter(expectedInput, 800, secondCutOff);
        QVERIFY(!expected.isEmpty());
        QCOMPARE(ProfileTrace::filteredProfile(&trace, cutOff, kind), expected);
    }

    void primaryIsTheRawProfile()
    {
        const ProfileData raw = roughProfile(500);
        ProfileTrace trace(raw);
        trace.medianEnabled = true;
        trace.addPostProcessor(new DataMedianFilterProcessor(3));
        trace.addPostProcessor(new YZeronator);
        trace.reprocess();
        QVERIFY(*trace.lockedData().data != raw);
        QCOMPARE(ProfileTrace::filteredProfile(&trace, 800, PRIMARY), raw);
        QVERIFY(ProfileTrace::filteredProfile(&trace, 800, 7).isEmpty());
    }

    void filteredProfilesAreCachedUntilCleared()
    {
        ProfileTrace trace(roughProfile(4000));
        trace.filterCutOff = 250;
        const ProfileData roughness = ProfileTrace::filteredProfile(&trace, 250, ROUGHNESS);
        const ProfileData waviness = ProfileTrace::filteredProfile(&trace, 250, WAVINESS);
        QVERIFY(roughness != waviness);

        trace.crop(0, 2000);
        QCOMPARE(ProfileTrace::filteredProfile(&trace, 250, ROUGHNESS), roughness);
        QCOMPARE(ProfileTrace::filteredProfile(&trace, 250, WAVINESS), waviness);
        QVERIFY(ProfileTrace::filteredProfile(&trace, 80, ROUGHNESS) != roughness);

        trace.clearFilteredCache();
        const ProfileData cropped = ProfileTrace::filteredProfile(&trace, 250, ROUGHNESS);
        QVERIFY(cropped[0].size() < roughness[0].size());
    }

    void aProfileNotLongerThanItsCutOffIsNotTrimmed()
    {
        ProfileTrace trace(roughProfile(1000));
        trace.filterCutOff = 800;
        QCOMPARE(ProfileTrace::filteredProfile(&trace, 800, ROUGHNESS)[0].size(), 1000);
    }

    void additionalTraces()
    {
        ProfileTrace main;
        main.setFilePath(QStringLiteral("/data/part.txt"));
        ProfileTrace first;
        ProfileTrace second;
        main.addAdditionalTrace(&first);
        main.addAdditionalTrace(&second);
        main.addAdditionalTrace(&first);
        QCOMPARE(first.parentTrace, &main);
        QCOMPARE(second.filePath(), QStringLiteral("/data/part.txt"));
        QCOMPARE(main.additionalTraces, (QVector<ProfileTrace*>{&first, &second, &first}));

        main.removeAdditionalTrace(main.id);
        QCOMPARE(main.additionalTraces.size(), 3);
        main.removeAdditionalTrace(first.id);
        QCOMPARE(main.additionalTraces, (QVector<ProfileTrace*>{&second}));
        QCOMPARE(first.parentTrace, &main);
    }

    void aRebuildFiltersOnlyTheDisplayStore()
    {
        ProfileTrace trace(roughProfile(10000));
        trace.addPostProcessor(new FilterRoughnessProfileProcessor(800));
        trace.reprocess();
        const ProfileData display = *trace.lockedData().data;
        QCOMPARE(display.size(), 2);
        QCOMPARE(display[0].first(), 400.0);
        QCOMPARE(display[0].last(), 4999.5 - 400);
        QCOMPARE(trace.lockedRawData().data->at(0).size(), 10000);
        trace.applyPostProcessors();
        QCOMPARE(*trace.lockedData().data, display);
    }

    void madeFromData()
    {
        ProfileTrace trace(ProfileData{{1, 2, 3}, {4, 5, 6}});
        QCOMPARE(*trace.lockedData().data, (ProfileData{{1, 2, 3}, {4, 5, 6}}));
        QCOMPARE(trace.dimension(), 2);
        QCOMPARE(trace.type, int(PROFILE));
    }
};

KALVORA_TEST_MAIN(ProfileTraceTest)
#include "ProfileTraceTest.moc"
