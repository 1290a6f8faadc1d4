#include "LabelObstacles.h"

#include "plot/AdaptiveCurve.h"

#include <qcustomplot.h>

#include <QHash>
#include <QPolygonF>

namespace {

// A text item's box as last measured, with everything it depends on besides
// the item's position.
struct MeasuredText
{
    QString text;
    QFont font;
    Qt::Alignment textAlignment;
    Qt::Alignment positionAlignment;
    double rotation = 0;
    QMargins padding;
    QPolygonF corners; // relative to the position

    explicit MeasuredText(const QCPItemText* item)
        : text(item->text())
        , font(item->selected() ? item->selectedFont() : item->font())
        , textAlignment(item->textAlignment())
        , positionAlignment(item->positionAlignment())
        , rotation(item->rotation())
        , padding(item->padding())
    {
    }

    bool operator==(const MeasuredText& other) const
    {
        return text == other.text && font == other.font && textAlignment == other.textAlignment
            && positionAlignment == other.positionAlignment && rotation == other.rotation
            && padding == other.padding;
    }
};

// The box's corners relative to the text's position. Measuring a text lays
// it out, which costs far more than the rest of a placement, and every
// layout of the plot asks again for each label; so a text is measured again
// only when something its box depends on changed.
QPolygonF relativeCorners(const QCPItemText* item, const QPointF& position)
{
    static QHash<const QCPItemText*, MeasuredText> measured;
    constexpr int kMostKept = 4096;
    MeasuredText now(item);
    const auto known = measured.constFind(item);
    if (known != measured.constEnd() && *known == now)
        return known->corners;
    for (const QCPItemAnchor* anchor : {item->topLeft, item->topRight, item->bottomRight, item->bottomLeft})
        now.corners << anchor->pixelPosition() - position;
    if (measured.size() >= kMostKept)
        measured.clear();
    return measured.insert(item, now)->corners;
}

} // namespace

QRectF textPixelRect(const QCPItemText* text)
{
    const QPointF position = text->position->pixelPosition();
    return relativeCorners(text, position).boundingRect().translated(position);
}

MeasurementMath::PlotObstacles labelObstacles(QCustomPlot* plot, const QSet<const QCPAbstractItem*>& own)
{
    QVector<QRectF> labels;
    for (int i = 0; i < plot->itemCount(); ++i) {
        const auto* text = qobject_cast<const QCPItemText*>(plot->item(i));
        if (text && !own.contains(text) && text->realVisibility() && !text->text().trimmed().isEmpty())
            labels.append(textPixelRect(text));
    }
    QVector<QVector<QPointF>> curves;
    for (int i = 0; i < plot->plottableCount(); ++i) {
        auto* curve = qobject_cast<AdaptiveCurve*>(plot->plottable(i));
        if (curve && curve->realVisibility())
            curves.append(curve->viewPolyline());
    }
    return MeasurementMath::PlotObstacles(labels, curves);
}
