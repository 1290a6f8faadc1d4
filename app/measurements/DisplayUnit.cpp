#include "DisplayUnit.h"

#include "AppSettings.h"
#include "math/LengthUnit.h"

#include <QMutexLocker>

namespace DisplayUnit {

int current()
{
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    return settings.view.axis_unit;
}

double millimetresPerUnit()
{
    return 1 / unitsPerMillimetre();
}

double unitsPerMillimetre()
{
    return MeasurementMath::unitsPerMillimetre(current()).value_or(1.0);
}

} // namespace DisplayUnit
