#pragma once

#include "ContourPacket.h"

#include <cstdint>
#include <string>
#include <vector>

// The bytes the instrument's controllers send, for tests and the simulated
// controller.
namespace ControllerFrames {

// Profile controller.
std::string zeroFrame(uint16_t reading);
std::string startFrame(uint16_t total);
std::string pointFrame(uint16_t height);
// A block transfer whose count announces announcedSamples samples (-1: as
// many as given); announcing more than given makes a short block.
std::string blockTransfer(const std::vector<uint16_t>& samples, uint32_t step, uint16_t total,
                          int announcedSamples = -1);
// The same with the raw 24-bit count field, which announces (count >> 3) - 512 samples.
std::string blockTransferWithCount(uint32_t count, const std::vector<uint16_t>& samples, uint32_t step, uint16_t total);

// Contour controller.
std::string contourPacket(const ContourPacket& packet);
ContourPacket packet(int alarm, int status, int32_t x, int32_t probeHeight, int32_t consoleHeight);
// The points of a recording (alarm 2): x from 100 in steps of 10, probe
// height from 1000 and console height from 500 in steps of 1.
std::vector<ContourPacket> recordingPoints(int count);

} // namespace ControllerFrames
