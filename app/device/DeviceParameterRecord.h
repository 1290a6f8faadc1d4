#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The instrument's parameter record: 30 signed 32-bit values, each four bytes
// with the least significant byte first. Values 0 to 3 hold the calibration
// in fixed point; the rest are reserved (0 when sent, ignored when received).
struct DeviceParameterRecord
{
    static constexpr int kValueCount = 30;
    static constexpr int kByteSize = kValueCount * 4;
    static constexpr double kCompressionScale = 1000000;
    static constexpr double kRackAngleScale = 100;
    // A record whose x compression is below 0.95 does not come from a
    // calibrated instrument and is not taken over.
    static constexpr int32_t kMinimumXCompression = 950000;

    std::array<int32_t, kValueCount> values{};

    static DeviceParameterRecord fromCalibration(double xCompressionRatio, double yCompressionRatio,
                                                 double displacementCoefficient, double rackAngle);
    // The record from its 120 bytes; nothing when the length differs.
    static std::optional<DeviceParameterRecord> fromBytes(std::string_view bytes);
    std::string toBytes() const;

    double xCompressionRatio() const { return values[0] / kCompressionScale; }
    double yCompressionRatio() const { return values[1] / kCompressionScale; }
    double displacementCoefficient() const { return values[2] / kCompressionScale; }
    double rackAngle() const { return values[3] / kRackAngleScale; }
    bool isAccepted() const { return values[0] >= kMinimumXCompression; }

    // value × scale rounded to the nearest integer, saturated to the 32-bit
    // range; not a number gives 0. The instrument gets what the operator typed:
    // 1.15 × 100 is 114.999… in binary and must still send 115.
    static int32_t toFixedPoint(double value, double scale);
};
