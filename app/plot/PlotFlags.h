#pragma once

#include <qcustomplot.h>

// The program's own interaction flags and selection-rectangle mode, declared
// beside the library's. 0x100 is taken by iSelectPlottablesBeyondAxisRect.
// The flags lie outside the range of QCP::Interaction, so they are flag sets,
// not enumerators; test them with `interactions() & QCP::iRangeSelection`.
namespace QCP {

// A rectangle selection leaves the selections of other layerables alone.
inline constexpr Interactions iKeepSelections{QFlag(0x400)};

// Selection marker, snap to the nearest curve point and range selection on curves.
inline constexpr Interactions iRangeSelection{QFlag(0x200)};

// The selection rectangle selects a curve range on every mouse move of a drag.
// It takes the value of the library's srmCustom, which the program does not use.
inline constexpr SelectionRectMode srmSelectRealtime = srmCustom;

} // namespace QCP
