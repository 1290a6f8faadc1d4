#include "ControllerLink.h"
#include "DeviceCommands.h"
#include "DeviceControlWidget.h"
#include "MainWindow.h"
#include "MessageBoxAnswerer.h"
#include "ProfileAnalisisWidget.h"
#include "ProgressBar.h"
#include "RecordingState.h"
#include "SettingsFixture.h"
#include "TestMain.h"
#include "WorkspaceFixture.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolBar>

using Family = SimulatedController::Family;
using WindowLink = ControllerLink<MainWindow>;

Q_DECLARE_METATYPE(Family)

namespace {

// The controls each controller family shows on the control panel.
const QStringList kContourControls = {"xplusButton",  "xminusButton",  "yplusButton",          "yminusButton",
                                      "zplusButton", "zminusButton", "autoMinMaxCalibButton", "calibrationPushButton"};
const QStringList kProfileControls = {"traceLengthSpinBox",        "traceLengthLabel",     "filterComboBox",
                                      "filterLabel",               "additionalTracePushButton",
                                      "calibVelmarPushButton"};

int commandsStartingWith(const SimulatedController& controller, const std::string& start)
{
    int count = 0;
    for (const std::string& command : controller.commands())
        count += command.rfind(start, 0) == 0 ? 1 : 0;
    return count;
}

} // namespace

// The instrument driven through the program's window against the simulated
// controllers: the trace length the controller is sent, a controller that
// falls silent during a trace, and the controls of each controller family
// when one follows the other.
class MainWindowInstrumentTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    void cleanup() { m_link.reset(); }

    void theTraceLengthSentIsTheOneShown_data()
    {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<int>("shown");
        QTest::newRow("fresh settings") << QString() << 2;
        QTest::newRow("below the range") << "[device]\ntrace_length=-3\n" << 2;
        QTest::newRow("above the range") << "[device]\ntrace_length=55\n" << 40;
        QTest::newRow("in the range") << "[device]\ntrace_length=7\n" << 7;
    }

    // At the connection the controller is sent the length the panel shows,
    // which the settings keep.
    void theTraceLengthSentIsTheOneShown()
    {
        QFETCH(QString, settings);
        QFETCH(int, shown);
        loadSettingsFile(settings);
        connectTo(Family::Profile);
        QCOMPARE(qobject_cast<QSpinBox*>(control("traceLengthSpinBox"))->value(), shown);
        QCOMPARE(commandsStartingWith(m_link->controller, "PL"), 1);
        QCOMPARE(m_link->controller.commandCount(DeviceCommands::traceLength(shown)), 1);
        QCOMPARE(AppSettings::instance().snapshot().device.trace_length, shown);
        QCOMPARE(savedSettings().device.trace_length, shown);
    }

    void aControllerSilentAtTheStop_data()
    {
        QTest::addColumn<int>("idleIntervalMs");
        QTest::newRow("nothing sent") << 0;
        QTest::newRow("idle readings only") << 50;
    }

    // The controller stops sending the trace and does not answer the stop
    // (falling silent, or going on with its idle readings alone): after a
    // few seconds the recording ends as one whose controller was lost, with
    // the points received listed and saved, and the status line says why
    // until the next trace.
    void aControllerSilentAtTheStop()
    {
        QFETCH(int, idleIntervalMs);
        workspace::RecordingFolders folders;
        // The filter stays as chosen when a recording suggests another.
        MessageBoxAnswerer answerer(QMessageBox::No);
        loadSettingsFile();
        connectTo(Family::Profile);
        SimulatedController::ProfileTrace silent;
        for (int i = 0; i < 500; ++i)
            silent.points.push_back(uint16_t(30000 + i % 100));
        silent.endsByItself = false;
        silent.answersStop = false;
        m_link->controller.setProfileTrace(silent);
        m_link->controller.stall(kStartDelayMs);

        QTest::mouseClick(button("startTraceButton"), Qt::LeftButton);
        QVERIFY(profile()->dataProvider() && profile()->dataProvider()->isRecording());
        const AbstractTrace* trace = profile()->dataProvider()->trace();
        QVERIFY(QTest::qWaitFor([&] { return rowCount(trace) == 500; }, 10000));
        m_link->controller.setIdleOutput(idleIntervalMs);
        QTest::mouseClick(button("stopTraceButton"), Qt::LeftButton);
        QElapsedTimer sinceTheStop;
        sinceTheStop.start();
        QVERIFY(waitForCommand(m_link->controller, DeviceCommands::kAutoMinMaxCalib));
        QVERIFY(QTest::qWaitFor([&] { return isIdle(*m_link->window); }, Device::kStopAnswerTimeoutMs + 5000));
        QVERIFY2(sinceTheStop.elapsed() >= Device::kStopAnswerTimeoutMs - 100,
                 qPrintable(QString::number(sinceTheStop.elapsed())));

        QCOMPARE(rowCount(trace), 500);
        QCOMPARE(profile()->traces(), (QList<AbstractTrace*>{const_cast<AbstractTrace*>(trace)}));
        QVERIFY(QFile::exists(trace->filePath()));
        QVERIFY(trace->filePath().startsWith(folders.programFolder()));
        QVERIFY(!button("stopTraceButton")->isEnabled());
        QVERIFY(profile()->findChild<QLineEdit*>(QStringLiteral("traceFileNameLineEdit"))->isEnabled());
        QVERIFY(profile()->findChild<QAction*>(QStringLiteral("actionToMeasurement"))->isEnabled());
        const QString noAnswer =
            QStringLiteral("Устройство ") + m_link->port() + QStringLiteral(" не отвечает: трасса завершена по принятым точкам");
        QCOMPARE(statusText(), noAnswer);
        // Idle readings are no answer: the text stays.
        m_link->controller.setIdleReading(312);
        m_link->controller.setIdleOutput(50);
        QTest::qWait(DeviceControlWidget::kStatusIntervalMs + 500);
        QCOMPARE(statusText(), noAnswer);

        // The next trace records as usual, and the readings come back.
        SimulatedController::ProfileTrace answered;
        answered.points = {40000, 40001};
        answered.blockSamples.assign(250, 1000);
        m_link->controller.setProfileTrace(answered);
        m_link->controller.stall(kStartDelayMs);
        QTest::mouseClick(button("startTraceButton"), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return profile()->traces().size() == 2 && isIdle(*m_link->window); }, 10000));
        QCOMPARE(rowCount(profile()->traces().last()), 250);
        QVERIFY(QTest::qWaitFor([&] { return statusText().endsWith(QStringLiteral("с показателем z: 312")); }, 5000));
    }

    void eachFamilyShowsItsOwnControls_data()
    {
        QTest::addColumn<Family>("first");
        QTest::addColumn<Family>("second");
        QTest::newRow("profile, then contour") << Family::Profile << Family::Contour;
        QTest::newRow("contour, then profile") << Family::Contour << Family::Profile;
    }

    // One controller is unplugged and one of the other family plugged in:
    // the panel shows the controls of the one connected now, and the
    // contour controller's calibration button works.
    void eachFamilyShowsItsOwnControls()
    {
        QFETCH(Family, first);
        QFETCH(Family, second);
        loadSettingsFile();
        connectTo(first);
        m_link->controller.vanish();
        QVERIFY(QTest::qWaitFor([&] { return statusText() == QStringLiteral("Устройство не найдено"); }, 5000));

        SimulatedController next(second);
        next.start();
        m_link->ports.set({next.portName()});
        // The set-up ends with the speed, as the new family takes it.
        QVERIFY(waitForCommand(next, second == Family::Profile ? "PS0" : "SX0"));
        QVERIFY(QTest::qWaitFor([&] { return shows(second); }, 5000));
        if (second == Family::Contour) {
            next.clearReceived();
            QTest::mouseClick(button("calibrationPushButton"), Qt::LeftButton);
            QVERIFY(waitForCommand(next, DeviceCommands::kContourCalibration));
            // The progress window follows the calibration and closes by itself.
            QVERIFY(waitForCommand(next, DeviceCommands::kAcknowledge, 1, 10000));
            QVERIFY(QTest::qWaitFor([] { return !QApplication::activeModalWidget(); }, 5000));
        }
        next.stop();
    }

private:
    void connectTo(Family family)
    {
        m_link = std::make_unique<WindowLink>(family);
        m_link->window = std::make_unique<MainWindow>();
        m_link->window->resize(1366, 768);
        QVERIFY(showActive(*m_link->window));
        QVERIFY(m_link->waitUntilSetUp());
        QVERIFY(QTest::qWaitFor([&] { return shows(family); }, 5000));
    }

    // The controls of the family are shown and those of the other hidden.
    bool shows(Family family) const
    {
        const bool contour = family == Family::Contour;
        for (const QString& name : kContourControls) {
            if (control(name)->isVisible() != contour)
                return false;
        }
        for (const QString& name : kProfileControls) {
            if (control(name)->isVisible() == contour)
                return false;
        }
        return true;
    }

    ProfileAnalisisWidget* profile() const { return m_link->window->profileWidget(); }
    QWidget* control(const QString& name) const
    {
        auto* found = profile()->deviceControlWidget()->findChild<QWidget*>(name);
        Q_ASSERT(found);
        return found;
    }
    QPushButton* button(const QString& name) const { return qobject_cast<QPushButton*>(control(name)); }
    QString statusText() const { return profile()->findChild<QStatusBar*>()->currentMessage(); }

    std::unique_ptr<WindowLink> m_link;
};

KALVORA_TEST_MAIN(MainWindowInstrumentTest)
#include "MainWindowInstrumentTest.moc"
