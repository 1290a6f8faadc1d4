#include "ClickDoubleLine.h"

#include "PickCurve.h"

#include "math/ConstructionLines.h"
#include "math/LineFit.h"

using namespace MeasurementMath;

namespace {

// The key span (last key minus first) of every curve of the plot; 0 for an
// empty curve. Reference points are marks, not lines: they span nothing.
QVector<double> curveKeySpans(const PlotWidget* plot)
{
    QVector<double> spans;
    forEachCurve(plot, [&spans](const QCPCurve* curve) {
        if (qobject_cast<const PickCurve*>(curve))
            return;
        const qint64 count = curve->dataCount();
        spans.append(count == 0 ? 0.0 : curvePointKey(curve, count - 1) - curvePointKey(curve, 0));
    });
    return spans;
}

} // namespace

ClickDoubleLine::ClickDoubleLine(PlotWidget* plot, int traceCount)
    : ClickDistaceMeasurement(TWO_POINT_LINE, plot, traceCount)
{
    setCoordinates({0, 0});
    onMouseMove([this] {
        m_secondSnap = snapPointRef(this->plot());
        if (const std::optional<SlopedLine> line = snappedLine())
            drawLine(*line);
    });
    onLeftRelease([this] { onRelease(); });
}

ClickDoubleLine::ClickDoubleLine(PlotWidget* plot, const QVector<double>& coordinates)
    : ClickDistaceMeasurement(TWO_POINT_LINE, plot)
{
    const SlopedLine line{coordinates.value(0), coordinates.value(1)};
    const double reach = slopedLineReach(curveKeySpans(plot));
    finishAsBuilt(coordinates, slopedLineBetween(line, reach, -reach));
}

void ClickDoubleLine::onRelease()
{
    const PointRef snap = snapPointRef(plot());
    if (m_clickCount != 1) {
        m_firstSnap = snap;
        ++m_clickCount;
        return;
    }
    if (curvePointAt(snap).x() == curvePointAt(*m_firstSnap).x())
        return;
    m_secondSnap = snap;
    calculate();
    finishAndAnnounce();
}

void ClickDoubleLine::calculate()
{
    if (const std::optional<SlopedLine> line = snappedLine()) {
        setCoordinates({line->k, line->b});
        drawLine(*line);
    }
}

void ClickDoubleLine::drawLine(const SlopedLine& line)
{
    setLinePoints(slopedLineBetween(line, 0, 1));
}

std::optional<SlopedLine> ClickDoubleLine::snappedLine() const
{
    if (!m_firstSnap || !m_secondSnap)
        return std::nullopt;
    const SlopedLine line = lineThroughPoints(curvePointAt(*m_firstSnap), curvePointAt(*m_secondSnap));
    if (!isFinite(line))
        return std::nullopt;
    return line;
}
