// The mean-diameter search on tilted trapezoidal thread profiles of 100,000
// and 1,000,000 points: the search alone and the whole release that runs it
// on the plot (the window is blocked meanwhile). Target for 100,000 points:
// at most 0.5 s.
#include "PlotBenchSupport.h"

#include "measurements/Thread.h"
#include "measurements/math/LineFit.h"
#include "measurements/math/ThreadMeanLine.h"

#include "plot/AdaptiveCurve.h"
#include "plot/PlotWidget.h"

#include "ThreadProfile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>

#include <cstdio>

namespace {

constexpr int kPitches = 20;

// The search reports each improvement on Qt's debug output; the figures are
// printed without it.
void dropDebugOutput(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

ThreadProfile tiltedThread()
{
    ThreadProfile profile;
    profile.tilt = 0.1;
    return profile;
}

QVector<QPointF> threadProfile(int count)
{
    return tiltedThread().sampled(0.13, double(kPitches) / count, count);
}

void benchSearch(int count)
{
    const QVector<QPointF> points = threadProfile(count);
    QElapsedTimer timer;
    timer.start();
    const MeasurementMath::SlopedLine first = MeasurementMath::fitLine(points.cbegin(), points.cend());
    const MeasurementMath::SlopedLine line = MeasurementMath::ThreadMeanLine(points).search(first);
    std::printf("search on %d points: %.0f ms (line y = %.5f x + %.5f)\n", count, elapsedMs(timer), line.k,
                line.b);
}

void benchRelease(int count)
{
    PlotWidget plot;
    plot.resize(1200, 700);
    plot.show();
    auto* trace = new AdaptiveCurve(plot.xAxis, plot.yAxis);
    for (const QPointF& p : threadProfile(count))
        trace->addData(p.x(), p.y());
    plot.rescaleAxes();
    plot.setInteractions(QCP::iRangeSelection);
    plot.replot();

    Thread thread(&plot, 1);
    const QPoint onTrace(int(plot.xAxis->coordToPixel(5.5)), int(plot.yAxis->coordToPixel(tiltedThread().height(5.5))));
    QMouseEvent move = mouseEvent(QEvent::MouseMove, plot, onTrace);
    QApplication::sendEvent(&plot, &move);
    QMouseEvent release = mouseEvent(QEvent::MouseButtonRelease, plot, onTrace);
    QElapsedTimer timer;
    timer.start();
    QApplication::sendEvent(&plot, &release);
    const double ms = elapsedMs(timer);
    std::printf("release running the search on a %d-point curve: %.0f ms%s, target %s\n", count, ms,
                thread.isFinished() ? "" : " (not finished!)", count <= 100000 ? "500 ms" : "none (reported)");
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(dropDebugOutput);
    QApplication app(argc, argv);
    for (int count : {100000, 1000000}) {
        benchSearch(count);
        benchRelease(count);
    }
    return 0;
}
