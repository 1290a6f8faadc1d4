#include "LinkTestSupport.h"
#include "TestMain.h"

#include <QElapsedTimer>

using Family = SimulatedController::Family;
using Commands = std::vector<std::string>;

Q_DECLARE_METATYPE(SimulatedController::Family)
Q_DECLARE_METATYPE(Commands)

namespace {

void setMeasurementMode(int mode)
{
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    settings.device.measurement_mode = mode;
}

} // namespace

// The link's start against the simulated controller: identification and
// initialisation of both families, the end of a link whose controller never
// answers.
class DeviceLinkTest : public QObject
{
    Q_OBJECT

private slots:
    void identificationAndInitialisation_data()
    {
        QTest::addColumn<Family>("family");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("measurementMode");
        QTest::addColumn<int>("type");
        QTest::addColumn<Commands>("commands");
        const Commands profile{"CM", "CP", "Cq", "PF2", "PL1", "PS0"};
        const Commands contour{"CM", "CP", "CO", "SX0"};
        QTest::newRow("profile") << Family::Profile << QByteArray("OK") << 0 << 2 << profile;
        QTest::newRow("both names: profile") << Family::Profile << QByteArray("Zeta_581_R2 OK") << 2 << 2 << profile;
        QTest::newRow("contour, mode 0") << Family::Contour << QByteArray("Zeta_581_R2") << 0 << 0 << contour;
        QTest::newRow("contour, mode 1") << Family::Contour << QByteArray("Zeta_581_R2") << 1 << 0 << contour;
        QTest::newRow("contour with profile, mode 2") << Family::Contour << QByteArray("xZeta_581_R2") << 2 << 1
                                                      << contour;
        QTest::newRow("contour, mode 3") << Family::Contour << QByteArray("Zeta_581_R2") << 3 << 0 << contour;
    }

    void identificationAndInitialisation()
    {
        QFETCH(Family, family);
        QFETCH(QByteArray, reply);
        QFETCH(int, measurementMode);
        QFETCH(int, type);
        QFETCH(Commands, commands);

        setMeasurementMode(measurementMode);
        Link link(family);
        link.controller.setIdentityReply(reply.toStdString());
        std::atomic<int> announcedType{-1};
        link.device = std::make_unique<Device>();
        connect(link.device.get(), &Device::newDeviceType, [&](int t) { announcedType = t; });
        SignalCount opened(*link.device, &Device::deviceOpened);
        QVERIFY(waitForCommand(link.controller, commands.back()));
        QTest::qWait(100);

        QCOMPARE(commandsBesidesKeepAlive(link.controller), commands);
        QCOMPARE(opened.count(), 1);
        QCOMPARE(announcedType.load(), type);
        QCOMPARE(int(link.device->type()), type);
        QCOMPARE(link.device->portName(), QString::fromStdString(link.controller.portName()));
        QVERIFY(link.device->isOpen());
        QVERIFY(link.device->isReaderRunning());
        QCOMPARE(AppSettings::instance().snapshot().device.device_type, type);
        QCOMPARE(AppSettings::load(AppSettings::kFileName).device.device_type, type);
        setMeasurementMode(0);
    }

    void aSilentControllerIsAskedAgainAndLetGoQuickly()
    {
        Link link(Family::Profile);
        link.controller.setIdentityReply({});
        link.device = std::make_unique<Device>();
        QVERIFY(waitForCommand(link.controller, "CP", 3));
        QElapsedTimer sinceThird;
        sinceThird.start();
        QVERIFY(!waitForCommand(link.controller, "CP", 4, 350));
        QVERIFY(waitForCommand(link.controller, "CP", 4, 400));
        QVERIFY(sinceThird.elapsed() >= 400);
        QCOMPARE(commandsBesidesKeepAlive(link.controller), (Commands{"CM", "CP", "CP", "CP", "CP"}));

        QElapsedTimer destruction;
        destruction.start();
        link.device.reset();
        QVERIFY2(destruction.elapsed() <= 600, qPrintable(QString::number(destruction.elapsed())));
    }

    void commandsWithoutAPortAreDropped()
    {
        ScopedPortList noPorts;
        Device device;
        SignalCount lost(device, &Device::deviceLost);
        QVERIFY(!device.sendCommand("C9"));
        QVERIFY(!device.writeParameters());
        device.moveX(1);
        device.sendRaw(QStringLiteral("CS\n"));
        QCOMPARE(lost.count(), 0);
        QVERIFY(!device.isOpen());
    }
};

KALVORA_TEST_MAIN(DeviceLinkTest)
#include "DeviceLinkTest.moc"
