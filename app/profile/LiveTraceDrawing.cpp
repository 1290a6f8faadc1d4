#include "LiveTraceDrawing.h"

#include <algorithm>
#include <cmath>

#include "AbstractTrace.h"
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

void LiveTraceDrawing::Bounds::extend(const QVector<double>& values)
{
    for (double value : values) {
        if (std::isfinite(value))
            extend(QCPRange(value, value));
    }
}

LiveTraceDrawing::LiveTraceDrawing(PlotWidget* plot, QObject* parent)
    : QObject(parent)
    , m_plot(plot)
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
    QVector<double> keys;
    QVector<double> values;
    {
        const LockedTraceData locked = m_holder->trace()->lockedRawData();
        const ProfileData& raw = *locked.data;
        const int rows = raw.size() < 2 ? 0 : std::min(raw[0].size(), raw[1].size());
        const int first = std::clamp(from, 0, rows);
        const int last = int(std::clamp(qint64(from) + count, qint64(first), qint64(rows)));
        keys = raw[0].mid(first, last - first);
        values = raw[1].mid(first, last - first);
    }
    if (keys.isEmpty())
        return;
    const double factor = m_holder->unitFactor();
    for (double& key : keys)
        key *= factor;
    for (double& value : values)
        value *= factor;
    m_holder->profileCurve()->addData(keys, values);
    m_keys.extend(keys);
    m_values.extend(values);
    scheduleRedraw();
}

void LiveTraceDrawing::clear()
{
    if (!m_holder || !m_holder->profileCurve())
        return;
    m_holder->profileCurve()->data()->clear();
    m_keys = {};
    m_values = {};
    scheduleRedraw();
}

void LiveTraceDrawing::stop()
{
    m_redrawTimer.stop();
    m_holder.clear();
}

void LiveTraceDrawing::scheduleRedraw()
{
    if (!m_redrawTimer.isActive())
        m_redrawTimer.start();
}

void LiveTraceDrawing::redraw()
{
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
