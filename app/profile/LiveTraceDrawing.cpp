#include "LiveTraceDrawing.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "AbstractTrace.h"
#include "plot/CurveDataStorage.h"
#include "plot/PlotWidget.h"
#include "plot/TraceGraphsHolder.h"

namespace {

QCPRange withMargin(const QCPRange& range, double margin)
{
    const double size = range.size() * margin;
    return QCPRange(range.lower - size, range.upper + size);
}

} // namespace

void LiveTraceDrawing::Bounds::extend(const QCPRange& other)
{
    if (found) {
        range.expand(other);
    } else {
        range = other;
        found = true;
    }
}

void LiveTraceDrawing::Bounds::extend(double value)
{
    if (std::isfinite(value))
        extend(QCPRange(value, value));
}

LiveTraceDrawing::LiveTraceDrawing(PlotWidget* plot, QObject* parent)
    : QObject(parent)
    , m_plot(plot)
    , m_redrawTimer(this)
{
    m_redrawTimer.setSingleShot(true);
    m_redrawTimer.setInterval(kRedrawIntervalMs);
    connect(&m_redrawTimer, &QTimer::timeout, this, &LiveTraceDrawing::redraw);
}

void LiveTraceDrawing::start(TraceGraphsHolder* holder)
{
    m_holder = holder;
    m_keys = {};
    m_values = {};
    takeOtherCurvesBounds();
}

void LiveTraceDrawing::append(int from, int count)
{
    if (!m_holder || !m_holder->profileCurve() || count <= 0)
        return;
    const int to = int(std::min<qint64>(qint64(from) + count, std::numeric_limits<int>::max()));
    if (m_announcedFrom == m_announcedTo) {
        m_announcedFrom = from;
        m_announcedTo = to;
    } else {
        m_announcedFrom = std::min(m_announcedFrom, from);
        m_announcedTo = std::max(m_announcedTo, to);
    }
    scheduleRedraw();
}

// The rows are copied under the trace's lock into buffers kept from one
// redraw to the next, and go from there into the curve.
bool LiveTraceDrawing::appendAnnouncedRows()
{
    if (m_announcedFrom == m_announcedTo || !m_holder || !m_holder->profileCurve())
        return true;
    const int from = m_announcedFrom;
    const int to = int(std::min<qint64>(m_announcedTo, qint64(from) + kMaxRowsPerRedraw));
    int copied = 0;
    int expectedRows = 0;
    const bool read = m_holder->trace()->tryReadRawData(kLockWaitMs, [&](const ProfileData& raw) {
        const int rows = raw.size() < 2 ? 0 : std::min(raw[0].size(), raw[1].size());
        const int first = std::clamp(from, 0, rows);
        copied = std::clamp(to, first, rows) - first;
        m_newKeys.resize(copied);
        m_newValues.resize(copied);
        std::copy(raw[0].cbegin() + first, raw[0].cbegin() + first + copied, m_newKeys.begin());
        std::copy(raw[1].cbegin() + first, raw[1].cbegin() + first + copied, m_newValues.begin());
        expectedRows = raw[0].capacity();
    });
    if (!read)
        return false;
    m_announcedFrom = to;
    if (m_announcedFrom == m_announcedTo)
        m_announcedFrom = m_announcedTo = 0;
    else
        scheduleRedraw();
    if (copied == 0)
        return true;
    QCPCurveDataContainer& curve = *m_holder->profileCurve()->data();
    // A reader that knows about how many rows follow has made room for them
    // in the trace; the curve makes as much.
    reserveCurveData(curve, std::max(expectedRows, curve.size() + copied));
    const double factor = m_holder->unitFactor();
    appendCurvePoints(curve, m_newKeys.constData(), m_newValues.constData(), copied, factor);
    for (int i = 0; i < copied; ++i) {
        m_keys.extend(m_newKeys[i] * factor);
        m_values.extend(m_newValues[i] * factor);
    }
    return true;
}

void LiveTraceDrawing::clear()
{
    if (!m_holder || !m_holder->profileCurve())
        return;
    m_holder->profileCurve()->data()->clear();
    m_announcedFrom = m_announcedTo = 0;
    m_keys = {};
    m_values = {};
    scheduleRedraw();
}

void LiveTraceDrawing::stop()
{
    m_redrawTimer.stop();
    m_holder.clear();
    m_announcedFrom = m_announcedTo = 0;
}

void LiveTraceDrawing::scheduleRedraw()
{
    if (!m_redrawTimer.isActive())
        m_redrawTimer.start();
}

// While the reading thread holds the trace's lock, the announced rows wait
// for the next redraw, and so does the plot.
void LiveTraceDrawing::redraw()
{
    if (!appendAnnouncedRows()) {
        scheduleRedraw();
        return;
    }
    Bounds keys = m_keys;
    Bounds values = m_values;
    if (m_otherKeys.found && m_otherValues.found) {
        keys.extend(m_otherKeys.range);
        values.extend(m_otherValues.range);
    }
    if (keys.found && values.found) {
        m_plot->xAxis->setRange(withMargin(keys.range, kMargin));
        m_plot->yAxis->setRange(withMargin(values.range, kMargin));
    }
    m_plot->replot();
}

// The data ranges of the plot's other visible plottables, as a rescale of
// the axes takes them.
void LiveTraceDrawing::takeOtherCurvesBounds()
{
    m_otherKeys = {};
    m_otherValues = {};
    const QCPAbstractPlottable* own = m_holder ? m_holder->profileCurve() : nullptr;
    for (int i = 0; i < m_plot->plottableCount(); ++i) {
        const QCPAbstractPlottable* plottable = m_plot->plottable(i);
        if (plottable == own || !plottable->realVisibility())
            continue;
        bool foundKeys = false;
        bool foundValues = false;
        const QCPRange keys = plottable->getKeyRange(foundKeys);
        const QCPRange values = plottable->getValueRange(foundValues);
        if (foundKeys && foundValues) {
            m_otherKeys.extend(keys);
            m_otherValues.extend(values);
        }
    }
}
