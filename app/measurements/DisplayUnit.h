#pragma once

// The display unit of lengths, the setting "view/axis_unit": 0 millimetres,
// 1 micrometres, 2 nanometres. Plots show lengths in it; measurements keep
// millimetres. Any other value counts as millimetres.
namespace DisplayUnit {

int current();

// What a plot coordinate is worth in millimetres: 1, 0.001 or 0.000001.
double millimetresPerUnit();

// What a millimetre is in the display unit: 1, 1000 or 1000000.
double unitsPerMillimetre();

} // namespace DisplayUnit
