#include "Logger.h"

#include <algorithm>
#include <iostream>

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStringList>

namespace {

std::string currentTimeText()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString();
}

} // namespace

Logger& Logger::instance()
{
    static Logger logger;
    return logger;
}

Logger::Logger(const QString& directory)
{
    const QString logsDirectory = directory + QStringLiteral("/logs");
    QDir().mkpath(logsDirectory);
    m_fileName = logsDirectory + QDateTime::currentDateTime().toString(QStringLiteral("/yyyy_MM_dd_HH_mm_ss'.txt'"));
    pruneLogs(logsDirectory);

    // Appending: a second run started within the same second gets the same
    // name and must not wipe the first run's lines.
    m_stream.open(QFile::encodeName(m_fileName).toStdString(), std::ios::out | std::ios::app | std::ios::binary);
    if (!m_stream.is_open())
        std::cerr << "Error opening log file." << std::endl;
}

Logger::~Logger() = default;

// Every entry below the folder counts, "." and ".." included. The entries are
// sorted by path so that the oldest logs (their names are their start times)
// go first whatever order the file system lists them in.
void Logger::pruneLogs(const QString& logsDirectory)
{
    QStringList entries;
    QDirIterator it(logsDirectory, QDir::AllEntries | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << it.next();
    if (entries.size() <= kMaxLogEntries)
        return;
    std::sort(entries.begin(), entries.end());
    const int excess = entries.size() - kMaxLogEntries;
    for (int i = 0; i < excess; ++i)
        QFile::remove(entries.at(i));
}

void Logger::log(int level, const std::string& text)
{
    const std::string line = "[" + currentTimeText() + "] " + levelName(level) + ": " + text + "\n";
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_stream.is_open())
        return;
    m_stream << line;
    m_stream.flush();
}

std::string Logger::levelName(int level)
{
    switch (level) {
    case DEBUG: return "DEBUG";
    case INFO: return "INFO";
    case WARNING: return "WARNING";
    case ERROR: return "ERROR";
    case CRITICAL: return "CRITICAL";
    default: return "UNKNOWN";
    }
}
