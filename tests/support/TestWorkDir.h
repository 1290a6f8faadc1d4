#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh temporary directory made the working directory for the object's
// lifetime; the previous working directory is restored afterwards.
class TestWorkDir
{
public:
    TestWorkDir();
    ~TestWorkDir();

    TestWorkDir(const TestWorkDir&) = delete;
    TestWorkDir& operator=(const TestWorkDir&) = delete;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }

private:
    QString m_previous;
    QTemporaryDir m_dir;
};
