#include "ProfileStreamDecoder.h"

#include "DeviceCommands.h"

namespace {

constexpr int kBarFullScale = 65535;
constexpr int kSamplesOffset = 512;
constexpr int kPointBatch = 1;
constexpr int kSampleBatch = 100;

} // namespace

void ProfileStreamDecoder::reset()
{
    m_window = kFillerWindow;
    m_phase = Phase::Frames;
    m_fieldSize = 0;
    m_fieldFilled = 0;
    m_pointIndex = 0;
    m_pointTotal = 1;
}

std::size_t ProfileStreamDecoder::bytesWanted() const
{
    return m_phase == Phase::Frames ? 1 : std::size_t(m_fieldSize - m_fieldFilled);
}

void ProfileStreamDecoder::decode(std::string_view bytes, bool tracing, DeviceActions& out)
{
    const std::size_t wanted = bytesWanted();
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (m_phase == Phase::Frames)
            takeFrameByte(byte, tracing, out);
        else
            takeBlockByte(byte, out);
    }
    if (bytes.size() >= wanted)
        return;
    if (m_phase == Phase::Frames)
        takeFrameByte(0, tracing, out);
    else
        endBlock(out);
}

unsigned char ProfileStreamDecoder::windowByte(int position) const
{
    return static_cast<unsigned char>(m_window >> (8 * (3 - position)));
}

void ProfileStreamDecoder::takeFrameByte(unsigned char byte, bool tracing, DeviceActions& out)
{
    m_window = (m_window << 8) | byte;
    switch (windowByte(0)) {
    case 'Z':
        onZeroFrame(tracing, out);
        break;
    case 'S':
        if (windowByte(1) != 'T')
            return;
        onStartFrame();
        break;
    case 'B':
        if (windowByte(3) != 'B')
            return;
        onPointFrame(out);
        break;
    default:
        if (m_window != 0x00000001)
            return;
        startBlock(out);
        break;
    }
    m_window = kFillerWindow;
}

void ProfileStreamDecoder::onZeroFrame(bool tracing, DeviceActions& out)
{
    if (tracing)
        return;
    out.push_back(DeviceAction::command(DeviceCommands::kZeroFrameAnswer));
    const int value = windowByte(1) * 256 + windowByte(2);
    out.push_back(DeviceAction::barValue(kBarFullScale - value));
    m_consoleHeight = value;
}

void ProfileStreamDecoder::onStartFrame()
{
    m_pointIndex = 0;
    m_pointTotal = windowByte(2) + 256 * windowByte(3);
}

void ProfileStreamDecoder::onPointFrame(DeviceActions& out)
{
    const int value = windowByte(1) * 256 + windowByte(2);
    out.push_back(DeviceAction::barValue(kBarFullScale - value));
    const double x = double(m_pointIndex) * 500 / 12.5 / effectiveTotal() * 1000;
    out.push_back(DeviceAction::point(value, 0, x, kPointBatch));
    ++m_pointIndex;
}

double ProfileStreamDecoder::effectiveTotal() const
{
    return m_pointTotal == 0 ? 1.0 : double(m_pointTotal);
}

void ProfileStreamDecoder::expectField(Phase phase, int size)
{
    m_phase = phase;
    m_fieldSize = size;
    m_fieldFilled = 0;
}

void ProfileStreamDecoder::startBlock(DeviceActions& out)
{
    out.push_back(DeviceAction::signal(DeviceAction::DataReset));
    expectField(Phase::Count, 3);
}

void ProfileStreamDecoder::takeBlockByte(unsigned char byte, DeviceActions& out)
{
    m_field[m_fieldFilled++] = byte;
    if (m_fieldFilled == m_fieldSize)
        onFieldComplete(out);
}

void ProfileStreamDecoder::onFieldComplete(DeviceActions& out)
{
    switch (m_phase) {
    case Phase::Count:
        m_count = uint32_t(m_field[0]) << 16 | uint32_t(m_field[1]) << 8 | m_field[2];
        expectField(Phase::ReservedAfterCount, 3);
        break;
    case Phase::ReservedAfterCount:
        expectField(Phase::Step, 3);
        break;
    case Phase::Step:
        m_step = m_field[0] | uint32_t(m_field[1]) << 8 | uint32_t(m_field[2]) << 16;
        out.push_back(DeviceAction::logInfo("ADCZStep = " + std::to_string(m_step)));
        out.push_back(DeviceAction::logInfo("newBytes = " + std::string(reinterpret_cast<const char*>(m_field), 3)));
        expectField(Phase::Total, 2);
        break;
    case Phase::Total:
        m_pointTotal = m_field[0] | m_field[1] << 8;
        expectField(Phase::ReservedAfterTotal, 2);
        break;
    case Phase::ReservedAfterTotal:
        startSamples(out);
        break;
    case Phase::Sample:
        onSample(out);
        break;
    case Phase::Frames:
        break;
    }
}

void ProfileStreamDecoder::startSamples(DeviceActions& out)
{
    m_pointIndex = 0;
    m_samplesLeft = int64_t(m_count >> 3) - kSamplesOffset;
    if (m_samplesLeft <= 0)
        endBlock(out);
    else
        expectField(Phase::Sample, 2);
}

void ProfileStreamDecoder::onSample(DeviceActions& out)
{
    const int sample = m_field[0] << 8 | m_field[1];
    const double height = double(sample) * m_step * 0.00000001;
    const double x = double(m_pointIndex) / effectiveTotal() * 1000;
    out.push_back(DeviceAction::point(height, 0, x, kSampleBatch));
    ++m_pointIndex;
    if (--m_samplesLeft == 0)
        endBlock(out);
    else
        m_fieldFilled = 0;
}

void ProfileStreamDecoder::endBlock(DeviceActions& out)
{
    m_phase = Phase::Frames;
    m_window = kFillerWindow;
    out.push_back(DeviceAction::signal(DeviceAction::ClearTracing));
    out.push_back(DeviceAction::signal(DeviceAction::PushButtonStopTrace));
}
