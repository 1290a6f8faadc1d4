#include "DeviceDataProvider.h"

#include "AbstractTrace.h"
#include "AppSettings.h"
#include "ContourConversionPointProcessor.h"
#include "ContourTrace.h"
#include "Device.h"
#include "TraceTypes.h"

#include <QMutexLocker>
#include <QThread>

namespace {

bool isNeedleDown()
{
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    return settings.movement.needle_pressing != MovementSettings::NEEDLE_UP;
}

} // namespace

DeviceDataProvider::DeviceDataProvider(Device* device) : DataProvider(device->portName()), m_sourceDevice(device)
{
    m_pointConnection = connect(device, &Device::dataRecieved, this, &DeviceDataProvider::onDataReceived,
                                Qt::DirectConnection);
    m_resetConnection = connect(device, &Device::dataReset, this, &DeviceDataProvider::onDeviceDataReset,
                                Qt::DirectConnection);
}

DeviceDataProvider::~DeviceDataProvider()
{
    m_waiting = false;
    stop();
    detachFromDevice();
}

QThreadPool* DeviceDataProvider::threadPool() const
{
    return m_sourceDevice->taskPool();
}

void DeviceDataProvider::prepareTrace()
{
    AbstractTrace* target = trace();
    target->setName(m_sourceDevice->portName());
    target->clearPointProcessors();
    if (target->type == CONTOUR || target->type == CONTOUR_PROFILE) {
        if (auto* contour = dynamic_cast<ContourTrace*>(target))
            contour->needle_pressing = isNeedleDown() ? MovementSettings::NEEDLE_DOWN : MovementSettings::NEEDLE_UP;
        target->addPointProcessor(new ContourConversionPointProcessor);
    }
}

bool DeviceDataProvider::readData()
{
    takeEarlyRows();
    m_waiting = true;
    while (m_sourceDevice->isTracing() && m_waiting && !isStopRequested())
        QThread::msleep(kPollIntervalMs);
    detachFromDevice();
    return true;
}

void DeviceDataProvider::detachFromDevice()
{
    m_sourceDevice->detachReceiver(m_pointConnection);
    m_sourceDevice->detachReceiver(m_resetConnection);
}

void DeviceDataProvider::takeEarlyRows()
{
    QMutexLocker lock(&m_rowsMutex);
    for (const Row& row : m_earlyRows)
        appendRow(row);
    m_earlyRows.clear();
    m_prepared = true;
}

void DeviceDataProvider::appendRow(const Row& row)
{
    trace()->addPoint({row.xpos, row.probeHight, row.consoleHight});
    ++m_rowCount;
    if (row.batchSize > 0 && m_rowCount % row.batchSize == 0)
        emit dataBatchReady(m_rowCount - row.batchSize, row.batchSize);
}

void DeviceDataProvider::onDataReceived(double probeHight, double consoleHight, double xpos,
                                        int kBatchNotificationSize)
{
    if (!m_sourceDevice->isTracing())
        return;
    const Row row{probeHight, consoleHight, xpos, kBatchNotificationSize};
    QMutexLocker lock(&m_rowsMutex);
    if (m_prepared)
        appendRow(row);
    else
        m_earlyRows.push_back(row);
}

void DeviceDataProvider::onDeviceDataReset()
{
    if (!m_sourceDevice->isTracing())
        return;
    QMutexLocker lock(&m_rowsMutex);
    if (!m_prepared) {
        m_earlyRows.clear();
        return;
    }
    trace()->clearPoints();
    m_rowCount = 0;
    emit dataReset();
}
