#pragma once

#include <qcustomplot.h>

// A curve that enters the curve registry of its plot (a PlotWidget) when it is
// created. The program creates its curves as PlotCurve or a subclass.
class PlotCurve : public QCPCurve
{
    Q_OBJECT
public:
    PlotCurve(QCPAxis* keyAxis, QCPAxis* valueAxis);
};
