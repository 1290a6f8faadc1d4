#include "DataProvider.h"

#include <QDebug>
#include <QThreadPool>
#include <QtConcurrent>

#include "AbstractTrace.h"

DataProvider::DataProvider(QString name) : m_name(std::move(name)) {}

DataProvider::~DataProvider()
{
    stop();
}

bool DataProvider::start(AbstractTrace* trace)
{
    if (trace == nullptr) {
        qWarning("DataProvider::start: refused, failed condition: trace != nullptr");
        return false;
    }
    if (isRunning()) {
        qWarning() << "DataProvider::start: refused, a read of" << m_name << "is still running";
        return false;
    }
    m_trace = trace;
    m_stopRequested = false;
    m_task = QtConcurrent::run(threadPool(), [this] { run(); });
    return true;
}

bool DataProvider::isRunning() const
{
    return !m_task.isFinished();
}

void DataProvider::stop()
{
    m_stopRequested = true;
    m_task.waitForFinished();
}

bool DataProvider::readData()
{
    emit dataBatchReady(0, 0);
    return true;
}

QThreadPool* DataProvider::threadPool() const
{
    return QThreadPool::globalInstance();
}

void DataProvider::run()
{
    prepareTrace();
    emit dataReadStarted();
    m_result = readData();
    m_trace->applyPostProcessors();
    m_trace->processData();
    emit dataReadFinished();
}
