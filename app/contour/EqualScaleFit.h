#pragma once

// The view of a contour plot that shows every point with a margin of 5 % of
// each span: both axes centred on the data, the axis along the axis rect's
// shorter side as long as the larger margined span, and the other one longer
// in proportion to the rect's sides, so that a unit has the same length on
// both and the data fits whatever the rect's shape. Points are collected one
// by one; NaN coordinates are skipped.
class EqualScaleFit
{
public:
    struct Ranges
    {
        double keyLower = 0, keyUpper = 0;
        double valueLower = 0, valueUpper = 0;
    };

    void include(double key, double value);
    // No point collected: there is nothing to fit.
    bool isEmpty() const { return m_empty; }

    // The ranges for an axis rect of `width` x `height` pixels; meaningful
    // when not empty and both sizes are positive.
    Ranges ranges(double width, double height) const;

private:
    bool m_empty = true;
    double m_keyMin = 0, m_keyMax = 0;
    double m_valueMin = 0, m_valueMax = 0;
};
