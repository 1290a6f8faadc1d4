#include <QtTest>

#include <cmath>

#include "FuzzyCompare.h"
#include "ProfileFixtures.h"
#include "SamplingLengths.h"
#include "ThreadStep.h"
#include "TestMain.h"

namespace {

const Algos::RMS kZeroLine(QVector<double>{0, 0});

// Crests one point wide at the given x, the profile 0 elsewhere (on the line).
ProfileData crestsAt(const QVector<double>& crests, double length)
{
    return fixtures::sampled(0, length, 0.5, [&](double x) { return crests.contains(x) ? 1 : -1; });
}

QVector<double> stepLengths(const QVector<ThreadStep>& steps)
{
    QVector<double> lengths;
    for (const ThreadStep& step : steps)
        lengths.append(step.step);
    return lengths;
}

} // namespace

class ThreadStepTest : public QObject
{
    Q_OBJECT

private slots:
    void steps_data()
    {
        QTest::addColumn<QVector<double>>("crests");
        QTest::addColumn<QVector<double>>("expected");
        QTest::newRow("regular") << QVector<double>{10, 20, 30, 40} << QVector<double>{10, 10, 10};
        QTest::newRow("a crest missing") << QVector<double>{10, 20, 40, 50} << QVector<double>{10, 10};
        QTest::newRow("exactly 10 % off stays") << QVector<double>{10, 21, 30} << QVector<double>{11, 9};
        QTest::newRow("more than 10 % off goes") << QVector<double>{10, 21.5, 30} << QVector<double>{};
    }

    void steps()
    {
        QFETCH(QVector<double>, crests);
        QFETCH(QVector<double>, expected);
        double mean = 0;
        QVector<ThreadStep> steps{{1, {}, {}}};
        Algos::threadSteps(crestsAt(crests, 60), kZeroLine, 10, mean, steps);
        QCOMPARE(stepLengths(steps), expected);
        if (expected.isEmpty()) {
            QVERIFY(std::isnan(mean));
        } else {
            QCOMPARE(mean, std::accumulate(expected.begin(), expected.end(), 0.0) / expected.size());
            QCOMPARE(steps.last().point, QPointF(crests.last(), 1));
        }
    }

    void sineOfThePitch()
    {
        const ProfileData profile = fixtures::sampled(0, 1000, 0.1, [](double x) { return -std::cos(x / 50 * fixtures::kPi); });
        double mean = 0;
        QVector<ThreadStep> steps;
        Algos::threadSteps(profile, Algos::meanLine(profile), 100, mean, steps);
        QCOMPARE(steps.size(), 9);
        KALVORA_COMPARE_NEAR(mean, 100, 1e-6);
        QCOMPARE(steps.first().previousPoint.x(), steps.first().point.x() - steps.first().step);
    }

    // A profile that starts above the line does not count its first rise, and
    // points exactly on the line are not above it.
    void startAndPointsOnTheLine()
    {
        const ProfileData profile = {{0, 1, 2, 3, 4, 5, 6, 7}, {1, 1, 0, 1, -1, 1, 0, 0}};
        double mean = 0;
        QVector<ThreadStep> steps;
        Algos::threadSteps(profile, kZeroLine, 2, mean, steps);
        QCOMPARE(steps.size(), 1);
        QCOMPARE(steps.first().previousPoint, QPointF(3, 1));
        QCOMPARE(steps.first().point, QPointF(5, 1));
    }

    void emptyProfile()
    {
        double mean = 0;
        QVector<ThreadStep> steps{{1, {}, {}}};
        Algos::threadSteps(ProfileData(), kZeroLine, 1, mean, steps);
        QVERIFY(steps.isEmpty());
        QVERIFY(std::isnan(mean));
    }
};

KALVORA_TEST_MAIN(ThreadStepTest)
#include "ThreadStepTest.moc"
