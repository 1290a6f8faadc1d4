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
    m_prepared = true;
}

bool DeviceDataProvider::readData()
{
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

void DeviceDataProvider::onDataReceived(double probeHight, double consoleHight, double xpos,
                                        int kBatchNotificationSize)
{
    if (!m_prepared || !m_sourceDevice->isTracing())
        return;
    trace()->addPoint({xpos, probeHight, consoleHight});
    ++m_rowCount;
    if (kBatchNotificationSize > 0 && m_rowCount % kBatchNotificationSize == 0)
        emit dataBatchReady(m_rowCount - kBatchNotificationSize, kBatchNotificationSize);
}

void DeviceDataProvider::onDeviceDataReset()
{
    if (!m_prepared || !m_sourceDevice->isTracing())
        return;
    trace()->clearPoints();
    m_rowCount = 0;
    emit dataReset();
}
