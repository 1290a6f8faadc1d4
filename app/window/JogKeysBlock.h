#pragma once

#include <QPointer>

#include <functional>

class QObject;

// Switches the jog keys off for the life of the object by blocking the key
// receiver's signals. However the scope is left, an early return or an
// exception included, the keys are switched on again when `unblockOnExit`
// says so at that moment; otherwise they stay off.
class JogKeysBlock
{
public:
    JogKeysBlock(QObject* receiver, std::function<bool()> unblockOnExit);
    ~JogKeysBlock();

    JogKeysBlock(const JogKeysBlock&) = delete;
    JogKeysBlock& operator=(const JogKeysBlock&) = delete;

private:
    QPointer<QObject> m_receiver;
    std::function<bool()> m_unblockOnExit;
};
