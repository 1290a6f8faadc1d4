#include "ComparePlaneDXF.h"

#include "CurveAccess.h"
#include "DisplayUnit.h"
#include "DxfDrawing.h"
#include "MeasurementKind.h"
#include "math/DrawingFit.h"
#include "math/DrawingGeometry.h"
#include "math/DxfReader.h"

#include "plot/PlotWidget.h"
#include "plot/QCPItemArc.h"

#include <QDebug>
#include <QFile>
#include <QFileDialog>
#include <QMouseEvent>
#include <QTimer>

#include <cmath>

using namespace MeasurementMath;

namespace {

QString askForDrawing(QWidget* parent)
{
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Импортировать чертёж"), QString(),
                                        QStringLiteral("Чертёж (*.dxf)"));
}

ComparePlaneDXF::FileProvider& fileProvider()
{
    static ComparePlaneDXF::FileProvider provider = askForDrawing;
    return provider;
}

double currentUnitFactor()
{
    return unitFactor(DisplayUnit::current());
}

QVector<QPointF> curvePoints(const QCPCurve* curve)
{
    QVector<QPointF> points;
    if (!curve)
        return points;
    points.reserve(curve->dataCount());
    for (auto it = curve->data()->constBegin(); it != curve->data()->constEnd(); ++it)
        points.append(QPointF(it->key, it->value));
    return points;
}

} // namespace

void ComparePlaneDXF::setFileProvider(FileProvider provider)
{
    fileProvider() = provider ? std::move(provider) : FileProvider(askForDrawing);
}

ComparePlaneDXF::ComparePlaneDXF(QWidget* parent, PlotWidget* plot, int traceCount, DxfDrawing* drawing)
    : ComparePlaneMeasurement(DRAWING_COMPARISON, plot, measurementKind(DRAWING_COMPARISON)->name, traceCount)
    , m_drawing(drawing)
{
    // Until the fit nothing but the selection marker follows the cursor.
    setMoveRedraw(MoveRedraw::OwnLayer);
    m_loaded = loadDrawing(parent);
    if (!m_loaded)
        return;
    plot->setSelectionMarkerVisible(true);
    postStatusText(QStringLiteral("Выберите первую точку на трассе"));
    addConnection(connect(plot, &QCustomPlot::mousePress, this, &ComparePlaneDXF::onPlotMousePress));
}

// A comparison that stored nothing leaves the drawings of the others alone.
ComparePlaneDXF::~ComparePlaneDXF()
{
    if (m_storedEntities)
        m_drawing->clear();
}

bool ComparePlaneDXF::loadDrawing(QWidget* parent)
{
    const QString path = fileProvider()(parent);
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        qDebug() << "Can't open file " << path;
        return false;
    }
    DxfDrawing& drawing = *m_drawing;
    if (drawing.isEmpty())
        drawing.setUnitFactor(currentUnitFactor());
    const DxfReadResult result = DxfReader(&file, drawing.unitFactor()).read();
    if (!result.isReadable()) {
        m_loadError = result.errorText();
        return false;
    }
    for (const DrawingEntity& entity : result.entities)
        storeEntity(entity);
    if (PlotWidget* p = plot())
        p->replot(QCustomPlot::rpRefreshHint);
    return true;
}

void ComparePlaneDXF::storeEntity(const DrawingEntity& entity)
{
    PlotWidget* p = plot();
    if (!p)
        return;
    QCPAbstractItem* item = nullptr;
    if (isLine(entity))
        item = new QCPItemLine(p);
    else
        item = new QCPItemArc(p);
    m_drawing->append(entity, item);
    m_storedEntities = true;
    drawEntity(item, entity, true);
}

void ComparePlaneDXF::drawEntity(QCPAbstractItem* item, const DrawingEntity& entity, bool withPoints)
{
    const QVector<double>& p = entity.parameters;
    if (auto* line = qobject_cast<QCPItemLine*>(item); line && isLine(entity)) {
        line->setLayer(QStringLiteral("overlay"));
        line->start->setCoords(p[0], p[1]);
        line->end->setCoords(p[2], p[3]);
    } else if (auto* arc = qobject_cast<QCPItemArc*>(item); arc && (isCircleOrArc(entity) || isEllipse(entity))) {
        const double a = p[2];
        const double b = isEllipse(entity) ? p[3] : p[2];
        arc->setLayer(QStringLiteral("overlay"));
        arc->topLeft->setCoords(p[0] - a, p[1] + b);
        arc->bottomRight->setCoords(p[0] + a, p[1] - b);
        if (isArc(entity)) {
            arc->startAngle = int(p[3] * 16);
            arc->spanAngle = int(p[4] * 16 - p[3] * 16);
        }
    }
    if (!withPoints)
        return;
    const QVector<QPointF> points = entityReperPoints(entity);
    addFixedReperPoints(QList<QPointF>(points.cbegin(), points.cend()));
    m_reperPointCount += points.size();
}

void ComparePlaneDXF::postStatusText(const QString& text)
{
    QTimer::singleShot(0, this, [this, text] { emit statusText(text); });
}

void ComparePlaneDXF::onPlotMousePress(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_state == 2)
        return;
    PlotWidget* p = plot();
    const PointRef snapped = snapPointRef(p);
    const QPointF point = curvePointAt(snapped);
    if (m_state == 0) {
        m_tracePointIndex = int(snapped.index);
        m_pickedTrace = snapped.curve;
        m_tracePoint = point;
        setTraceCurvesSelectable(QCP::stNone);
        m_state = 1;
        makeReperPointsSelectable();
        emit statusText(QStringLiteral("Выберите соответствующую ей точку на чертеже"));
        return;
    }
    setTraceCurvesSelectable(QCP::stDataRange);
    p->setSelectionMarkerVisible(false);
    m_drawingPoint = point;
    m_state = 2;
    fitToTrace();
    emit statusText(QString());
    makeReperPointsUnselectable();
    finish();
    emit measumentFinished();
}

// Only the entities move while the searches run; the items follow at the end.
void ComparePlaneDXF::fitToTrace()
{
    m_fitting = true;
    const QVector<QPointF> trace = pickedTracePoints();
    translateDrawing(m_tracePoint.x() - m_drawingPoint.x(), m_tracePoint.y() - m_drawingPoint.y());
    removeReperPoints();
    fitRotation(trace);
    fitShift(trace);
    m_fitting = false;
    redrawItems();
}

void ComparePlaneDXF::removeReperPoints()
{
    while (m_reperPointCount != 0) {
        --m_reperPointCount;
        removeLastReperPoint();
    }
}

void ComparePlaneDXF::redrawItems()
{
    const DxfDrawing& drawing = *m_drawing;
    for (int i = 0; i < drawing.entityCount(); ++i)
        drawEntity(drawing.item(i), drawing.entities().at(i), false);
}

void ComparePlaneDXF::transformDrawing(const std::function<DrawingEntity(const DrawingEntity&)>& f, bool replot)
{
    DxfDrawing& drawing = *m_drawing;
    QVector<DrawingEntity> entities = drawing.entities();
    for (DrawingEntity& entity : entities)
        entity = f(entity);
    drawing.replaceEntities(entities);
    if (m_fitting)
        return;
    redrawItems();
    if (PlotWidget* p = plot(); p && replot)
        p->replot(QCustomPlot::rpRefreshHint);
}

void ComparePlaneDXF::translateDrawing(double dx, double dy)
{
    transformDrawing([dx, dy](const DrawingEntity& e) { return translatedEntity(e, dx, dy); }, true);
}

void ComparePlaneDXF::rotateDrawing(double degrees)
{
    const QPointF centre = m_tracePoint;
    transformDrawing([centre, degrees](const DrawingEntity& e) { return rotatedEntity(e, centre, degrees); }, true);
}

void ComparePlaneDXF::scaleDrawing(double factor)
{
    transformDrawing([factor](const DrawingEntity& e) { return scaledEntity(e, factor); }, false);
}

QVector<QPointF> ComparePlaneDXF::pickedTracePoints() const
{
    if (m_pickedTrace)
        return curvePoints(m_pickedTrace);
    return curvePoints(plot() ? plot()->curve(0) : nullptr);
}

double ComparePlaneDXF::fitError()
{
    return m_drawing->summedDistance(pickedTracePoints());
}

// The searches run on the drawing as it stands; it is turned once, at the end.
void ComparePlaneDXF::fitRotation(const QVector<QPointF>& trace)
{
    DrawingFit fit(m_drawing->index(), trace, m_tracePoint);
    const double bestError = fit.searchRotation();
    rotateDrawing(fit.placement().degrees);
    qDebug() << "Error after rotation guess" << bestError;
}

// The searches run on the drawing as it stands; it is moved once, at the end.
void ComparePlaneDXF::fitShift(const QVector<QPointF>& trace)
{
    DrawingFit fit(m_drawing->index(), trace, m_tracePoint);
    double bestError = fit.error({});
    qDebug() << "Before calculating" << bestError;
    const double millimetre = currentUnitFactor();
    bestError = fit.searchVerticalShift(bestError, millimetre);
    qDebug() << "Error after vertical guess" << bestError;
    bestError = fit.searchHorizontalShift(bestError, millimetre);
    qDebug() << "Error after horizontal guess" << bestError;
    translateDrawing(fit.placement().shift.x(), fit.placement().shift.y());
}

// The shared drawing is rescaled once for all comparisons of the tab, by the
// change of the unit factor since it was last in step; the picked points
// follow in every state, and the drawing's reference points, being fixed
// ones, with the base.
void ComparePlaneDXF::scaleGeometry(double ratio)
{
    ComparePlaneMeasurement::scaleGeometry(ratio);
    const double factor = currentUnitFactor();
    DxfDrawing& drawing = *m_drawing;
    if (!drawing.isEmpty() && factor != drawing.unitFactor())
        scaleDrawing(factor / drawing.unitFactor());
    drawing.setUnitFactor(factor);
    m_tracePoint *= ratio;
    m_drawingPoint *= ratio;
}
