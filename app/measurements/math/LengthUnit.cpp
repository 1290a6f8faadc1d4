#include "LengthUnit.h"

namespace MeasurementMath {

std::optional<double> unitsPerMillimetre(int unit)
{
    switch (unit) {
    case Millimetres:
        return 1.0;
    case Micrometres:
        return 1000.0;
    case Nanometres:
        return 1000000.0;
    default:
        return std::nullopt;
    }
}

double convertLength(double value, int fromUnit, int toUnit)
{
    const std::optional<double> from = unitsPerMillimetre(fromUnit);
    const std::optional<double> to = unitsPerMillimetre(toUnit);
    if (!from || !to || fromUnit == toUnit)
        return value;
    return value * (*to / *from);
}

QString lengthUnitText(int unit)
{
    switch (unit) {
    case Millimetres:
        return QStringLiteral("мм");
    case Micrometres:
        return QStringLiteral("мкм");
    case Nanometres:
        return QStringLiteral("нм");
    default:
        return QString();
    }
}

int lengthUnitOfText(const QString& text)
{
    for (int unit : {Millimetres, Micrometres, Nanometres}) {
        if (text == lengthUnitText(unit))
            return unit;
    }
    return -1;
}

} // namespace MeasurementMath
