// Mouse moves over a contour plot with one 1,000,000-point trace and 20,000
// reference points (a large drawing's worth). Targets: the reference-point
// controller's snap at most 2 ms per move; a move over an open measurement
// whose calculate only moves its items at most 5 ms from the event to the
// repainted plot (a full replot is printed beside it).
#include "BenchTiming.h"

#include "measurements/Measurement.h"
#include "measurements/ReperPoint.h"
#include "measurements/ReperPointController.h"

#include "plot/AdaptiveCurve.h"
#include "plot/PlotWidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

namespace {

constexpr int kTracePoints = 1000000;
constexpr int kReperPoints = 20000;

// A measurement with a line and a label that follow the cursor, the way a
// distance or an angle follows it while placing.
class FollowingMeasurement : public Measurement
{
public:
    FollowingMeasurement(PlotWidget* plot, int points)
        : Measurement(DIRECT_DISTANCE, plot, points)
        , m_line(adoptItem(new QCPItemLine(plot)))
        , m_label(adoptItem(new QCPItemText(plot)))
    {
    }
    QString name() const override { return QStringLiteral("Прямая"); }
    QString valueText() const override { return QString::number(value(), 'f', 4) + QStringLiteral("мм"); }
    double value() const override { return cursor().x(); }
    void calculate() override
    {
        m_line->start->setCoords(0, 0);
        m_line->end->setCoords(cursor());
        m_label->position->setCoords(cursor());
        m_label->setText(valueText());
        if (!reperPoints().isEmpty())
            setReperPoint(0, cursor());
    }
    QString groupName() const override { return QStringLiteral("Длины"); }
    void setLabelEnlarged(bool) override {}
    void updateLabel() override {}
    void setHighlighted(bool) override {}

    using Measurement::setMoveRedraw;

private:
    QCPItemLine* m_line;
    QCPItemText* m_label;
};

QVector<QCPCurveData> noisyTrace()
{
    std::mt19937 generator(1);
    std::normal_distribution<double> noise(0.0, 0.4);
    QVector<QCPCurveData> data;
    data.reserve(kTracePoints);
    for (int i = 0; i < kTracePoints; ++i) {
        const double x = i * 0.0001;
        data.append(QCPCurveData(i, x, std::sin(x * 0.7) + noise(generator)));
    }
    return data;
}

QVector<QPoint> cursorPositions(const PlotWidget& plot)
{
    const QRect area = plot.axisRect()->rect();
    QVector<QPoint> positions;
    for (int i = 0; i < 200; ++i)
        positions.append(QPoint(area.left() + (i * 37) % area.width(), area.top() + (i * 53) % area.height()));
    return positions;
}

struct Scene
{
    Scene()
        : controller(&plot)
    {
        plot.resize(1200, 700);
        plot.show();
        auto* trace = new AdaptiveCurve(plot.xAxis, plot.yAxis);
        trace->data()->set(noisyTrace(), true);
        plot.rescaleAxes();
        plot.replot();
        QObject::connect(&plot, &QCustomPlot::mouseMove, &controller, &ReperPointController::mouseMove);
    }

    // One finished measurement owning the points, spread over the trace's
    // bounding box as a drawing's points are.
    double addReperPoints()
    {
        QElapsedTimer timer;
        timer.start();
        drawing.reset(new FollowingMeasurement(&plot, kReperPoints));
        QObject::connect(drawing.get(), &Measurement::reperPointChanged, &controller,
                         &ReperPointController::reperPointChanged);
        QObject::connect(drawing.get(), &Measurement::reperPointRemoved, &controller,
                         &ReperPointController::reperPointRemoved);
        const QCPRange x = plot.xAxis->range();
        const QCPRange y = plot.yAxis->range();
        std::mt19937 generator(2);
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        for (int i = 0; i < kReperPoints; ++i)
            drawing->setReperPoint(i, QPointF(x.lower + unit(generator) * x.size(), y.lower + unit(generator) * y.size()));
        drawing->finish();
        return elapsedMs(timer);
    }

    PlotWidget plot;
    ReperPointController controller;
    std::unique_ptr<FollowingMeasurement> drawing;
};

QMouseEvent moveEvent(const PlotWidget& plot, const QPoint& pos)
{
    return QMouseEvent(QEvent::MouseMove, pos, plot.mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
}

void benchControllerSnap(Scene& scene)
{
    QVector<double> walk, snap, whole;
    // In the plot's corner no point is within reach: the walk alone.
    for (int i = 0; i < 200; ++i) {
        QMouseEvent move = moveEvent(scene.plot, QPoint(3, 3));
        QElapsedTimer timer;
        timer.start();
        scene.controller.mouseMove(&move);
        walk.append(elapsedMs(timer));
    }
    for (const QPoint& pos : cursorPositions(scene.plot)) {
        QMouseEvent move = moveEvent(scene.plot, pos);
        QElapsedTimer timer;
        timer.start();
        scene.controller.mouseMove(&move);
        snap.append(elapsedMs(timer));
    }
    scene.plot.setInteractions(QCP::iRangeSelection | QCP::iSelectPlottables);
    scene.controller.makePointsSelectable();
    for (const QPoint& pos : cursorPositions(scene.plot)) {
        QMouseEvent move = moveEvent(scene.plot, pos);
        QElapsedTimer timer;
        timer.start();
        QApplication::sendEvent(&scene.plot, &move);
        scene.plot.repaint();
        whole.append(elapsedMs(timer));
    }
    // The rare maximum is a move that lights up more points at once than ever
    // before: the controller adds a highlight item, and the plot redraws whole.
    std::printf("controller snap, %d points: %.3f ms (95 %%: %.3f ms, max %.1f ms; the walk alone %.3f ms), "
                "target 2 ms\n",
                kReperPoints, median(snap), percentile95(snap), maximum(snap), median(walk));
    std::printf("whole mouse move with the plot's snap over the trace and %d selectable pick curves, repainted: "
                "%.2f ms (95 %%: %.2f ms, max %.1f ms)\n",
                kReperPoints, median(whole), percentile95(whole), maximum(whole));
    scene.controller.makePointsUnselectable();
    scene.plot.setInteractions(QCP::Interactions());
}

// From the mouse event to the repainted plot, with the open measurement's
// items on their own layer or redrawn with the whole plot.
void benchOpenMeasurement(Scene& scene, const char* setting)
{
    QVector<double> layerOnly, fullReplot;
    for (bool itemsLayer : {true, false}) {
        FollowingMeasurement open(&scene.plot, 1);
        open.setMoveRedraw(itemsLayer ? Measurement::MoveRedraw::OwnLayer : Measurement::MoveRedraw::WholePlot);
        scene.plot.replot();
        for (const QPoint& pos : cursorPositions(scene.plot).mid(0, 60)) {
            QMouseEvent move = moveEvent(scene.plot, pos);
            QElapsedTimer timer;
            timer.start();
            QApplication::sendEvent(&scene.plot, &move);
            scene.plot.repaint();
            (itemsLayer ? layerOnly : fullReplot).append(elapsedMs(timer));
        }
    }
    std::printf("move over an open measurement, %s: %.2f ms (95 %%: %.2f ms), target 5 ms; "
                "with a full replot %.1f ms\n",
                setting, median(layerOnly), percentile95(layerOnly), median(fullReplot));
}

void benchRemoval(Scene& scene)
{
    QElapsedTimer timer;
    timer.start();
    scene.drawing.reset();
    std::printf("deleting the measurement with its %d points: %.0f ms\n", kReperPoints, elapsedMs(timer));
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Scene scene;
    benchOpenMeasurement(scene, "trace only");
    const double placing = scene.addReperPoints();
    std::printf("creating and placing %d reference points: %.0f ms\n", kReperPoints, placing);
    scene.plot.replot();
    benchControllerSnap(scene);
    benchOpenMeasurement(scene, "trace and reference points");
    benchRemoval(scene);
    return 0;
}
