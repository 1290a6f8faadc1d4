#pragma once

#include "math/PlotObstacles.h"

#include <QRectF>
#include <QSet>

class QCPAbstractItem;
class QCPItemText;
class QCustomPlot;

// The pixel rectangle a text item covers where the plot's last layout put
// it; the bounding box of a rotated text.
QRectF textPixelRect(const QCPItemText* text);

// What a label placed on the plot keeps clear of, as the plot's last layout
// shows it: every visible text item but the given ones, and every visible
// thinned curve (the traces and the deviation curves).
MeasurementMath::PlotObstacles labelObstacles(QCustomPlot* plot, const QSet<const QCPAbstractItem*>& own);
