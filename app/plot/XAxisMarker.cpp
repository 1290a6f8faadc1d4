#include "XAxisMarker.h"

#include "DrawingConstants.h"

#include <qcustomplot.h>

XAxisMarker::XAxisMarker(QCPAxis* axis)
    : QObject(axis)
    , m_axis(axis)
    , m_plot(axis->parentPlot())
{
    m_line = new QCPItemStraightLine(m_plot);
    m_line->setPen(kMagentaDashPen);
    m_line->setVisible(false);

    m_label = new QCPItemText(m_plot);
    m_label->setLayer(QStringLiteral("overlay"));
    m_label->setVisible(false);
    m_label->setClipToAxisRect(false);
    m_label->setPadding(QMargins(3, -1, 3, -1));
    m_label->setPositionAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    m_label->setFont(kMonospaceFont);
    m_label->setSelectable(false);
    m_label->position->setTypeX(QCPItemPosition::ptPlotCoords);
    m_label->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
}

// The items may be gone already: the plot deletes its items when it dies,
// before its axes and so before this marker.
XAxisMarker::~XAxisMarker()
{
    if (!m_plot)
        return;
    if (m_line)
        m_plot->removeItem(m_line);
    if (m_label)
        m_plot->removeItem(m_label);
}

void XAxisMarker::setPosition(double x, double value)
{
    if (m_line) {
        m_line->point1->setCoords(x, 0);
        m_line->point2->setCoords(x, 1);
    }
    if (m_label)
        m_label->position->setCoords(x, 0);
    m_x = x;
    m_value = value;
}

void XAxisMarker::setVisible(bool visible)
{
    if (m_line)
        m_line->setVisible(visible);
    if (m_label)
        m_label->setVisible(visible);
}
