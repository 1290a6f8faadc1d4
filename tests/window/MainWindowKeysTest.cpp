#include "ControllerLink.h"
#include "DataProvider.h"
#include "DeviceCommands.h"
#include "MainWindow.h"
#include "MessageBoxAnswerer.h"
#include "ProfileAnalisisWidget.h"
#include "RecordingState.h"
#include "ReferenceRaPrompt.h"
#include "SettingsFixture.h"
#include "TestMain.h"
#include "TextInput.h"
#include "WorkspaceFixture.h"

#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeView>

using Commands = std::vector<std::string>;

Q_DECLARE_METATYPE(Commands)

namespace {

const QList<int> kJogKeys = {Qt::Key_Left, Qt::Key_Right,  Qt::Key_Up,
                             Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown};

// Records the keys whose presses reach the watched object.
class KeyPressRecorder : public QObject
{
public:
    explicit KeyPressRecorder(QObject* watched) { watched->installEventFilter(this); }
    QList<int> keys;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress)
            keys << static_cast<QKeyEvent*>(event)->key();
        return QObject::eventFilter(watched, event);
    }
};

void clickKeys(QWindow* window, const QList<int>& keys)
{
    for (const int key : keys)
        QTest::keyClick(window, Qt::Key(key));
}

// A dialog that a key should have closed and did not goes, so that the test
// fails instead of waiting for it.
void closeIfOpen(QWidget* dialog)
{
    if (dialog->isVisible())
        qobject_cast<QDialog*>(dialog)->reject();
}

// Clicks the menu's title in the menu bar; the answerer picks the entry.
void openMenu(MainWindow& window, const QString& title)
{
    QMenuBar* bar = window.menuBar();
    for (QAction* action : bar->actions()) {
        if (action->text() == title)
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(action).center());
    }
}

} // namespace

// The keys on the program's own window with a profile controller connected:
// in a dialog or a field that takes text or steps they reach the dialog or
// the field and send the instrument nothing of the jog keys; elsewhere on
// the window they jog, start and stop.
class MainWindowKeysTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        loadSettingsFile();
        m_link = std::make_unique<Link>(SimulatedController::Family::Profile);
        QVERIFY(m_link->connect());
        QVERIFY(QTest::qWaitFor([&] { return field("traceLengthSpinBox")->isVisible(); }, 5000));
    }

    void cleanupTestCase() { m_link.reset(); }

    void init()
    {
        if (QWidget* focused = QApplication::focusWidget())
            focused->clearFocus();
        if (!window().isActiveWindow())
            QVERIFY(showActive(window()));
        m_link->controller.clearReceived();
    }

    // "Файл" → "Открыть трассу": the jog keys reach the dialog, a name with
    // a space is typed whole, and Return opens the file; its release on the
    // window afterwards starts nothing. Right then jogs on the window again.
    void theOpenDialogTakesItsKeys()
    {
        const QString path = QDir::current().filePath(QStringLiteral("my trace.txt"));
        QVERIFY(workspace::writeProfileFile(path, workspace::wavyProfile(400)));
        QSignalSpy finished(profile(), &ProfileAnalisisWidget::unlockButtons);

        MessageBoxAnswerer answerer;
        answerer.chooseMenuEntry(QStringLiteral("Открыть трассу"));
        QList<int> reached;
        QString typed;
        Commands sentWhileOpen{"none"};
        answerer.onDialog([&](QWidget* dialog) {
            KeyPressRecorder recorder(dialog->windowHandle());
            QLineEdit* name = MessageBoxAnswerer::typeFileName(dialog, QFileInfo(path).fileName());
            QVERIFY(name);
            clickKeys(dialog->windowHandle(), kJogKeys);
            reached = recorder.keys;
            if (QWidget* completions = QApplication::activePopupWidget())
                QTest::keyClick(completions, Qt::Key_Escape);
            typed = name->text();
            sentWhileOpen = sentCommands();
            QTest::keyPress(dialog->windowHandle(), Qt::Key_Return);
            closeIfOpen(dialog);
        });
        openMenu(window(), QStringLiteral("Файл"));
        QTRY_VERIFY_WITH_TIMEOUT(!finished.isEmpty(), 10000);
        QCOMPARE(reached, kJogKeys);
        QCOMPARE(typed, QStringLiteral("my trace.txt"));
        QCOMPARE(sentWhileOpen, Commands{});
        QCOMPARE(profile()->traces().size(), 1);
        QCOMPARE(profile()->traces().first()->filePath(), path);

        QVERIFY(showActive(window()));
        QTest::keyRelease(window().windowHandle(), Qt::Key_Return);
        QTest::qWait(300);
        QCOMPARE(sentCommands(), Commands{});
        QCOMPARE(profile()->traces().size(), 1);

        QTest::keyPress(window().windowHandle(), Qt::Key_Right);
        QVERIFY(waitForCommand(m_link->controller, "DX-"));
        QTest::keyRelease(window().windowHandle(), Qt::Key_Right);
        QVERIFY(waitForCommand(m_link->controller, "DX0"));
        QCOMPARE(sentCommands(), (Commands{"DX-", "DX0"}));
    }

    // The control panel's prompt for the reference Ra: Up steps the value
    // and Return accepts it; only the calibration goes out.
    void thePromptTakesItsKeys()
    {
        double before = 0;
        double accepted = 0;
        MessageBoxAnswerer answerer;
        answerer.onDialog([&](QWidget* dialog) {
            if (!qobject_cast<ReferenceRaPrompt*>(dialog))
                return;
            auto* value = dialog->findChild<QDoubleSpinBox*>();
            before = value->value();
            clickKeys(dialog->windowHandle(), {Qt::Key_Up, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down});
            accepted = value->value();
            QTest::keyPress(dialog->windowHandle(), Qt::Key_Return);
            closeIfOpen(dialog);
        });
        QTest::mouseClick(button("calibVelmarPushButton"), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return accepted != 0 && !QApplication::activeModalWidget(); }, 5000));
        QCOMPARE(accepted, before + 0.001);
        const std::string calibration = DeviceCommands::calibration(PROFILE, accepted);
        QVERIFY(waitForCommand(m_link->controller, calibration));

        QVERIFY(showActive(window()));
        QTest::keyRelease(window().windowHandle(), Qt::Key_Return);
        QTest::qWait(300);
        QCOMPARE(sentCommands(), Commands{calibration});
    }

    void theWindowsFieldsTakeTheirKeys_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QVariant>("start");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QVariant>("end");
        QTest::addColumn<Commands>("sent");

        const QList<int> allKeys = kJogKeys + QList<int>{Qt::Key_Return, Qt::Key_Space};
        QTest::newRow("file name") << "traceFileNameLineEdit" << QByteArray("text") << QVariant(QString())
                                   << "проба 1" << allKeys << QVariant(QStringLiteral("проба 1 ")) << Commands{};
        QTest::newRow("trace length")
            << "traceLengthSpinBox" << QByteArray("value") << QVariant(5) << QString()
            << QList<int>{Qt::Key_Up, Qt::Key_PageUp, Qt::Key_Down, Qt::Key_PageDown, Qt::Key_Left, Qt::Key_Right,
                          Qt::Key_Return}
            << QVariant(5)
            // Return in a spin box sends its value once more.
            << Commands{DeviceCommands::traceLength(6), DeviceCommands::traceLength(16),
                        DeviceCommands::traceLength(15), DeviceCommands::traceLength(5),
                        DeviceCommands::traceLength(5)};
    }

    // A field of the window with the keyboard focus: the typed text or the
    // stepped value is the field's, and the instrument gets no jog, start or
    // stop.
    void theWindowsFieldsTakeTheirKeys()
    {
        QFETCH(QString, field);
        QFETCH(QByteArray, property);
        QFETCH(QVariant, start);
        QFETCH(QString, typed);
        QFETCH(QList<int>, keys);
        QFETCH(QVariant, end);
        QFETCH(Commands, sent);
        QWidget* target = this->field(field);
        target->setProperty(property.constData(), start);
        QTest::qWait(100);
        m_link->controller.clearReceived();

        QTest::mouseClick(target, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), target);
        KeyPressRecorder recorder(target);
        typeText(window().windowHandle(), typed);
        for (const int key : keys)
            QTest::keyClick(window().windowHandle(), Qt::Key(key), Qt::NoModifier);
        QCOMPARE(target->property(property.constData()), end);
        QCOMPARE(recorder.keys.mid(typed.size()), keys);
        QTest::qWait(300);
        QCOMPARE(sentCommands(), sent);
        QVERIFY(!profileHasRecording());
    }

    // A trace started and stopped with the mouse disables the buttons under
    // the cursor for a while; afterwards, and after a visit to a measurement
    // tab, the arrows jog again and leave the window's number fields alone.
    void theKeysJogAfterARecordingAndATabChange()
    {
        workspace::RecordingFolders folders;
        window().resize(1366, 768);
        SimulatedController::ProfileTrace trace;
        trace.points = {40000, 40001, 40002, 40003, 40004};
        trace.blockSamples.assign(250, 1000);
        trace.endsByItself = false;
        m_link->controller.setProfileTrace(trace);
        m_link->controller.stall(kStartDelayMs);
        auto* density = qobject_cast<QSpinBox*>(field("histogramDensitySpinBox"));
        const int densityBefore = density->value();

        QTest::mouseClick(button("startTraceButton"), Qt::LeftButton);
        QVERIFY(profileHasRecording());
        const AbstractTrace* recorded = profile()->dataProvider()->trace();
        QVERIFY(QTest::qWaitFor([&] { return rowCount(recorded) == 5; }, 5000));
        QTest::mouseClick(button("stopTraceButton"), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return isIdle(window()); }, 10000));
        QCOMPARE(rowCount(recorded), 250);

        m_link->controller.clearReceived();
        clickKeys(window().windowHandle(), {Qt::Key_Right, Qt::Key_Up, Qt::Key_Down});
        QVERIFY(waitForCommand(m_link->controller, "DX0"));
        QTest::qWait(300);
        QCOMPARE(sentCommands(), (Commands{"DX-", "DX0", "DZ+", "DZ0", "DZ-", "DZ0"}));
        QCOMPARE(density->value(), densityBefore);

        auto* toolBar = profile()->findChild<QToolBar*>(QStringLiteral("toolBar"));
        QTest::mouseClick(toolBar->widgetForAction(profile()->findChild<QAction*>(QStringLiteral("actionToMeasurement"))),
                          Qt::LeftButton);
        QTabWidget* tabs = window().findChild<QTabWidget*>(QStringLiteral("tabWidget"));
        QCOMPARE(tabs->currentIndex(), 1);
        auto* tree = tabs->currentWidget()->findChild<QTreeView*>();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), tree);
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(0).center());
        QCOMPARE(tabs->currentIndex(), 0);

        m_link->controller.clearReceived();
        clickKeys(window().windowHandle(), {Qt::Key_Right, Qt::Key_Up});
        QVERIFY(waitForCommand(m_link->controller, "DZ0"));
        QCOMPARE(sentCommands(), (Commands{"DX-", "DX0", "DZ+", "DZ0"}));
        QCOMPARE(density->value(), densityBefore);
        QTest::mouseClick(tabs->tabBar()->tabButton(1, QTabBar::RightSide), Qt::LeftButton);
    }

private:
    using Link = ControllerLink<MainWindow>;

    MainWindow& window() const { return *m_link->window; }
    ProfileAnalisisWidget* profile() const { return window().profileWidget(); }
    QWidget* field(const QString& name) const
    {
        auto* found = profile()->findChild<QWidget*>(name);
        Q_ASSERT(found);
        return found;
    }
    QPushButton* button(const QString& name) const { return qobject_cast<QPushButton*>(field(name)); }
    bool profileHasRecording() const
    {
        const DataProvider* provider = profile()->dataProvider();
        return provider && provider->isRecording();
    }
    Commands sentCommands() const { return commandsBesidesKeepAlive(m_link->controller); }

    std::unique_ptr<Link> m_link;
};

KALVORA_TEST_MAIN(MainWindowKeysTest)
#include "MainWindowKeysTest.moc"
