#pragma once

#include "plot/AdaptiveCurve.h"

#include "PlotFixture.h"
#include "SettingsFixture.h"

#include <functional>
#include <memory>

inline void setAxisUnit(int unit)
{
    changeSettings([unit](AppSettings& settings) { settings.view.axis_unit = unit; });
}

// The offscreen plot of PlotFixture with trace curves made of given points,
// the axes set around them, and the mouse dragged from one data point to
// another the way a user picks a stretch of a trace.
class ContourScene : public PlotFixture
{
public:
    AdaptiveCurve* addTrace(const QVector<QPointF>& points)
    {
        auto* curve = new AdaptiveCurve(plot.xAxis, plot.yAxis);
        for (const QPointF& p : points)
            curve->addData(p.x(), p.y());
        return curve;
    }

    // Axes around every curve's points with a tenth of their extent to spare.
    void fitAxes()
    {
        plot.rescaleAxes();
        for (QCPAxis* axis : {plot.xAxis, plot.yAxis})
            axis->scaleRange(1.2);
        plot.replot();
    }

    // As much free space below the traces as they take, for what measurements
    // draw below them.
    void showBelowTraces()
    {
        const QCPRange range = plot.yAxis->range();
        plot.yAxis->setRange(range.lower - range.size(), range.upper);
        plot.replot();
    }

    // A height in the lower part of the view.
    double belowTraces() const { return plot.yAxis->range().lower + plot.yAxis->range().size() / 8; }

    QPoint pixelAt(const QCPCurve* curve, int index) const
    {
        const QCPCurveData& point = *(curve->data()->constBegin() + index);
        return pixel(point.key, point.value);
    }

    // A drag from one data point to another: the range [from, to) or
    // [to, from) of the curve.
    void dragAlong(const QCPCurve* curve, int from, int to) { drag(pixelAt(curve, from), pixelAt(curve, to)); }

    void click(const QPoint& pos)
    {
        move(pos);
        press(pos);
        release(pos);
    }
};

// Makes a measurement of Kind on a plot whose first curve is the trace, with
// the kind's further constructor arguments.
template <typename Kind, typename... Args>
auto maker(Args... args)
{
    return [args...](PlotWidget* plot) { return new Kind(plot, 1, args...); };
}

// What a plot holds, to tell that a measurement took everything it drew
// with it.
struct PlotContents
{
    explicit PlotContents(const PlotWidget& plot)
        : items(plot.itemCount())
        , plottables(plot.plottableCount())
        , curves(plot.curveCount())
    {
    }

    bool operator==(const PlotContents& other) const
    {
        return items == other.items && plottables == other.plottables && curves == other.curves;
    }

    int items;
    int plottables;
    int curves;
};

// A scene with one trace, free space below it, and a measurement of a kind
// created on it by make.
template <typename Kind>
struct KindScene
{
    using Make = std::function<Kind*(PlotWidget*)>;

    KindScene(const QVector<QPointF>& trace, const Make& make)
    {
        curve = scene.addTrace(trace);
        scene.fitAxes();
        scene.showBelowTraces();
        m.reset(make(&scene.plot));
        scene.plot.replot();
    }

    ContourScene scene;
    AdaptiveCurve* curve = nullptr;
    std::unique_ptr<Kind> m;
};
