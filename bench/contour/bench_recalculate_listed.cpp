// Recalculating every listed measurement of a contour plot, as after the
// traces were levelled: 30 measurements of the usual mix on one
// 1,000,000-point trace. Targets: the recalculation at most 150 ms, 200 ms
// with the replot and the repainted plot. Before each run the trace is turned
// by a small angle, as levelling turns it, so that nothing computed in the
// run before is reused.
#include "ManagerBenchScene.h"

#include <QApplication>

#include <cstdio>

namespace {

// The trace turned about the origin by angle (radians) from its original
// points.
void turnTrace(ManagerBenchScene& scene, const QVector<QCPCurveData>& original, double angle)
{
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    QVector<QCPCurveData> turned;
    turned.reserve(original.size());
    for (const QCPCurveData& p : original)
        turned.append(QCPCurveData(p.t, c * p.key - s * p.value, s * p.key + c * p.value));
    scene.trace->data()->set(turned, true);
}

void printTimes(const char* what, const QVector<double>& times, double target)
{
    std::printf("  %s: median %.1f ms, max %.1f ms (target %.0f ms)\n", what, median(times), maximum(times), target);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ManagerBenchScene scene;
    scene.placeMixedMeasurements();
    const QList<Measurement*>& listed = scene.manager->measurements();
    std::printf("%d listed measurements on a %d-point trace\n", int(listed.size()), kTracePoints);

    const QVector<QCPCurveData> original = ManagerBenchScene::contourTrace();
    constexpr int kRuns = 9;
    QVector<double> recalculation;
    QVector<double> withReplot;
    for (int run = 0; run < kRuns; ++run) {
        turnTrace(scene, original, (run % 2 ? 1 : -1) * 0.001 * (run + 1));
        QElapsedTimer timer;
        timer.start();
        for (Measurement* m : listed)
            m->calculate();
        recalculation.append(elapsedMs(timer));

        turnTrace(scene, original, (run % 2 ? -1 : 1) * 0.001 * (run + 1));
        timer.start();
        scene.manager->recalculateListed();
        scene.plot->repaint();
        withReplot.append(elapsedMs(timer));
    }
    std::printf("recalculating the listed measurements after levelling, %d runs:\n", kRuns);
    printTimes("recalculation alone", recalculation, 150);
    printTimes("recalculateListed with the replot and repaint", withReplot, 200);
    std::printf("values after the last run:\n");
    for (const Measurement* m : listed)
        std::printf("  %s: %s\n", qPrintable(m->name()), qPrintable(m->valueText()));
    return 0;
}
