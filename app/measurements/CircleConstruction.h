#pragma once

#include "CirclePrimitive.h"
#include "CurvatureMeasurement.h"

// A circle of the construction geometry: drawn alone, with its centre as the
// reference point, and offered to the intersections. Until a range is picked
// it is the circle of radius 0 about the origin (the given radius for the
// circle of given radius).
class CircleConstruction : public CurvatureMeasurement, public CirclePrimitive
{
public:
    MeasurementMath::Circle circle() const override { return m_circle; }

protected:
    CircleConstruction(E_MEASUREMENTS code, PlotWidget* plot, int traceCount, double radius);

    // Draws the circle and moves the reference point to its centre.
    void placeConstruction(const MeasurementMath::Circle& circle);
    void setConstructionRadius(double radius) { m_circle.radius = radius; }

private:
    MeasurementMath::Circle m_circle;
};
