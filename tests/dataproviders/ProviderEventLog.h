#pragma once

#include <QMutex>
#include <QMutexLocker>
#include <QObject>
#include <QRegularExpression>
#include <QStringList>

#include "DataProvider.h"

// The signals of the watched providers in the order they were emitted, on
// whatever thread, together with the events a test adds among them.
class ProviderEventLog
{
public:
    void watch(DataProvider& provider)
    {
        QObject::connect(&provider, &DataProvider::dataReadStarted, [this] { add("started"); });
        QObject::connect(&provider, &DataProvider::dataBatchReady,
                         [this](int from, int count) { add(QStringLiteral("batch %1 %2").arg(from).arg(count)); });
        QObject::connect(&provider, &DataProvider::dataReadError, [this](const QString& s) { add("error " + s); });
        QObject::connect(&provider, &DataProvider::dataReadFinished, [this] { add("finished"); });
    }

    void add(const QString& event)
    {
        QMutexLocker lock(&m_mutex);
        m_events.append(event);
    }

    QStringList events() const
    {
        QMutexLocker lock(&m_mutex);
        return m_events;
    }

    QStringList errors() const { return events().filter(QRegularExpression("^error ")); }
    QStringList batches() const { return events().filter(QRegularExpression("^batch ")); }

private:
    mutable QMutex m_mutex;
    QStringList m_events;
};
