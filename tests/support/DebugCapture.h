#pragma once

#include <QStringList>
#include <QtGlobal>

// Collects Qt's debug, warning and other messages while the object lives.
class DebugCapture
{
public:
    DebugCapture();
    ~DebugCapture();

    DebugCapture(const DebugCapture&) = delete;
    DebugCapture& operator=(const DebugCapture&) = delete;

    QStringList messages() const;
    bool contains(const QString& text) const;
    void clear();

private:
    QtMessageHandler m_previous;
};
