#pragma once

#include "measurements/DxfDrawing.h"
#include "measurements/MeasurementKind.h"

#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QString>
#include <QVector>

class AbstractTrace;
class Measurement;
class PlotWidget;
class QMouseEvent;
class QShortcut;
class QWidget;
class ReperPointController;

// The factory, owner and switchboard of the measurements of one contour tab.
// A measurement button chooses a kind; the next left press on the plot creates
// a measurement of it, which then drives itself from the plot's mouse. The
// manager lists the measurements that give results, forwards their changes,
// status texts and levelling rotations, hands their reference points to the
// controller, intersects each finished construction with the ones already
// listed, cancels an unfinished measurement on Escape and builds parallel
// lines. Every measurement it creates is deleted exactly once: on removal, at
// the next press (a finished one that is not listed), when abandoned
// (unfinished), at once (a drawing comparison whose import failed), or by the
// destructor.
//
// The workspace creates the manager after its plot and deletes it while the
// plot still exists.
class MeasurementsManager : public QObject
{
    Q_OBJECT
public:
    // window: the workspace, which hosts the Escape shortcut and the dialogs
    // of the text and drawing kinds.
    MeasurementsManager(PlotWidget* plot, QWidget* window);
    ~MeasurementsManager() override;

    // The workspace's traces; their count goes to the measurements created.
    void setTraces(const QVector<AbstractTrace*>& traces);
    const QVector<AbstractTrace*>& traces() const { return m_traces; }
    int traceCount() const { return m_traceCount; }

    // Chooses the kind the next press creates (NO_MEASUREMENT: none).
    // keepInList: whether it is listed (false for the levelling kinds);
    // pointsSelectable: whether reference points can be picked; parameter:
    // the radius or the number of ranges of the kinds that take one. Another
    // kind abandons an unfinished measurement.
    void setMeasurementType(int kind, bool keepInList, bool pointsSelectable, const QString& parameter);
    int measurementType() const { return m_measurementType; }
    // The choice's other parts, as last given to setMeasurementType.
    bool keepInList() const { return m_keepInList; }
    bool pointsSelectable() const { return m_pointsSelectable; }
    QString parameter() const { return m_parameter; }

    // The listed measurements in creation order.
    const QList<Measurement*>& measurements() const { return m_measurements; }
    // The measurement of the last press (listed or not), or null.
    Measurement* currentMeasurement() const { return m_currentMeasurement; }
    ReperPointController* reperPointController() const { return m_reperPointController; }
    // The tab's drawing, which its drawing comparisons fill and its
    // deviations from the drawing measure against; no other tab shares it.
    const DxfDrawing& drawing() const { return m_drawing; }
    bool hasDrawing() const { return !m_drawing.isEmpty(); }

    // Removes and deletes the listed measurement of that id; nothing without one.
    void removeMeasurement(int id);
    // The listed measurement of that id, or null.
    Measurement* findMeasurement(int id) const;
    // A finished line parallel to the listed line of that id and kind (22,
    // 23 or 24), its offset moved by distance (display unit); always listed,
    // and intersected with the listed constructions.
    void addEquidistant(int id, E_MEASUREMENTS kind, double distance);
    // Recalculates every listed measurement in list order and replots, as
    // after the traces were levelled.
    void recalculateListed();

    // Intersects the finished measurement with every listed construction.
    void onMeasurementFinished(Measurement* finished);
    // Adds to `finished` a reference point at each finite crossing with
    // `primitive`, chosen by their names.
    void buildIntersections(Measurement* primitive, Measurement* finished);

signals:
    // A drawing comparison has read its drawing (true) or was removed (false).
    void enableButton(bool enable);
    // A drawing comparison has read its drawing into the tab's drawing.
    void drawingImported();
    // A listed measurement changed or was listed.
    void measurementChanged(Measurement* measurement);
    // An unfinished measurement is abandoned: the workspace removes its row
    // (and, through removeMeasurement, the listed measurement).
    void deleteMeasurement(Measurement* measurement);
    void statusText(QString status);
    // The rotation of a levelling measurement.
    void setNewAngleAndCenterRot(double angle, QPointF center_rot);

protected:
    // The factory: a new measurement of the chosen kind, or null when the
    // kind is none or unknown.
    virtual Measurement* createMeasurement(QWidget* window);
    // A finished line of the kind (22, 23 or 24) with the given coordinates,
    // or null for another kind.
    virtual Measurement* createEquidistantLine(E_MEASUREMENTS kind, const QVector<double>& coefficients);

private:
    // The parameter the kind's dialog gave: the given radius, or the count of
    // segments; 0 when the dialog was cancelled.
    double parameterValue() const;
    int parameterCount() const;
    void onPlotMousePress(QMouseEvent* event);
    void createCurrentMeasurement();
    void settleDrawingImport();
    void connectCurrentMeasurement();
    void listMeasurement(Measurement* measurement);
    void connectMeasurement(Measurement* measurement);
    void showStatusText(Measurement* from, const QString& text);
    void withdrawStatusText(const Measurement* measurement);
    void abandonCurrentMeasurement();
    void cancelCurrentMeasurement();
    void clearPlotSelections();
    void setUpPlotForKind(int kind);
    void followCurrentMeasurementState();
    void updateEscapeShortcut();
    bool isPlacing() const;

    int m_traceCount = 0;
    QVector<AbstractTrace*> m_traces;
    QList<Measurement*> m_measurements;
    Measurement* m_currentMeasurement = nullptr;
    ReperPointController* m_reperPointController = nullptr;
    int m_measurementType = NO_MEASUREMENT;
    bool m_keepInList = true;
    bool m_pointsSelectable = false;
    double m_layFlatAngle = 0;
    QPointF m_layFlatCenter;
    QString m_parameter;
    // Destroyed after the measurements, which the destructor deletes.
    DxfDrawing m_drawing;
    QPointer<PlotWidget> m_plot;
    QPointer<QWidget> m_window;
    QPointer<QShortcut> m_escape;
    // The measurement whose text the status line shows; null for the
    // manager's own.
    QPointer<Measurement> m_statusSource;
    // Connections that refresh the Escape shortcut after the current
    // measurement's own mouse handlers have run.
    QMetaObject::Connection m_afterPress;
    QMetaObject::Connection m_afterRelease;
};
