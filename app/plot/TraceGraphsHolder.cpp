#include "TraceGraphsHolder.h"

#include <QCheckBox>
#include <QDebug>
#include <QMessageBox>
#include <QMutexLocker>

#include <cmath>

#include "AbstractTrace.h"
#include "AppSettings.h"
#include "AreaRatioCurve.h"
#include "Constants.h"
#include "DrawingConstants.h"
#include "CutOff.h"
#include "ExtraArgs.h"
#include "HeightDistribution.h"
#include "ParabolaFit.h"
#include "PlotWidget.h"
#include "ProfileTrace.h"
#include "SettingsSaving.h"
#include "TraceGraphsHost.h"
#include "TraceTypes.h"

namespace {

QPen dottedPen(Qt::GlobalColor color)
{
    return QPen(QBrush(color, Qt::SolidPattern), 1, Qt::DotLine, Qt::SquareCap, Qt::BevelJoin);
}

const QPen kMeanLinePen = dottedPen(Qt::red);
const QPen kLevelLinePen = dottedPen(Qt::blue);
const QColor kHistogramColor(10, 140, 70, 160);
const QString kRa = QStringLiteral("Ra");

template <typename Setting>
Setting readSetting(Setting PreferenceSettings::*field)
{
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    return settings.preferenses.*field;
}

int currentCutOff()
{
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    return int(cutOffForIndex(settings.device.spinbox_filter_length_index));
}

QPen highlightPen()
{
    const QColor color(readSetting(&PreferenceSettings::selected_graph_color));
    return QPen(QBrush(color, Qt::SolidPattern), 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

} // namespace

TraceGraphsHolder::TraceGraphsHolder(TraceGraphsHost* host, AbstractTrace* trace, PlotWidget* mainPlot,
                                     PlotWidget* histogramPlot, PlotWidget* ratioPlot)
    : m_host(host)
    , m_trace(trace)
    , m_plots{{mainPlot, histogramPlot, ratioPlot}}
{
    m_histogramDensity = readSetting(&PreferenceSettings::histogramm_density_value);
    m_unitText = QStringLiteral("мм");
    m_unitFactor = 1.0;

    m_histogramGraph = histogramPlot->addGraph(histogramPlot->yAxis, histogramPlot->xAxis);
    m_ratioGraph = ratioPlot->addGraph(ratioPlot->yAxis, ratioPlot->xAxis);
    m_profileCurve = new AdaptiveCurve(mainPlot->xAxis, mainPlot->yAxis);
    m_fitGraph = mainPlot->addGraph();
    m_fitGraph->setSelectable(QCP::stNone);
    m_fitGraph->setVisible(false);
    for (int i = 0; i < kPlots; ++i) {
        m_rmsLines[i] = new QCPItemStraightLine(m_plots[i]);
        m_levelLines[i] = new QCPItemStraightLine(m_plots[i]);
        for (QCPItemStraightLine* line : {m_rmsLines[i].data(), m_levelLines[i].data()}) {
            line->setSelectable(false);
            line->setVisible(false);
        }
        m_rmsLines[i]->setPen(kMeanLinePen);
        m_levelLines[i]->setPen(kLevelLinePen);
    }
    const QVariant self = QVariant::fromValue(this);
    m_ratioGraph->setProperty(kHolderProperty, self);
    m_histogramGraph->setProperty(kHolderProperty, self);
    m_profileCurve->setProperty(kHolderProperty, self);
    m_profileCurve->setPen(kBlackPen);
    m_ratioGraph->setPen(kBlackPen);
    m_fitGraph->setPen(kMeanLinePen);

    m_startMarker = new XAxisMarker(m_profileCurve->valueAxis());
    m_endMarker = new XAxisMarker(m_profileCurve->valueAxis());
    m_startMarker->label()->setPen(kMagentaDashPen);
    m_endMarker->label()->setPen(kMagentaDashPen);

    connect(m_profileCurve.data(), qOverload<const QCPDataSelection&>(&QCPAbstractPlottable::selectionChanged), this,
            &TraceGraphsHolder::graphSelectionChanged);
    m_profileCurve->setSelectable(QCP::stDataRange);
}

// Every pointer is guarded: the plots may have gone first, taking their
// items, plottables and axes (and with the axis the markers) with them.
TraceGraphsHolder::~TraceGraphsHolder()
{
    delete m_startMarker;
    delete m_endMarker;
    if (PlotWidget* histogramPlot = m_plots[1]; histogramPlot && m_histogramGraph)
        histogramPlot->removeGraph(m_histogramGraph);
    if (PlotWidget* ratioPlot = m_plots[2]; ratioPlot && m_ratioGraph)
        ratioPlot->removeGraph(m_ratioGraph);
    if (PlotWidget* mainPlot = m_plots[0]; mainPlot && m_fitGraph)
        mainPlot->removeGraph(m_fitGraph);
    for (int i = 0; i < kPlots; ++i) {
        if (!m_plots[i])
            continue;
        if (m_levelLines[i])
            m_plots[i]->removeItem(m_levelLines[i]);
        if (m_rmsLines[i])
            m_plots[i]->removeItem(m_rmsLines[i]);
    }
    if (PlotWidget* mainPlot = m_plots[0]; mainPlot && m_profileCurve)
        mainPlot->removePlottable(m_profileCurve);
}

TraceGraphsHolder* TraceGraphsHolder::fromPlottable(const QCPAbstractPlottable* plottable)
{
    if (!plottable)
        return nullptr;
    return plottable->property(kHolderProperty).value<TraceGraphsHolder*>();
}

void TraceGraphsHolder::setUnit(const QString& unit, bool redraw)
{
    if (unit == QLatin1String("mm")) {
        m_unitText = QStringLiteral("мм");
        m_unitFactor = 0.001;
    } else if (unit == QLatin1String("mkm")) {
        m_unitText = QStringLiteral("мкм");
        m_unitFactor = 1.0;
    } else if (unit == QLatin1String("nm")) {
        m_unitText = QStringLiteral("нм");
        m_unitFactor = 1000.0;
    }
    if (redraw)
        updateGraphs(m_rLine, m_straighten);
}

void TraceGraphsHolder::updateGraphs(bool rLine, bool straighten)
{
    m_builtGraph = currentGraphInputs(rLine, straighten);
    m_graphBuilt = true;
    ++m_graphBuilds;
    m_rLine = rLine;
    m_straighten = straighten;
    copyDisplayData();
    m_fitKeys.clear();
    m_fitValues.clear();

    double squares = 0;
    for (double value : qAsConst(m_values))
        squares += value * value;
    m_rmsLevel = std::sqrt(squares / m_values.size());

    QVector<double> fit;
    if (rLine && Algos::parabolaValues(m_keys, m_values, fit)) {
        m_fitKeys = m_keys;
        m_fitValues = fit;
        if (straighten) {
            for (int i = 0; i < m_values.size(); ++i)
                m_values[i] -= m_fitValues[i] - m_rmsLevel;
        }
    }
    showMeanLines(rLine);
    placeLevelLines();
    if (m_profileCurve)
        m_profileCurve->setData(m_keys, m_values);
}

bool TraceGraphsHolder::refreshGraphs(bool rLine, bool straighten)
{
    if (m_graphBuilt && m_builtGraph == currentGraphInputs(rLine, straighten))
        return false;
    updateGraphs(rLine, straighten);
    return true;
}

TraceGraphsHolder::GraphInputs TraceGraphsHolder::currentGraphInputs(bool rLine, bool straighten) const
{
    return {rLine, straighten, m_unitFactor, m_trace->displayRevision()};
}

// The x and height columns of the display store, in the display unit.
void TraceGraphsHolder::copyDisplayData()
{
    {
        const LockedTraceData locked = m_trace->lockedData();
        const ProfileData& display = *locked.data;
        if (display.size() < 2) {
            m_keys.clear();
            m_values.clear();
        } else {
            const int rows = std::min(display[0].size(), display[1].size());
            m_keys = QVector<double>(display[0].cbegin(), display[0].cbegin() + rows);
            m_values = QVector<double>(display[1].cbegin(), display[1].cbegin() + rows);
        }
    }
    for (double& key : m_keys)
        key *= m_unitFactor;
    for (double& value : m_values)
        value *= m_unitFactor;
}

// A hidden trace keeps its lines hidden until it is shown again.
void TraceGraphsHolder::showMeanLines(bool on)
{
    m_meanLinesShown = on;
    const bool shown = isVisible();
    if (on) {
        if (m_fitGraph)
            m_fitGraph->setVisible(false);
        for (const auto& line : m_rmsLines) {
            setHorizontalLine(line, m_rmsLevel, kMeanLinePen);
            if (line)
                line->setVisible(shown);
        }
        return;
    }
    if (m_fitGraph) {
        m_fitGraph->setData(m_fitKeys, m_fitValues, true);
        m_fitGraph->setVisible(shown);
        m_fitGraph->setSelectable(QCP::stNone);
    }
    for (const auto& line : m_rmsLines)
        if (line)
            line->setVisible(false);
}

void TraceGraphsHolder::setHorizontalLine(QCPItemStraightLine* line, double height, const QPen& pen)
{
    if (!line)
        return;
    line->point1->setCoords(0, height);
    line->point2->setCoords(0.01, height);
    line->setPen(pen);
    line->setVisible(true);
    line->setSelectable(false);
}

void TraceGraphsHolder::showPoints(bool on)
{
    if (!m_profileCurve)
        return;
    if (on) {
        m_profileCurve->setLineStyle(QCPCurve::lsNone);
        m_profileCurve->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, Qt::black, 1));
    } else {
        m_profileCurve->setLineStyle(QCPCurve::lsLine);
        m_profileCurve->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssNone, 6));
    }
}

void TraceGraphsHolder::setVisible(bool on)
{
    for (QCPAbstractPlottable* plottable : tracePlottables())
        plottable->setVisible(on);
    for (const auto& line : m_rmsLines)
        if (line)
            line->setVisible(on && m_meanLinesShown);
    if (m_fitGraph)
        m_fitGraph->setVisible(on && !m_meanLinesShown);
    for (const auto& line : m_levelLines)
        if (line)
            line->setVisible(on && levelMarked());
    for (XAxisMarker* marker : {m_startMarker.data(), m_endMarker.data()})
        if (marker)
            marker->setVisible(on && m_markersShown);
}

bool TraceGraphsHolder::isVisible() const
{
    return m_profileCurve && m_profileCurve->visible();
}

void TraceGraphsHolder::highlight()
{
    setTracePen(highlightPen());
}

void TraceGraphsHolder::unhighlight()
{
    setTracePen(kBlackPen);
}

// The pen of the profile curve, the histogram and the ratio curve.
void TraceGraphsHolder::setTracePen(const QPen& pen)
{
    for (QCPAbstractPlottable* plottable : tracePlottables())
        plottable->setPen(pen);
}

QVector<QCPAbstractPlottable*> TraceGraphsHolder::tracePlottables() const
{
    QVector<QCPAbstractPlottable*> plottables;
    if (m_profileCurve)
        plottables.append(m_profileCurve);
    if (m_histogramGraph)
        plottables.append(m_histogramGraph);
    if (m_ratioGraph)
        plottables.append(m_ratioGraph);
    return plottables;
}

void TraceGraphsHolder::graphSelectionChanged(const QCPDataSelection& selection)
{
    if (selection.isEmpty()) {
        hideMarkers();
    } else {
        const QCPDataRange range = selection.dataRange(0);
        const int begin = range.begin();
        const int end = range.end();
        if (end > begin && begin >= 0 && end <= m_keys.size()) {
            m_startMarker->setPosition(m_keys[begin], m_values[begin]);
            m_startMarker->label()->setText(QString::number(m_keys[begin], 'g', 6));
            m_endMarker->setPosition(m_keys[end - 1], m_values[end - 1]);
            m_endMarker->label()->setText(QString::number(m_keys[end - 1], 'g', 6));
            m_startMarker->setVisible(true);
            m_endMarker->setVisible(true);
            m_markersShown = true;
        }
    }
    qDebug() << "selection change ended";
}

void TraceGraphsHolder::hideMarkers()
{
    for (XAxisMarker* marker : {m_startMarker.data(), m_endMarker.data()})
        if (marker)
            marker->setVisible(false);
    m_markersShown = false;
}

void TraceGraphsHolder::cropToSelection()
{
    if (!m_profileCurve)
        return;
    const QCPDataSelection selection = m_profileCurve->selection();
    if (selection.isEmpty())
        return;
    const QCPDataRange range = selection.dataRange(0);
    if (range.end() < range.begin() || range.begin() < 0)
        return;
    cropTrace(range.begin(), range.end());
    hideMarkers();
    updateGraphs(m_rLine, m_straighten);
}

// The selection indexes the display store. When the processing trimmed or
// resampled it (a profile filter, a contour trace's low-pass), the raw rows
// kept are those whose displayed x lies between the selection's first and
// last x.
void TraceGraphsHolder::cropTrace(int begin, int end)
{
    int displayRows = 0;
    double firstX = 0;
    double lastX = 0;
    {
        const LockedTraceData locked = m_trace->lockedData();
        const ProfileData& display = *locked.data;
        displayRows = display.isEmpty() ? 0 : display[0].size();
        if (end > displayRows || begin >= end)
            return;
        firstX = display[0][begin];
        lastX = display[0][end - 1];
    }
    int rawRows = 0;
    {
        const LockedTraceData locked = m_trace->lockedRawData();
        rawRows = locked.data->isEmpty() ? 0 : locked.data->first().size();
    }
    if (displayRows == rawRows) {
        m_trace->crop(begin, end);
        return;
    }
    const auto rows = m_trace->rawRowsWithinDisplayX(std::min(firstX, lastX), std::max(firstX, lastX));
    if (rows.second > rows.first)
        m_trace->crop(rows.first, rows.second);
}

void TraceGraphsHolder::markLevel(double micrometres)
{
    m_level = micrometres;
    placeLevelLines();
}

// A hidden trace keeps its lines hidden until it is shown again.
void TraceGraphsHolder::placeLevelLines()
{
    if (!m_level)
        return;
    const bool shown = isVisible();
    for (const auto& line : m_levelLines) {
        setHorizontalLine(line, *m_level * m_unitFactor, kLevelLinePen);
        if (line)
            line->setVisible(shown);
    }
}

void TraceGraphsHolder::updateHeightDistribution()
{
    if (!m_plots[0])
        return;
    const DistributionInputs inputs = currentDistributionInputs();
    updateHistogram(inputs);
    updateRatioCurve(inputs);
}

bool TraceGraphsHolder::refreshHeightDistribution()
{
    if (!m_plots[0])
        return false;
    const DistributionInputs inputs = currentDistributionInputs();
    const bool histogram = !(inputs == m_builtHistogram);
    const bool ratio = !inputs.sameHeights(m_builtRatio);
    if (histogram)
        updateHistogram(inputs);
    if (ratio)
        updateRatioCurve(inputs);
    return histogram || ratio;
}

TraceGraphsHolder::DistributionInputs TraceGraphsHolder::currentDistributionInputs() const
{
    const QCPRange xVisible = m_plots[0]->xAxis->range();
    const QCPRange yVisible = m_plots[0]->yAxis->range();
    return {m_graphBuilds, m_histogramDensity, xVisible.lower, xVisible.upper, yVisible.lower, yVisible.upper};
}

void TraceGraphsHolder::updateHistogram(const DistributionInputs& inputs)
{
    m_builtHistogram = inputs;
    ++m_histogramBuilds;
    const double xRange[2] = {inputs.xLower, inputs.xUpper};
    const double yRange[2] = {inputs.yLower, inputs.yUpper};
    ProfileData distribution =
        Algos::heightDistributionInWindow({m_keys, m_values}, m_histogramDensity, xRange, yRange);
    if (!m_histogramGraph)
        return;
    if (distribution.size() == 2) {
        m_histogramGraph->setData(distribution[0], distribution[1]);
        storeHeightDistribution(std::move(distribution));
    } else {
        m_histogramGraph->data()->clear();
    }
    m_histogramGraph->setPen(Qt::NoPen);
    m_histogramGraph->setBrush(QBrush(kHistogramColor, Qt::SolidPattern));
}

void TraceGraphsHolder::updateRatioCurve(const DistributionInputs& inputs)
{
    m_builtRatio = inputs;
    ++m_ratioBuilds;
    const Algos::AreaRatioCurve curve = Algos::areaRatioCurve(m_keys, m_values, inputs.yLower, inputs.yUpper);
    m_ratioLevels = curve.levels;
    m_ratioPercents = curve.percents;
    if (m_ratioGraph)
        m_ratioGraph->setData(m_ratioLevels, m_ratioPercents, true);
}

void TraceGraphsHolder::storeHeightDistribution(ProfileData distribution)
{
    if (m_trace->type != PROFILE && m_trace->type != ADDITIONAL_TRACE)
        return;
    auto* profile = dynamic_cast<ProfileTrace*>(m_trace);
    if (!profile)
        return;
    for (double& level : distribution[0])
        level /= m_unitFactor;
    profile->heightDistribution = std::move(distribution);
}

QVector<QCPItemStraightLine*> TraceGraphsHolder::rmsLines() const
{
    return {m_rmsLines[0], m_rmsLines[1], m_rmsLines[2]};
}

QVector<QCPItemStraightLine*> TraceGraphsHolder::levelLines() const
{
    return {m_levelLines[0], m_levelLines[1], m_levelLines[2]};
}

void TraceGraphsHolder::adjustFilterToStandard()
{
    if (m_trace->type != PROFILE && m_trace->type != ADDITIONAL_TRACE)
        return;
    auto* profile = dynamic_cast<ProfileTrace*>(m_trace);
    if (!profile)
        return;

    const double length = m_trace->length();
    int current = currentCutOff();
    // Every pass tries a cut-off not tried before, so there are at most as
    // many passes as cut-offs.
    QVector<int> tried;
    while (tried.size() < kCutOffValues.size()) {
        tried.append(current);
        const double ra = raOfTrace();
        if (ra == 0)
            return;
        const int proposed = Algos::fittingCutOff(Algos::autoCutOff(ra), length, current);
        if (tried.contains(proposed) || !acceptsCutOff(proposed))
            return;
        if (m_host)
            m_host->setJogKeysBlocked(false);
        const int index = kCutOffValues.indexOf(double(proposed));
        if (index < 0)
            return;
        if (m_host)
            m_host->selectCutOffIndex(index);
        current = proposed;
        profile->filterCutOff = kCutOffValues[index];
    }
}

// Ra of the trace with its cut-off, read from the parameter text; 0 for a
// text that is not a plain number (too short a trace, a spread of values).
double TraceGraphsHolder::raOfTrace() const
{
    ExtraArgs args;
    const QString text = args.resultText(static_cast<ProfileTrace*>(m_trace), kRa);
    bool ok = false;
    const double ra = text.toDouble(&ok);
    return ok ? ra : 0;
}

bool TraceGraphsHolder::acceptsCutOff(int cutOff)
{
    if (!readSetting(&PreferenceSettings::is_ask_before_change_filter))
        return readSetting(&PreferenceSettings::is_accept_filter);
    return askFilterChange(cutOff);
}

bool TraceGraphsHolder::askFilterChange(int cutOff)
{
    QWidget* parent = m_host ? m_host->questionParent() : nullptr;
    if (m_host)
        m_host->setJogKeysBlocked(true);
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral("Изменение фильтра"));
    box.setText(QStringLiteral("Согласно текущему стандарту выбранный фильтр не соответствует измерению. "
                               "Сменить фильтр на %1 мм?")
                    .arg(cutOff / 1000.0, 0, 'f', 3));
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setCheckBox(new QCheckBox(QStringLiteral("Запомнить выбор")));
    const bool accepted = box.exec() == QMessageBox::Yes;
    if (m_host)
        m_host->setJogKeysBlocked(false);

    if (box.checkBox()->isChecked()) {
        {
            AppSettings& settings = AppSettings::instance();
            QMutexLocker lock(&settings.mutex());
            settings.preferenses.is_ask_before_change_filter = false;
            settings.preferenses.is_accept_filter = accepted;
        }
        saveSettingsOrWarn(parent);
    }
    return accepted;
}
