#include "MeanHeightMeasurement.h"

#include "math/Dimension.h"
#include "math/SinglePrecision.h"

#include "Logger.h"

#include <limits>

namespace {

MeasurementMath::StretchLevel levelOf(const Selection& selection)
{
    const auto* curve = qobject_cast<const QCPCurve*>(selection.plottable.data());
    if (!curve)
        return {0, std::numeric_limits<double>::quiet_NaN()};
    return MeasurementMath::stretchLevel(curve->data()->constBegin(), curve->dataCount(), selection.begin,
                                         selection.end);
}

} // namespace

MeanHeightMeasurement::MeanHeightMeasurement(PlotWidget* plot, int traceCount)
    : DistanceMeasurement(MEAN_HEIGHT, plot, PointMode::Ranges)
{
    RangeProtocol::prepareRangeSelection(plot, traceCount);
    Logger::instance().log(INFO, "MeanHeightMeasurement started");
}

PointRef MeanHeightMeasurement::snappedPoint() const
{
    return {};
}

void MeanHeightMeasurement::updateLevels()
{
    const SelectionStamp stamp = SelectionStamp::of(*this);
    if (stamp == m_levelsOf)
        return;
    m_levelsOf = stamp;
    for (int i = 0; i < 2; ++i)
        m_levels[i] = i < selectionCount() ? levelOf(*selection(i)) : MeasurementMath::StretchLevel();
}

void MeanHeightMeasurement::calculate()
{
    if (!selectionsComplete()) {
        markValueNotComputed();
        emit statusText(QStringLiteral("Выделите две области для расчета"));
        return;
    }
    updateLevels();
    const double cx = cursorPosition().x();
    const MeasurementMath::StretchLevel& first = m_levels[0];
    if (!first.isValid()) {
        showNoLevel();
        return;
    }
    DimensionItems::placeLine(items().extension1(), QLineF(first.middle, first.height, cx, first.height));
    setReperPoint(0, MeasurementMath::toSinglePrecision(QPointF(first.middle, first.height)));
    items().extension1()->setVisible(true);
    if (selectionCount() < 2)
        return;

    const MeasurementMath::StretchLevel& second = m_levels[1];
    if (!second.isValid()) {
        showNoLevel();
        return;
    }
    DimensionItems::placeLine(items().extension2(), QLineF(second.middle, second.height, cx, second.height));
    setReperPoint(1, MeasurementMath::toSinglePrecision(QPointF(second.middle, second.height)));
    items().extension2()->setVisible(true);
    DimensionItems::placeLine(items().dimensionLine(), QLineF(cx, first.height, cx, second.height));
    setValue(MeasurementMath::meanHeight(first, second));
    QCPItemText* label = items().label();
    label->position->setCoords(cx, (first.height + second.height) / 2);
    label->setRotation(90);
    label->setPositionAlignment(Qt::Alignment(MeasurementMath::kAnchoredAtBottom));
    label->setText(valueText());
    items().setVisible(true);
    reportValue();
}

// A stretch of fewer than two distinct keys has no fitted line to measure from.
void MeanHeightMeasurement::showNoLevel()
{
    items().setVisible(false);
    markValueNotComputed(QStringLiteral("по выделенной области не строится прямая"));
}
