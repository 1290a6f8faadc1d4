#include "ContourConversionPointProcessor.h"

#include <QMutexLocker>
#include <QtMath>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "AppSettings.h"

namespace {

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

struct Rotation
{
    double sine;
    double cosine;
};

std::uint64_t bitsOf(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// sin and cos of the rack angle, computed again only when the angle changes.
// The angle is compared bit for bit: 0 and -0 have sines of different signs.
// One cache per thread, as points are converted on several threads at once.
Rotation rackRotation(double degrees)
{
    struct Cache
    {
        bool filled = false;
        std::uint64_t degreeBits = 0;
        Rotation rotation{0, 1};
    };
    thread_local Cache cache;
    const std::uint64_t bits = bitsOf(degrees);
    if (!cache.filled || cache.degreeBits != bits) {
        const double angle = qDegreesToRadians(degrees);
        cache = {true, bits, {std::sin(angle), std::cos(angle)}};
    }
    return cache.rotation;
}

// The conversion of one reading, the same for single points and blocks.
inline void convert(const Calibration& c, const Rotation& rotation, double& x, double& height, double console)
{
    height = c.yRatio * height;
    x = c.xRatio * x;
    x = x - console * c.displacement;
    height = height + console / 1000;
    x = x - rotation.sine * height;
    height = rotation.cosine * height;
}

} // namespace

void ContourConversionPointProcessor::process(QVector<double>& point)
{
    if (point.size() < 3)
        return;
    const Calibration c = currentCalibration();
    convert(c, rackRotation(c.rackAngle), point[0], point[1], point[2]);
}

void ContourConversionPointProcessor::processRows(ProfileData& columns, int first, int count)
{
    if (columns.size() < 3 || count <= 0)
        return;
    const Calibration c = currentCalibration();
    const Rotation rotation = rackRotation(c.rackAngle);
    double* x = columns[0].data();
    double* height = columns[1].data();
    const double* console = columns[2].constData();
    for (int row = first; row < first + count; ++row)
        convert(c, rotation, x[row], height[row], console[row]);
}
