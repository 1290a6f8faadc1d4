#include "KeyReceiver.h"

#include "JogKeyContext.h"

#include <QCoreApplication>
#include <QDebug>
#include <QKeyEvent>

namespace {

// The start and stop keys: their release starts or stops a trace, which only
// the main window's own release may do.
bool isTraceKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Space;
}

// The main window's window object, which Qt names after the widget.
bool isMainWindow(const QObject* watched)
{
    return watched->objectName() == QLatin1String(JogKeyContext::kMainWindowName) + QLatin1String("Window");
}

bool panelMayAct()
{
    return JogKeyContext::drivesPanel(JogKeyContext::current());
}

} // namespace

KeyReceiver::KeyReceiver() = default;

KeyReceiver::KeyReceiver(const KeyMap& keyMap) : m_keyMap(keyMap) {}

KeyReceiver::~KeyReceiver()
{
    if (QCoreApplication* application = QCoreApplication::instance())
        application->removeEventFilter(this);
}

bool KeyReceiver::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        return onKeyPress(watched, static_cast<QKeyEvent*>(event));
    case QEvent::KeyRelease:
        return onKeyRelease(watched, static_cast<QKeyEvent*>(event));
    case QEvent::ApplicationDeactivate:
        releaseAllHeld();
        return QObject::eventFilter(watched, event);
    default:
        return QObject::eventFilter(watched, event);
    }
}

QPushButton* KeyReceiver::mappedButton(int key) const
{
    return m_keyMap.value(key);
}

bool KeyReceiver::onKeyPress(QObject* watched, QKeyEvent* event)
{
    const int key = event->key();
    if (!m_keyMap.contains(key) || event->isAutoRepeat())
        return QObject::eventFilter(watched, event);
    m_passedOn.remove(key);
    if (signalsBlocked()) {
        m_releaseCounter = 0;
        return false;
    }
    if (!panelMayAct()) {
        m_passedOn.insert(key);
        return false;
    }
    QPushButton* button = mappedButton(key);
    if (!button)
        return QObject::eventFilter(watched, event);
    button->setDown(true);
    m_held.insert(key, button);
    emit button->pressed();
    return true;
}

bool KeyReceiver::onKeyRelease(QObject* watched, QKeyEvent* event)
{
    const int key = event->key();
    if (event->isAutoRepeat())
        return QObject::eventFilter(watched, event);
    if (m_held.contains(key))
        return releaseHeld(key, isMainWindow(watched) && !signalsBlocked() && panelMayAct());
    if (m_passedOn.remove(key))
        return false;
    if (!m_keyMap.contains(key) || !isMainWindow(watched))
        return QObject::eventFilter(watched, event);
    if (signalsBlocked()) {
        m_releaseCounter = 1;
        return false;
    }
    if (!panelMayAct())
        return false;
    if (m_releaseCounter <= 0) {
        ++m_releaseCounter;
        qDebug().nospace() << "protection from release: " << m_releaseCounter;
        return false;
    }
    QPushButton* button = mappedButton(key);
    if (!button)
        return QObject::eventFilter(watched, event);
    button->setDown(false);
    emit button->released();
    return true;
}

bool KeyReceiver::releaseHeld(int key, bool mayStartOrStop)
{
    const QPointer<QPushButton> button = m_held.take(key);
    if (!button)
        return true;
    button->setDown(false);
    if (!isTraceKey(key) || mayStartOrStop)
        emit button->released();
    return true;
}

void KeyReceiver::releaseAllHeld()
{
    for (const int key : m_held.keys())
        releaseHeld(key, false);
}
