#include "AgTextPlacement.h"

#include "plot/PlotWidget.h"

#include <QInputDialog>
#include <QMouseEvent>

#include <utility>

QString AgTextPlacement::askForText(QWidget* parent)
{
    const Qt::WindowFlags flags = parent ? parent->windowFlags() & ~Qt::WindowContextHelpButtonHint : Qt::WindowFlags();
    bool accepted = false;
    const QString text = QInputDialog::getText(parent, QStringLiteral("Введите текст"), QStringLiteral("Текст:"),
                                               QLineEdit::Normal, QString(), &accepted, flags);
    return accepted ? text : QString();
}

AgTextPlacement::AgTextPlacement(QWidget* parent, PlotWidget* plot, TextRequest request)
    : Measurement(measurementKind(TEXT_PLACEMENT)->type, plot, 0)
    , m_text(adoptItem(new QCPItemText(plot)))
    , m_name(measurementKind(TEXT_PLACEMENT)->name)
    , m_parent(parent)
    , m_request(std::move(request))
{
    setYieldsValue(measurementKind(TEXT_PLACEMENT)->yieldsValue);
    setMoveRedraw(MoveRedraw::OwnLayer);
    addConnection(connect(plot, &QCustomPlot::mouseRelease, this, &AgTextPlacement::onPlotMouseRelease));
}

AgTextPlacement::~AgTextPlacement()
{
    if (plot() && m_text)
        plot()->removeItem(m_text);
}

QString AgTextPlacement::groupName() const
{
    return measurementKind(TEXT_PLACEMENT)->groupName;
}

void AgTextPlacement::setLabelEnlarged(bool enlarged)
{
    m_reportFont.apply(m_text, enlarged);
}

void AgTextPlacement::updateSelectionMarker()
{
    plot()->setSelectionMarkerVisible(false);
}

void AgTextPlacement::onPlotMouseRelease(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || isFinished() || !m_request)
        return;
    PlotWidget* plotWidget = plot();
    const QPointF at(plotWidget->xAxis->pixelToCoord(event->pos().x()),
                     plotWidget->yAxis->pixelToCoord(event->pos().y()));
    // The dialog runs an event loop of its own: the measurement or its plot
    // may be gone when it returns.
    const QPointer<AgTextPlacement> alive(this);
    const QPointer<PlotWidget> plotAlive(plotWidget);
    const QString text = m_request(m_parent);
    if (!alive || !plotAlive || text.isEmpty() || !m_text)
        return;
    m_text->position->setCoords(at);
    m_text->setText(text);
    m_text->setColor(Qt::black);
    plotWidget->replot(QCustomPlot::rpRefreshHint);
    finish();
    emit measumentFinished();
    plotWidget->unsetCursor();
}

void AgTextPlacement::scaleGeometry(double ratio)
{
    Measurement::scaleGeometry(ratio);
    if (m_text)
        m_text->position->setCoords(m_text->position->coords() * ratio);
}
