#pragma once

#include <fstream>
#include <mutex>
#include <string>

#include <QString>

enum LogLevel { DEBUG = 0, INFO = 1, WARNING = 2, ERROR = 3, CRITICAL = 4 };

// One timestamped log file per run under "<directory>/logs". Lines are whole
// and flushed at once; several threads may log at the same time.
class Logger
{
public:
    // The program's logger, writing under the working directory. The first
    // call creates the run's file, so the program makes it first thing.
    static Logger& instance();

    // Prepares "<directory>/logs", prunes it to the newest entries and opens
    // the run's file named after the current local time.
    explicit Logger(const QString& directory = QStringLiteral("."));
    ~Logger();

    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;

    void log(int level, const std::string& text);
    void log(int level, const char* text) { log(level, std::string(text)); }
    void log(int level, const QString& text) { log(level, text.toStdString()); }

    bool isOpen() const { return m_stream.is_open(); }
    const QString& fileName() const { return m_fileName; }

    static std::string levelName(int level);

    static constexpr int kMaxLogEntries = 152;

private:
    static void pruneLogs(const QString& logsDirectory);

    QString m_fileName;
    std::ofstream m_stream;
    std::mutex m_mutex;
};
