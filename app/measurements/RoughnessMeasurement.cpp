#include "RoughnessMeasurement.h"

#include "CurveAccess.h"
#include "math/AutoCutOffRoughness.h"
#include "math/Dimension.h"
#include "math/SinglePrecision.h"

#include "AppSettings.h"
#include "CutOff.h"
#include "Logger.h"

#include <QMouseEvent>
#include <QMutexLocker>

#include <algorithm>

namespace {

// The range's first point and the point closing it: the first one after the
// range, or the curve's last point when the range reaches the end of the data.
QLineF rangeEnds(const Selection& selection)
{
    const auto* curve = qobject_cast<const QCPCurve*>(selection.plottable.data());
    const qint64 size = curve ? curve->dataCount() : 0;
    const qint64 first = std::clamp<qint64>(selection.begin, 0, std::max<qint64>(size - 1, 0));
    const qint64 closing = std::clamp<qint64>(selection.end, first, std::max<qint64>(size - 1, 0));
    return QLineF(curvePointKey(curve, first), curvePointValue(curve, first), curvePointKey(curve, closing),
                  curvePointValue(curve, closing));
}

} // namespace

RoughnessMeasurement::RoughnessMeasurement(E_MEASUREMENTS code, PlotWidget* plot, int traceCount)
    : Measurement(measurementKind(code)->type, plot, 2)
    , m_unitText(QStringLiteral("мкм"))
    , m_items(plot)
    , m_name(measurementKind(code)->name)
    , m_protocol(this, {1, true, [] { return QStringLiteral("Finished"); }})
{
    for (QCPLayerable* item : m_items.layerables())
        adoptItem(item);
    setHighlighted(true);
    setMoveRedraw(MoveRedraw::OwnLayer);
    addConnection(connect(plot, &QCustomPlot::mouseRelease, this, [this](QMouseEvent* event) {
        m_protocol.release(event);
    }));
    RangeProtocol::prepareRangeSelection(plot, traceCount);
    markValueNotComputed();
    Logger::instance().log(INFO, "RAMeasurement started");
}

RoughnessMeasurement::~RoughnessMeasurement()
{
    Logger::instance().log(INFO, name() + QStringLiteral(" delete with value: ") + valueText());
}

QString RoughnessMeasurement::valueText() const
{
    return computedValueText(QString::number(m_value, 'f', 4) + m_unitText);
}

QString RoughnessMeasurement::groupName() const
{
    return measurementKind(type())->groupName;
}

void RoughnessMeasurement::setLabelEnlarged(bool enlarged)
{
    m_items.setLabelEnlarged(enlarged);
}

void RoughnessMeasurement::updateLabel()
{
    if (QCPItemText* label = m_items.label())
        label->setText(labelText());
}

void RoughnessMeasurement::updateSelectionMarker()
{
    plot()->setSelectionMarkerVisible(true);
}

void RoughnessMeasurement::setHighlighted(bool highlighted)
{
    m_items.setHighlighted(highlighted);
}

void RoughnessMeasurement::calculate()
{
    if (!selectionsComplete() || selectionSpan(*selection(0)).isEmpty()) {
        showNoValue();
        return;
    }
    const Selection& range = *selection(0);
    updateResult(range);
    if (!m_result->value) {
        showNoValue(noValueReason(*m_result));
        return;
    }
    m_value = *m_result->value;
    markValueComputed();
    draw(range);
}

void RoughnessMeasurement::showNoValue(const QString& reason)
{
    m_items.setVisible(false);
    markValueNotComputed(reason);
}

// The cut-off in millimetres, as the tab's buttons and the trace list name it.
QString RoughnessMeasurement::noValueReason(const MeasurementMath::CutOffRoughness& result)
{
    if (result.tooShortFor > 0)
        return QStringLiteral("участок короче двух длин отсечки ") + QString::number(result.tooShortFor / 1000, 'g', 6)
            + QStringLiteral(" мм");
    return QStringLiteral("значение меньше 0.0001 мкм");
}

RoughnessMeasurement::Inputs RoughnessMeasurement::currentInputs(const Measurement& measurement)
{
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    return {SelectionStamp::of(measurement), settings.view.axis_unit, settings.preferenses.standartisation_value};
}

void RoughnessMeasurement::updateResult(const Selection& selection)
{
    const Inputs inputs = currentInputs(*this);
    if (m_resultOf && *m_resultOf == inputs)
        return;
    m_resultOf = inputs;
    const CurveSpan span = selectionSpan(selection);
    const double scale = MeasurementMath::micrometresPerUnit(inputs.axisUnit);
    m_result = MeasurementMath::autoCutOffRoughness(
        MeasurementMath::profileInMicrometres(span.first, span.last, scale),
        [this](const ProfileData& profile, double cutOff) { return computeParameter(profile, cutOff); },
        [](double value) { return Algos::autoCutOff(value); });
}

// The value line of the label is the one next to the dimension line.
void RoughnessMeasurement::draw(const Selection& selection)
{
    const QLineF ends = rangeEnds(selection);
    const QPointF first = MeasurementMath::toSinglePrecision(ends.p1());
    const QPointF closing = MeasurementMath::toSinglePrecision(ends.p2());
    const double y = cursorPosition().y();
    const bool below = y < first.y();

    MeasurementMath::Dimension dimension;
    dimension.extension1 = QLineF(first, QPointF(first.x(), y));
    dimension.extension2 = QLineF(closing, QPointF(closing.x(), y));
    dimension.dimensionLine = QLineF(first.x(), y, closing.x(), y);
    dimension.alignment = below ? MeasurementMath::kAnchoredAtTop : MeasurementMath::kAnchoredAtBottom;
    dimension.labelPosition = QPointF((first.x() + closing.x()) / 2, y);
    m_items.place(dimension);

    const QString result = name() + QStringLiteral(": ") + valueText();
    if (QCPItemText* label = m_items.label())
        label->setText(below ? result + QLatin1Char('\n') + labelText() : labelText() + QLatin1Char('\n') + result);
    m_items.setVisible(true);
    emit statusText(result);
}
