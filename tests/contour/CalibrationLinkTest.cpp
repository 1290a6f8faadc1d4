#include "ControllerFrames.h"
#include "ControllerLink.h"
#include "DeviceControlWidget.h"
#include "DeviceParameterRecord.h"
#include "MessageBoxAnswerer.h"
#include "ProfileAnalisisWidget.h"
#include "SettingsFixture.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "WorkspaceFixture.h"
#include "contour/ConsoleSelectDialog.h"
#include "contour/ContourAnalisisWidget.h"
#include "contour/DialogCalibration.h"
#include "contour/MeasurementsManager.h"
#include "measurements/Measurement.h"

#include <QDoubleSpinBox>
#include <QListWidget>
#include <QPushButton>

#include <cmath>

using Family = SimulatedController::Family;
using WorkspaceLink = ControllerLink<ProfileAnalisisWidget>;

namespace {

constexpr int kRecordingTimeoutMs = 15000;

// A ramp: x = 0, 20, ..., 2000 µm, the probe rising 5 µm per point, the
// console at 500.
std::vector<ContourPacket> rampRecording()
{
    std::vector<ContourPacket> points;
    for (int i = 0; i <= 100; ++i)
        points.push_back(ControllerFrames::packet(2, 0, 20 * i, 1000 + 5 * i, 500));
    return points;
}

// The screen's plot driven through the calibration window.
struct ScreenMouse
{
    explicit ScreenMouse(ContourAnalisisWidget* widget) : widget(widget), plot(widget->plot()) {}

    QPoint inWindow(double x, double y) const
    {
        const QPoint p = QPointF(plot->xAxis->coordToPixel(x), plot->yAxis->coordToPixel(y)).toPoint();
        return plot->mapTo(widget->window(), p);
    }

    void clickAt(double x, double y)
    {
        QWindow* window = widget->window()->windowHandle();
        QTest::mouseMove(window, inWindow(x, y));
        QTest::mousePress(window, Qt::LeftButton, {}, inWindow(x, y));
        QTest::mouseRelease(window, Qt::LeftButton, {}, inWindow(x, y));
    }

    QPointF curvePoint(int row) const
    {
        const QCPCurveData& point = *(plot->curve(0)->data()->at(row));
        return {point.key, point.value};
    }

    // A horizontal distance between two points of the trace, its value
    // placed below them.
    Measurement* placeHorizontalDistance(int rowA, int rowB)
    {
        widget->findChild<QAction*>(QStringLiteral("actionDistance"))->trigger();
        QTest::mouseClick(widget->findChild<QPushButton*>(QStringLiteral("pushButtonHorisontalDistance")),
                          Qt::LeftButton);
        const QPointF a = curvePoint(rowA);
        const QPointF b = curvePoint(rowB);
        clickAt(a.x(), a.y());
        clickAt(b.x(), b.y());
        clickAt((a.x() + b.x()) / 2, a.y());
        return widget->measurementsManager()->currentMeasurement();
    }

    ContourAnalisisWidget* widget;
    PlotWidget* plot;
};

void typeInto(QDoubleSpinBox* box, const QString& text)
{
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

} // namespace

// A contour trace recorded from the simulated controller over a
// pseudo-terminal, calibrated on the screen the launcher opens, and the new
// instrument values uploaded afterwards.
class CalibrationLinkTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    void calibratingARecordedTrace()
    {
        workspace::resetSettings();
        changeSettings([](AppSettings& s) {
            s.servise.is_developer_mode = true;
            s.view.axis_unit = 1;
        });
        QVERIFY(AppSettings::instance().save());
        workspace::RecordingFolders folders;
        WorkspaceLink link(Family::Contour);
        link.controller.setContourTrace(SimulatedController::contourTraceSequence(rampRecording()));
        QVERIFY(link.connect());
        ProfileAnalisisWidget* ws = link.window.get();
        QVERIFY(QTest::qWaitFor([&] { return int(ws->deviceControlWidget()->device()->type()) == CONTOUR; }, 5000));
        auto* start = ws->deviceControlWidget()->findChild<QPushButton*>(QStringLiteral("startTraceButton"));
        QVERIFY(QTest::qWaitFor([&] { return start->isEnabled(); }, kRecordingTimeoutMs));
        link.controller.stall(kStartDelayMs);
        QTest::mouseClick(start, Qt::LeftButton);
        const DataProvider* provider = ws->dataProvider();
        QVERIFY(provider && provider->isRecording());
        AbstractTrace* trace = provider->trace();
        QVERIFY(QTest::qWaitFor(
            [&] {
                return workspace::rawData(trace).value(0).size() == 101 && !ws->isReadInProgress()
                       && !provider->isRunning();
            },
            kRecordingTimeoutMs));
        const QByteArray fileBeforeSave = fileBytes(QLatin1String(AppSettings::kFileName));

        double distanceBefore = 0;
        double distanceAfter = 0;
        bool stayedOpen = false;
        QByteArray fileAfterCancel;
        int consoleChoices = 0;
        QPointer<DialogCalibration> screen;
        MessageBoxAnswerer answerer;
        answerer.onDialog([&](QWidget* modal) {
            if (auto* choice = qobject_cast<ConsoleSelectDialog*>(modal)) {
                if (++consoleChoices == 1) {
                    QTest::mouseClick(choice->findChild<QPushButton*>(QStringLiteral("cancelPushButton")),
                                      Qt::LeftButton);
                    return;
                }
                QTest::mouseClick(choice->findChild<QPushButton*>(QStringLiteral("addPushButton")), Qt::LeftButton);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                choice->findChild<QListWidget*>(QStringLiteral("consoleList"))->setCurrentRow(0);
                QTest::mouseClick(choice->findChild<QPushButton*>(QStringLiteral("selectPushButton")),
                                  Qt::LeftButton);
                return;
            }
            auto* dialog = qobject_cast<DialogCalibration*>(modal);
            if (!dialog || screen)
                return;
            screen = dialog;
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            QTest::qWait(50);
            auto* widget = dialog->findChild<ContourAnalisisWidget*>();
            ScreenMouse mouse(widget);
            Measurement* distance = mouse.placeHorizontalDistance(20, 80);
            if (distance) {
                distance->calculate();
                distanceBefore = distance->value();
            }
            typeInto(widget->findChild<QDoubleSpinBox*>(QStringLiteral("xAxisCompressionRatioSpinBox")),
                     QStringLiteral("1,02"));
            distanceAfter = distance ? distance->value() : 0;
            QPushButton* save = widget->findChild<QPushButton*>(QStringLiteral("savePushButton"));
            QTest::mouseClick(save, Qt::LeftButton);
            stayedOpen = screen && screen->isVisible();
            fileAfterCancel = fileBytes(QLatin1String(AppSettings::kFileName));
            QTest::mouseClick(save, Qt::LeftButton);
        });
        openCalibrationWindow(ws, {trace});

        QVERIFY(distanceBefore > 900);
        QVERIFY(std::abs(distanceAfter - distanceBefore * 1.02) < 1e-6 * distanceBefore);
        QVERIFY(stayedOpen);
        QCOMPARE(fileAfterCancel, fileBeforeSave);
        QCOMPARE(consoleChoices, 2);
        QVERIFY(!screen);
        const AppSettingsData saved = savedSettings();
        QCOMPARE(saved.current_console, QStringLiteral("Новая консоль"));
        QCOMPARE(saved.consoles.value(saved.current_console), (QVector<double>{20, 20, 22, 0, 6.2}));
        QCOMPARE(saved.calibration.x_axis_compression_ratio, 1.02);
        QVERIFY(saved.calibration.upload_device_settings);

        // The profile workspace's reaction to a settings change uploads the
        // new ratio once.
        ws->settingsChanged();
        QVERIFY(QTest::qWaitFor([&] { return link.controller.uploadedRecord().has_value(); }, 5000));
        QCOMPARE(link.controller.uploadedRecord()->values,
                 DeviceParameterRecord::fromCalibration(1.02, 1, 0, 0).values);
        QVERIFY(!AppSettings::instance().snapshot().calibration.upload_device_settings);

        // With the controller gone the upload fails and stays asked for.
        changeSettings([](AppSettings& s) { s.calibration.upload_device_settings = true; });
        link.controller.vanish();
        QVERIFY(link.controller.waitUntilSent(5000));
        QTest::qWait(300);
        ws->settingsChanged();
        QVERIFY(AppSettings::instance().snapshot().calibration.upload_device_settings);
    }
};

KALVORA_TEST_MAIN(CalibrationLinkTest)
#include "CalibrationLinkTest.moc"
