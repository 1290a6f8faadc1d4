#pragma once

#include "AbstractTrace.h"
#include "DataProvider.h"
#include "serial/PortInfo.h"

#include <QMutex>
#include <QMutexLocker>
#include <QStringList>
#include <QtTest>

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
class RecordedTrace : public AbstractTrace
{
public:
    explicit RecordedTrace(int type) : AbstractTrace(3) { setType(type); }

    int rowCount() const { return lockedRawData().data->at(0).size(); }
    QVector<double> rawColumn(int i) const { return lockedRawData().data->at(i); }
    QVector<double> processedRow(int row) const
    {
        const LockedTraceData locked = lockedData();
        return {locked.data->at(0).at(row), locked.data->at(1).at(row), locked.data->at(2).at(row)};
    }

protected:
    void processDisplay(ProfileData&) const override {}
};

// The provider's signals in the order they came, from whatever thread.
class ProviderEvents
{
public:
    explicit ProviderEvents(DataProvider& provider)
    {
        QObject::connect(&provider, &DataProvider::dataReadStarted, [this] { add("started"); });
        QObject::connect(&provider, &DataProvider::dataBatchReady,
                         [this](int from, int count) { add(QStringLiteral("batch %1 %2").arg(from).arg(count)); });
        QObject::connect(&provider, &DataProvider::dataReset, [this] { add("reset"); });
        QObject::connect(&provider, &DataProvider::dataReadError, [this](const QString& s) { add("error " + s); });
        QObject::connect(&provider, &DataProvider::dataReadFinished, [this] { add("finished"); });
    }

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
};
