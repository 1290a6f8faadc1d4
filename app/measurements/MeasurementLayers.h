#pragma once

class PlotWidget;
class QCPLayer;

// The plot layers measurements draw on. Finished measurements and their
// reference points live on "overlay". The measurement being placed, and the
// highlight of the reference points near the cursor, live on a buffered layer
// of their own just above it, so that following the cursor redraws only a few
// items, not the traces nor the thousands of markers of a drawing.
namespace MeasurementLayers {

// "overlay".
QCPLayer* settled(PlotWidget* plot);

// The layer "editing" above "overlay", created on first use.
QCPLayer* editing(PlotWidget* plot);

} // namespace MeasurementLayers
