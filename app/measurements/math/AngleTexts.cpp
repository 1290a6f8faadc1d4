#include "AngleTexts.h"

#include <cmath>

namespace MeasurementMath {

QString angleInDegreesText(double degrees)
{
    return QString::number(degrees, 'f', 4) + QStringLiteral("°");
}

QString angleInDegreesMinutesSecondsText(double degrees)
{
    const int whole = int(std::floor(degrees));
    const int seconds = int(std::floor((degrees - whole) * 3600));
    const int minutes = int(std::floor(seconds / 60.0));
    return QStringLiteral("%1° %2' %3''").arg(whole).arg(minutes).arg(seconds % 60);
}

double nearestNominalAngle(double value, const QVector<double>& nominals)
{
    int result = int(value);
    if (nominals.isEmpty())
        return result;
    int best = int(nominals.first());
    for (double nominal : nominals) {
        const double distance = std::abs(nominal - value);
        if (distance < best) {
            result = int(nominal);
            best = int(distance);
        }
    }
    return result;
}

} // namespace MeasurementMath
