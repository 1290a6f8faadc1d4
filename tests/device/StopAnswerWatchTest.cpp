#include "StopAnswerWatch.h"
#include "TestMain.h"

#include <QVector>

using Clock = StopAnswerWatch::Clock;

namespace {

// One step at a time in milliseconds after an arbitrary start: "stop",
// "heard", "end" or "expired?" (whose answer is looked at).
struct Step
{
    QString what;
    int atMs;
};

} // namespace

Q_DECLARE_METATYPE(QVector<Step>)

// When a profile controller counts as having left the stop of a trace
// unanswered: silent for the whole time-out after the stop, or after what it
// sent since.
class StopAnswerWatchTest : public QObject
{
    Q_OBJECT

private slots:
    void theWait_data()
    {
        QTest::addColumn<QVector<Step>>("steps");
        QTest::addColumn<QVector<bool>>("answers");
        constexpr int t = StopAnswerWatch::kTimeoutMs;

        QTest::newRow("no stop") << QVector<Step>{{"heard", 0}, {"expired?", 10 * t}} << QVector<bool>{false};
        QTest::newRow("silent after the stop")
            << QVector<Step>{{"stop", 0}, {"expired?", t - 1}, {"expired?", t}} << QVector<bool>{false, true};
        QTest::newRow("heard before the stop")
            << QVector<Step>{{"heard", 0}, {"stop", 1000}, {"expired?", t + 999}, {"expired?", t + 1000}}
            << QVector<bool>{false, true};
        QTest::newRow("heard after the stop")
            << QVector<Step>{{"stop", 0}, {"heard", 2000}, {"expired?", t + 1999}, {"expired?", t + 2000}}
            << QVector<bool>{false, true};
        QTest::newRow("the trace ended") << QVector<Step>{{"stop", 0}, {"end", 500}, {"expired?", 10 * t}}
                                         << QVector<bool>{false};
    }

    void theWait()
    {
        QFETCH(QVector<Step>, steps);
        QFETCH(QVector<bool>, answers);
        const Clock::time_point start = Clock::now();
        StopAnswerWatch watch;
        QVector<bool> given;
        for (const Step& step : steps) {
            const Clock::time_point at = start + std::chrono::milliseconds(step.atMs);
            if (step.what == "stop")
                watch.stopSent(at);
            else if (step.what == "heard")
                watch.heard(at);
            else if (step.what == "end")
                watch.end();
            else
                given << watch.hasExpired(at);
        }
        QCOMPARE(given, answers);
    }
};

KALVORA_TEST_MAIN(StopAnswerWatchTest)
#include "StopAnswerWatchTest.moc"
