#include "DeviationGraph.h"

#include "AppSettings.h"
#include "DrawingConstants.h"
#include "math/ScaleTicks.h"

#include "plot/AdaptiveCurve.h"
#include "plot/PlotWidget.h"

#include <QMutexLocker>

#include <utility>

using namespace MeasurementMath;

namespace {

// The pen of drawn objects, in the colour of "preferenses/visual_objects_color".
QPen visualObjectsPen()
{
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    return QPen(QColor(settings.preferenses.visual_objects_color), 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

// Tick marks are 2 % of the band's height long, in plot units.
constexpr double kTickLength = 0.02;

} // namespace

DeviationGraph::DeviationGraph(PlotWidget* plot, Adopt adopt)
    : m_plot(plot)
    , m_adopt(std::move(adopt))
{
    m_curve = new AdaptiveCurve(plot->xAxis, plot->yAxis);
    m_curve->setSelectable(QCP::stNone);
    applyCurvePen();
    m_adopt(m_curve);
    for (QPointer<QCPItemLine>* connector : {&m_firstConnector, &m_secondConnector}) {
        *connector = new QCPItemLine(plot);
        (*connector)->setPen(kBlackPen);
        m_adopt(*connector);
    }
}

DeviationGraph::~DeviationGraph()
{
    if (!m_plot)
        return;
    for (QCPItemLine* connector : {m_firstConnector.data(), m_secondConnector.data()}) {
        if (connector)
            m_plot->removeItem(connector);
    }
    if (m_curve)
        m_plot->removePlottable(m_curve);
    for (const QPointer<QCPItemText>& text : qAsConst(m_tickTexts)) {
        if (text)
            m_plot->removeItem(text);
    }
    for (const QPointer<QCPItemLine>& line : qAsConst(m_tickLines)) {
        if (line)
            m_plot->removeItem(line);
    }
}

template <typename Item>
Item* DeviationGraph::pooled(QVector<QPointer<Item>>& pool, int i)
{
    if (pool.size() <= i)
        pool.resize(i + 1);
    if (!pool.at(i)) {
        auto* item = new Item(m_plot);
        m_adopt(item);
        pool[i] = item;
    }
    return pool.at(i);
}

void DeviationGraph::draw(const DeviationCurve& curve, const DeviationBand& band)
{
    if (!m_plot || curve.isEmpty())
        return;
    m_band = band;
    const BandScale scale = bandScale(curve.deviations, band);
    if (m_firstConnector) {
        m_firstConnector->start->setCoords(band.first);
        m_firstConnector->end->setCoords(band.baselineStart());
    }
    if (m_secondConnector) {
        m_secondConnector->start->setCoords(band.last);
        m_secondConnector->end->setCoords(band.baselineEnd());
    }
    if (m_curve)
        m_curve->setData(curve.keys, scaleIntoBand(curve.deviations, scale));
    setShown(true);
    drawScale(scale, QString());
}

void DeviationGraph::hide()
{
    setShown(false);
    for (int i = 0; i < m_ticksShown; ++i) {
        pooled(m_tickLines, i)->setVisible(false);
        pooled(m_tickTexts, i)->setVisible(false);
    }
    m_ticksShown = 0;
}

void DeviationGraph::setShown(bool shown)
{
    if (m_curve)
        m_curve->setVisible(shown);
    for (QCPItemLine* connector : {m_firstConnector.data(), m_secondConnector.data()}) {
        if (connector)
            connector->setVisible(shown);
    }
}

void DeviationGraph::drawScale(const BandScale& scale, const QString& unit)
{
    if (!m_plot)
        return;
    const ScaleTicks ticks = scaleTicks(scale.minimum, scale.maximum);
    const double end = m_band.baselineEnd().x();
    const double length = kTickLength * scale.height;
    for (int i = 0; i < ticks.values.size(); ++i) {
        const double value = ticks.values.at(i);
        const double y = scale.toBand(value);
        QCPItemLine* line = pooled(m_tickLines, i);
        line->start->setCoords(end, y);
        line->end->setCoords(end - length, y);
        line->setVisible(true);
        QString text = MeasurementMath::tickText(value);
        if (i == ticks.values.size() - 1 && !unit.isEmpty())
            text += QLatin1Char('\n') + unit;
        QCPItemText* label = pooled(m_tickTexts, i);
        // Beside the mark, clear of the connector that ends the band.
        label->setPositionAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->position->setCoords(end + length, y);
        label->setText(text);
        label->setVisible(true);
    }
    for (int i = ticks.values.size(); i < m_ticksShown; ++i) {
        pooled(m_tickLines, i)->setVisible(false);
        pooled(m_tickTexts, i)->setVisible(false);
    }
    m_ticksShown = ticks.values.size();
    applyCurvePen();
}

void DeviationGraph::setConnectorPen(const QPen& pen)
{
    for (QCPItemLine* connector : {m_firstConnector.data(), m_secondConnector.data()}) {
        if (connector)
            connector->setPen(pen);
    }
}

QStringList DeviationGraph::tickTexts() const
{
    QStringList texts;
    for (int i = 0; i < m_ticksShown; ++i) {
        if (const QCPItemText* text = m_tickTexts.at(i))
            texts << text->text();
    }
    return texts;
}

void DeviationGraph::applyCurvePen()
{
    if (m_curve)
        m_curve->setPen(visualObjectsPen());
}
