#pragma once

#include <QVector>

// A measurement that stands for a straight line in the intersection
// constructions and the equidistants.
class LinePrimitive
{
public:
    virtual ~LinePrimitive() = default;

    // {c0, c1} in plot data coordinates: y = c0·x + c1 for a sloped line (c0 = 0
    // for the horizontal one), x = c1 with c0 = 0 for the vertical line.
    virtual QVector<double> lineCoefficients() const = 0;
};
