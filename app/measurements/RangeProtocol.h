#pragma once

#include <QString>

#include <functional>

class Measurement;
class PlotWidget;
class QMouseEvent;

// The release handling shared by the kinds driven by data ranges. Each left
// release completes one range (also a click that picked nothing: its record
// stays empty) until the kind has all it needs; the last one locks the
// selection and hides the selection marker, and the value then follows the
// cursor until the next left release places it and finishes the measurement.
//
// The kind connects the plot's mouseRelease to its own handler, which calls
// release() and reacts to the step returned (a prompt for the next range,
// nothing, ...); calculate() reads isPlacing().
class RangeProtocol
{
public:
    struct Options
    {
        int rangesNeeded = 1;
        // Emits "Расположите значение" when the selection locks.
        bool promptWhenLocked = true;
        // The kind's finish line for the log, written before the "Result - "
        // line. Without it the kind logs nothing when it finishes.
        std::function<QString()> finishLine;
    };

    enum Step {
        Ignored,   // not a left release, or the measurement is finished
        NextRange, // a range was completed and the next one is awaited
        Locked,    // the last range was completed; placing from now on
        Finished,  // the value was placed
    };

    RangeProtocol(Measurement* measurement, Options options);

    // The plot set up for picking ranges: range selection with plottable
    // selection and zoom, the live selection rectangle, and the registry's
    // first curveCount curves (all of them when negative) selectable by range.
    static void prepareRangeSelection(PlotWidget* plot, int curveCount);

    Step release(QMouseEvent* event);

    bool isPlacing() const { return m_placing; }
    int completedRanges() const { return m_completed; }

    // The two steps of release() on their own, for kinds that count their
    // picks differently: lock the selection and start placing; place the
    // value and finish.
    void lock();
    void place();

private:

    Measurement* m_measurement;
    Options m_options;
    int m_completed = 0;
    bool m_placing = false;
};
