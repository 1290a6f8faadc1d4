#pragma once

#include <QPair>

// The view of a contour plot that shows every point with a margin of 5 % of
// each span: both axes centred on the data and as long as the larger
// margined span, so that a unit has the same length on both once the plot
// ties their scales. Points are collected one by one; NaN coordinates are
// skipped.
class EqualScaleFit
{
public:
    void include(double key, double value);
    // No point collected: there is nothing to fit.
    bool isEmpty() const { return m_empty; }

    // The ranges (lower, upper); meaningful when not empty.
    QPair<double, double> keyRange() const;
    QPair<double, double> valueRange() const;

private:
    double halfSpan() const;

    bool m_empty = true;
    double m_keyMin = 0, m_keyMax = 0;
    double m_valueMin = 0, m_valueMax = 0;
};
