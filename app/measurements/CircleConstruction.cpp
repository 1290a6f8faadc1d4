#include "CircleConstruction.h"

CircleConstruction::CircleConstruction(E_MEASUREMENTS code, PlotWidget* plot, int traceCount, double radius)
    : CurvatureMeasurement(code, plot, traceCount, 1)
    , m_circle{QPointF(0, 0), radius}
{
}

void CircleConstruction::placeConstruction(const MeasurementMath::Circle& circle)
{
    m_circle = circle;
    setReperPoint(0, circle.centre);
    placeCircle(circle.centre, circle.radius);
    showCircle();
}
