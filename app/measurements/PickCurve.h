#pragma once

#include "plot/PlotCurve.h"

// The invisible curve of a reference point: one data point that the plot's
// snap and range selection can pick like a trace point. A curve of one point
// draws nothing, so it skips drawing altogether: a drawing's thousands of
// them then cost a full replot next to nothing.
class PickCurve : public PlotCurve
{
    Q_OBJECT
public:
    PickCurve(QCPAxis* keyAxis, QCPAxis* valueAxis);

protected:
    void draw(QCPPainter* painter) override;
};
