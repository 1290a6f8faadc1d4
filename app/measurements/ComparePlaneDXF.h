#pragma once

#include "ComparePlaneMeasurement.h"

#include "math/DrawingEntity.h"

#include <QPointF>
#include <QPointer>
#include <QString>
#include <QVector>

#include <functional>

class DxfDrawing;
class QCPAbstractItem;
class QCPCurve;
class QWidget;

// The comparison of the contour with an imported DXF drawing. The
// constructor asks for the file, reads it (DxfReader) into the drawing store
// of its tab (DxfDrawing) and draws every entity with its reference points. The user
// then presses on a trace point and on the matching drawing point; the drawing
// is moved so that the two coincide, its reference points are removed, and it
// is turned and shifted by coarse-to-fine searches that minimise the summed
// distance of the picked trace's points to the drawing. The fitted drawing
// stays on the plot for the deviation from the drawing (ErrorPlane).
//
// A file that cannot be opened, or cannot be read as a drawing, stores and
// draws nothing and starts no point picking; the creator tells the user the
// reason (loadError) and deletes the comparison. The fit's searches
// (DrawingFit) try placements without moving the drawing; it is turned once
// and moved once, and its items follow at the end. The drawing, its
// reference points and the picked points follow a change of the display
// unit in every state.
class ComparePlaneDXF : public ComparePlaneMeasurement
{
public:
    // Asks for the path of the drawing; an empty path means none was chosen.
    using FileProvider = std::function<QString(QWidget* parent)>;
    // Replaces the file dialog; an empty function restores it.
    static void setFileProvider(FileProvider provider);

    // parent: the file dialog's parent; drawing: the store of the tab, which
    // outlives the measurement.
    ComparePlaneDXF(QWidget* parent, PlotWidget* plot, int traceCount, DxfDrawing* drawing);
    ~ComparePlaneDXF() override;

    // 0: waiting for the trace point; 1: for the drawing point; 2: fitted.
    int state() const { return m_state; }
    int tracePointIndex() const { return m_tracePointIndex; }
    // Reference points made for the drawing and not yet removed.
    int reperPointCount() const { return m_reperPointCount; }
    QPointF tracePoint() const { return m_tracePoint; }
    QPointF drawingPoint() const { return m_drawingPoint; }
    // Whether the drawing was read and stored, and the point picking begun.
    bool isLoaded() const { return m_loaded; }
    // Why the file could not be read as a drawing; empty otherwise.
    QString loadError() const { return m_loadError; }

    // Every stored entity moved, turned about the trace point, or scaled about
    // the origin.
    void translateDrawing(double dx, double dy);
    void rotateDrawing(double degrees);
    void scaleDrawing(double factor);

    // The summed distance of the picked trace's points to the drawing.
    double fitError();
    // Turns the drawing by 180 degrees when that fits the trace's points
    // better, then searches the angle from 90 degrees down to 0.001.
    void fitRotation(const QVector<QPointF>& trace);
    // Searches the vertical, then the horizontal shift, from 1 mm down to
    // 0.001 display units.
    void fitShift(const QVector<QPointF>& trace);

    // Places the item for the entity; with points also the entity's reference
    // points.
    void drawEntity(QCPAbstractItem* item, const MeasurementMath::DrawingEntity& entity, bool withPoints);

protected:
    void scaleGeometry(double ratio) override;

private:
    bool loadDrawing(QWidget* parent);
    void storeEntity(const MeasurementMath::DrawingEntity& entity);
    void onPlotMousePress(QMouseEvent* event);
    void fitToTrace();
    void removeReperPoints();
    void redrawItems();
    void transformDrawing(const std::function<MeasurementMath::DrawingEntity(const MeasurementMath::DrawingEntity&)>& f,
                          bool replot);
    // Emits the text once the creator has connected to the measurement.
    void postStatusText(const QString& text);
    // The points of the trace on which the trace point was picked; of the
    // first trace when that curve is gone.
    QVector<QPointF> pickedTracePoints() const;

    qint16 m_state = 0;
    int m_tracePointIndex = 0;
    QPointer<QCPCurve> m_pickedTrace;
    int m_reperPointCount = 0;
    QPointF m_tracePoint;
    QPointF m_drawingPoint;
    QString m_loadError;
    DxfDrawing* m_drawing;
    bool m_loaded = false;
    bool m_storedEntities = false;
    bool m_fitting = false;
};
