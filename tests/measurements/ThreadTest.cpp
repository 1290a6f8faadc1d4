#include "measurements/Thread.h"

#include "plot/AdaptiveCurve.h"

#include "DrawnItems.h"
#include "FuzzyCompare.h"
#include "PlotFixture.h"
#include "TestMain.h"
#include "ThreadProfile.h"

#include <functional>

namespace {

constexpr double kStep = 0.005;

// A tilted trapezoidal thread over 0..10 (its mean line runs at a quarter of
// the depth, y = 0.05 + 0.1·x) and, to the right, a curve of one point.
struct ThreadScene
{
    ThreadScene()
    {
        f.plot.xAxis->setRange(-1, 13);
        f.plot.yAxis->setRange(-0.5, 1.5);
        profile.tilt = 0.1;
        thread = new AdaptiveCurve(f.plot.xAxis, f.plot.yAxis);
        for (const QPointF& p : profile.sampled(0.13, kStep, 2001))
            thread->addData(p.x(), p.y());
        lonePoint = new AdaptiveCurve(f.plot.xAxis, f.plot.yAxis);
        lonePoint->addData(12, 0.5);
        f.plot.setInteractions(QCP::iRangeSelection);
        f.plot.replot();
    }

    QPoint pixel(const QPointF& p) const { return f.pixel(p.x(), p.y()); }

    // Snaps onto the point and clicks there.
    void click(const QPointF& at)
    {
        snapTo(at);
        f.press(pixel(at));
        f.release(pixel(at));
    }

    void snapTo(const QPointF& at)
    {
        f.move(pixel(at) + QPoint(2, 0));
        f.move(pixel(at));
    }

    QPointF onThread(double x) const { return QPointF(x, profile.height(x)); }

    PlotFixture f;
    ThreadProfile profile;
    AdaptiveCurve* thread = nullptr;
    AdaptiveCurve* lonePoint = nullptr;
};

using Prepare = std::function<void(ThreadScene&)>;

} // namespace

Q_DECLARE_METATYPE(Prepare)

class ThreadTest : public QObject
{
    Q_OBJECT
private slots:
    void meanLineOfClickedProfile();
    void unusableReleaseIgnored_data();
    void unusableReleaseIgnored();
};

void ThreadTest::meanLineOfClickedProfile()
{
    ThreadScene scene;
    Thread m(&scene.f.plot, 2);
    QSignalSpy finished(&m, &Measurement::measumentFinished);
    QCOMPARE(m.name(), QStringLiteral("Средний диаметр"));
    QVERIFY(!m.yieldsValue());

    scene.click(scene.onThread(3.1));
    QVERIFY(m.isFinished());
    QCOMPARE(finished.count(), 1);
    QCOMPARE(m.valueText(), QString());
    const QVector<double> line = m.lineCoefficients();
    QCOMPARE(line.size(), 2);
    const auto at = [&line](double x) { return line.at(1) + line.at(0) * x; };
    const auto meanLine = [](double x) { return 0.05 + 0.1 * x; };

    // Drawn over the profile's key range, within a sampling step or two of
    // the mean line (the crossings are sampled points).
    const QList<QCPItemLine*> items = drawnItems<QCPItemLine>(scene.f.plot);
    QCOMPARE(items.size(), 1);
    const double xf = scene.thread->data()->constBegin()->key;
    const double xl = (scene.thread->data()->constEnd() - 1)->key;
    KALVORA_COMPARE_NEAR(items.first()->start->coords().x(), xf, 1e-6);
    KALVORA_COMPARE_NEAR(items.first()->start->coords().y(), at(xf), 1e-6);
    KALVORA_COMPARE_NEAR(items.first()->end->coords().x(), xl, 1e-6);
    KALVORA_COMPARE_NEAR(items.first()->end->coords().y(), at(xl), 1e-6);
    KALVORA_COMPARE_NEAR(at(xf), meanLine(xf), 2 * kStep);
    KALVORA_COMPARE_NEAR(at(xl), meanLine(xl), 2 * kStep);
    QVERIFY(!drawnItems<QCPItemStraightLine>(scene.f.plot).first()->visible());
}

void ThreadTest::unusableReleaseIgnored_data()
{
    QTest::addColumn<Prepare>("prepare");

    // The fixture parks the cursor outside the axis rect: nothing snapped yet.
    QTest::newRow("before any snap") << Prepare([](ThreadScene& scene) {
        scene.f.press(QPoint(1, 1));
        scene.f.release(QPoint(1, 1));
    });
    QTest::newRow("curve of one point") << Prepare([](ThreadScene& scene) { scene.click(QPointF(12, 0.5)); });
    QTest::newRow("curve emptied after the snap") << Prepare([](ThreadScene& scene) {
        scene.snapTo(QPointF(12, 0.5));
        scene.lonePoint->data()->clear();
        scene.f.press(scene.pixel(QPointF(12, 0.5)));
        scene.f.release(scene.pixel(QPointF(12, 0.5)));
    });
    QTest::newRow("curve deleted after the snap") << Prepare([](ThreadScene& scene) {
        const QPointF at = scene.onThread(5.05);
        scene.snapTo(at);
        scene.f.plot.removePlottable(scene.thread);
        scene.f.press(scene.pixel(at));
        scene.f.release(scene.pixel(at));
    });
}

// Nothing to search: the release is ignored and the measurement waits on.
void ThreadTest::unusableReleaseIgnored()
{
    QFETCH(Prepare, prepare);
    ThreadScene scene;
    Thread m(&scene.f.plot, 2);
    QSignalSpy finished(&m, &Measurement::measumentFinished);
    prepare(scene);
    QVERIFY(!m.isFinished());
    QCOMPARE(finished.count(), 0);
    QVERIFY(m.lineCoefficients().isEmpty());

    if (scene.f.plot.hasPlottable(scene.thread)) {
        scene.click(scene.onThread(2.2));
        QVERIFY(m.isFinished());
        QCOMPARE(finished.count(), 1);
        QCOMPARE(m.lineCoefficients().size(), 2);
    }
}

KALVORA_TEST_MAIN(ThreadTest)
#include "ThreadTest.moc"
