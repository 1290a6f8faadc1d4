#include "CurvatureMeasurement.h"

#include "Constants.h"
#include "DisplayUnit.h"
#include "DrawingConstants.h"
#include "LabelObstacles.h"
#include "Logger.h"
#include "math/LengthUnit.h"
#include "math/RadiusLabelPlacement.h"
#include "math/SinglePrecision.h"

#include "plot/PlotWidget.h"

#include <QMouseEvent>
#include <QVector2D>

using namespace MeasurementMath;

namespace {

RangeProtocol::Options protocolOptions(int selectionsNeeded, bool yieldsValue)
{
    RangeProtocol::Options options;
    options.rangesNeeded = selectionsNeeded;
    options.promptWhenLocked = yieldsValue;
    options.finishLine = [] { return QStringLiteral("finished"); };
    return options;
}

// The arrow's head is 8 pixels wide; the label keeps a pixel more off its line.
constexpr double kArrowClearance = 5;

} // namespace

const QString CurvatureMeasurement::kNoCircleText = QStringLiteral("по выделенным точкам не строится окружность");

CurvatureMeasurement::CurvatureMeasurement(E_MEASUREMENTS code, PlotWidget* plot, int traceCount, int selectionsNeeded)
    : Measurement(measurementKind(code)->type, plot, 1)
    , m_kind(*measurementKind(code))
    , m_traceCount(traceCount)
    , m_protocol(this, protocolOptions(selectionsNeeded, measurementKind(code)->yieldsValue))
{
    setYieldsValue(m_kind.yieldsValue);
    createItems();
    addConnection(connect(plot, &QCustomPlot::mouseRelease, this, &CurvatureMeasurement::onPlotMouseRelease));
    m_relayout = connect(plot, &QCustomPlot::afterLayout, this, &CurvatureMeasurement::keepLabelOffArrow);
    RangeProtocol::prepareRangeSelection(plot, traceCount);
    plot->setSelectionMarkerVisible(true);
    updateUnitText();
    setMoveRedraw(MoveRedraw::OwnLayer);
    if (yieldsValue())
        markValueNotComputed();
}

CurvatureMeasurement::~CurvatureMeasurement()
{
    // The base's destruction may lay the plot out again.
    disconnect(m_relayout);
    Logger::instance().log(INFO, name() + QStringLiteral(" delete with value: ") + valueText());
    if (PlotWidget* p = plot()) {
        for (QCPAbstractItem* item : items())
            p->removeItem(item);
    }
}

QString CurvatureMeasurement::name() const
{
    return m_kind.name;
}

QString CurvatureMeasurement::valueText() const
{
    if (!yieldsValue())
        return QString();
    if (!selection(0))
        return kUnknownText;
    return computedValueText(QString::number(m_radius, 'f', 4) + m_unitText);
}

double CurvatureMeasurement::value() const
{
    return selection(0) ? computedValue(m_radius) : 0.0;
}

QString CurvatureMeasurement::groupName() const
{
    return m_kind.groupName;
}

void CurvatureMeasurement::setLabelEnlarged(bool enlarged)
{
    m_reportFont.apply(m_label, enlarged);
}

void CurvatureMeasurement::updateLabel()
{
    if (m_label)
        m_label->setText(labelText());
}

void CurvatureMeasurement::updateSelectionMarker()
{
    if (PlotWidget* p = plot())
        p->setSelectionMarkerVisible(true);
}

void CurvatureMeasurement::setHighlighted(bool highlighted)
{
    const QPen& pen = highlighted ? kGreenPen : kBlackPen;
    if (m_radiusLine)
        m_radiusLine->setPen(pen);
    if (m_circle)
        m_circle->setPen(pen);
}

void CurvatureMeasurement::reloadSettings()
{
    updateUnitText();
}

std::optional<Circle> CurvatureMeasurement::keptFit(const QVector<CurveSpan>& stretches,
                                                    const std::function<std::optional<Circle>()>& fit)
{
    const SpanFingerprint fingerprint(stretches);
    if (isFinished() || m_fittedFor != fingerprint) {
        m_fit = fit();
        m_fittedFor = fingerprint;
    }
    return m_fit;
}

std::optional<Circle>
CurvatureMeasurement::firstRangeFit(const std::function<std::optional<Circle>(const CurveSpan&)>& fit)
{
    if (!selectionsComplete())
        return std::nullopt;
    const CurveSpan span = selectionSpan(*selection(0));
    if (span.isEmpty())
        return std::nullopt;
    return keptFit({span}, [&fit, &span] { return fit(span); });
}

void CurvatureMeasurement::forgetFit()
{
    m_fittedFor.reset();
    m_fit.reset();
}

void CurvatureMeasurement::setItemsVisible(bool visible)
{
    for (QCPAbstractItem* item : items())
        item->setVisible(visible);
}

void CurvatureMeasurement::placeCircle(QPointF centre, double radius)
{
    if (!m_circle)
        return;
    m_circle->topLeft->setCoords(centre.x() - radius, centre.y() - radius);
    m_circle->bottomRight->setCoords(centre.x() + radius, centre.y() + radius);
}

void CurvatureMeasurement::showCircle()
{
    if (m_circle)
        m_circle->setVisible(true);
}

void CurvatureMeasurement::showResult(QPointF centre, double radius)
{
    const QPointF cursor = selectionsComplete() ? cursorPosition() : QPointF(0, 0);
    setReperPoint(0, centre);
    QVector2D direction(cursor - centre);
    direction.normalize();
    m_radius = radius;
    markValueComputed();
    placeCircle(centre, radius);
    m_labelAnchor = toSinglePrecision(cursor);
    placeLabel(valueText(), *m_labelAnchor, 0, Qt::AlignHCenter | Qt::AlignBottom);
    if (m_radiusLine) {
        const QVector2D arm = direction * float(radius);
        m_radiusLine->start->setCoords(toSinglePrecision(centre));
        m_radiusLine->end->setCoords(toSinglePrecision(centre + arm.toPointF()));
    }
    setItemsVisible(true);
    keepLabelOffArrow();
    emit statusText(name() + QStringLiteral(": ") + valueText());
}

void CurvatureMeasurement::showNoResult(const QString& reason)
{
    m_labelAnchor.reset();
    setItemsVisible(false);
    markValueNotComputed(reason);
}

void CurvatureMeasurement::placeLabel(const QString& text, QPointF point, double rotation, int alignment)
{
    if (!m_label)
        return;
    m_label->setText(labelText() + QLatin1Char('\n') + text);
    m_label->position->setCoords(point);
    m_label->setRotation(rotation);
    m_label->setPositionAlignment(Qt::Alignment(alignment));
}

bool CurvatureMeasurement::updateUnitText()
{
    const QString text = lengthUnitText(DisplayUnit::current());
    if (text.isEmpty() || text == m_unitText)
        return false;
    m_unitText = text;
    forgetFit();
    return true;
}

void CurvatureMeasurement::keepLabelOffArrow()
{
    PlotWidget* p = plot();
    if (!p || !m_label || !m_radiusLine || !m_labelAnchor)
        return;
    const QPointF anchor(p->xAxis->coordToPixel(m_labelAnchor->x()), p->yAxis->coordToPixel(m_labelAnchor->y()));
    const QLineF arrow(m_radiusLine->start->pixelPosition(), m_radiusLine->end->pixelPosition());
    const QSizeF size = textPixelRect(m_label).size();
    const RadiusLabelPlace place = radiusLabelPlace(arrow, anchor, size, kArrowClearance);
    if (!place.besideArrow) {
        m_label->position->setCoords(*m_labelAnchor);
        return;
    }
    const QPointF bottomCentre(place.rect.center().x(), place.rect.bottom());
    m_label->position->setCoords(p->xAxis->pixelToCoord(bottomCentre.x()), p->yAxis->pixelToCoord(bottomCentre.y()));
}

QList<QCPAbstractItem*> CurvatureMeasurement::items() const
{
    QList<QCPAbstractItem*> existing;
    for (QCPAbstractItem* item : {static_cast<QCPAbstractItem*>(m_radiusLine.data()),
                                  static_cast<QCPAbstractItem*>(m_circle.data()),
                                  static_cast<QCPAbstractItem*>(m_label.data())}) {
        if (item)
            existing.append(item);
    }
    return existing;
}

void CurvatureMeasurement::createItems()
{
    PlotWidget* p = plot();
    m_radiusLine = adoptItem(new QCPItemLine(p));
    m_radiusLine->setPen(kBlackPen);
    m_radiusLine->setHead(QCPLineEnding(QCPLineEnding::esSpikeArrow, 8, 10));
    m_circle = adoptItem(new QCPItemEllipse(p));
    m_circle->setPen(kBlackPen);
    m_label = adoptItem(new QCPItemText(p));
    m_label->setFont(kMonospaceFont);
    setItemsVisible(false);
    setHighlighted(true);
}

void CurvatureMeasurement::onPlotMouseRelease(QMouseEvent* event)
{
    if (m_protocol.release(event) == RangeProtocol::Locked && !yieldsValue())
        finishConstruction();
}

// A circle kind is finished once its range is picked: the trace curves go
// back to picking single points for the constructions that follow.
void CurvatureMeasurement::finishConstruction()
{
    finish();
    emit statusText(name());
    PlotWidget* p = plot();
    forEachTraceCurve(p, m_traceCount, [](QCPCurve* curve) { curve->setSelectable(QCP::stSingleData); });
    p->replot(QCustomPlot::rpRefreshHint);
    p->setSelectionMarkerVisible(true);
    emit measumentFinished();
}
