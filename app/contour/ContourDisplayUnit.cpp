#include "ContourDisplayUnit.h"

std::optional<ContourDisplayUnit> ContourDisplayUnit::fromSetting(int axisUnit)
{
    switch (axisUnit) {
    case 0:
        return ContourDisplayUnit{QStringLiteral(" мм"), 0.001};
    case 1:
        return ContourDisplayUnit{QStringLiteral(" мкм"), 1.0};
    case 2:
        return ContourDisplayUnit{QStringLiteral(" нм"), 1000.0};
    default:
        return std::nullopt;
    }
}
