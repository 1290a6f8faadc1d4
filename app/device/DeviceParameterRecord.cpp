#include "DeviceParameterRecord.h"

#include <cmath>
#include <limits>

int32_t DeviceParameterRecord::toFixedPoint(double value, double scale)
{
    const double scaled = std::round(value * scale);
    if (std::isnan(scaled))
        return 0;
    if (scaled >= double(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (scaled <= double(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(scaled);
}

DeviceParameterRecord DeviceParameterRecord::fromCalibration(double xCompressionRatio, double yCompressionRatio,
                                                             double displacementCoefficient, double rackAngle)
{
    DeviceParameterRecord record;
    record.values[0] = toFixedPoint(xCompressionRatio, kCompressionScale);
    record.values[1] = toFixedPoint(yCompressionRatio, kCompressionScale);
    record.values[2] = toFixedPoint(displacementCoefficient, kCompressionScale);
    record.values[3] = toFixedPoint(rackAngle, kRackAngleScale);
    return record;
}

std::optional<DeviceParameterRecord> DeviceParameterRecord::fromBytes(std::string_view bytes)
{
    if (bytes.size() != std::size_t(kByteSize))
        return std::nullopt;
    DeviceParameterRecord record;
    for (int i = 0; i < kValueCount; ++i) {
        uint32_t value = 0;
        for (int b = 3; b >= 0; --b)
            value = (value << 8) | static_cast<unsigned char>(bytes[std::size_t(i * 4 + b)]);
        record.values[std::size_t(i)] = static_cast<int32_t>(value);
    }
    return record;
}

std::string DeviceParameterRecord::toBytes() const
{
    std::string bytes;
    bytes.reserve(kByteSize);
    for (int32_t value : values) {
        const auto bits = static_cast<uint32_t>(value);
        for (int b = 0; b < 4; ++b)
            bytes.push_back(static_cast<char>((bits >> (8 * b)) & 0xFF));
    }
    return bytes;
}
