#pragma once

#include "MeasurementKind.h"
#include "Selection.h"

#include <QList>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QString>
#include <QVector>

class PickCurve;
class PlotWidget;
class QCPLayer;
class QCPLayerable;
class QMouseEvent;
class ReperPoint;

// The base of every measurement and construction placed on a contour plot.
// It records the data ranges the user picks on the plot's curves, follows the
// cursor (recalculating on every mouse move until the measurement finishes),
// owns the measurement's reference points and cuts its own connections when
// it finishes. Each kind creates, moves and removes its own plot items.
//
// A measurement has no QObject parent: its manager owns it. Ids come from one
// counter for the whole process, starting at 1, and are never reused.
//
// A kind that computes a number starts without a value and has none while its
// last calculation could not compute one: its value text then reads
// kNotComputedText (the tree, the labels and the report show that mark, never
// a number), its value is 0 and counts in no mean, and the reason, when the
// kind knows it, goes to the status line.
//
// Geometry a measurement keeps in plot coordinates, rather than reading it from
// the curves at each calculation, follows a change of the display unit through
// followDisplayUnit(): it is scaled by the ratio of the units.
//
// Everything a kind draws goes through adoptItem(): while the measurement is
// being placed its items and reference points are on a layer of their own
// (MeasurementLayers), and finish() moves them to "overlay". A kind whose
// calculate() only moves its adopted items asks for MoveRedraw::OwnLayer, and
// a mouse move then redraws that layer alone instead of the whole plot.
class Measurement : public QObject
{
    Q_OBJECT
public:
    // kind: the code reported by type(); reperPointCount: reference points
    // created at once (hidden until placed).
    Measurement(int kind, PlotWidget* plot, int reperPointCount);
    ~Measurement() override;

    virtual QString name() const = 0;
    // The result with its unit, as the tree and the status line show it.
    virtual QString valueText() const = 0;
    virtual double value() const = 0;
    // Recomputes from the selections, clicks and cursor and moves the items.
    // Runs on every mouse move until finished, so it copes with incomplete
    // selections and has to be cheap.
    virtual void calculate() = 0;
    virtual QString groupName() const = 0;
    // The report's large font on the value label, or back to exactly the
    // font the label had before.
    virtual void setLabelEnlarged(bool enlarged) = 0;
    // Copies labelText() into the value label.
    virtual void updateLabel() = 0;
    // Shows or hides the plot's selection marker as the kind needs it.
    virtual void updateSelectionMarker();
    virtual void setHighlighted(bool highlighted) = 0;
    // Re-reads the settings the kind's texts depend on.
    virtual void reloadSettings();
    virtual double nominalValue() const;
    virtual double tolerance() const;

    int type() const { return m_kind; }
    int id() const { return m_id; }
    PlotWidget* plot() const;
    bool isFinished() const { return m_finished; }
    // False for construction geometry, which the intersections pair up.
    bool yieldsValue() const { return m_yieldsValue; }

    // Whether the kind's number was not computed (see above).
    bool isValueNotComputed() const { return m_valueNotComputed; }
    // Why, when the kind knows it; empty otherwise.
    QString notComputedReason() const { return m_notComputedReason; }
    // The status line of a placed measurement: the name, ": " and the value
    // text, or the reason for a value not computed.
    QString resultStatus() const;

    int selectionCount() const { return m_selections.size(); }
    // Record i, or null when there is none (a negative index included).
    const Selection* selection(qint64 i) const;
    // At least one record, and every record names a plottable that still exists.
    bool selectionsComplete() const;
    // The next range change fills a new, empty record.
    void startNextSelection();
    // Range changes are ignored from now on.
    void lockSelection() { m_selectionLocked = true; }
    bool isSelectionLocked() const { return m_selectionLocked; }

    // The last cursor position in millimetres, each coordinate having passed
    // through single precision in plot units.
    QPointF cursor() const { return m_cursor; }
    // The cursor in the display unit of the setting "view/axis_unit".
    QPointF cursorPosition() const;

    QString labelText() const { return m_labelText; }
    void setLabelText(const QString& text) { m_labelText = text; }
    void clearLabelText() { m_labelText.clear(); }

    // Connections the measurement made for itself; finish and the destructor
    // cut them.
    void addConnection(const QMetaObject::Connection& connection);
    void disconnectAll();

    const QList<ReperPoint*>& reperPoints() const { return m_reperPoints; }
    void addReperPoints(int count);
    // Moves point i to p and shows it; the controller registers it through
    // reperPointChanged. A position that is not finite, or an index without a
    // point, changes nothing.
    void setReperPoint(int i, const QPointF& p);
    // Announces, hides and deletes the last point; nothing without points.
    void removeLastReperPoint();
    void makeReperPointsSelectable();
    void makeReperPointsUnselectable();
    // Appends a reference point at each position (the intersections with
    // other constructions): the kind's calculation does not move them, and
    // they are scaled with the geometry when the display unit changes.
    void addFixedReperPoints(const QList<QPointF>& positions);

    // Calculates at a left release that completes a picked range, once the
    // plot's live range selection has taken the release in: the value is the
    // one of the range highlighted when the release is over, and it is
    // announced at once, without waiting for the next move.
    void calculateAtRelease(QMouseEvent* event);

    // Scales the geometry kept in plot coordinates when the display unit
    // changed since the measurement was placed or last followed it; nothing
    // otherwise, and nothing for a setting that names no unit.
    void followDisplayUnit();

    // Marks the measurement finished, cuts its connections, moves its items
    // and reference points to "overlay", unhighlights it and replots. Emits
    // nothing: kinds that report finishing do so themselves.
    void finish();

    // What a mouse move redraws after calculate(): the whole plot, or only the
    // layer of the measurement being placed.
    enum class MoveRedraw { WholePlot, OwnLayer };

signals:
    void measumentChanged();
    void graphDataChanged();
    void reperPointChanged(ReperPoint* pt);
    void reperPointRemoved(ReperPoint* pt);
    void statusText(QString string);
    void measumentFinished();
    void setNewAngleAndCenterRot(double angle, QPointF center_rot);

protected:
    void setYieldsValue(bool yieldsValue) { m_yieldsValue = yieldsValue; }

    void markValueComputed();
    // With a reason, also emits statusText with the name, ": " and the reason.
    void markValueNotComputed(const QString& reason = QString());
    // The text while the value is computed, kNotComputedText otherwise.
    QString computedValueText(const QString& text) const;
    // The value while it is computed, 0 otherwise.
    double computedValue(double value) const { return m_valueNotComputed ? 0.0 : value; }

    // Scales what the measurement keeps in plot coordinates by ratio (new
    // display units per old one). The base scales the fixed reference points;
    // kinds that keep more add theirs. What calculate() takes from the curves
    // again need not be scaled.
    virtual void scaleGeometry(double ratio);

    // Puts an item (or a plottable) the kind created on the measurement's
    // current layer and has finish() move it to "overlay". The kind still
    // removes it from the plot in its destructor.
    template <typename Layerable>
    Layerable* adoptItem(Layerable* item)
    {
        adopt(item);
        return item;
    }

    // OwnLayer only for a kind whose calculate() changes nothing but its
    // adopted items and reference points; the default redraws the whole plot.
    void setMoveRedraw(MoveRedraw redraw) { m_moveRedraw = redraw; }

private slots:
    void graphSelectionChanged(QCPDataSelection sel);

private:
    void connectPlottables();
    // Once the last reference point is gone.
    void removePickCurve();
    void adopt(QCPLayerable* item);
    QCPLayer* currentLayer() const;
    void settleOnOverlay();
    void followCursor(QMouseEvent* event);
    void redrawAfterMove();

    bool m_yieldsValue = true;
    QVector<Selection> m_selections;
    quint64 m_currentSelection = 0;
    QString m_labelText;
    QPointer<PlotWidget> m_plot;
    QPointF m_cursor;
    int m_id = 0;
    QList<QMetaObject::Connection> m_connections;
    bool m_finished = false;
    bool m_selectionLocked = false;
    int m_kind = NO_MEASUREMENT;
    QList<ReperPoint*> m_reperPoints;
    QList<ReperPoint*> m_fixedReperPoints;
    // Holds and draws the reference points; there while there are any.
    QPointer<PickCurve> m_pickCurve;
    QList<QPointer<QCPLayerable>> m_items;
    MoveRedraw m_moveRedraw = MoveRedraw::WholePlot;
    bool m_valueNotComputed = false;
    QString m_notComputedReason;
    // The display unit the kept geometry is in.
    int m_geometryUnit = 0;
};

// What the tree, the labels and the report show for a value not computed.
extern const QString kNotComputedText;
