#pragma once

#include <QMutex>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace serial {
class Serial;
}

// The instrument's serial port. A search on a timer (the first one a second
// after construction, a retry ten seconds after a search that found nothing)
// probes the ports the system lists, skipping one, and opens the first that
// opens with the instrument's line settings, with a read time-out. The port
// stays until the next search; after a failure it can be closed and opened
// again.
//
// Lives on the GUI thread; the reader task uses serial() between found() and
// the next searchStarting().
class DevicePort : public QObject
{
    Q_OBJECT

public:
    static constexpr int kFirstSearchDelayMs = 1000;
    static constexpr int kSearchRetryDelayMs = 10000;
    static constexpr uint32_t kReadTimeoutMs = 500;
    // A port the search never probes.
    static constexpr const char* kSkippedPort = "/dev/ttyS4";

    DevicePort();
    ~DevicePort() override;

    // Starts the search timer again, with the delay it last ran with.
    void searchAgain();
    void stopSearching();

    // The port of the last search that found one; null before and after a
    // search that found none.
    serial::Serial* serial() const { return m_serial.get(); }
    bool isOpen() const;
    // The name of the last port found; it stays after a later search fails.
    QString name() const;

    // Failures of these two are only logged: the link finds out at its next
    // read or write.
    void close();
    void reopen();
    void release();

signals:
    // The search begins: whoever uses the port lets it go now, for it is
    // released right after.
    void searchStarting();
    void found();
    // The next search is due after the retry delay.
    void notFound();

private:
    void search();
    std::optional<std::string> probe() const;
    bool open(const std::string& name);

    QTimer m_searchTimer;
    std::unique_ptr<serial::Serial> m_serial;
    mutable QMutex m_nameMutex;
    std::string m_name;
};
