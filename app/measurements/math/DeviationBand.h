#pragma once

#include "PointAccess.h"

#include <QLineF>
#include <QPointF>
#include <QVector>

#include <algorithm>
#include <iterator>
#include <optional>

namespace MeasurementMath {

// A selected stretch as the deviation band sees it: its first and last point
// and the lowest height among its points but the last.
struct BandFrame
{
    QPointF first;
    QPointF last;
    double lowest = 0;
};

// The frame of the points [first, last); none for fewer than two points.
template <typename Iterator>
std::optional<BandFrame> bandFrame(Iterator first, Iterator last)
{
    if (std::distance(first, last) < 2)
        return std::nullopt;
    const Iterator lastPoint = std::prev(last);
    BandFrame frame;
    frame.first = QPointF(Algos::pointX(*first), Algos::pointY(*first));
    frame.last = QPointF(Algos::pointX(*lastPoint), Algos::pointY(*lastPoint));
    frame.lowest = Algos::pointY(*first);
    for (Iterator it = first; it != lastPoint; ++it)
        frame.lowest = std::min(frame.lowest, Algos::pointY(*it));
    return frame;
}

// The horizontal band below a stretch in which its deviations are drawn: from
// the baseline up to the stretch's lowest height. Points and the baseline are
// kept in single precision.
struct DeviationBand
{
    QPointF first;
    QPointF last;
    double lowest = 0;
    double baseline = 0;

    double height() const { return std::max(0.0, lowest - baseline); }
    QPointF baselineStart() const { return QPointF(first.x(), baseline); }
    QPointF baselineEnd() const { return QPointF(last.x(), baseline); }
    QPointF baselineMiddle() const { return (baselineStart() + baselineEnd()) / 2; }
    // 0 when the keys grow from the first to the last point, 180 when they fall.
    double baselineAngle() const { return QLineF(baselineStart(), baselineEnd()).angle(); }
};

// The band for the mouse at height mouseY: the baseline is at the mouse, or
// as far below the lowest height as the mouse is above it.
DeviationBand deviationBand(const BandFrame& frame, double mouseY);

// A range of deviations too narrow to be scaled: not finite, not positive, or
// below 1e-12 of the values (round-off of equal deviations).
bool isFlatRange(double minimum, double maximum);

// Maps deviations into a band: the smallest onto the baseline, the largest
// onto the lowest height; a flat range onto the middle of the band.
struct BandScale
{
    double minimum = 0;
    double maximum = 0;
    double baseline = 0;
    double height = 0;

    bool isFlat() const { return isFlatRange(minimum, maximum); }
    double toBand(double deviation) const;
};

// The scale of the deviations in the band; the deviations must not be empty.
BandScale bandScale(const QVector<double>& deviations, const DeviationBand& band);

QVector<double> scaleIntoBand(const QVector<double>& deviations, const BandScale& scale);

} // namespace MeasurementMath
