#include "MeasurementLayers.h"

#include "plot/PlotWidget.h"

namespace MeasurementLayers {

namespace {

const QString kSettled = QStringLiteral("overlay");
const QString kEditing = QStringLiteral("editing");

} // namespace

QCPLayer* settled(PlotWidget* plot)
{
    return plot ? plot->layer(kSettled) : nullptr;
}

QCPLayer* editing(PlotWidget* plot)
{
    if (!plot)
        return nullptr;
    if (QCPLayer* layer = plot->layer(kEditing))
        return layer;
    QCPLayer* below = settled(plot);
    if (!below || !plot->addLayer(kEditing, below, QCustomPlot::limAbove))
        return below;
    QCPLayer* layer = plot->layer(kEditing);
    layer->setMode(QCPLayer::lmBuffered);
    return layer;
}

} // namespace MeasurementLayers
