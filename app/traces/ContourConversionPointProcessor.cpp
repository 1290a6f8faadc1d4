#include "ContourConversionPointProcessor.h"

#include <QMutexLocker>

#include <cmath>

#include "AppSettings.h"

namespace {

constexpr double kDegreesToRadians = 0.017453292519943295;

struct Calibration
{
    double rackAngle;
    double xRatio;
    double yRatio;
    double displacement;
};

// The four values taken together under the settings lock, so that one point
// never mixes an old and a new calibration.
Calibration currentCalibration()
{
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    const CalibrationSettings& c = settings.calibration;
    return {c.rack_prpendicular, c.x_axis_compression_ratio, c.y_axis_compression_ratio, c.displacement_coefficient};
}

} // namespace

void ContourConversionPointProcessor::process(QVector<double>& point)
{
    if (point.size() < 3)
        return;
    const Calibration c = currentCalibration();
    double& x = point[0];
    double& height = point[1];
    const double console = point[2];

    height = c.yRatio * height;
    x = c.xRatio * x;
    x = x - console * c.displacement;
    height = height + console / 1000;
    const double angle = c.rackAngle * kDegreesToRadians;
    x = x - std::sin(angle) * height;
    height = std::cos(angle) * height;
}
