#pragma once

#include "PlotObstacles.h"

#include <QRectF>
#include <QSizeF>
#include <QVector>

namespace MeasurementMath {

// Where the scale of a deviation band stands on the plot, in pixels (y grows
// downwards). The tick values keep the heights their deviations have in the
// band, so the scale may only move sideways: beside the band's end below the
// last selected point, beside its other end, just inside either end, or
// farther out on either side, whichever comes first that keeps every label
// off the curves and off the other labels. When no place is free, the one
// with the fewest labels in the way is taken.
//
// Labels that would overlap each other are left out: every second, fifth,
// tenth ... tick keeps its label (round values), or else only the lowest and
// the highest, or only the highest. A label never rises above the band's top,
// the height of the stretch's lowest point, so that the stretch's own line
// stays clear; labels cut by the edge of the plot are left out.
class DeviationScaleLayout
{
public:
    struct Band
    {
        double firstX = 0; // below the first selected point
        double lastX = 0;  // below the last selected point
        double top = 0;    // the lowest selected height
        double bottom = 0; // the baseline
    };

    struct Tick
    {
        double value = 0;
        double y = 0;
        QSizeF labelSize;
    };

    struct Placement
    {
        // Each tick's mark runs from markFrom to markTo at the tick's height.
        double markFrom = 0;
        double markTo = 0;
        // The ticks whose labels show, from the lowest value up, and their rectangles.
        QVector<int> labelled;
        QVector<QRectF> labels;
        // Whether the labels cover neither a curve nor another label.
        bool free = false;
    };

    // ticks: from the lowest value up, multiples of step (one tick and any
    // step for a flat range); tickLength: the length of a mark in pixels;
    // area: the axis rect, outside which nothing is drawn.
    DeviationScaleLayout(const Band& band, QVector<Tick> ticks, double step, double tickLength, const QRectF& area);

    Placement place(const PlotObstacles& obstacles) const;

    // The ticks that keep a label, wherever the scale stands.
    const QVector<int>& labelledTicks() const { return m_labelled; }

private:
    enum class Side { Left, Right };

    struct Candidate
    {
        Side side;
        bool inside;
        double offset;
    };

    QVector<int> chooseLabelledTicks() const;
    QVector<Candidate> candidates(double columnWidth) const;
    // The candidate's marks and label rectangles; false when a label would
    // stick out of the area sideways.
    bool layOut(const Candidate& candidate, Placement& placement) const;
    // Labels in the way, counting no further than limit.
    int blockedLabels(const Placement& placement, const PlotObstacles& obstacles, int limit) const;
    double labelCentreY(int tick) const;
    bool overlap(const QVector<int>& labelled) const;
    double gap() const;

    Band m_band;
    QVector<Tick> m_ticks;
    double m_step = 0;
    double m_tickLength = 0;
    QRectF m_area;
    QVector<int> m_labelled;
};

} // namespace MeasurementMath
