#include "ErrorMeasurement.h"

#include "Constants.h"
#include "DeviationGraph.h"
#include "DisplayUnit.h"
#include "DrawingConstants.h"
#include "Logger.h"
#include "RangeProtocol.h"
#include "SpanCircleFit.h"
#include "math/LengthUnit.h"
#include "math/RunningMedian.h"
#include "math/SinglePrecision.h"

#include "plot/PlotWidget.h"

#include <QMouseEvent>

#include <algorithm>
#include <cmath>
#include <utility>

using namespace MeasurementMath;

namespace {

// The running median of the filtered kinds spans a quarter of a millimetre.
constexpr double kMedianWindowMillimetres = 0.25;

} // namespace

ErrorMeasurement::ErrorMeasurement(E_MEASUREMENTS code, PlotWidget* plot, int traceCount, int selectionsNeeded,
                                   Reference reference)
    : Measurement(measurementKind(code)->type, plot, selectionsNeeded)
    , m_kind(*measurementKind(code))
    , m_traceCount(traceCount)
    , m_selectionsNeeded(selectionsNeeded)
    , m_reference(reference)
    , m_minimumPoints(reference == Reference::Circle ? 3 : 2)
{
    setYieldsValue(m_kind.yieldsValue);
    m_graph = std::make_unique<DeviationGraph>(plot, [this](QCPLayerable* item) { adoptItem(item); });
    addConnection(connect(plot, &QCustomPlot::mouseRelease, this, &ErrorMeasurement::onPlotMouseRelease));
    RangeProtocol::prepareRangeSelection(plot, traceCount);
    updateUnitText();

    if (reference == Reference::Circle) {
        m_circle = adoptItem(new QCPItemEllipse(plot));
        m_circle->setPen(kBlackPen);
        m_circle->setVisible(false);
    }
    m_label = adoptItem(new QCPItemText(plot));
    m_label->setFont(kMonospaceFont);
    m_label->setVisible(false);
    setHighlighted(true);
    setMoveRedraw(MoveRedraw::OwnLayer);
    markValueNotComputed();
}

ErrorMeasurement::~ErrorMeasurement()
{
    Logger::instance().log(INFO, name() + QStringLiteral(" delete with value: ") + valueText());
    m_graph.reset();
    if (PlotWidget* p = plot()) {
        if (m_label)
            p->removeItem(m_label);
        if (m_circle)
            p->removeItem(m_circle);
    }
}

QString ErrorMeasurement::name() const
{
    return m_kind.name;
}

QString ErrorMeasurement::valueText() const
{
    if (!selection(0))
        return kUnknownText;
    return computedValueText(QString::number(m_value, 'f', 6) + m_unitText);
}

double ErrorMeasurement::value() const
{
    return selection(0) ? computedValue(m_value) : 0.0;
}

QString ErrorMeasurement::groupName() const
{
    return m_kind.groupName;
}

void ErrorMeasurement::calculate()
{
    const std::optional<SelectedPoints> points = selectedPoints();
    if (!points) {
        showNoDeviations();
        return;
    }
    if (PlotWidget* p = plot(); p && m_hidesSelectionMarker)
        p->setSelectionMarkerVisible(false);

    const SpanFingerprint fingerprint(points->stretches + QVector<CurveSpan>{points->frame});
    if (!m_kept || isFinished() || m_kept->fingerprint != fingerprint) {
        const std::optional<BandFrame> frame = bandFrame(points->frame.first, points->frame.last);
        if (!frame) {
            showNoDeviations();
            return;
        }
        m_kept = Kept{fingerprint, computeDeviations(*points), *frame};
        if (m_kept->outcome.deviations && m_kept->outcome.deviations->curve.isEmpty())
            m_kept->outcome = Outcome{std::nullopt, noFitReason()};
    }
    if (!m_kept->outcome.deviations) {
        showNoDeviations(m_kept->outcome.reason);
        return;
    }

    const Deviations& deviations = *m_kept->outcome.deviations;
    m_value = deviations.value;
    markValueComputed();
    m_band = deviationBand(m_kept->frame, toSinglePrecision(cursorPosition().y()));
    // The label first: the scale keeps clear of it.
    if (deviations.circle)
        showCircleAndLabel(deviations.circle->centre, deviations.circle->radius);
    else
        showLabel();
    drawDeviationCurve(deviations.curve);
}

void ErrorMeasurement::setLabelEnlarged(bool enlarged)
{
    m_reportFont.apply(m_label, enlarged);
}

void ErrorMeasurement::updateLabel()
{
    if (m_label)
        m_label->setText(labelText());
}

void ErrorMeasurement::updateSelectionMarker()
{
    if (PlotWidget* p = plot())
        p->setSelectionMarkerVisible(true);
}

void ErrorMeasurement::setHighlighted(bool highlighted)
{
    const QPen& pen = highlighted ? kGreenPen : kBlackPen;
    if (m_circle)
        m_circle->setPen(pen);
    m_graph->setConnectorPen(pen);
}

void ErrorMeasurement::reloadSettings()
{
    updateUnitText();
}

double ErrorMeasurement::tolerance() const
{
    return 5.0;
}

std::optional<ErrorMeasurement::CircleDeviations> ErrorMeasurement::fittedCircleDeviations(const SelectedPoints& points)
{
    const std::optional<Circle> circle = fitCircleToSpans(points.stretches);
    if (!circle)
        return std::nullopt;
    return CircleDeviations{circleDeviationCurve(points.frame.first, points.frame.last, circle->centre, circle->radius),
                            *circle};
}

std::optional<ErrorMeasurement::CircleDeviations>
ErrorMeasurement::fittedCircleDeviationsThroughGaps(const SelectedPoints& points)
{
    const std::optional<Circle> circle = fitCircleToSpans(points.stretches);
    if (!circle)
        return std::nullopt;
    return CircleDeviations{segmentsDeviationCurve(points.data, points.ranges, circle->centre, circle->radius),
                            *circle};
}

ErrorMeasurement::Outcome ErrorMeasurement::bySpread(DeviationCurve curve, std::optional<Circle> circle) const
{
    const double spread = deviationSpread(curve.deviations);
    if (curve.isEmpty() || !std::isfinite(spread))
        return {std::nullopt, noFitReason()};
    return {Deviations{std::move(curve), spread, circle}, QString()};
}

ErrorMeasurement::Outcome ErrorMeasurement::bySpread(std::optional<CircleDeviations> deviations) const
{
    if (!deviations)
        return {std::nullopt, noFitReason()};
    return bySpread(std::move(deviations->curve), deviations->circle);
}

ErrorMeasurement::Outcome ErrorMeasurement::medianFiltered(std::optional<CircleDeviations> deviations) const
{
    if (!deviations)
        return {std::nullopt, noFitReason()};
    const double window = kMedianWindowMillimetres * DisplayUnit::unitsPerMillimetre();
    DeviationCurve medians = runningMedianCurve(deviations->curve, window);
    if (medians.isEmpty())
        return {std::nullopt, QStringLiteral("участок короче, чем нужно для медианы по 0.25 мм")};
    return bySpread(std::move(medians), deviations->circle);
}

QString ErrorMeasurement::noFitReason() const
{
    return m_reference == Reference::Circle ? QStringLiteral("по выделенным точкам не строится окружность")
                                            : QStringLiteral("по выделенным точкам не строится прямая");
}

void ErrorMeasurement::forgetDeviations()
{
    m_kept.reset();
}

void ErrorMeasurement::drawDeviationCurve(const DeviationCurve& curve)
{
    m_graph->draw(curve, m_band);
}

void ErrorMeasurement::placeLabel(const QString& text, QPointF position, double angle, int alignment)
{
    if (!m_label)
        return;
    if (alignment & Qt::AlignBottom)
        m_label->setText(labelText() + QLatin1Char('\n') + text);
    else
        m_label->setText(text + QLatin1Char('\n') + labelText());
    m_label->position->setCoords(position);
    m_label->setRotation(angle);
    m_label->setPositionAlignment(Qt::Alignment(alignment));
}

void ErrorMeasurement::setCircle(QPointF centre, double radius)
{
    if (!m_circle)
        return;
    m_circle->topLeft->setCoords(centre.x() - radius, centre.y() - radius);
    m_circle->bottomRight->setCoords(centre.x() + radius, centre.y() + radius);
}

void ErrorMeasurement::showCircleAndLabel(QPointF centre, double radius)
{
    setCircle(centre, radius);
    if (m_circle)
        m_circle->setVisible(true);
    showLabel();
}

bool ErrorMeasurement::updateUnitText()
{
    const QString text = lengthUnitText(DisplayUnit::current());
    if (text.isEmpty() || text == m_unitText)
        return false;
    m_unitText = text;
    forgetDeviations();
    return true;
}

void ErrorMeasurement::showNoDeviations(const QString& reason)
{
    m_graph->hide();
    if (m_label)
        m_label->setVisible(false);
    if (m_circle)
        m_circle->setVisible(false);
    markValueNotComputed(reason);
}

// Below the middle of the baseline, turned with it; the label shows the
// report label under an empty line.
void ErrorMeasurement::showLabel()
{
    placeLabel(QString(), m_band.baselineMiddle(), m_band.baselineAngle(), Qt::AlignHCenter | Qt::AlignTop);
    if (m_label)
        m_label->setVisible(true);
    emit statusText(name() + QStringLiteral(": ") + valueText());
}

std::optional<ErrorMeasurement::SelectedPoints> ErrorMeasurement::selectedPoints()
{
    if (m_selectionsNeeded == 1)
        return oneStretch();
    std::optional<SelectedPoints> points = severalStretches();
    if (!points)
        emit statusText(QStringLiteral("Продолжите выделения"));
    return points;
}

std::optional<ErrorMeasurement::SelectedPoints> ErrorMeasurement::oneStretch() const
{
    const Selection* first = selection(0);
    if (!first)
        return std::nullopt;
    const auto* curve = qobject_cast<const QCPCurve*>(first->plottable.data());
    const CurveSpan span = selectionSpan(*first);
    if (!curve || span.size() < m_minimumPoints)
        return std::nullopt;
    const auto data = curve->data()->constBegin();
    return SelectedPoints{{span}, {{span.first - data, span.last - data}}, span, data};
}

// All stretches picked, and all on the curve of the first.
std::optional<ErrorMeasurement::SelectedPoints> ErrorMeasurement::severalStretches() const
{
    if (selectionCount() != m_selectionsNeeded || !selectionsComplete())
        return std::nullopt;
    const auto* curve = qobject_cast<const QCPCurve*>(selection(0)->plottable.data());
    if (!curve)
        return std::nullopt;
    SelectedPoints points;
    points.data = curve->data()->constBegin();
    int pointCount = 0;
    for (int i = 0; i < selectionCount(); ++i) {
        if (selection(i)->plottable != curve)
            return std::nullopt;
        const CurveSpan span = selectionSpan(*selection(i));
        points.stretches.append(span);
        points.ranges.append({span.first - points.data, span.last - points.data});
        pointCount += span.size();
    }
    const auto earliest = std::min_element(points.stretches.begin(), points.stretches.end(),
                                           [](const CurveSpan& a, const CurveSpan& b) { return a.first < b.first; });
    const auto latest = std::max_element(points.stretches.begin(), points.stretches.end(),
                                         [](const CurveSpan& a, const CurveSpan& b) { return a.last < b.last; });
    points.frame = {earliest->first, latest->last, earliest->revision};
    if (pointCount < m_minimumPoints)
        return std::nullopt;
    return points;
}

// Each left release completes a stretch, calculating from the stretches as
// the release leaves them, until all are picked, which locks them; the next
// one places the band and finishes.
void ErrorMeasurement::onPlotMouseRelease(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || isFinished())
        return;
    PlotWidget* p = plot();
    if (m_placing) {
        p->setSelectionMarkerVisible(true);
        finish();
        emit statusText(resultStatus());
        return;
    }
    calculateAtRelease(event);
    if (selectionCount() == m_selectionsNeeded) {
        lockSelection();
        m_placing = true;
        p->setSelectionMarkerVisible(false);
        p->replot(QCustomPlot::rpRefreshHint);
    }
    if (selectionCount() < m_selectionsNeeded)
        startNextSelection();
}
