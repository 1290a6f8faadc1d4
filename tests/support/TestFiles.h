#pragma once

#include <QByteArray>
#include <QString>

// Whole-file reads and writes for tests.

// The file's bytes; empty when it cannot be read.
QByteArray fileBytes(const QString& path);

// The file's UTF-8 text; empty when it cannot be read.
QString readText(const QString& path);

// Writes `text` as UTF-8, making the folders on the way; fails the running
// test when the file cannot be opened.
void writeText(const QString& path, const QString& text);

// Copies the files of the folder `from` (not its subfolders) into the folder
// `to`, made when missing; fails the running test when one cannot be copied.
void copyFolderFiles(const QString& from, const QString& to);
