#include "DimensionItems.h"

#include "math/Dimension.h"

#include "DrawingConstants.h"

#include "plot/PlotWidget.h"

namespace {

QCPItemLine* createLine(PlotWidget* plot)
{
    auto* line = new QCPItemLine(plot);
    line->setPen(kBlackPen);
    return line;
}

QCPItemLine* createDimensionLine(PlotWidget* plot)
{
    QCPItemLine* line = createLine(plot);
    const QCPLineEnding arrow(QCPLineEnding::esLineArrow, 8, 10, false);
    line->setHead(arrow);
    line->setTail(arrow);
    return line;
}

QCPItemText* createLabel(PlotWidget* plot)
{
    auto* label = new QCPItemText(plot);
    label->setFont(kMonospaceFont);
    return label;
}

} // namespace

DimensionItems::DimensionItems(PlotWidget* plot)
    : m_plot(plot)
    , m_extension1(createLine(plot))
    , m_extension2(createLine(plot))
    , m_dimensionLine(createDimensionLine(plot))
    , m_label(createLabel(plot))
{
    setVisible(false);
}

DimensionItems::~DimensionItems()
{
    if (!m_plot)
        return;
    for (QCPLayerable* item : layerables())
        m_plot->removeItem(static_cast<QCPAbstractItem*>(item));
}

QList<QCPLayerable*> DimensionItems::layerables() const
{
    QList<QCPLayerable*> items;
    for (QCPLayerable* item : {static_cast<QCPLayerable*>(m_extension1), static_cast<QCPLayerable*>(m_extension2),
                               static_cast<QCPLayerable*>(m_dimensionLine), static_cast<QCPLayerable*>(m_label)}) {
        if (item)
            items.append(item);
    }
    return items;
}

void DimensionItems::placeLine(QCPItemLine* item, const QLineF& line)
{
    item->start->setCoords(line.p1());
    item->end->setCoords(line.p2());
}

void DimensionItems::place(const MeasurementMath::Dimension& dimension)
{
    if (layerables().size() != 4)
        return;
    placeLine(m_extension1, dimension.extension1);
    placeLine(m_extension2, dimension.extension2);
    placeLine(m_dimensionLine, dimension.dimensionLine);
    m_label->position->setCoords(dimension.labelPosition);
    m_label->setRotation(dimension.labelRotation);
    m_label->setPositionAlignment(Qt::Alignment(dimension.alignment));
}

void DimensionItems::setVisible(bool visible)
{
    for (QCPLayerable* item : layerables())
        item->setVisible(visible);
}

void DimensionItems::setHighlighted(bool highlighted)
{
    const QPen& pen = highlighted ? kGreenPen : kBlackPen;
    for (QCPItemLine* line : {m_extension1.data(), m_extension2.data(), m_dimensionLine.data()}) {
        if (line)
            line->setPen(pen);
    }
}

void DimensionItems::setLabelEnlarged(bool enlarged)
{
    m_reportFont.apply(m_label, enlarged);
}
