#pragma once

#include <QList>
#include <QUrl>

#include "DesktopServices.h"

// Replaces the desktop opener while the object lives, and leaves the program
// no file manager to ask: nothing is started on the desktop, and every URL
// the program asks to open is recorded ("show in folder" records the folder).
class DesktopOpenRecorder
{
public:
    explicit DesktopOpenRecorder(bool result = true);
    ~DesktopOpenRecorder();

    DesktopOpenRecorder(const DesktopOpenRecorder&) = delete;
    DesktopOpenRecorder& operator=(const DesktopOpenRecorder&) = delete;

    QList<QUrl> urls() const { return m_urls; }

private:
    QList<QUrl> m_urls;
    DesktopServices::Opener m_previous;
    QString m_previousBus;
};
