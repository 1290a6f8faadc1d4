#include "AngleMeasurement.h"

#include "AppSettings.h"
#include "Constants.h"
#include "CurveAccess.h"
#include "DrawingConstants.h"
#include "Logger.h"
#include "math/AngleTexts.h"
#include "math/LineFit.h"

#include "plot/PlotWidget.h"
#include "plot/QCPItemArc.h"

#include <QMouseEvent>
#include <QMutexLocker>

using namespace MeasurementMath;

namespace {

RangeProtocol::Options angleOptions(int selectionsNeeded)
{
    RangeProtocol::Options options;
    options.rangesNeeded = selectionsNeeded;
    options.finishLine = [] { return QStringLiteral("Finish"); };
    return options;
}

} // namespace

const QString AngleMeasurement::kNoLineText = QStringLiteral("по выделенным точкам не строится прямая");

AngleMeasurement::AngleMeasurement(E_MEASUREMENTS kind, PlotWidget* plot, int traceCount, int selectionsNeeded)
    : Measurement(measurementKind(kind)->type, plot, 1)
    , m_name(measurementKind(kind)->name)
    , m_groupName(measurementKind(kind)->groupName)
    , m_protocol(this, angleOptions(selectionsNeeded))
{
    createItems();
    setMoveRedraw(MoveRedraw::OwnLayer);
    addConnection(connect(plot, &QCustomPlot::mouseRelease, this, &AngleMeasurement::onPlotMouseRelease));
    RangeProtocol::prepareRangeSelection(plot, traceCount);
    m_anglesInDegrees = readAnglesInDegrees();
    markValueNotComputed();
}

AngleMeasurement::~AngleMeasurement()
{
    Logger::instance().log(INFO, name() + QStringLiteral(" delete with value: ") + valueText());
    if (PlotWidget* p = plot()) {
        p->removeItem(m_firstLine);
        p->removeItem(m_secondLine);
        p->removeItem(m_label);
        p->removeItem(m_arc);
    }
}

void AngleMeasurement::createItems()
{
    PlotWidget* p = plot();
    m_firstLine = adoptItem(new QCPItemLine(p));
    m_secondLine = adoptItem(new QCPItemLine(p));
    m_arc = adoptItem(new QCPItemArc(p));
    m_label = adoptItem(new QCPItemText(p));
    m_firstLine->setPen(kBlackPen);
    m_secondLine->setPen(kBlackPen);
    m_arc->setPen(kBlackPen);
    m_label->setFont(kMonospaceFont);
    setItemsVisible(false);
    setHighlighted(true);
}

QString AngleMeasurement::name() const
{
    return m_name;
}

QString AngleMeasurement::valueText() const
{
    if (m_anglesInDegrees)
        return computedValueText(angleInDegreesText(m_angle));
    if (selectionCount() == 0)
        return kUnknownText;
    return computedValueText(angleInDegreesMinutesSecondsText(m_angle));
}

double AngleMeasurement::value() const
{
    return selectionCount() == 0 ? 0 : computedValue(m_angle);
}

QString AngleMeasurement::groupName() const
{
    return m_groupName;
}

void AngleMeasurement::setLabelEnlarged(bool enlarged)
{
    m_reportFont.apply(m_label, enlarged);
}

void AngleMeasurement::updateLabel()
{
    m_label->setText(labelText());
}

void AngleMeasurement::updateSelectionMarker()
{
    if (PlotWidget* p = plot())
        p->setSelectionMarkerVisible(true);
}

void AngleMeasurement::setHighlighted(bool highlighted)
{
    const QPen& pen = highlighted ? kGreenPen : kBlackPen;
    m_firstLine->setPen(pen);
    m_secondLine->setPen(pen);
    m_arc->setPen(pen);
}

void AngleMeasurement::reloadSettings()
{
    m_anglesInDegrees = readAnglesInDegrees();
}

double AngleMeasurement::nominalValue() const
{
    return nearestNominalAngle(value(), {45, 90, 135, 180});
}

bool AngleMeasurement::readAnglesInDegrees()
{
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    return settings.view.angles_in_deg;
}

SlopedLine AngleMeasurement::rangeLine(int i)
{
    RangeLineFit& fit = m_rangeFits[i];
    if (isFinished())
        fit.clear();
    return fit.line(*selection(i));
}

void AngleMeasurement::placeAngleToAxis(FloatVector axis)
{
    if (selectionCount() == 0 || !selectionsComplete()) {
        showNoAngle();
        return;
    }
    const SlopedLine line = rangeLine(0);
    if (!isFinite(line)) {
        showNoAngle(kNoLineText);
        return;
    }
    const Selection& range = *selection(0);
    const auto* curve = qobject_cast<const QCPCurve*>(range.plottable.data());
    const double lastKey = range.end - 1 < 0 ? 0.0 : curvePointKey(curve, range.end - 1);
    placeAngle(QPointF(lastKey, line.b + line.k * lastKey), directionOfSlope(line.k), axis);
}

void AngleMeasurement::showNoAngle(const QString& reason)
{
    setItemsVisible(false);
    markValueNotComputed(reason);
}

void AngleMeasurement::placeAngle(const QPointF& p, FloatVector first, FloatVector second)
{
    setReperPoint(0, p);
    const AngleDrawing drawing = drawAngle(p, first, second, cursorPosition());
    m_angle = drawing.angle;
    markValueComputed();
    setArc(drawing.arcTopLeft, drawing.arcBottomRight, drawing.startAngle, drawing.spanAngle);
    setLabel(labelText() + QStringLiteral("\n") + valueText(), drawing.labelPosition, 0,
             Qt::AlignBottom | Qt::AlignHCenter);
    m_firstLine->start->setCoords(drawing.firstLine.p1());
    m_firstLine->end->setCoords(drawing.firstLine.p2());
    m_secondLine->start->setCoords(drawing.secondLine.p1());
    m_secondLine->end->setCoords(drawing.secondLine.p2());
    setItemsVisible(true);
    emit statusText(name() + QStringLiteral(": ") + valueText());
}

void AngleMeasurement::setItemsVisible(bool visible)
{
    m_firstLine->setVisible(visible);
    m_secondLine->setVisible(visible);
    m_arc->setVisible(visible);
    m_label->setVisible(visible);
}

void AngleMeasurement::setArc(const QPointF& topLeft, const QPointF& bottomRight, int startAngle, int spanAngle)
{
    m_arc->topLeft->setCoords(topLeft);
    m_arc->bottomRight->setCoords(bottomRight);
    m_arc->startAngle = startAngle;
    m_arc->spanAngle = spanAngle;
}

void AngleMeasurement::setLabel(const QString& text, const QPointF& position, double rotation,
                                Qt::Alignment alignment)
{
    m_label->setText(text);
    m_label->position->setCoords(position);
    m_label->setRotation(rotation);
    m_label->setPositionAlignment(alignment);
}

void AngleMeasurement::onPlotMouseRelease(QMouseEvent* event)
{
    m_protocol.release(event);
}
