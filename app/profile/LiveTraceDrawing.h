#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

#include "plot/TraceGraphsHolder.h"

class AbstractTrace;
class PlotWidget;

// Draws a trace while it is being read: each batch of new rows is appended
// to the trace's curve, and the plot is redrawn at most 25 times a second,
// its ranges widened to take the new rows in (as the view's reset would,
// with a margin of 5 % at both ends) rather than rescaled over every point.
// GUI thread only.
class LiveTraceDrawing : public QObject
{
    Q_OBJECT
public:
    static constexpr int kRedrawIntervalMs = 40;
    static constexpr double kMargin = 0.05;

    explicit LiveTraceDrawing(PlotWidget* plot, QObject* parent = nullptr);

    // A read into the holder's trace begins; the ranges start from what the
    // plot's other visible curves take.
    void start(TraceGraphsHolder* holder);
    // Appends the rows [from, from + count) of the trace's raw store, as far
    // as they exist: a batch announced before the trace was emptied names
    // rows that are gone.
    void append(int from, int count);
    // The trace was emptied: so is its curve.
    void clear();
    // The read is over; no redraw is pending any more.
    void stop();

    bool isDrawing() const { return !m_holder.isNull(); }
    TraceGraphsHolder* holder() const { return m_holder; }

private:
    // The span of the finite values seen so far.
    struct Bounds
    {
        QCPRange range;
        bool found = false;

        void extend(const QCPRange& other);
        void extend(const QVector<double>& values);
    };

    void scheduleRedraw();
    void redraw();
    void takeOtherCurvesBounds();

    PlotWidget* m_plot;
    QPointer<TraceGraphsHolder> m_holder;
    QTimer m_redrawTimer;
    Bounds m_otherKeys;
    Bounds m_otherValues;
    Bounds m_keys;
    Bounds m_values;
};
