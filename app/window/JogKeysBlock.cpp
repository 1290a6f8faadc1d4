#include "JogKeysBlock.h"

#include <QObject>

JogKeysBlock::JogKeysBlock(QObject* receiver, std::function<bool()> unblockOnExit)
    : m_receiver(receiver), m_unblockOnExit(std::move(unblockOnExit))
{
    if (m_receiver)
        m_receiver->blockSignals(true);
}

JogKeysBlock::~JogKeysBlock()
{
    if (m_receiver && m_unblockOnExit())
        m_receiver->blockSignals(false);
}
