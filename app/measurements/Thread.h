#pragma once

#include "ClickDistaceMeasurement.h"

class QCPItemLine;

// "Средний диаметр": the mean line of a thread profile, the line the profile
// crosses at equal intervals, from which the pitch diameter is measured. A
// left click chooses the curve the selection marker last snapped to; the
// whole search runs inside that release and the line, coordinates {k, b} of
// y = k·x + b, is drawn over the curve's key range. It is computed once: a
// recalculation leaves it as it is.
class Thread : public ClickDistaceMeasurement
{
public:
    Thread(PlotWidget* plot, int traceCount);
    ~Thread() override;

protected:
    // The found line with its coordinates: it is not searched again.
    void scaleGeometry(double ratio) override;

private:
    // A release with no snapped curve, on a curve of fewer than three points
    // or one without a finite least-squares line is ignored: the measurement
    // keeps waiting for a click on a usable profile.
    void onRelease();

    QCPItemLine* m_threadLine = nullptr;
};
