#include "ComboBoxInput.h"
#include "ControllerFrames.h"
#include "DataProvider.h"
#include "DeviceControlWidget.h"
#include "FastSettingsWidget.h"
#include "MarkedProgressBar.h"
#include "MessageBoxAnswerer.h"
#include "PanelsWindow.h"
#include "ProgressBar.h"
#include "TestMain.h"

#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>

using Family = SimulatedController::Family;
using Commands = QStringList;

Q_DECLARE_METATYPE(Family)

namespace {

void resetSettings()
{
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    static_cast<AppSettingsData&>(settings) = AppSettingsData();
}

void changeSettings(const std::function<void(AppSettings&)>& change)
{
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    change(settings);
}

AppSettingsData savedSettings()
{
    return AppSettings::load(QLatin1String(AppSettings::kFileName));
}

SimulatedController::ProfileTrace profileTrace(bool endsByItself)
{
    SimulatedController::ProfileTrace trace;
    for (int i = 0; i < 5; ++i)
        trace.points.push_back(uint16_t(40000 + i));
    for (int i = 0; i < 250; ++i)
        trace.blockSamples.push_back(uint16_t(3 * i));
    trace.endsByItself = endsByItself;
    return trace;
}

// Looks at the progress window every 10 ms while it is open (its modal run
// holds the test's own waiting): how it is made, and what it shows once the
// progress has reached its maximum.
struct ProgressWatch
{
    ProgressWatch()
    {
        answerer.onDialog([this](QWidget* modal) {
            auto* dialog = qobject_cast<ProgressBar*>(modal);
            if (!dialog)
                return;
            flags = dialog->windowFlags();
            parent = dialog->parentWidget();
            auto* bar = dialog->findChild<QProgressBar*>();
            if (bar->value() < bar->maximum())
                return;
            if (!end.isValid())
                end.start();
            openAfterTheEnd = end.elapsed();
            valueAtTheEnd = bar->value();
            textsAtTheEnd.clear();
            for (QLabel* label : dialog->findChildren<QLabel*>())
                textsAtTheEnd << label->text();
        });
    }

    MessageBoxAnswerer answerer;
    Qt::WindowFlags flags;
    QWidget* parent = nullptr;
    QElapsedTimer end;
    qint64 openAfterTheEnd = -1;
    int valueAtTheEnd = -1;
    QStringList textsAtTheEnd;
};

} // namespace

// The instrument control panel in a main window with the quick settings,
// against the simulated controller of each family: the commands the
// controller receives, the locking of both panels, the recordings handed to
// the window, calibration, a lost link, the status texts and the height bar.
class DeviceControlWidgetTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    void init()
    {
        resetSettings();
        QFile::remove(QLatin1String(AppSettings::kFileName));
    }

    void cleanup() { m_link.reset(); }

    void theFormAndItsSettings()
    {
        changeSettings([](AppSettings& s) {
            s.movement.current_speed = 2;
            s.device.spinbox_filter_length_index = 3;
            s.device.trace_length = 7;
            s.device.device_type = CONTOUR;
        });
        ScopedPortList noPorts;
        DeviceControlWidget panel;
        QCOMPARE(panel.windowTitle(), QStringLiteral("УПРАВЛЕНИЕ"));
        QCOMPARE(panel.size(), QSize(403, 426));
        auto* speed = panel.findChild<QComboBox*>(QStringLiteral("speedComboBox"));
        QStringList speedTexts;
        for (int i = 0; i < speed->count(); ++i) {
            speedTexts << speed->itemText(i);
            QCOMPARE(speed->itemData(i).toInt(), i);
        }
        QCOMPARE(speedTexts, (QStringList{"0.25 мм/c", "0.50 мм/c", "1.00 мм/c", "2.00 мм/c"}));
        QCOMPARE(speed->focusPolicy(), Qt::TabFocus);
        QCOMPARE(speed->currentIndex(), 2);
        QCOMPARE(panel.currentSpeed(), 1.0);
        auto* filter = panel.findChild<QComboBox*>(QStringLiteral("filterComboBox"));
        QCOMPARE(filter->currentText(), QStringLiteral("0.25 мм"));
        QCOMPARE(filter->count(), 5);
        auto* length = panel.findChild<QSpinBox*>(QStringLiteral("traceLengthSpinBox"));
        QCOMPARE(length->value(), 7);
        QCOMPARE(length->minimum(), 2);
        QCOMPARE(length->maximum(), 40);
        QCOMPARE(length->suffix(), QStringLiteral(" мм"));
        QVERIFY(!button(panel, "stopTraceButton")->isEnabled());
        QVERIFY(!button(panel, "additionalTracePushButton")->isEnabled());
        QCOMPARE(button(panel, "startTraceButton")->text(), QStringLiteral("ТРАССА"));
        QCOMPARE(button(panel, "startTraceButton")->minimumHeight(), 50);
        auto* bar = panel.findChild<MarkedProgressBar*>(QStringLiteral("progressBar"));
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 1);
        QCOMPARE(bar->orientation(), Qt::Vertical);
        QVERIFY(!bar->isTextVisible());
        // Loading the settings stored nothing.
        QVERIFY(!QFile::exists(QLatin1String(AppSettings::kFileName)));

        // The layout of the contour controller, the type the settings hold.
        for (const char* name : {"xplusButton", "xminusButton", "yplusButton", "yminusButton", "zplusButton",
                                 "zminusButton", "autoMinMaxCalibButton", "calibrationPushButton"})
            QVERIFY2(!button(panel, name)->isHidden(), name);
        for (const char* name : {"additionalTracePushButton", "calibVelmarPushButton"})
            QVERIFY2(button(panel, name)->isHidden(), name);
        QVERIFY(filter->isHidden());
        QVERIFY(length->isHidden());

        speed->clear();
        QCOMPARE(panel.currentSpeed(), 0.0);
    }

    void recordingFromThePanel_data()
    {
        QTest::addColumn<Family>("family");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("speedLocked");

        QTest::newRow("profile") << Family::Profile << 0 << "CS" << int(PROFILE) << 250 << true;
        QTest::newRow("contour, contour mode") << Family::Contour << 0 << "CS" << int(CONTOUR) << 21 << false;
        QTest::newRow("contour, roughness") << Family::Contour << 1 << "Cs" << int(CONTOUR) << 21 << false;
        // The roughness probe makes the contour controller one of type 1.
        QTest::newRow("contour, roughness probe")
            << Family::Contour << 2 << "CS" << int(CONTOUR_PROFILE) << 21 << false;
        QTest::newRow("contour, additional axis") << Family::Contour << 3 << "CL" << int(CONTOUR) << 21 << false;
    }

    void recordingFromThePanel()
    {
        QFETCH(Family, family);
        QFETCH(int, mode);
        QFETCH(QString, start);
        QFETCH(int, type);
        QFETCH(int, rows);
        QFETCH(bool, speedLocked);
        connectTo(family);
        if (family == Family::Profile) {
            m_link->controller.setProfileTrace(profileTrace(true));
        } else {
            m_link->controller.setContourTrace(
                SimulatedController::contourTraceSequence(ControllerFrames::recordingPoints(rows)));
            auto* modes = fastSettings()->findChild<QComboBox*>(QStringLiteral("measurementModeComboBox"));
            if (mode != modes->currentIndex())
                QVERIFY(chooseItem(modes, mode));
            QCOMPARE(savedSettings().device.measurement_mode, mode);
        }
        m_link->controller.clearReceived();
        m_link->controller.stall(kStartDelayMs);

        QTest::mouseClick(button("startTraceButton"), Qt::LeftButton);
        QCOMPARE(window()->recordingCount(), 1);
        QCOMPARE(int(window()->trace()->type), type);
        QVERIFY(!button("startTraceButton")->isEnabled());
        QVERIFY(button("stopTraceButton")->isEnabled());
        QCOMPARE(panel()->findChild<QComboBox*>(QStringLiteral("speedComboBox"))->isEnabled(), !speedLocked);
        QVERIFY(!fastSettings()->findChild<QLineEdit*>()->isEnabled());
        QCOMPARE(window()->lockCount(), 1);

        QVERIFY(QTest::qWaitFor([&] { return !window()->provider()->isRunning(); }, 10000));
        QVERIFY(QTest::qWaitFor([&] { return button("startTraceButton")->isEnabled(); }, 5000));
        QVERIFY(!button("stopTraceButton")->isEnabled());
        QVERIFY(fastSettings()->findChild<QLineEdit*>()->isEnabled());
        QVERIFY(window()->unlockCount() >= 1);
        QCOMPARE(window()->trace()->rowCount(), rows);
        if (family == Family::Contour) {
            const std::vector<ContourPacket> sent = ControllerFrames::recordingPoints(rows);
            for (int i = 0; i < rows; ++i) {
                QCOMPARE(window()->trace()->rawColumn(0)[i], double(sent[std::size_t(i)].xPosition));
                QCOMPARE(window()->trace()->rawColumn(1)[i], double(sent[std::size_t(i)].probeHeight));
            }
        }
        // The trace settings, then the start; on the contour controller its
        // start report runs the start again, which only sends the settings.
        const QString speed = family == Family::Profile ? "PS0" : "SX0";
        QCOMPARE(sentCommands().mid(0, 4), (Commands{speed, "PF2", "PL2", start}));
        QCOMPARE(sentCommands().count(start), 1);
    }

    // The profile controller's trace ends with its block transfer, which the
    // stop asks for; the panel stays locked until it has come.
    void aProfileTraceStoppedStaysLockedUntilItsBlock()
    {
        connectTo(Family::Profile);
        m_link->controller.setProfileTrace(profileTrace(false));
        m_link->controller.clearReceived();
        m_link->controller.stall(kStartDelayMs);
        QTest::mouseClick(button("startTraceButton"), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return window()->trace()->rowCount() == 5; }, 5000));

        QTest::mouseClick(button("stopTraceButton"), Qt::LeftButton);
        QVERIFY(!button("startTraceButton")->isEnabled());
        QVERIFY(!button("stopTraceButton")->isEnabled());
        QVERIFY(QTest::qWaitFor([&] { return button("startTraceButton")->isEnabled(); }, 5000));
        QVERIFY(QTest::qWaitFor([&] { return !window()->provider()->isRunning(); }, 5000));
        QCOMPARE(window()->trace()->rowCount(), 250);
        QCOMPARE(sentCommands(), (Commands{"PS0", "PF2", "PL2", "CS", "CC", "CV"}));
    }

    void theAdditionalTrace()
    {
        connectTo(Family::Profile);
        QVERIFY(!button("additionalTracePushButton")->isEnabled());
        m_link->controller.setProfileTrace(profileTrace(true));
        m_link->controller.stall(kStartDelayMs);
        QTest::mouseClick(button("startTraceButton"), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return button("additionalTracePushButton")->isEnabled(); }, 10000));

        m_link->controller.stall(kStartDelayMs);
        QTest::mouseClick(button("additionalTracePushButton"), Qt::LeftButton);
        QCOMPARE(window()->recordingCount(), 2);
        QCOMPARE(int(window()->trace()->type), int(ADDITIONAL_TRACE));
        QVERIFY(QTest::qWaitFor([&] { return button("additionalTracePushButton")->isEnabled(); }, 10000));
        QCOMPARE(window()->trace()->rowCount(), 250);

        panel()->setEnableAdditionalTraceButton(false);
        QVERIFY(!button("additionalTracePushButton")->isEnabled());
    }

    // The controller prepares and starts a trace by itself (alarm 5, then 2):
    // the panel locks, and the start report records although the start
    // button is disabled.
    void anInstrumentStartedTraceIsRecorded()
    {
        connectTo(Family::Contour);
        m_link->controller.clearReceived();
        m_link->controller.send(ControllerFrames::contourPacket(ControllerFrames::packet(5, 0, 0, 1000, 500)));
        QVERIFY(QTest::qWaitFor([&] { return !button("startTraceButton")->isEnabled(); }, 5000));
        QVERIFY(!button("stopTraceButton")->isEnabled());
        QCOMPARE(window()->recordingCount(), 0);
        QCOMPARE(window()->lockCount(), 1);

        m_link->controller.send(ControllerFrames::contourPacket(ControllerFrames::packet(2, 0, 0, 1000, 500)));
        QVERIFY(QTest::qWaitFor([&] { return window()->recordingCount() == 1; }, 5000));
        QVERIFY(button("stopTraceButton")->isEnabled());
        m_link->controller.stall(kStartDelayMs);
        std::string points;
        for (const ContourPacket& point : ControllerFrames::recordingPoints(16))
            points += ControllerFrames::contourPacket(point);
        m_link->controller.send(points);
        m_link->controller.send(ControllerFrames::contourPacket(ControllerFrames::packet(1, 0, 250, 1015, 515)));

        QVERIFY(QTest::qWaitFor([&] { return !window()->provider()->isRunning(); }, 10000));
        QCOMPARE(window()->trace()->rowCount(), 16);
        QVERIFY(QTest::qWaitFor([&] { return button("startTraceButton")->isEnabled(); }, 5000));
        QCOMPARE(sentCommands().mid(0, 4), (Commands{"SX0", "PF2", "PL2", "CS"}));
        QVERIFY(sentCommands().contains("CA"));
    }

    void theContourCalibrationFollowsTheController()
    {
        connectTo(Family::Contour);
        m_link->controller.clearReceived();
        ProgressWatch watch;

        QTest::mouseClick(button("calibrationPushButton"), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return watch.openAfterTheEnd >= 0 && !QApplication::activeModalWidget(); },
                                5000));
        QCOMPARE(watch.flags, Qt::Dialog | Qt::FramelessWindowHint);
        QCOMPARE(watch.parent, panel());
        QCOMPARE(watch.textsAtTheEnd, (QStringList{"Идёт калибровка", "Калибровка завершена"}));
        QCOMPARE(watch.valueAtTheEnd, 109);
        // The window stays for its close delay after the last step (it is
        // looked at every 10 ms), and closes by itself.
        QVERIFY2(watch.openAfterTheEnd >= ProgressBar::kCloseDelayMs - 50,
                 qPrintable(QString::number(watch.openAfterTheEnd)));
        QVERIFY(QTest::qWaitFor([&] { return button("startTraceButton")->isEnabled(); }, 5000));
        QCOMPARE(sentCommands(), (Commands{"CK", "CA"}));
    }

    void aPendingCalibrationTakesTheNextStart()
    {
        connectTo(Family::Contour);
        m_link->controller.send(ControllerFrames::contourPacket(ControllerFrames::packet(3, 0, 0, 1000, 500)));
        QVERIFY(QTest::qWaitFor([&] { return button("startTraceButton")->text() == QStringLiteral("Калибровка"); },
                                5000));
        QVERIFY(button("startTraceButton")->isEnabled());
        m_link->controller.clearReceived();

        ProgressWatch watch;
        QTest::mouseClick(button("startTraceButton"), Qt::LeftButton);
        QCOMPARE(button("startTraceButton")->text(), QStringLiteral("Трасса"));
        QCOMPARE(window()->recordingCount(), 0);
        // The controller's calibration runs its course in the progress window.
        QVERIFY(QTest::qWaitFor([&] { return watch.valueAtTheEnd == 109 && !QApplication::activeModalWidget(); },
                                5000));
        QCOMPARE(window()->recordingCount(), 0);
        QCOMPARE(sentCommands(), (Commands{"SX0", "PF2", "PL2", "CK", "CA"}));
    }

    void theReferenceRaPrompt_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<Commands>("commands");
        QTest::addColumn<double>("stored");
        QTest::newRow("accepted") << "Принять" << Commands{"Ka01500"} << 1.5;
        QTest::newRow("cancelled") << "Отмена" << Commands{} << 1.0;
    }

    void theReferenceRaPrompt()
    {
        QFETCH(QString, answer);
        QFETCH(Commands, commands);
        QFETCH(double, stored);
        connectTo(Family::Profile);
        QVERIFY(QTest::qWaitFor([&] { return button("calibVelmarPushButton")->isVisible(); }, 5000));
        m_link->controller.clearReceived();

        MessageBoxAnswerer answerer;
        QString title;
        int width = 0;
        answerer.onDialog([&](QWidget* prompt) {
            title = prompt->windowTitle();
            width = prompt->minimumWidth();
            auto* value = prompt->findChild<QDoubleSpinBox*>();
            QCOMPARE(value->value(), 1.0);
            QCOMPARE(value->suffix(), QStringLiteral(" мкм"));
            QTest::keyClick(value, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(value, QStringLiteral("1,5"));
            QVERIFY(MessageBoxAnswerer::clickButton(prompt, answer));
        });
        QTest::mouseClick(button("calibVelmarPushButton"), Qt::LeftButton);
        QCOMPARE(title, QStringLiteral("Калибровка"));
        QCOMPARE(width, 300);
        QTest::qWait(300);
        QCOMPARE(sentCommands(), commands);
        QCOMPARE(AppSettings::instance().snapshot().calibration.calibration_Ra_value, stored);
        if (!commands.empty())
            QCOMPARE(savedSettings().calibration.calibration_Ra_value, stored);
    }

    // The link goes while a trace runs: the recording ends, both panels are
    // disabled, and once the instrument is back a trace starts again.
    void aLinkLostMidRecording_data()
    {
        QTest::addColumn<Family>("family");
        QTest::newRow("profile") << Family::Profile;
        QTest::newRow("contour") << Family::Contour;
    }

    void aLinkLostMidRecording()
    {
        QFETCH(Family, family);
        connectTo(family);
        if (family == Family::Profile) {
            m_link->controller.setProfileTrace(profileTrace(false));
        } else {
            std::vector<ContourPacket> sequence =
                SimulatedController::contourTraceSequence(ControllerFrames::recordingPoints(12));
            sequence.pop_back();
            m_link->controller.setContourTrace(sequence);
        }
        m_link->controller.stall(kStartDelayMs);
        QTest::mouseClick(button("startTraceButton"), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return window()->trace()->rowCount() > 0; }, 5000));

        m_link->controller.vanish();
        QVERIFY(QTest::qWaitFor([&] { return window()->statusText() == QStringLiteral("Устройство не найдено"); },
                                5000));
        QVERIFY(!panel()->isEnabled());
        QVERIFY(!fastSettings()->isEnabled());
        QCOMPARE(window()->unlockCount(), window()->lockCount());
        QVERIFY(QTest::qWaitFor([&] { return !window()->provider()->isRunning(); }, 5000));

        SimulatedController replacement(family);
        if (family == Family::Profile)
            replacement.setProfileTrace(profileTrace(true));
        else
            replacement.setContourTrace(
                SimulatedController::contourTraceSequence(ControllerFrames::recordingPoints(12)));
        replacement.start();
        m_link->ports.set({replacement.portName()});
        QVERIFY(QTest::qWaitFor([&] { return panel()->isEnabled() && fastSettings()->isEnabled(); }, 5000));
        // The speed goes out when the port opens and at the end of the set-up.
        QVERIFY(waitForCommand(replacement, m_link->lastInitCommand(), 2));
        QVERIFY(button("startTraceButton")->isEnabled());

        replacement.stall(kStartDelayMs);
        QTest::mouseClick(button("startTraceButton"), Qt::LeftButton);
        QCOMPARE(window()->recordingCount(), 2);
        QVERIFY(QTest::qWaitFor([&] { return !window()->provider()->isRunning(); }, 10000));
        QCOMPARE(window()->trace()->rowCount(), family == Family::Profile ? 250 : 12);
        QVERIFY(QTest::qWaitFor([&] { return button("startTraceButton")->isEnabled(); }, 5000));
        replacement.stop();
    }

    void statusTextsFromTheIdleReadings_data()
    {
        QTest::addColumn<Family>("family");
        QTest::addColumn<int>("console");
        QTest::addColumn<QString>("readings");
        QTest::newRow("contour") << Family::Contour << 3200000 << "с показателями x: 12.5мм , z1: 0.25 мм, z2: 3.2 мм";
        QTest::newRow("contour, low console") << Family::Contour << 900
                                              << "с показателями x: 12.5мм , z1: 0.25 мм, z2: 0 мм";
        QTest::newRow("contour, console 1000") << Family::Contour << 1000
                                               << "с показателями x: 12.5мм , z1: 0.25 мм, z2: 0 мм";
        QTest::newRow("profile") << Family::Profile << 312 << "с показателем z: 312";
    }

    void statusTextsFromTheIdleReadings()
    {
        QFETCH(Family, family);
        QFETCH(int, console);
        QFETCH(QString, readings);
        connectTo(family);
        const QString device = QStringLiteral("Устройство ") + m_link->port();
        QCOMPARE(window()->statusHistory().value(0), device + QStringLiteral(" соединено"));
        if (family == Family::Profile)
            m_link->controller.setIdleReading(uint16_t(console));
        else
            m_link->controller.setIdlePacket(ControllerFrames::packet(0, 0, 12500, 250, console));
        m_link->controller.setIdleOutput(50);
        const QString expected = device + QLatin1Char(' ') + readings;
        QVERIFY2(QTest::qWaitFor([&] { return window()->statusText() == expected; }, 5000),
                 qPrintable(window()->statusText()));
    }

    void theHeightBarKeepsItsLargestValue()
    {
        connectTo(Family::Contour);
        auto* bar = panel()->findChild<MarkedProgressBar*>(QStringLiteral("progressBar"));
        m_link->controller.setIdleOutput(20);
        for (const auto& [value, maximum] : {std::pair{50, 50}, {30, 50}, {70, 70}}) {
            m_link->controller.setIdlePacket(ControllerFrames::packet(0, 0, 0, 0, value));
            QVERIFY(QTest::qWaitFor([&, value = value] { return bar->value() == value; }, 5000));
            QCOMPARE(bar->maximum(), maximum);
        }
    }

    void theSettingControlsSendAndStore()
    {
        connectTo(Family::Profile);
        m_link->controller.clearReceived();
        QVERIFY(chooseItem(panel()->findChild<QComboBox*>(QStringLiteral("speedComboBox")), 3));
        QVERIFY(waitForCommand(m_link->controller, "PS3"));
        QCOMPARE(savedSettings().movement.current_speed, 3);
        QCOMPARE(panel()->currentSpeed(), 2.0);

        auto* length = panel()->findChild<QSpinBox*>(QStringLiteral("traceLengthSpinBox"));
        QTest::keyClick(length, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(length, QStringLiteral("5"));
        QVERIFY(waitForCommand(m_link->controller, "PL5"));
        QCOMPARE(savedSettings().device.trace_length, 5);

        // A change of the selection runs the filter step a second time.
        panel()->setFilterIndex(3);
        QVERIFY(waitForCommand(m_link->controller, "PF4", 2));
        QCOMPARE(panel()->findChild<QComboBox*>(QStringLiteral("filterComboBox"))->currentText(),
                 QStringLiteral("0.25 мм"));
        QCOMPARE(savedSettings().device.spinbox_filter_length_index, 3);
        QTest::qWait(200);
        QCOMPARE(sentCommands(), (Commands{"PS3", "PL5", "PF4", "PF4"}));
    }

private:
    void connectTo(Family family)
    {
        m_link = std::make_unique<PanelLink>(family);
        QVERIFY(m_link->connect());
        const int type = family == Family::Profile ? PROFILE : CONTOUR;
        QVERIFY(QTest::qWaitFor([&] { return int(window()->device().type()) == type; }, 5000));
        // The panel has followed the identified type.
        QVERIFY(QTest::qWaitFor([&] { return button("xplusButton")->isVisible() == (type != PROFILE); }, 5000));
    }

    PanelsWindow* window() const { return m_link->window.get(); }
    DeviceControlWidget* panel() const { return window()->panel(); }
    FastSettingsWidget* fastSettings() const { return window()->fastSettings(); }
    QPushButton* button(const char* name) const { return button(*panel(), name); }
    static QPushButton* button(const QWidget& panel, const char* name)
    {
        auto* found = panel.findChild<QPushButton*>(QLatin1String(name));
        Q_ASSERT(found);
        return found;
    }

    Commands sentCommands() const
    {
        Commands commands;
        for (const std::string& command : commandsBesidesKeepAlive(m_link->controller))
            commands << QString::fromStdString(command);
        return commands;
    }

    std::unique_ptr<PanelLink> m_link;
};

KALVORA_TEST_MAIN(DeviceControlWidgetTest)
#include "DeviceControlWidgetTest.moc"
