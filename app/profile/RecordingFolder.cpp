#include "RecordingFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

const QString RecordingFolder::kFolderName = QStringLiteral("Профили");
QStringList RecordingFolder::s_baseDirectories;

QString RecordingFolder::prepare()
{
    const QStringList bases = baseDirectories();
    for (const QString& base : bases) {
        const QString folder = QDir(base).filePath(kFolderName);
        if (QDir().mkpath(folder) && takesFiles(folder))
            return folder;
    }
    return QDir(bases.first()).filePath(kFolderName);
}

QString RecordingFolder::filePath(const QString& folder, const QString& baseName, const QDateTime& time,
                                  const QStringList& taken)
{
    // The name field refuses "/" while typing, but settings.ini may still hold
    // one: it would point the recording into a subfolder that does not exist.
    QString name = baseName;
    name.remove(QLatin1Char('/'));
    const QString stem =
        QStringLiteral("%1/%2%3").arg(folder, name, time.toString(QStringLiteral("_yyyy_MM_dd_HH_mm_ss")));
    QString path = stem + QStringLiteral(".txt");
    for (int number = 2; QFileInfo::exists(path) || taken.contains(path); ++number)
        path = stem + QLatin1Char('_') + QString::number(number) + QStringLiteral(".txt");
    return path;
}

void RecordingFolder::setBaseDirectories(const QStringList& directories)
{
    s_baseDirectories = directories;
}

QStringList RecordingFolder::baseDirectories()
{
    if (!s_baseDirectories.isEmpty())
        return s_baseDirectories;
    return {QCoreApplication::applicationDirPath(), QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)};
}

// Tried rather than asked: permissions alone do not tell (an administrator
// writes anywhere, a full or read-only disk refuses everyone).
bool RecordingFolder::takesFiles(const QString& folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("XXXXXX.probe")));
    return probe.open();
}
