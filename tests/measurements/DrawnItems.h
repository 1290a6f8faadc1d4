#pragma once

#include "plot/PlotWidget.h"

#include <QList>

// The items of a type that measurements drew on the plot, in creation order,
// without the plot's selection marker (the one item on "overlay2").
template <typename Item>
QList<Item*> drawnItems(const PlotWidget& plot)
{
    QList<Item*> items;
    for (int i = 0; i < plot.itemCount(); ++i) {
        auto* item = qobject_cast<Item*>(plot.item(i));
        if (item && item->layer()->name() != QLatin1String("overlay2"))
            items.append(item);
    }
    return items;
}
