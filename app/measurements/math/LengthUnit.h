#pragma once

#include <QString>

#include <optional>

namespace MeasurementMath {

// The display units of lengths as the setting "view/axis_unit" numbers them.
enum LengthUnit { Millimetres = 0, Micrometres = 1, Nanometres = 2 };

// What a millimetre is in the unit: 1, 1000 or 1000000; nothing for a number
// that names no unit.
std::optional<double> unitsPerMillimetre(int unit);

// A length in one unit expressed in another; unchanged when either number
// names no unit.
double convertLength(double value, int fromUnit, int toUnit);

// "мм", "мкм" or "нм"; empty for a number that names no unit.
QString lengthUnitText(int unit);

// The unit a text names, -1 for any other text.
int lengthUnitOfText(const QString& text);

} // namespace MeasurementMath
