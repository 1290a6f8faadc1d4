#include "ClickDistaceMeasurement.h"

#include "CurveAccess.h"
#include "DrawingConstants.h"
#include "MeasurementLayers.h"
#include "math/SinglePrecision.h"

#include "plot/PlotWidget.h"

#include <QMouseEvent>

using MeasurementMath::toSinglePrecision;

ClickDistaceMeasurement::ClickDistaceMeasurement(E_MEASUREMENTS kind, PlotWidget* plot, int traceCount)
    : ClickDistaceMeasurement(kind, plot)
{
    forEachTraceCurve(plot, traceCount, [](QCPCurve* curve) { curve->setSelectable(QCP::stSingleData); });
    if (plot)
        plot->setSelectionMarkerVisible(true);
}

ClickDistaceMeasurement::ClickDistaceMeasurement(E_MEASUREMENTS kind, PlotWidget* plot)
    : Measurement(measurementKind(kind)->type, plot, 0)
    , m_name(measurementKind(kind)->name)
    , m_groupName(measurementKind(kind)->groupName)
{
    m_line = adoptItem(new QCPItemStraightLine(plot));
    m_line->setPen(kBlackPen);
    setYieldsValue(measurementKind(kind)->yieldsValue);
    setMoveRedraw(MoveRedraw::OwnLayer);
}

ClickDistaceMeasurement::~ClickDistaceMeasurement()
{
    if (PlotWidget* p = plot())
        p->removeItem(m_line);
}

QString ClickDistaceMeasurement::name() const
{
    return m_name;
}

QString ClickDistaceMeasurement::valueText() const
{
    return QString();
}

double ClickDistaceMeasurement::value() const
{
    return 0;
}

void ClickDistaceMeasurement::calculate() {}

QString ClickDistaceMeasurement::groupName() const
{
    return m_groupName;
}

void ClickDistaceMeasurement::setLabelEnlarged(bool) {}

void ClickDistaceMeasurement::updateLabel() {}

void ClickDistaceMeasurement::updateSelectionMarker()
{
    if (PlotWidget* p = plot())
        p->setSelectionMarkerVisible(true);
}

void ClickDistaceMeasurement::setHighlighted(bool highlighted)
{
    m_line->setPen(highlighted ? kGreenPen : kBlackPen);
}

void ClickDistaceMeasurement::setLinePoints(const QLineF& points)
{
    m_line->point1->setCoords(toSinglePrecision(points.x1()), toSinglePrecision(points.y1()));
    m_line->point2->setCoords(toSinglePrecision(points.x2()), toSinglePrecision(points.y2()));
    m_line->setVisible(true);
}

void ClickDistaceMeasurement::scaleGeometry(double ratio)
{
    Measurement::scaleGeometry(ratio);
    if (m_coordinates.size() > 1)
        m_coordinates[1] *= ratio;
    for (QCPItemPosition* point : {m_line->point1, m_line->point2})
        point->setCoords(point->coords() * ratio);
}

void ClickDistaceMeasurement::hideLine()
{
    m_line->setVisible(false);
}

void ClickDistaceMeasurement::onLeftRelease(const std::function<void()>& handle)
{
    addConnection(connect(plot(), &QCustomPlot::mouseRelease, this, [handle](QMouseEvent* event) {
        if (event->button() == Qt::LeftButton)
            handle();
    }));
}

// The base's own move handling has already redrawn before this handler ran.
void ClickDistaceMeasurement::onMouseMove(const std::function<void()>& handle)
{
    addConnection(connect(plot(), &QCustomPlot::mouseMove, this, [this, handle](QMouseEvent*) {
        handle();
        if (QCPLayer* layer = MeasurementLayers::editing(plot()))
            layer->replot();
    }));
}

void ClickDistaceMeasurement::finishAndAnnounce()
{
    finish();
    emit measumentFinished();
}

void ClickDistaceMeasurement::finishAsBuilt(const QVector<double>& coordinates, const QLineF& points)
{
    setCoordinates(coordinates);
    setLinePoints(points);
    finishAndAnnounce();
}

void ClickDistaceMeasurement::finishAtRelease(std::optional<PointRef>& snap)
{
    onLeftRelease([this, &snap] {
        snap = snapPointRef(plot());
        calculate();
        finishAndAnnounce();
    });
}
