#include "LabelObstacles.h"

#include "plot/AdaptiveCurve.h"

#include <qcustomplot.h>

#include <algorithm>

QRectF textPixelRect(const QCPItemText* text)
{
    const QPointF corners[] = {text->topLeft->pixelPosition(), text->topRight->pixelPosition(),
                               text->bottomRight->pixelPosition(), text->bottomLeft->pixelPosition()};
    QRectF rect(corners[0], QSizeF(0, 0));
    for (const QPointF& corner : corners) {
        rect.setLeft(std::min(rect.left(), corner.x()));
        rect.setRight(std::max(rect.right(), corner.x()));
        rect.setTop(std::min(rect.top(), corner.y()));
        rect.setBottom(std::max(rect.bottom(), corner.y()));
    }
    return rect;
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
