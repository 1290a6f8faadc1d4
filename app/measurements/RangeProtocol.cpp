#include "RangeProtocol.h"

#include "CurveAccess.h"
#include "Logger.h"
#include "Measurement.h"

#include "plot/PlotFlags.h"
#include "plot/PlotWidget.h"

#include <QMouseEvent>

#include <utility>

RangeProtocol::RangeProtocol(Measurement* measurement, Options options)
    : m_measurement(measurement)
    , m_options(std::move(options))
{
}

void RangeProtocol::prepareRangeSelection(PlotWidget* plot, int curveCount)
{
    if (!plot)
        return;
    plot->setInteractions(QCP::iRangeSelection | QCP::iSelectPlottables | QCP::iRangeZoom);
    plot->setSelectionRectMode(QCP::srmSelectRealtime);
    const int count = curveCount < 0 ? plot->curveCount() : curveCount;
    forEachTraceCurve(plot, count, [](QCPCurve* curve) { curve->setSelectable(QCP::stDataRange); });
}

RangeProtocol::Step RangeProtocol::release(QMouseEvent* event)
{
    if (!event || event->button() != Qt::LeftButton || m_measurement->isFinished())
        return Ignored;
    if (m_placing) {
        place();
        return Finished;
    }
    m_measurement->calculateAtRelease(event);
    ++m_completed;
    if (m_completed < m_options.rangesNeeded) {
        m_measurement->startNextSelection();
        return NextRange;
    }
    lock();
    return Locked;
}

void RangeProtocol::lock()
{
    m_measurement->lockSelection();
    if (m_options.promptWhenLocked)
        emit m_measurement->statusText(QStringLiteral("Расположите значение"));
    m_placing = true;
    if (PlotWidget* plot = m_measurement->plot()) {
        plot->setSelectionMarkerVisible(false);
        plot->replot(QCustomPlot::rpRefreshHint);
    }
}

void RangeProtocol::place()
{
    m_measurement->finish();
    if (PlotWidget* plot = m_measurement->plot())
        plot->setSelectionMarkerVisible(true);
    emit m_measurement->statusText(m_measurement->resultStatus());
    if (m_options.finishLine) {
        Logger::instance().log(INFO, m_options.finishLine());
        Logger::instance().log(INFO, QStringLiteral("Result - ") + m_measurement->name() + QStringLiteral(": ")
                                         + m_measurement->valueText());
    }
}
