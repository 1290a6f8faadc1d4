#include "DebugCapture.h"
#include "DeviceControlWidget.h"
#include "KeyReceiver.h"
#include "PanelsWindow.h"
#include "TestMain.h"

#include <QDialog>
#include <QGridLayout>
#include <QKeyEvent>
#include <QPushButton>

using Family = SimulatedController::Family;
using Commands = std::vector<std::string>;

Q_DECLARE_METATYPE(Commands)

namespace {

const QStringList kJogButtons = {QStringLiteral("xplusButton"), QStringLiteral("xminusButton"),
                                 QStringLiteral("yplusButton"), QStringLiteral("yminusButton"),
                                 QStringLiteral("zplusButton"), QStringLiteral("zminusButton")};

// The jog commands a button sends while held: pressed, then released.
Commands jogCommands(const QString& buttonName)
{
    static const QMap<QString, Commands> commands = {
        {QStringLiteral("xplusButton"), {"DX-", "DX0"}},   {QStringLiteral("xminusButton"), {"DX+", "DX0"}},
        {QStringLiteral("yplusButton"), {"DY+", "DY0"}},   {QStringLiteral("yminusButton"), {"DY-", "DY0"}},
        {QStringLiteral("zplusButton"), {"DZ+", "DZ0"}},   {QStringLiteral("zminusButton"), {"DZ-", "DZ0"}},
    };
    return commands.value(buttonName);
}

QString redIconName(const QString& buttonName)
{
    static const QMap<QString, QString> icons = {
        {QStringLiteral("xplusButton"), QStringLiteral("Spine_right")},
        {QStringLiteral("xminusButton"), QStringLiteral("Spine_left")},
        {QStringLiteral("yplusButton"), QStringLiteral("table_fwd")},
        {QStringLiteral("yminusButton"), QStringLiteral("table_back")},
        {QStringLiteral("zplusButton"), QStringLiteral("kontur_up")},
        {QStringLiteral("zminusButton"), QStringLiteral("kontur_down")},
    };
    return QStringLiteral(":/icons/icons/") + icons.value(buttonName) + QStringLiteral("_red.png");
}

bool showsIcon(const QPushButton* button, const QString& path)
{
    const QSize size(64, 48);
    return button->icon().pixmap(size).toImage() == QIcon(path).pixmap(size).toImage();
}

// A modal dialog over the main window that records the key releases that reach it.
class ReleaseRecordingDialog : public QDialog
{
public:
    explicit ReleaseRecordingDialog(QWidget* parent) : QDialog(parent) { setModal(true); }
    QList<int> releasedKeys;

protected:
    void keyReleaseEvent(QKeyEvent* event) override
    {
        releasedKeys << event->key();
        QDialog::keyReleaseEvent(event);
    }
};

} // namespace

// The jog keys and buttons of the control panel against a simulated contour
// controller: the commands the controller receives for every button and key
// under both key maps, and the keys' release rules.
class JogKeysTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_link = std::make_unique<PanelLink>(Family::Contour);
        QVERIFY(m_link->connect());
        QVERIFY(QTest::qWaitFor([&] { return button("xplusButton")->isVisible(); }, 5000));
    }

    void cleanupTestCase() { m_link.reset(); }

    void init()
    {
        setAlternative(false);
        keys()->blockSignals(false);
        if (!window()->isActiveWindow())
            QVERIFY(window()->showActive());
        m_link->controller.clearReceived();
    }

    void jogButtonsAndKeys_data()
    {
        QTest::addColumn<bool>("alternative");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("buttonName");

        for (bool alternative : {false, true}) {
            const char* map = alternative ? "alternative" : "plain";
            for (const QString& name : kJogButtons)
                QTest::addRow("%s, mouse on %s", map, qPrintable(name)) << alternative << 0 << name;
            const QList<QPair<int, QString>> keyRows = {
                {Qt::Key_Right, "xplusButton"},
                {Qt::Key_Left, "xminusButton"},
                {Qt::Key_Up, alternative ? "yplusButton" : "zplusButton"},
                {Qt::Key_Down, alternative ? "yminusButton" : "zminusButton"},
                {Qt::Key_PageUp, alternative ? "zplusButton" : "yplusButton"},
                {Qt::Key_PageDown, alternative ? "zminusButton" : "yminusButton"},
            };
            for (const auto& row : keyRows)
                QTest::addRow("%s, key %s", map, qPrintable(QKeySequence(row.first).toString()))
                    << alternative << row.first << row.second;
        }
    }

    void jogButtonsAndKeys()
    {
        QFETCH(bool, alternative);
        QFETCH(int, key);
        QFETCH(QString, buttonName);
        setAlternative(alternative);
        QPushButton* jog = button(buttonName);
        const Commands expected = jogCommands(buttonName);

        if (key)
            QTest::keyPress(mainWindow(), Qt::Key(key));
        else
            QTest::mousePress(jog, Qt::LeftButton);
        QVERIFY(waitForCommand(m_link->controller, expected[0]));
        QVERIFY(jog->isDown());
        QVERIFY(showsIcon(jog, redIconName(buttonName)));

        if (key)
            QTest::keyRelease(mainWindow(), Qt::Key(key));
        else
            QTest::mouseRelease(jog, Qt::LeftButton);
        QVERIFY(waitForCommand(m_link->controller, expected[1]));
        QVERIFY(!jog->isDown());
        QVERIFY(showsIcon(jog, QString(redIconName(buttonName)).replace("_red", "_black")));
        QCOMPARE(sentCommands(), expected);
    }

    void theKeyMapPlacesTheButtons()
    {
        for (bool alternative : {true, false}) {
            setAlternative(alternative);
            const int yColumn = alternative ? 1 : 5;
            const int zColumn = alternative ? 5 : 1;
            QCOMPARE(gridCell("yplusButton"), QPoint(1, yColumn));
            QCOMPARE(gridCell("yminusButton"), QPoint(3, yColumn));
            QCOMPARE(gridCell("zplusButton"), QPoint(1, zColumn));
            QCOMPARE(gridCell("zminusButton"), QPoint(3, zColumn));
            QCOMPARE(gridCell("xminusButton"), QPoint(2, 0));
            QCOMPARE(gridCell("xplusButton"), QPoint(2, 4));
        }
    }

    void keypadEnterAndRepeatsSendNothing()
    {
        QTest::keyClick(mainWindow(), Qt::Key_Enter, Qt::KeypadModifier);
        QTest::keyPress(mainWindow(), Qt::Key_Right);
        QVERIFY(waitForCommand(m_link->controller, "DX-"));
        for (int i = 0; i < 3; ++i)
            QTest::simulateEvent(mainWindow(), true, Qt::Key_Right, Qt::NoModifier, QString(), true);
        QTest::simulateEvent(mainWindow(), false, Qt::Key_Right, Qt::NoModifier, QString(), true);
        QVERIFY(button("xplusButton")->isDown());
        QTest::keyRelease(mainWindow(), Qt::Key_Right);
        QVERIFY(waitForCommand(m_link->controller, "DX0"));
        QTest::qWait(300);
        QCOMPARE(sentCommands(), (Commands{"DX-", "DX0"}));
        QCOMPARE(window()->recordingCount(), 0);
    }

    // The release of a key whose press drove an axis stops the axis wherever
    // the release arrives.
    void aHeldKeyIsLetGoWhereverItsReleaseArrives_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("at a dialog") << "dialog";
        QTest::newRow("while the receiver is off") << "blocked";
        QTest::newRow("when the application loses the keyboard") << "deactivation";
    }

    void aHeldKeyIsLetGoWhereverItsReleaseArrives()
    {
        QFETCH(QString, where);
        QTest::keyPress(mainWindow(), Qt::Key_Up);
        QVERIFY(waitForCommand(m_link->controller, "DZ+"));

        ReleaseRecordingDialog dialog(window());
        if (where == "dialog") {
            dialog.show();
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            QTest::keyRelease(dialog.windowHandle(), Qt::Key_Up);
        } else if (where == "blocked") {
            keys()->blockSignals(true);
            QTest::keyRelease(mainWindow(), Qt::Key_Up);
        } else {
            // What the platform does when another program takes the keyboard.
            QApplication::setActiveWindow(nullptr);
            QEvent deactivate(QEvent::ApplicationDeactivate);
            QApplication::sendEvent(qApp, &deactivate);
        }
        QVERIFY(waitForCommand(m_link->controller, "DZ0"));
        QVERIFY(!button("zplusButton")->isDown());
        QCOMPARE(sentCommands(), (Commands{"DZ+", "DZ0"}));
        QVERIFY(dialog.releasedKeys.isEmpty());

        // The key is no longer held: its next release follows the plain rules.
        dialog.close();
        keys()->blockSignals(false);
        QVERIFY(window()->showActive());
        QTest::keyRelease(mainWindow(), Qt::Key_Up);
        QTest::qWait(200);
        QCOMPARE(sentCommands(), (Commands{"DZ+", "DZ0", "DZ0"}));
    }

    void aHeldKeyLetsGoOfItsButtonAfterTheMapChanged()
    {
        QTest::keyPress(mainWindow(), Qt::Key_Up);
        QVERIFY(waitForCommand(m_link->controller, "DZ+"));
        setAlternative(true);
        QTest::keyRelease(mainWindow(), Qt::Key_Up);
        QVERIFY(waitForCommand(m_link->controller, "DZ0"));
        QVERIFY(!button("zplusButton")->isDown());
        QVERIFY(!button("yplusButton")->isDown());
        QCOMPARE(sentCommands(), (Commands{"DZ+", "DZ0"}));
    }

    void returnReleasedAtADialogStartsNothing()
    {
        QTest::keyPress(mainWindow(), Qt::Key_Return);
        QVERIFY(button("startTraceButton")->isDown());
        ReleaseRecordingDialog dialog(window());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::keyRelease(dialog.windowHandle(), Qt::Key_Return);
        QVERIFY(!button("startTraceButton")->isDown());
        QTest::qWait(300);
        QCOMPARE(sentCommands(), Commands{});
        QCOMPARE(window()->recordingCount(), 0);
    }

    void returnAndSpaceStartAndStopOnTheirRelease()
    {
        m_link->controller.setContourTrace({});
        QTest::keyPress(mainWindow(), Qt::Key_Return);
        QTest::qWait(100);
        QCOMPARE(window()->recordingCount(), 0);
        QTest::keyRelease(mainWindow(), Qt::Key_Return);
        QCOMPARE(window()->recordingCount(), 1);
        QVERIFY(waitForCommand(m_link->controller, "CS"));

        QTest::keyClick(mainWindow(), Qt::Key_Space);
        QVERIFY(waitForCommand(m_link->controller, "CA"));
        QCOMPARE(sentCommands(), (Commands{"SX0", "PF2", "PL2", "CS", "CC", "CA"}));
        QVERIFY(QTest::qWaitFor([&] { return !window()->provider()->isRunning(); }, 5000));
    }

    // A press swallowed while the receiver is off does not let its release
    // act once the receiver is on again; the next press and release do.
    void aReleaseAfterASwallowedPressIsNotActedOn()
    {
        keys()->blockSignals(true);
        QTest::keyPress(mainWindow(), Qt::Key_Right);
        keys()->blockSignals(false);
        DebugCapture debug;
        QTest::keyRelease(mainWindow(), Qt::Key_Right);
        QTest::qWait(200);
        QCOMPARE(sentCommands(), Commands{});
        QVERIFY(debug.contains(QStringLiteral("protection from release: 1")));

        QTest::keyClick(mainWindow(), Qt::Key_Right);
        QVERIFY(waitForCommand(m_link->controller, "DX0"));
        QCOMPARE(sentCommands(), (Commands{"DX-", "DX0"}));
    }

    void otherKeysAndStrayReleasesPassThrough()
    {
        ReleaseRecordingDialog dialog(window());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::keyClick(dialog.windowHandle(), Qt::Key_Tab);
        QTest::keyRelease(dialog.windowHandle(), Qt::Key_Right);
        QCOMPARE(dialog.releasedKeys, (QList<int>{Qt::Key_Tab, Qt::Key_Right}));
        QTest::qWait(200);
        QCOMPARE(sentCommands(), Commands{});
    }

    // A receiver installed later sees the keys first; once its panel is
    // gone, the keys work the remaining panel again.
    void theReceiverLeavesTheApplicationWithThePanel()
    {
        QPointer<KeyReceiver> receiver;
        {
            PanelsWindow second;
            receiver = second.keys();
            QCOMPARE(receiver->keyMap().size(), 8);
        }
        QVERIFY(!receiver);
        QTest::keyClick(mainWindow(), Qt::Key_Right);
        QVERIFY(waitForCommand(m_link->controller, "DX0"));
        QCOMPARE(sentCommands(), (Commands{"DX-", "DX0"}));
    }

private:
    PanelsWindow* window() const { return m_link->window.get(); }
    KeyReceiver* keys() const { return window()->keys(); }
    QWindow* mainWindow() const { return window()->windowHandle(); }
    QPushButton* button(const QString& name) const
    {
        auto* found = window()->panel()->findChild<QPushButton*>(name);
        Q_ASSERT(found);
        return found;
    }
    void setAlternative(bool alternative)
    {
        {
            AppSettings& settings = AppSettings::instance();
            QMutexLocker lock(&settings.mutex());
            settings.device.alternative_managment = alternative;
        }
        QCOMPARE(window()->panel()->keyReceiver(), keys());
    }
    QPoint gridCell(const QString& name) const
    {
        auto* grid = window()->panel()->findChild<QGridLayout*>(QStringLiteral("gridLayout"));
        int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(grid->indexOf(button(name)), &row, &column, &rowSpan, &columnSpan);
        return QPoint(row, column);
    }
    Commands sentCommands() const { return commandsBesidesKeepAlive(m_link->controller); }

    std::unique_ptr<PanelLink> m_link;
};

KALVORA_TEST_MAIN(JogKeysTest)
#include "JogKeysTest.moc"
