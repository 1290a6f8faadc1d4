#include "DebugCapture.h"

#include <QMutex>
#include <QMutexLocker>

namespace {

QMutex captureMutex;
QStringList capturedMessages;

void captureMessage(QtMsgType, const QMessageLogContext&, const QString& message)
{
    QMutexLocker lock(&captureMutex);
    capturedMessages.append(message);
}

} // namespace

DebugCapture::DebugCapture()
{
    clear();
    m_previous = qInstallMessageHandler(captureMessage);
}

DebugCapture::~DebugCapture()
{
    qInstallMessageHandler(m_previous);
}

QStringList DebugCapture::messages() const
{
    QMutexLocker lock(&captureMutex);
    return capturedMessages;
}

bool DebugCapture::contains(const QString& text) const
{
    const QStringList all = messages();
    for (const QString& message : all) {
        if (message.contains(text))
            return true;
    }
    return false;
}

void DebugCapture::clear()
{
    QMutexLocker lock(&captureMutex);
    capturedMessages.clear();
}
