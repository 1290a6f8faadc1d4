#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString readText(const QString& path)
{
    return QString::fromUtf8(fileBytes(path));
}

void writeText(const QString& path, const QString& text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
}

void copyFolderFiles(const QString& from, const QString& to)
{
    QVERIFY(QDir().mkpath(to));
    const QDir source(from);
    for (const QString& name : source.entryList(QDir::Files))
        QVERIFY(QFile::copy(source.filePath(name), QDir(to).filePath(name)));
}
