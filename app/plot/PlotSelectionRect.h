#pragma once

#include <qcustomplot.h>

#include <QPointer>

// The selection rectangle of a PlotWidget. Besides the library's rectangle it
// keeps what a range selection on a curve needs during one drag: the curve
// the drag selects on, where that curve was picked and the last index the
// cursor reached on it.
class PlotSelectionRect : public QCPSelectionRect
{
    Q_OBJECT
public:
    explicit PlotSelectionRect(QCustomPlot* parentPlot);

    // Null when no curve was picked in this drag yet or the curve is gone.
    QCPCurve* startCurve() const { return m_startCurve; }
    QPoint startPoint() const { return m_startPoint; }
    void setStart(QCPCurve* curve, const QPoint& point);

    // The last data index the drag reached on the start curve, -1 before the first.
    int lastIndex() const { return m_lastIndex; }
    void setLastIndex(int index) { m_lastIndex = index; }

    // Moves the rectangle's free corner to the event's position, as a move of
    // the drag does (and with the same signal).
    void followTo(QMouseEvent* event) { moveSelection(event); }

protected:
    void startSelection(QMouseEvent* event) override;
    void draw(QCPPainter* painter) override;

private:
    QPointer<QCPCurve> m_startCurve;
    QPoint m_startPoint;
    int m_lastIndex = -1;
};
