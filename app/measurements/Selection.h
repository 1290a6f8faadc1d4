#pragma once

#include <qcustomplot.h>

#include <QPointer>

// One data range a measurement picked on a plottable: begin is the first data
// index, end one past the last, as the plotting library reports ranges.
struct Selection
{
    qint64 begin = 0;
    qint64 end = 0;
    // Null in a record no range has filled yet, and once the plottable is gone:
    // either way the record counts as incomplete.
    QPointer<QCPAbstractPlottable> plottable;
};
