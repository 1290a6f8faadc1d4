#pragma once

#include "DataProvider.h"
#include "Device.h"
#include "PlainTrace.h"
#include "SimulatedController.h"
#include "serial/PortInfo.h"

#include <QMutex>
#include <QMutexLocker>
#include <QStringList>
#include <QtTest>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

// Offers the given port names to the instrument search while it lives;
// afterwards the search sees the system's list again.
class ScopedPortList
{
public:
    explicit ScopedPortList(std::vector<std::string> names = {}) { set(std::move(names)); }
    ~ScopedPortList() { serial::set_port_lister(nullptr); }

    ScopedPortList(const ScopedPortList&) = delete;
    ScopedPortList& operator=(const ScopedPortList&) = delete;

    void set(std::vector<std::string> names)
    {
        serial::set_port_lister([names] {
            std::vector<serial::PortInfo> ports;
            for (const std::string& name : names)
                ports.push_back(serial::PortInfo{name, std::string(), std::string()});
            return ports;
        });
    }
};

// A trace of the three columns a recording fills, with no processing of its own.
class RecordedTrace : public PlainTrace
{
public:
    explicit RecordedTrace(int type) : PlainTrace(3) { setType(type); }

    int rowCount() const { return lockedRawData().data->at(0).size(); }
    QVector<double> rawColumn(int i) const { return lockedRawData().data->at(i); }
    QVector<double> processedRow(int row) const
    {
        const LockedTraceData locked = lockedData();
        return {locked.data->at(0).at(row), locked.data->at(1).at(row), locked.data->at(2).at(row)};
    }
};

// The provider's signals in the order they came, from whatever thread, while
// the recorder lives.
class ProviderEvents
{
public:
    explicit ProviderEvents(DataProvider& provider)
        : m_connections{
            QObject::connect(&provider, &DataProvider::dataReadStarted, [this] { add("started"); }),
            QObject::connect(&provider, &DataProvider::dataBatchReady,
                             [this](int from, int count) { add(QStringLiteral("batch %1 %2").arg(from).arg(count)); }),
            QObject::connect(&provider, &DataProvider::dataReset, [this] { add("reset"); }),
            QObject::connect(&provider, &DataProvider::dataReadError, [this](const QString& s) { add("error " + s); }),
            QObject::connect(&provider, &DataProvider::dataReadFinished, [this] { add("finished"); })}
    {
    }
    ~ProviderEvents()
    {
        for (const QMetaObject::Connection& connection : m_connections)
            QObject::disconnect(connection);
    }

    ProviderEvents(const ProviderEvents&) = delete;
    ProviderEvents& operator=(const ProviderEvents&) = delete;

    QStringList events() const
    {
        QMutexLocker lock(&m_mutex);
        return m_events;
    }
    bool has(const QString& event) const { return events().contains(event); }
    bool waitFor(const QString& event, int timeoutMs = 5000) const
    {
        return QTest::qWaitFor([&] { return has(event); }, timeoutMs);
    }

private:
    void add(const QString& event)
    {
        QMutexLocker lock(&m_mutex);
        m_events << event;
    }

    mutable QMutex m_mutex;
    QStringList m_events;
    std::vector<QMetaObject::Connection> m_connections;
};

// The controller holds its answer to a start back for this long, so that
// the provider has its trace ready before the first point.
constexpr int kStartDelayMs = 300;

// Waits, with the event loop running, until the controller has received the
// command `occurrence` times in all.
inline bool waitForCommand(const SimulatedController& controller, const std::string& command, int occurrence = 1,
                           int timeoutMs = 5000)
{
    return QTest::qWaitFor([&] { return controller.commandCount(command) >= occurrence; }, timeoutMs);
}

// The controller's commands without the keep-alive, which comes on its own clock.
inline std::vector<std::string> commandsBesidesKeepAlive(const SimulatedController& controller)
{
    std::vector<std::string> commands = controller.commands();
    commands.erase(std::remove(commands.begin(), commands.end(), "C9"), commands.end());
    return commands;
}

// How often a signal was emitted while the counter lived, from whatever thread.
class SignalCount
{
public:
    template <typename Signal>
    SignalCount(const Device& device, Signal signal)
        : m_connection(QObject::connect(&device, signal, [this] { ++m_count; }))
    {
    }
    ~SignalCount() { QObject::disconnect(m_connection); }

    SignalCount(const SignalCount&) = delete;
    SignalCount& operator=(const SignalCount&) = delete;

    int count() const { return m_count; }

private:
    std::atomic<int> m_count{0};
    QMetaObject::Connection m_connection;
};

// A simulated controller on a pseudo-terminal that the device's search
// finds, and the device.
struct Link
{
    explicit Link(SimulatedController::Family family) : controller(family)
    {
        controller.start();
        ports.set({controller.portName()});
    }

    // The command the initialisation ends with: the speed, 0 by default.
    std::string lastInitCommand() const
    {
        return controller.family() == SimulatedController::Family::Profile ? "PS0" : "SX0";
    }

    bool connect()
    {
        device = std::make_unique<Device>();
        return waitForCommand(controller, lastInitCommand());
    }

    SimulatedController controller;
    ScopedPortList ports;
    std::unique_ptr<Device> device;
};
