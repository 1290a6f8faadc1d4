#pragma once

#include "measurements/CurvatureMeasurement.h"
#include "measurements/DeviationGraph.h"
#include "measurements/ErrorMeasurement.h"
#include "measurements/LabelObstacles.h"
#include "measurements/math/PlotObstacles.h"

#include "plot/PlotWidget.h"

#include <QLineF>
#include <QSize>
#include <QString>
#include <QVector>

#include <functional>

// Checks of labels as the plot's last layout placed them, in its pixels.

// The pixel polyline of a curve's points.
inline QVector<QPointF> pixelsOf(const QCPCurve* curve)
{
    QVector<QPointF> pixels;
    for (auto it = curve->data()->constBegin(); it != curve->data()->constEnd(); ++it)
        pixels.append(QPointF(curve->keyAxis()->coordToPixel(it->key), curve->valueAxis()->coordToPixel(it->value)));
    return pixels;
}

// What is wrong with a deviation scale's labels: none shown, two overlapping,
// one on a trace or on the deviation curve or on one of the other labels.
// Empty when all is well.
inline QString scaleProblems(const ErrorMeasurement& m, const QVector<const QCPCurve*>& traces,
                             const QVector<const QCPItemText*>& others)
{
    QVector<QRectF> labels;
    for (const QCPItemText* label : m.deviationGraph().tickLabels())
        labels.append(textPixelRect(label));
    if (labels.isEmpty())
        return QStringLiteral("no label");
    QVector<QVector<QPointF>> curves{pixelsOf(m.deviationGraph().curve())};
    for (const QCPCurve* trace : traces)
        curves.append(pixelsOf(trace));
    for (int i = 0; i < labels.size(); ++i) {
        for (int j = i + 1; j < labels.size(); ++j) {
            if (labels.at(i).intersects(labels.at(j)))
                return QStringLiteral("labels %1 and %2 overlap").arg(i).arg(j);
        }
        for (const QVector<QPointF>& curve : curves) {
            for (int k = 1; k < curve.size(); ++k) {
                if (MeasurementMath::segmentMeetsRect(QLineF(curve.at(k - 1), curve.at(k)), labels.at(i)))
                    return QStringLiteral("label %1 on a curve").arg(i);
            }
        }
        for (const QCPItemText* other : others) {
            if (textPixelRect(other).intersects(labels.at(i)))
                return QStringLiteral("label %1 on \"%2\"").arg(i).arg(other->text());
        }
    }
    return QString();
}

// Whether a radius's value label lets its arrow through.
inline bool arrowCrossesLabel(const CurvatureMeasurement& m)
{
    const QLineF arrow(m.radiusLine()->start->pixelPosition(), m.radiusLine()->end->pixelPosition());
    return MeasurementMath::segmentMeetsRect(arrow, textPixelRect(m.valueLabel()));
}

// Both axes zoomed out three times, and the plot laid out again.
inline void zoomOut(QCustomPlot& plot)
{
    for (QCPAxis* axis : {plot.xAxis, plot.yAxis})
        axis->scaleRange(3);
    plot.replot();
}

// Both axes zoomed back in, and the plot rendered into an image of the size,
// `check` run at each layout of the rendering (after the labels' own layout,
// connected before it) and no more afterwards. Returns the size the plot was
// last laid out for.
inline QSize zoomBackAndRender(QCustomPlot& plot, const QSize& size, const std::function<void()>& check)
{
    QSize laidOutFor;
    const QMetaObject::Connection connection = QObject::connect(&plot, &QCustomPlot::afterLayout, &plot, [&] {
        check();
        laidOutFor = plot.viewport().size();
    });
    for (QCPAxis* axis : {plot.xAxis, plot.yAxis})
        axis->scaleRange(1.0 / 3);
    plot.toPixmap(size.width(), size.height());
    QObject::disconnect(connection);
    return laidOutFor;
}
