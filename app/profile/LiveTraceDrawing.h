#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

#include "plot/TraceGraphsHolder.h"

class AbstractTrace;
class PlotWidget;

// Draws a trace while it is being read: the plot is redrawn at most 25
// times a second, and each redraw first appends to the trace's curve the
// rows of the batches announced since the one before, in one go (up to a
// limit, the rest following at the next redraws), with its
// ranges widened to take the new rows in (as the view's reset would, with a
// margin of 5 % at both ends) rather than rescaled over every point. A
// reader announces thousands of batches a second; handling each on its own
// kept the event loop from everything else. A redraw does not wait for a
// reading thread that holds the trace's lock. GUI thread only.
class LiveTraceDrawing : public QObject
{
    Q_OBJECT
public:
    static constexpr int kRedrawIntervalMs = 40;
    static constexpr double kMargin = 0.05;
    // How long a redraw waits for the trace's lock.
    static constexpr int kLockWaitMs = 2;
    // The most rows one redraw appends: the curve's memory for them is
    // mapped while the GUI thread waits. More rows wait for the next redraw.
    static constexpr int kMaxRowsPerRedraw = 50000;

    explicit LiveTraceDrawing(PlotWidget* plot, QObject* parent = nullptr);

    // A read into the holder's trace begins; the ranges start from what the
    // plot's other visible curves take.
    void start(TraceGraphsHolder* holder);
    // The rows [from, from + count) of the trace's raw store are new; the
    // next redraw appends them, as far as they exist then: a batch
    // announced before the trace was emptied names rows that are gone.
    void append(int from, int count);
    // The trace was emptied: so is its curve, and no announced rows are
    // appended any more.
    void clear();
    // The read is over; no redraw is pending any more, nor are rows.
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
        void extend(double value);
    };

    void scheduleRedraw();
    void redraw();
    // False when the trace's lock did not come free in time.
    bool appendAnnouncedRows();
    void takeOtherCurvesBounds();

    PlotWidget* m_plot;
    QPointer<TraceGraphsHolder> m_holder;
    QTimer m_redrawTimer;
    Bounds m_otherKeys;
    Bounds m_otherValues;
    Bounds m_keys;
    Bounds m_values;
    // The rows announced and not appended yet, [m_announcedFrom, m_announcedTo).
    int m_announcedFrom = 0;
    int m_announcedTo = 0;
    // The x and heights of the rows a redraw appends.
    QVector<double> m_newKeys;
    QVector<double> m_newValues;
};
