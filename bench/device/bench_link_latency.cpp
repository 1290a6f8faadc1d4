// The instrument link against the simulated controller. Paced at the line
// rate (460800 baud, 46,080 bytes per second) for 10 s, every point has to
// arrive, the backlog may not grow, and a frame's point signal has to follow
// the frame's last byte within 5 ms at the 99th percentile. Unpaced, the link
// has to keep up with at least three times the line rate.
//
// The latency runs from the moment a frame is handed to the simulated
// controller to the device's point signal on its reader task; it includes the
// simulator's own forwarding, so it is an upper bound of the link's.

#include "ContourTrace.h"
#include "ControllerFrames.h"
#include "Device.h"
#include "DeviceDataProvider.h"
#include "ProfileTrace.h"
#include "SimulatedController.h"
#include "serial/PortInfo.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Family = SimulatedController::Family;

constexpr double kLineBytesPerSecond = SimulatedController::kLineBytesPerSecond;
constexpr double kPacedSeconds = 10;
constexpr double kRequiredFactor = 3;
constexpr double kLatencyLimitMs = 5;
constexpr double kBacklogSampleSeconds = 0.1;

struct Stream
{
    std::vector<std::string> frames;
    std::vector<double> heights;
    std::size_t bytes = 0;
};

Stream makeStream(Family family, int count)
{
    Stream stream;
    for (int i = 0; i < count; ++i) {
        const int height = 1000 + i % 50000;
        stream.frames.push_back(family == Family::Profile
                                    ? ControllerFrames::pointFrame(uint16_t(height))
                                    : ControllerFrames::contourPacket(ControllerFrames::packet(2, 0, i, height, 500)));
        stream.heights.push_back(height);
        stream.bytes += stream.frames.back().size();
    }
    return stream;
}

int framesFor(Family family, double seconds)
{
    const double frameBytes = family == Family::Profile ? 4 : 14;
    return int(seconds * kLineBytesPerSecond / frameBytes);
}

bool processEventsUntil(const std::function<bool()>& done, double seconds)
{
    const Clock::time_point end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                     std::chrono::duration<double>(seconds));
    while (!done()) {
        if (Clock::now() > end)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

double percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(fraction * double(values.size())))];
}

double milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// One recording of the stream through a fresh link; prints its figures and
// returns whether they meet the targets.
bool run(Family family, bool paced)
{
    const char* name = family == Family::Profile ? "profile point frames" : "contour packets";
    const Stream stream = makeStream(family, framesFor(family, kPacedSeconds));
    const std::size_t count = stream.frames.size();

    SimulatedController controller(family);
    if (family == Family::Profile) {
        SimulatedController::ProfileTrace endless;
        endless.endsByItself = false;
        controller.setProfileTrace(endless);
    }
    controller.start();
    serial::set_port_lister([&] { return std::vector<serial::PortInfo>{{controller.portName(), "", ""}}; });
    auto device = std::make_unique<Device>();
    const std::string lastInit = family == Family::Profile ? "PS0" : "SX0";
    if (!processEventsUntil([&] { return controller.commandCount(lastInit) > 0; }, 10)) {
        std::printf("%s: the link did not come up\n", name);
        return false;
    }

    std::vector<Clock::time_point> sentAt(count);
    std::vector<Clock::time_point> receivedAt(count);
    std::vector<double> receivedHeights(count);
    std::atomic<std::size_t> sent{0};
    std::atomic<std::size_t> received{0};
    QObject::connect(
        device.get(), &Device::dataRecieved, device.get(),
        [&](double probe, double, double, int) {
            const std::size_t i = received.load();
            if (i < count) {
                receivedAt[i] = Clock::now();
                receivedHeights[i] = probe;
            }
            received = i + 1;
        },
        Qt::DirectConnection);

    std::unique_ptr<AbstractTrace> trace;
    if (family == Family::Profile)
        trace = std::make_unique<ProfileTrace>();
    else
        trace = std::make_unique<ContourTrace>();
    trace->setType(device->type());
    auto provider = std::make_unique<DeviceDataProvider>(device.get());
    std::atomic<bool> started{false};
    QObject::connect(provider.get(), &DataProvider::dataReadStarted, [&] { started = true; });
    device->startTrace(true);
    provider->start(trace.get());
    processEventsUntil([&] { return started.load(); }, 5);
    processEventsUntil([] { return false; }, 0.2);

    const Clock::time_point start = Clock::now();
    std::thread feeder([&] {
        if (!paced) {
            std::string all;
            all.reserve(stream.bytes);
            for (const std::string& frame : stream.frames)
                all += frame;
            std::fill(sentAt.begin(), sentAt.end(), Clock::now());
            sent = count;
            controller.send(all);
            return;
        }
        std::size_t bytes = 0;
        for (std::size_t i = 0; i < count; ++i) {
            bytes += stream.frames[i].size();
            const auto due = start + std::chrono::duration_cast<Clock::duration>(
                                         std::chrono::duration<double>(double(bytes) / kLineBytesPerSecond));
            std::this_thread::sleep_until(due);
            sentAt[i] = Clock::now();
            controller.send(stream.frames[i]);
            sent = i + 1;
        }
    });

    std::vector<std::size_t> backlog;
    Clock::time_point nextSample = start;
    processEventsUntil(
        [&] {
            if (paced && Clock::now() >= nextSample) {
                backlog.push_back(sent - std::min(sent.load(), received.load()));
                nextSample += std::chrono::duration_cast<Clock::duration>(
                    std::chrono::duration<double>(kBacklogSampleSeconds));
            }
            return received >= count;
        },
        kPacedSeconds + 10);
    feeder.join();
    const Clock::time_point lastPoint = received >= count ? receivedAt[count - 1] : Clock::now();

    const bool intact = received == count && receivedHeights == stream.heights;
    bool ok = intact;
    if (paced) {
        std::vector<double> latencies;
        for (std::size_t i = 0; i < std::min(count, received.load()); ++i)
            latencies.push_back(milliseconds(receivedAt[i] - sentAt[i]));
        const std::size_t half = backlog.size() / 2;
        const std::size_t firstHalf = *std::max_element(backlog.begin(), backlog.begin() + long(half));
        const std::size_t secondHalf = *std::max_element(backlog.begin() + long(half), backlog.end());
        const double p99 = percentile(latencies, 0.99);
        const bool noGrowth = secondHalf <= firstHalf + 16;
        ok = ok && p99 <= kLatencyLimitMs && noGrowth;
        std::printf("%-22s paced %4.1f s: %zu/%zu points%s; latency p50 %.3f ms, p99 %.3f ms (limit %.0f), "
                    "max %.3f ms; backlog max %zu then %zu frames %s\n",
                    name, milliseconds(lastPoint - start) / 1000, received.load(), count,
                    intact ? "" : " (POINTS LOST OR DIFFERENT)", percentile(latencies, 0.5), p99, kLatencyLimitMs,
                    percentile(latencies, 1.0), firstHalf, secondHalf, ok ? "ok" : "FAILS");
    } else {
        const double seconds = milliseconds(lastPoint - start) / 1000;
        const double factor = double(stream.bytes) / seconds / kLineBytesPerSecond;
        ok = ok && factor >= kRequiredFactor;
        std::printf("%-22s unpaced: %zu/%zu points, %zu bytes in %.3f s = %.1f x line rate (need %.0f x)%s %s\n",
                    name, received.load(), count, stream.bytes, seconds, factor, kRequiredFactor,
                    intact ? "" : " (POINTS LOST OR DIFFERENT)", ok ? "ok" : "FAILS");
    }

    device->stopTrace();
    processEventsUntil([&] { return !provider->isRunning(); }, 10);
    provider.reset();
    device.reset();
    serial::set_port_lister(nullptr);
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir workDir;
    QDir::setCurrent(workDir.path());
    bool ok = true;
    for (Family family : {Family::Profile, Family::Contour}) {
        ok = run(family, true) && ok;
        ok = run(family, false) && ok;
    }
    return ok ? 0 : 1;
}
