#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolBar>

#include "DeviceControlWidget.h"
#include "FastSettingsWidget.h"
#include "LinkTestSupport.h"
#include "MessageBoxAnswerer.h"
#include "TestMain.h"
#include "TraceList.h"
#include "WorkspaceFixture.h"
#include "plot/PlotAxisTicker.h"
#include "plot/PlotFlags.h"
#include "plot/PlotWidget.h"
#include "plot/TraceGraphsHolder.h"

using namespace workspace;

namespace {

const QStringList kToolActions{"actionReset",         "actionPAN",     "actionPTS", "actionRLine",        "actionRFit",
                               "actionSelectionZoom", "actionMarkers", "actionCut", "actionToMeasurement"};
const QStringList kChainControls{"medianCheckBox", "medianSpinBox", "profileFilterComboBox", "threadAngleCheckBox",
                                 "threadAngleSpinBox"};

// The named children of the workspace that have the property, in the
// order of the names.
template <typename Child>
QStringList childrenThat(const ProfileAnalisisWidget& ws, const QStringList& names, bool (Child::*property)() const)
{
    QStringList having;
    for (const QString& name : names) {
        if ((ws.findChild<Child*>(name)->*property)())
            having << name;
    }
    return having;
}

QStringList enabledActions(const ProfileAnalisisWidget& ws)
{
    return childrenThat(ws, kToolActions, &QAction::isEnabled);
}

QStringList checkedActions(const ProfileAnalisisWidget& ws)
{
    return childrenThat(ws, kToolActions, &QAction::isChecked);
}

QStringList enabledChainControls(const ProfileAnalisisWidget& ws)
{
    return childrenThat(ws, kChainControls, &QWidget::isEnabled);
}

void checkAll(ProfileAnalisisWidget& ws)
{
    for (const QString& name : kToolActions) {
        auto* action = ws.findChild<QAction*>(name);
        action->setEnabled(true);
        action->setChecked(true);
    }
}

PlotWidget* plot(const ProfileAnalisisWidget& ws, const char* name)
{
    return ws.findChild<PlotWidget*>(QLatin1String(name));
}

// A trace of joined data along a line, x in micrometres.
AbstractTrace* addLine(ProfileAnalisisWidget& ws, int points, double step, double slope)
{
    QVector<double> x;
    QVector<double> y;
    for (int i = 0; i < points; ++i) {
        x << i * step;
        y << slope * i * step;
    }
    ws.addJoinedTrace({x, y});
    return ws.traces().last();
}

} // namespace

// The profile workspace's window: its form, its plots, the unit texts of the
// axes, the controls that follow the controller type, and the locking of the
// tools while traces are read or recorded.
class ProfileWorkspaceTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::C)); }

    void init() { resetSettings(); }

    void theToolBar_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tip");
        QTest::addColumn<QString>("icon");
        QTest::addColumn<bool>("checkable");
        QTest::newRow("reset") << "actionReset" << "RST" << "Сбросить" << "reset.png" << false;
        QTest::newRow("pan") << "actionPAN" << "Перемещение" << "Перемещение" << "pan.png" << true;
        QTest::newRow("points") << "actionPTS" << "PTS" << "Показать точки" << "pts.png" << true;
        QTest::newRow("r-line") << "actionRLine" << "R-LN" << "R-линия" << "rline.png" << true;
        QTest::newRow("r-fit") << "actionRFit" << "R-FT" << "Спрямить по R-линии" << "rline_s.png" << true;
        QTest::newRow("zoom") << "actionSelectionZoom" << "| + |" << "Приближение выделения" << "select_z.png" << true;
        QTest::newRow("markers") << "actionMarkers" << "| S |" << "Выделение" << "select.png" << true;
        QTest::newRow("cut") << "actionCut" << "| C |" << "Вырезать выделение" << "cutsel.png" << false;
        QTest::newRow("measurement") << "actionToMeasurement" << "В ИЗМЕРЕНИЯ" << "Открыть трассу для измерений" << ""
                                     << false;
    }

    void theToolBar()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, tip);
        QFETCH(QString, icon);
        QFETCH(bool, checkable);
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        auto* action = ws.findChild<QAction*>(name);
        QVERIFY(action);
        QCOMPARE(action->text(), text);
        QCOMPARE(action->toolTip(), tip);
        QCOMPARE(action->isCheckable(), checkable);
        if (icon.isEmpty()) {
            QVERIFY(action->icon().isNull());
        } else {
            const QIcon expected(QStringLiteral(":/icons/icons/") + icon);
            QVERIFY(!expected.pixmap(32, 32).isNull());
            QCOMPARE(action->icon().pixmap(32, 32).toImage(), expected.pixmap(32, 32).toImage());
        }

        QStringList order;
        for (QAction* entry : ws.findChild<QToolBar*>(QStringLiteral("toolBar"))->actions()) {
            if (entry->isSeparator())
                order << QStringLiteral("|");
            else if (!entry->objectName().isEmpty())
                order << entry->objectName();
        }
        QCOMPARE(order, (QStringList{"actionReset", "actionPAN", "actionPTS", "actionRLine", "actionRFit",
                                     "actionSelectionZoom", "actionMarkers", "actionCut", "|",
                                     "actionToMeasurement"}));
    }

    void theWorkspace()
    {
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        QCOMPARE(ws.objectName(), QStringLiteral("ProfileAnalisisWidget"));
        QCOMPARE(ws.name(), QStringLiteral("ПРОФИЛЬ"));
        QVERIFY(!ws.parent());
        QVERIFY(ws.deviceControlWidget());
        QCOMPARE(ws.deviceControlWidget()->objectName(), QStringLiteral("deviceControlWidget"));
        QCOMPARE(ws.keyReceiver(), ws.deviceControlWidget()->keyReceiver());
        QVERIFY(ws.traces().isEmpty());

        emit ws.deviceControlWidget()->statusBarText(QStringLiteral("Устройство не найдено"));
        QCOMPARE(ws.findChild<QStatusBar*>(QStringLiteral("statusBar"))->currentMessage(),
                 QStringLiteral("Устройство не найдено"));
    }

    // Every axis of the three plots belongs to the plots' new axis boxes and
    // carries the program's ticker; a snap on the main plot finds the curve.
    void thePlotsAfterTheirSetUp()
    {
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        for (const char* name : {"plotMain", "plotHist", "plotRMR"}) {
            PlotWidget* p = plot(ws, name);
            QCOMPARE(p->axisRectCount(), 1);
            for (QCPAxis* axis : {p->xAxis, p->yAxis, p->xAxis2, p->yAxis2}) {
                QVERIFY2(axis, name);
                QCOMPARE(axis->axisRect(), p->axisRect());
                QVERIFY2(PlotAxisTicker::of(axis), name);
            }
        }
        QVERIFY(!plot(ws, "plotMain")->yAxis2->visible());
        QVERIFY(!plot(ws, "plotHist")->yAxis->visible());
        QVERIFY(!plot(ws, "plotHist")->yAxis2->visible());
        QVERIFY(!plot(ws, "plotRMR")->yAxis->visible());
        QVERIFY(plot(ws, "plotRMR")->yAxis2->visible());

        // The side plots follow the main plot's heights.
        plot(ws, "plotMain")->yAxis->setRange(-3, 7);
        QCOMPARE(plot(ws, "plotHist")->yAxis->range(), QCPRange(-3, 7));
        QCOMPARE(plot(ws, "plotRMR")->yAxis->range(), QCPRange(-3, 7));

        ws.resize(1280, 800);
        ws.show();
        QVERIFY(QTest::qWaitForWindowExposed(&ws));
        AbstractTrace* trace = addLine(ws, 101, 10, 0.5);
        PlotWidget* main = plot(ws, "plotMain");
        main->setInteractions(QCP::iSelectPlottables | QCP::iRangeSelection);
        main->replot();
        const QPoint pixel(int(main->xAxis->coordToPixel(0.5)), int(main->yAxis->coordToPixel(0.25)));
        QTest::mouseMove(ws.windowHandle(), main->mapTo(&ws, pixel));
        QCOMPARE(main->selectionMarkerCurve(), ws.holder(trace->id)->profileCurve());
        QCOMPARE(main->selectionMarkerIndex(), qint64(50));
    }

    void theControllerType_data()
    {
        QTest::addColumn<int>("typeAtStart");
        QTest::addColumn<int>("newType");
        QTest::newRow("profile, then contour") << 2 << 0;
        QTest::newRow("contour, then profile") << 0 << 2;
        QTest::newRow("contour with profile, then profile") << 1 << 2;
    }

    void theControllerType()
    {
        QFETCH(int, typeAtStart);
        QFETCH(int, newType);
        changeSettings([typeAtStart](AppSettings& s) { s.device.device_type = typeAtStart; });
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        const auto followsType = [&ws](int type) {
            const bool contour = type == 0 || type == 1;
            return !ws.findChild<QCheckBox*>(QStringLiteral("threadAngleCheckBox"))->isHidden() == contour
                && !ws.findChild<QDoubleSpinBox*>(QStringLiteral("threadAngleSpinBox"))->isHidden() == contour
                && ws.findChild<QComboBox*>(QStringLiteral("profileFilterComboBox"))->isEnabled() == !contour;
        };
        QVERIFY(followsType(typeAtStart));
        emit ws.deviceControlWidget()->newDeviceType(newType);
        QVERIFY(followsType(newType));
        // The quick settings follow as well: the profile controller has no
        // measurement modes.
        QCOMPARE(ws.findChild<QComboBox*>(QStringLiteral("measurementModeComboBox"))->isHidden(), newType == 2);
    }

    void theAxisUnit_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<double>("factor");
        QTest::newRow("millimetres") << 0 << " мм" << 0.001;
        QTest::newRow("micrometres") << 1 << " мкм" << 1.0;
        QTest::newRow("nanometres") << 2 << " нм" << 1000.0;
    }

    // The unit of the settings on the tick labels and in the drawn trace,
    // at start and after a settings change.
    void theAxisUnit()
    {
        QFETCH(int, unit);
        QFETCH(QString, suffix);
        QFETCH(double, factor);
        changeSettings([unit](AppSettings& s) { s.view.axis_unit = unit; });
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        ws.resize(1280, 800);
        AbstractTrace* trace = addLine(ws, 11, 100, 0.01);
        const auto labelsEndWith = [&ws](const char* plotName, bool keyAxis, const QString& text) {
            PlotWidget* p = plot(ws, plotName);
            p->replot();
            // A tick whose label would crowd its neighbours' has none.
            QVector<QString> labels = (keyAxis ? p->xAxis : p->yAxis)->tickVectorLabels();
            labels.removeAll(QString());
            if (labels.isEmpty())
                return false;
            for (const QString& label : labels) {
                if (!label.endsWith(text))
                    return false;
            }
            return true;
        };
        QVERIFY(labelsEndWith("plotMain", true, suffix));
        QVERIFY(labelsEndWith("plotMain", false, suffix));
        QVERIFY(labelsEndWith("plotHist", true, QStringLiteral("%")));
        QVERIFY(labelsEndWith("plotRMR", true, QStringLiteral("%")));
        QCOMPARE(ws.holder(trace->id)->keys().last(), 1000 * factor);

        const int other = (unit + 1) % 3;
        changeSettings([other](AppSettings& s) { s.view.axis_unit = other; });
        ws.settingsChanged();
        const double otherFactor = other == 0 ? 0.001 : other == 1 ? 1.0 : 1000.0;
        QCOMPARE(ws.holder(trace->id)->keys().last(), 1000 * otherFactor);
        QVERIFY(!labelsEndWith("plotMain", true, suffix));
    }

    // Who locks what: the control panel (a recording) locks the tools, the
    // chain options and the quick settings; a read locks the tools only.
    // Unlocking leaves Cut and R-fit to their own modes.
    void theLocks()
    {
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        DeviceControlWidget* panel = ws.deviceControlWidget();
        auto* fileName = ws.findChild<FastSettingsWidget*>()->findChild<QLineEdit*>();
        ws.findChild<QCheckBox*>(QStringLiteral("medianCheckBox"))->setChecked(true);
        QSignalSpy locks(&ws, &ProfileAnalisisWidget::lockButtons);
        QSignalSpy unlocks(&ws, &ProfileAnalisisWidget::unlockButtons);
        const QStringList chainControlsOfProfileController{"medianCheckBox", "medianSpinBox", "profileFilterComboBox",
                                                           "threadAngleCheckBox"};

        checkAll(ws);
        emit panel->lockButtons();
        QCOMPARE(enabledActions(ws), QStringList());
        QCOMPARE(checkedActions(ws), QStringList());
        QCOMPARE(enabledChainControls(ws), QStringList());
        QVERIFY(!fileName->isEnabled());
        QCOMPARE(locks.count(), 1);

        emit panel->unlockButtons();
        const QStringList unlocked{"actionReset", "actionPAN", "actionPTS", "actionRLine", "actionSelectionZoom",
                                   "actionMarkers", "actionToMeasurement"};
        QCOMPARE(enabledActions(ws), unlocked);
        // The thread-angle value waits for its check box.
        QCOMPARE(enabledChainControls(ws), chainControlsOfProfileController);
        QVERIFY(fileName->isEnabled());
        QCOMPARE(unlocks.count(), 1);

        // A file read: the tools are locked while it runs, the options are not.
        QStringList enabledAtStart;
        QStringList chainAtStart;
        connect(&ws, &ProfileAnalisisWidget::lockButtons, this, [&] {
            enabledAtStart = enabledActions(ws);
            chainAtStart = enabledChainControls(ws);
        });
        checkAll(ws);
        QVERIFY(writeProfileFile(QStringLiteral("trace.txt"), wavyProfile(4000)));
        QVERIFY(openFile(ws, QDir::current().filePath(QStringLiteral("trace.txt")), PROFILE));
        QCOMPARE(enabledAtStart, QStringList());
        QCOMPARE(chainAtStart, chainControlsOfProfileController);
        QCOMPARE(checkedActions(ws), QStringList());
        QCOMPARE(enabledActions(ws), unlocked);
        QCOMPARE(locks.count(), 2);
        QCOMPARE(unlocks.count(), 2);
        QVERIFY(!ws.isReadInProgress());
    }
};

KALVORA_TEST_MAIN(ProfileWorkspaceTest)
#include "ProfileWorkspaceTest.moc"
