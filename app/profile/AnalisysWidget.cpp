#include "AnalisysWidget.h"

#include "DataProvider.h"

AnalisysWidget::AnalisysWidget(const QString& name)
    : QMainWindow(nullptr)
    , m_name(name)
{
}

// A replaced recording's provider must go before the instrument it reads,
// which the concrete workspace's panels may take with them.
AnalisysWidget::~AnalisysWidget()
{
    delete m_provider;
    for (const QPointer<DataProvider>& provider : qAsConst(m_replacedProviders))
        delete provider.data();
}

void AnalisysWidget::setDataProvider(DataProvider* provider)
{
    if (m_provider) {
        // Once its read is over, everything the provider sent is queued
        // here. It is handled while the provider still exists, with the
        // provider as its sender; nothing the provider emits later arrives.
        m_provider->stop();
        m_provider->blockSignals(true);
        m_provider->deleteLater();
        m_replacedProviders.removeAll(nullptr);
        m_replacedProviders.append(m_provider);
    }
    m_provider = provider;
    if (m_provider)
        connectProvider(m_provider);
}

bool AnalisysWidget::startRead(E_ANALISIS_TYPE type)
{
    if (!m_provider)
        return false;
    AbstractTrace* trace = createTrace(type);
    if (!trace)
        return false;
    return m_provider->start(trace);
}

void AnalisysWidget::stopRead()
{
    if (m_provider)
        m_provider->stop();
}

AbstractTrace* AnalisysWidget::createTrace(E_ANALISIS_TYPE type)
{
    Q_UNUSED(type)
    return nullptr;
}

void AnalisysWidget::dataReadStarted() {}

void AnalisysWidget::dataBatchReady(int from, int count)
{
    Q_UNUSED(from)
    Q_UNUSED(count)
}

void AnalisysWidget::dataReadFinished() {}

void AnalisysWidget::dataReadError(QString error)
{
    Q_UNUSED(error)
}

void AnalisysWidget::dataReset() {}

void AnalisysWidget::connectProvider(DataProvider* provider)
{
    connect(provider, &DataProvider::dataReadStarted, this, &AnalisysWidget::dataReadStarted);
    connect(provider, &DataProvider::dataReadFinished, this, &AnalisysWidget::dataReadFinished);
    connect(provider, &DataProvider::dataBatchReady, this, &AnalisysWidget::dataBatchReady);
    connect(provider, &DataProvider::dataReset, this, &AnalisysWidget::dataReset);
    connect(provider, &DataProvider::dataReadError, this, &AnalisysWidget::dataReadError);
}
