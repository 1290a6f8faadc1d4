#pragma once

#include <qcustomplot.h>

// A curve that enters the curve registry of its plot (a PlotWidget) when it is
// created. The program creates its curves as PlotCurve or a subclass.
//
// The data revision counts the changes of the curve's data that its writers
// announce with markDataChanged() (data set anew, rescaled or rotated in
// place), so that what was computed from the data can tell it is out of date
// in constant time, however long the curve.
class PlotCurve : public QCPCurve
{
    Q_OBJECT
public:
    PlotCurve(QCPAxis* keyAxis, QCPAxis* valueAxis);

    quint64 dataRevision() const { return m_dataRevision; }
    void markDataChanged() { ++m_dataRevision; }

    // The revision of a curve that is a PlotCurve; 0 for any other curve and
    // for none.
    static quint64 dataRevisionOf(const QCPCurve* curve);
    // markDataChanged() on a curve that is a PlotCurve.
    static void markDataChangedOf(QCPCurve* curve);

private:
    quint64 m_dataRevision = 0;
};
