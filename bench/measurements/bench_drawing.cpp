// Figures of the drawing comparison: reading a 10 MB DXF, one fit error of a
// 1,000,000-point trace against 10,000 entities (indexed, and the plain walk
// extrapolated), the whole two-click fit, loading a drawing with its
// reference points and a mouse move while they can be snapped. Arguments
// name the parts to run (parse, error, fit); without any, all run.

#include "PlotBenchSupport.h"

#include "measurements/ComparePlaneDXF.h"
#include "measurements/DxfDrawing.h"
#include "measurements/math/DrawingGeometry.h"
#include "measurements/math/DrawingIndex.h"
#include "measurements/math/DxfReader.h"
#include "plot/AdaptiveCurve.h"

#include <QApplication>
#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThreadPool>

#include <cstdio>

using namespace MeasurementMath;

namespace {

double shape(double x)
{
    return std::sin(x * 0.7) + 0.3 * std::sin(x * 5.3);
}

// The outline y = shape(x) over 0..100 mm in `count` pieces, every fifth an
// arc through three points of the outline, the others lines.
QVector<DrawingEntity> outline(int count)
{
    QVector<DrawingEntity> entities;
    const double step = 100.0 / count;
    for (int i = 0; i < count; ++i) {
        const double x0 = i * step;
        const double x1 = x0 + step;
        const QPointF a(x0, shape(x0));
        const QPointF b(x1, shape(x1));
        if (i % 5 == 4) {
            // A shallow arc bulging by a hundredth of a micrometre.
            const QPointF mid = (a + b) / 2;
            const double chord = QLineF(a, b).length();
            const double sagitta = 1e-5;
            const double r = (chord * chord / 4 + sagitta * sagitta) / (2 * sagitta);
            const QPointF normal(-(b.y() - a.y()) / chord, (b.x() - a.x()) / chord);
            const QPointF c = mid - normal * (r - sagitta);
            const double s = std::atan2(a.y() - c.y(), a.x() - c.x()) * 180 / M_PI;
            const double e = std::atan2(b.y() - c.y(), b.x() - c.x()) * 180 / M_PI;
            // Counter-clockwise from b to a: the short way over the top.
            entities.append(arcEntity(c.x(), c.y(), r, e, s));
        } else {
            entities.append(lineEntity(a.x(), a.y(), b.x(), b.y()));
        }
    }
    return entities;
}

QVector<QPointF> tracePoints(int count)
{
    const QVector<QCPCurveData> data = benchTrace(shape, 0.0005, 3);
    QVector<QPointF> points;
    const int stride = kTracePoints / count;
    for (int i = 0; i < kTracePoints; i += stride)
        points.append(QPointF(data.at(i).key, data.at(i).value));
    return points;
}

QByteArray dxfOf(const QVector<DrawingEntity>& entities, QPointF offset)
{
    QByteArray text = "0\nSECTION\n2\nENTITIES\n";
    const auto n = [](double v) { return QByteArray::number(v, 'g', 17); };
    for (const DrawingEntity& e : entities) {
        const QVector<double>& p = e.parameters;
        if (isLine(e)) {
            text += "0\nLINE\n5\n1A\n330\n1F\n100\nAcDbEntity\n8\n0\n100\nAcDbLine\n10\n" + n(p[0] + offset.x())
                    + "\n20\n" + n(p[1] + offset.y()) + "\n30\n0.0\n11\n" + n(p[2] + offset.x()) + "\n21\n"
                    + n(p[3] + offset.y()) + "\n31\n0.0\n";
        } else {
            text += "0\nARC\n5\n1B\n330\n1F\n100\nAcDbEntity\n8\n0\n100\nAcDbCircle\n10\n" + n(p[0] + offset.x())
                    + "\n20\n" + n(p[1] + offset.y()) + "\n30\n0.0\n40\n" + n(p[2]) + "\n100\nAcDbArc\n50\n"
                    + n(p[3]) + "\n51\n" + n(p[4]) + "\n";
        }
    }
    return text + "0\nENDSEC\n0\nEOF\n";
}

void benchParsing()
{
    QByteArray file;
    const QVector<DrawingEntity> piece = outline(1000);
    const QByteArray one = dxfOf(piece, QPointF(0, 0));
    const QByteArray body = one.mid(one.indexOf("0\nLINE"), one.lastIndexOf("0\nENDSEC") - one.indexOf("0\nLINE"));
    file = "0\nSECTION\n2\nENTITIES\n";
    while (file.size() < 10 * 1024 * 1024)
        file += body;
    file += "0\nENDSEC\n0\nEOF\n";
    QVector<double> times;
    int entities = 0;
    for (int run = 0; run < 5; ++run) {
        QBuffer buffer(&file);
        buffer.open(QIODevice::ReadOnly);
        QElapsedTimer timer;
        timer.start();
        entities = DxfReader(&buffer, 1000).read().entities.size();
        times.append(elapsedMs(timer));
    }
    std::printf("parse %.1f MB ASCII DXF (%d entities): median %.0f ms, max %.0f ms (target 500 ms)\n",
                file.size() / 1048576.0, entities, median(times), maximum(times));
}

void benchFitError(int entityCount, int pointCount)
{
    const QVector<DrawingEntity> drawing = outline(entityCount);
    const QVector<QPointF> points = tracePoints(pointCount);
    QElapsedTimer timer;
    timer.start();
    const DrawingIndex index(drawing);
    const double buildMs = elapsedMs(timer);

    QThreadPool* pool = QThreadPool::globalInstance();
    const int threads = pool->maxThreadCount();
    pool->setMaxThreadCount(1);
    QVector<double> single;
    double sum = 0;
    for (int run = 0; run < 5; ++run) {
        timer.restart();
        sum = summedDistance(points, index);
        single.append(elapsedMs(timer));
    }
    pool->setMaxThreadCount(threads);
    QVector<double> pooled;
    for (int run = 0; run < 5; ++run) {
        timer.restart();
        summedDistance(points, index);
        pooled.append(elapsedMs(timer));
    }
    timer.restart();
    const int walked = 200;
    double walkSum = 0;
    for (int i = 0; i < walked; ++i)
        walkSum += distanceToNearestEntity(drawing, points.at(i * 997 % points.size()).x(),
                                          points.at(i * 997 % points.size()).y());
    const double walkMs = elapsedMs(timer) / walked * points.size();
    std::printf("fit error, %d points against %d entities: index build %.1f ms; one core median %.0f ms "
                "(target 200 ms); %d threads median %.0f ms; plain walk about %.0f s (sum %.6g, %.3g)\n",
                pointCount, entityCount, buildMs, median(single), threads, median(pooled), walkMs / 1000, sum,
                walkSum);
}

void sendMouse(PlotWidget& plot, QEvent::Type type, const QPoint& pos)
{
    QMouseEvent event = mouseEvent(type, plot, pos);
    QCoreApplication::sendEvent(&plot, &event);
}

QPoint pixelOf(const PlotWidget& plot, QPointF p)
{
    return QPointF(plot.xAxis->coordToPixel(p.x()), plot.yAxis->coordToPixel(p.y())).toPoint();
}

// Loads the drawing (offset from the trace), picks a trace point and its
// drawing point with presses, and times the load, the mouse moves over the
// snappable reference points and the fit.
void benchFit(int entityCount, int pointCount, const QString& folder)
{
    const QVector<DrawingEntity> drawing = outline(entityCount);
    const QPointF offset(0.3, 0.2);
    const QString path = folder + QStringLiteral("/drawing.dxf");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(dxfOf(drawing, offset));
    file.close();
    ComparePlaneDXF::setFileProvider([path](QWidget*) { return path; });

    PlotWidget plot;
    plot.resize(1200, 700);
    plot.show();
    auto* curve = new AdaptiveCurve(plot.xAxis, plot.yAxis);
    const QVector<QPointF> points = tracePoints(pointCount);
    for (const QPointF& p : points)
        curve->addData(p.x(), p.y());
    plot.rescaleAxes();
    plot.setInteractions(QCP::iRangeSelection);
    plot.setSelectionMarkerVisible(true);
    plot.replot();

    QElapsedTimer timer;
    timer.start();
    DxfDrawing store;
    auto* comparison = new ComparePlaneDXF(nullptr, &plot, 1, &store);
    const double loadMs = elapsedMs(timer);
    plot.replot();

    // The first press on the trace point nearest to x = 50.
    const QPointF tracePoint = points.at(points.size() / 2);
    sendMouse(plot, QEvent::MouseMove, pixelOf(plot, tracePoint));
    sendMouse(plot, QEvent::MouseButtonPress, pixelOf(plot, tracePoint));
    sendMouse(plot, QEvent::MouseButtonRelease, pixelOf(plot, tracePoint));

    QVector<double> moves;
    for (const QPoint& pos : cursorPositions(plot)) {
        timer.restart();
        sendMouse(plot, QEvent::MouseMove, pos);
        moves.append(elapsedMs(timer));
    }

    // The second press on the drawing's point at the same place.
    const QPointF drawingPoint = tracePoint + offset;
    sendMouse(plot, QEvent::MouseMove, pixelOf(plot, drawingPoint));
    timer.restart();
    sendMouse(plot, QEvent::MouseButtonPress, pixelOf(plot, drawingPoint));
    const double fitMs = elapsedMs(timer);
    std::printf("%d entities, %d points: load with %d reference points %.0f ms; mouse move while they snap "
                "median %.1f ms, 95%% %.1f ms, max %.1f ms; two-click fit %.2f s (state %d, error %.6g)\n",
                entityCount, pointCount, entityCount * 12, loadMs, median(moves), percentile95(moves),
                maximum(moves), fitMs / 1000, comparison->state(), comparison->fitError());
    delete comparison;
    ComparePlaneDXF::setFileProvider(nullptr);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QTemporaryDir folder;
    const QStringList parts = app.arguments().mid(1);
    const auto runs = [&parts](const char* part) { return parts.isEmpty() || parts.contains(QLatin1String(part)); };

    if (runs("parse"))
        benchParsing();
    if (runs("error")) {
        benchFitError(10000, 1000000);
        benchFitError(1000, 100000);
    }
    if (runs("fit")) {
        benchFit(1000, 100000, folder.path());
        benchFit(10000, 1000000, folder.path());
    }
    return 0;
}
