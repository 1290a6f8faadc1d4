#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// Where recordings are saved on their own: the folder "Профили" in the
// program's directory, or in the user's documents folder when the program's
// directory takes no files (an installation the user may not write to).
class RecordingFolder
{
public:
    static const QString kFolderName;

    // The first of the two folders that exists, made when missing, and takes
    // a new file; when neither does, the program's one, so that the failed
    // save names the place it was meant for.
    static QString prepare();

    // "<folder>/<base name>_yyyy_MM_dd_HH_mm_ss.txt" for the time; when a
    // file of that name exists or the path is among `taken` (two recordings
    // within one second), "..._2.txt", "..._3.txt" and so on, so that no
    // recording replaces another one's file.
    static QString filePath(const QString& folder, const QString& baseName, const QDateTime& time,
                            const QStringList& taken = {});

    // The directories the folders are made in, in the order they are tried;
    // empty: the program's directory, then the documents folder. Tests set
    // their own.
    static void setBaseDirectories(const QStringList& directories);

private:
    static QStringList baseDirectories();
    static bool takesFiles(const QString& folder);

    static QStringList s_baseDirectories;
};
