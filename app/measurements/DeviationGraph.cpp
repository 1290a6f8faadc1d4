#include "DeviationGraph.h"

#include "AppSettings.h"
#include "DrawingConstants.h"
#include "LabelObstacles.h"
#include "math/DeviationScaleLayout.h"

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
    m_relayout = QObject::connect(plot, &QCustomPlot::afterLayout, [this] { layoutScale(); });
}

DeviationGraph::~DeviationGraph()
{
    QObject::disconnect(m_relayout);
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
    m_scale = scale;
    m_ticks = scaleTicks(scale.minimum, scale.maximum);
    const int count = m_ticks.values.size();
    for (int i = 0; i < count; ++i) {
        QString text = MeasurementMath::tickText(m_ticks.values.at(i));
        if (i == count - 1 && !unit.isEmpty())
            text += QLatin1Char('\n') + unit;
        QCPItemText* label = pooled(m_tickTexts, i);
        label->setPositionAlignment(Qt::AlignCenter);
        label->setText(text);
        pooled(m_tickLines, i);
    }
    for (int i = count; i < m_ticksShown; ++i) {
        pooled(m_tickLines, i)->setVisible(false);
        pooled(m_tickTexts, i)->setVisible(false);
    }
    m_ticksShown = count;
    layoutScale();
    applyCurvePen();
}

void DeviationGraph::layoutScale()
{
    if (!m_plot || m_ticksShown == 0)
        return;
    const QCPAxis* xAxis = m_plot->xAxis;
    const QCPAxis* yAxis = m_plot->yAxis;
    const double end = m_band.baselineEnd().x();
    const double length = kTickLength * m_scale.height;
    const DeviationScaleLayout::Band band{xAxis->coordToPixel(m_band.first.x()), xAxis->coordToPixel(end),
                                          yAxis->coordToPixel(m_band.lowest), yAxis->coordToPixel(m_band.baseline)};
    QVector<DeviationScaleLayout::Tick> ticks;
    QSet<const QCPAbstractItem*> own;
    for (int i = 0; i < m_ticksShown; ++i) {
        const QCPItemText* label = pooled(m_tickTexts, i);
        own.insert(label);
        ticks.append({m_ticks.values.at(i), yAxis->coordToPixel(m_scale.toBand(m_ticks.values.at(i))),
                      textPixelRect(label).size()});
    }
    const DeviationScaleLayout layout(band, ticks, m_ticks.step,
                                      std::abs(xAxis->coordToPixel(end) - xAxis->coordToPixel(end - length)),
                                      m_plot->axisRect()->rect());
    const DeviationScaleLayout::Placement placement = layout.place(labelObstacles(m_plot, own));

    const double markFrom = xAxis->pixelToCoord(placement.markFrom);
    const double markTo = xAxis->pixelToCoord(placement.markTo);
    for (int i = 0; i < m_ticksShown; ++i) {
        const double y = m_scale.toBand(m_ticks.values.at(i));
        QCPItemLine* mark = pooled(m_tickLines, i);
        mark->start->setCoords(markFrom, y);
        mark->end->setCoords(markTo, y);
        mark->setVisible(true);
        pooled(m_tickTexts, i)->setVisible(false);
    }
    for (int k = 0; k < placement.labelled.size(); ++k) {
        const QPointF centre = placement.labels.at(k).center();
        QCPItemText* label = m_tickTexts.at(placement.labelled.at(k));
        label->position->setCoords(xAxis->pixelToCoord(centre.x()), yAxis->pixelToCoord(centre.y()));
        label->setVisible(true);
    }
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
    for (const QCPItemText* label : tickLabels())
        texts << label->text();
    return texts;
}

QVector<const QCPItemText*> DeviationGraph::tickLabels() const
{
    QVector<const QCPItemText*> labels;
    for (int i = 0; i < m_ticksShown; ++i) {
        if (const QCPItemText* text = m_tickTexts.at(i); text && text->visible())
            labels << text;
    }
    return labels;
}

QVector<const QCPItemLine*> DeviationGraph::tickMarks() const
{
    QVector<const QCPItemLine*> marks;
    for (int i = 0; i < m_ticksShown; ++i) {
        if (const QCPItemLine* line = m_tickLines.at(i))
            marks << line;
    }
    return marks;
}

void DeviationGraph::applyCurvePen()
{
    if (m_curve)
        m_curve->setPen(visualObjectsPen());
}
