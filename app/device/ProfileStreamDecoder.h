#pragma once

#include "DeviceAction.h"

#include <cstdint>
#include <string>
#include <string_view>

// Cuts the profile controller's byte stream into frames and turns them into
// actions. Frames stand in a window of the last four bytes (oldest first):
//   "Z" hi lo x      idle probe reading
//   "S" "T" lo hi    start of a trace and its number of points
//   "B" hi lo "B"    one trace point
//   00 00 00 01      a block transfer follows: count (3, big-endian),
//                    reserved (3), step (3, little-endian), total (2,
//                    little-endian), reserved (2), then ((count >> 3) - 512)
//                    samples of 2 bytes, big-endian.
// A recognised frame is consumed: the window starts over from its filler, so
// the data bytes of one frame never combine with the next into a frame.
class ProfileStreamDecoder
{
public:
    // The state after the link's initialisation: filler window, point 0 of 1.
    void reset();

    // How many bytes the next read should ask for: one between frames, the
    // rest of the current field inside a block transfer.
    std::size_t bytesWanted() const;

    // Takes the bytes of one read that asked for bytesWanted() bytes; more
    // are taken as a continuing stream. A read that brought fewer means the
    // line went quiet: between frames the silence shifts a zero byte into
    // the window; inside a block it ends the block after the whole samples
    // received, as the block's normal end does. Zero frames are ignored while
    // tracing.
    void decode(std::string_view bytes, bool tracing, DeviceActions& out);

    // The last idle reading.
    int consoleHeight() const { return m_consoleHeight; }
    int pointIndex() const { return m_pointIndex; }
    int pointTotal() const { return m_pointTotal; }
    bool isInBlock() const { return m_phase != Phase::Frames; }

private:
    enum class Phase { Frames, Count, ReservedAfterCount, Step, Total, ReservedAfterTotal, Sample };

    void takeFrameByte(unsigned char byte, bool tracing, DeviceActions& out);
    void takeBlockByte(unsigned char byte, DeviceActions& out);
    void onFieldComplete(DeviceActions& out);
    void onZeroFrame(bool tracing, DeviceActions& out);
    void onStartFrame();
    void onPointFrame(DeviceActions& out);
    void startBlock(DeviceActions& out);
    void startSamples(DeviceActions& out);
    void onSample(DeviceActions& out);
    void endBlock(DeviceActions& out);
    void expectField(Phase phase, int size);
    unsigned char windowByte(int position) const;
    // A total of 0 counts as 1, as after initialisation, so that no position
    // is a division by zero.
    double effectiveTotal() const;

    static constexpr uint32_t kFillerWindow = 0x31313131; // "1111"

    uint32_t m_window = kFillerWindow;
    Phase m_phase = Phase::Frames;
    unsigned char m_field[3] = {};
    int m_fieldSize = 0;
    int m_fieldFilled = 0;
    uint32_t m_count = 0;
    uint32_t m_step = 0;
    int64_t m_samplesLeft = 0;
    int m_pointIndex = 0;
    int m_pointTotal = 1;
    int m_consoleHeight = 0;
};
