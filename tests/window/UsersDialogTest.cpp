#include "AbstractTrace.h"
#include "EditableList.h"
#include "EditableListDriver.h"
#include "MessageBoxAnswerer.h"
#include "PlainTrace.h"
#include "RecordingLauncher.h"
#include "SettingsFixture.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "UsersDialog.h"

#include <QAction>
#include <QDir>
#include <QPushButton>

namespace {

using ConsoleValues = QMap<QString, QVector<double>>;

AppSettingsData inspectorsFixture(const QStringList& names, const QString& current)
{
    AppSettingsData data;
    data.controllers = names;
    data.current_controller_name = current;
    return data;
}

// Console i gets the values i + 1 ... i + 5.
AppSettingsData consolesFixture(const QStringList& names, const QString& current)
{
    AppSettingsData data;
    data.console_names = names;
    data.current_console = current;
    for (int i = 0; i < names.size(); ++i)
        data.consoles.insert(names[i], {i + 1.0, i + 2.0, i + 3.0, i + 4.0, i + 5.0});
    return data;
}

// The editor shown and active, as the settings dialog runs it, with a
// recording stand-in for the calibration window.
struct ShownEditor
{
    explicit ShownEditor(int mode, const QList<AbstractTrace*>& traces = {})
        : dialog(mode, traces, nullptr, launcher.launcher()), driver(&dialog, list(), addButton())
    {
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        if (!QTest::qWaitForWindowActive(&dialog))
            qWarning("editor not active");
    }

    EditableList* list() const { return dialog.findChild<EditableList*>(QStringLiteral("listWidget")); }
    QPushButton* addButton() const { return dialog.findChild<QPushButton*>(QStringLiteral("addPushButton")); }

    QStringList names() const { return driver.names(); }
    void rightClick(int row) { driver.rightClick(row); }
    void chooseFromMenu(int row, const QString& entry) { driver.chooseFromMenu(row, entry); }
    void perform(const QString& step) { driver.perform(step); }

    void ok() { QVERIFY(MessageBoxAnswerer::clickStandardButton(&dialog, QDialogButtonBox::Ok)); }
    void cancel() { QVERIFY(MessageBoxAnswerer::clickStandardButton(&dialog, QDialogButtonBox::Cancel)); }

    RecordingLauncher launcher;
    UsersDialog dialog;
    EditableListDriver driver;
};

} // namespace

Q_DECLARE_METATYPE(ConsoleValues)

// The editor of inspectors and consoles on a real "settings.ini", driven by
// clicks and keys; what OK writes is read back from the file.
class UsersDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QDir().rmdir(QLatin1String(AppSettings::kFileName)); }

    void theTwoModes()
    {
        loadSettings(inspectorsFixture({"Иванов", "Петров"}, "Иванов"));
        changeSettings([](AppSettings& s) { s.console_names = QStringList{"K1"}; });
        ShownEditor inspectors(UsersDialog::Inspectors);
        QCOMPARE(inspectors.dialog.windowTitle(), QStringLiteral("Контроллеры"));
        QCOMPARE(inspectors.dialog.size(), QSize(395, 362));
        QVERIFY(inspectors.addButton()->isVisible());
        QCOMPARE(inspectors.names(), (QStringList{"Иванов", "Петров"}));
        inspectors.chooseFromMenu(0, QString());

        ShownEditor consoles(UsersDialog::Consoles);
        QCOMPARE(consoles.dialog.windowTitle(), QStringLiteral("Консоли"));
        QVERIFY(!consoles.addButton()->isVisible());
        QCOMPARE(consoles.names(), QStringList{"K1"});
        consoles.chooseFromMenu(0, QString());

        QCOMPARE(inspectors.driver.menus(), (QList<QStringList>{{"Переименовать", "Удалить"}}));
        QCOMPARE(consoles.driver.menus(), (QList<QStringList>{{"Откалибровать", "Переименовать", "Удалить"}}));
    }

    void naming_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("saved");
        const QString added = QStringLiteral("Новый контролёр");
        QTest::newRow("three additions") << QStringList() << QStringList{"add", "add", "add"}
                                         << QStringList{added, added + "1", added + "2"};
        QTest::newRow("an addition named") << QStringList{"A"} << QStringList{"add:B", "add"}
                                           << QStringList{"A", "B", added};
        QTest::newRow("another's name") << QStringList{"A", "B", "A1"} << QStringList{"rename:1:A"}
                                        << QStringList{"A", "A2", "A1"};
        QTest::newRow("emptied") << QStringList{"A", "B"} << QStringList{"rename:1:"} << QStringList{"A", "B"};
        QTest::newRow("from the menu") << QStringList{"A", "B"} << QStringList{"menu rename:0:B"}
                                       << QStringList{"B1", "B"};
        QTest::newRow("emptied over a duplicate") << QStringList{"A", "A"} << QStringList{"rename:1:"}
                                                  << QStringList{"A", "A1"};
        QTest::newRow("deleted by key") << QStringList{"A", "B", "C"} << QStringList{"delete:1"}
                                        << QStringList{"A", "C"};
        QTest::newRow("deleted from the menu") << QStringList{"A", "B", "C"} << QStringList{"menu delete:2"}
                                               << QStringList{"A", "B"};
    }

    void naming()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, saved);
        loadSettings(inspectorsFixture(names, "No name"));
        ShownEditor shown(UsersDialog::Inspectors);
        for (const QString& step : steps)
            shown.perform(step);
        shown.ok();
        QCOMPARE(savedSettings().controllers, saved);
    }

    // What becomes of the current inspector on OK.
    void theCurrentInspector_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("saved");
        QTest::newRow("renamed") << QStringList{"A", "C"} << "A" << QStringList{"rename:0:B"} << "B";
        QTest::newRow("another renamed") << QStringList{"A", "C"} << "A" << QStringList{"rename:1:B"} << "A";
        QTest::newRow("names swapped") << QStringList{"A", "B"} << "A"
                                       << QStringList{"rename:1:Z", "rename:0:B", "rename:1:A"} << "B";
        QTest::newRow("deleted") << QStringList{"A", "B"} << "A" << QStringList{"delete:0"} << "A";
        QTest::newRow("all deleted") << QStringList{"A"} << "A" << QStringList{"delete:0"} << "No name";
        QTest::newRow("deleted, then one added") << QStringList{"A"} << "A" << QStringList{"delete:0", "add"} << "A";
        QTest::newRow("deleted from the menu, then one added")
            << QStringList{"A", "B"} << "B" << QStringList{"menu delete:1", "add:C"} << "B";
    }

    void theCurrentInspector()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, current);
        QFETCH(QStringList, steps);
        QFETCH(QString, saved);
        loadSettings(inspectorsFixture(names, current));
        ShownEditor shown(UsersDialog::Inspectors);
        for (const QString& step : steps)
            shown.perform(step);
        shown.ok();
        QCOMPARE(savedSettings().current_controller_name, saved);
        QCOMPARE(AppSettings::instance().snapshot().current_controller_name, saved);
    }

    // Entries beyond the new count stay in the file, unread.
    void aShorterListLeavesTheRestInTheFile()
    {
        loadSettings(inspectorsFixture({"A", "B", "C"}, "A"));
        ShownEditor shown(UsersDialog::Inspectors);
        shown.perform("delete:2");
        shown.ok();
        const QString file = readText(QLatin1String(AppSettings::kFileName));
        QVERIFY(file.contains(QStringLiteral("count=2")));
        QVERIFY(file.contains(QStringLiteral("c_2=C")));
        QCOMPARE(savedSettings().controllers, (QStringList{"A", "B"}));
    }

    void cancelChangesNothing_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("inspectors") << int(UsersDialog::Inspectors);
        QTest::newRow("consoles") << int(UsersDialog::Consoles);
    }

    void cancelChangesNothing()
    {
        QFETCH(int, mode);
        AppSettingsData data = consolesFixture({"K1", "K2", "K3"}, "K1");
        data.controllers = QStringList{"A", "B", "C"};
        data.current_controller_name = QStringLiteral("A");
        loadSettings(data);
        const QByteArray before = fileBytes(QLatin1String(AppSettings::kFileName));
        ShownEditor shown(mode);
        shown.perform("rename:0:X");
        shown.perform("delete:1");
        shown.cancel();
        QCOMPARE(fileBytes(QLatin1String(AppSettings::kFileName)), before);
        const AppSettingsData record = AppSettings::instance().snapshot();
        QCOMPARE(record.controllers, data.controllers);
        QCOMPARE(record.console_names, data.console_names);
        QCOMPARE(record.consoles, data.consoles);
        QCOMPARE(record.current_console, data.current_console);
    }

    // Each console keeps its five values under its new name; a removed one
    // loses them.
    void consolesKeepTheirValues_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("saved");
        QTest::addColumn<QString>("current");
        QTest::addColumn<ConsoleValues>("values");
        const QVector<double> k1{1, 2, 3, 4, 5};
        const QVector<double> k2{2, 3, 4, 5, 6};
        QTest::newRow("renamed") << QStringList{"rename:0:K3"} << QStringList{"K3", "K2"} << "K3"
                                 << ConsoleValues{{"K3", k1}, {"K2", k2}};
        QTest::newRow("names swapped") << QStringList{"rename:1:Z", "rename:0:K2", "rename:1:K1"}
                                       << QStringList{"K2", "K1"} << "K2" << ConsoleValues{{"K2", k1}, {"K1", k2}};
        QTest::newRow("current removed") << QStringList{"delete:0"} << QStringList{"K2"} << "K1"
                                         << ConsoleValues{{"K2", k2}};
        QTest::newRow("all removed") << QStringList{"delete:0", "menu delete:0"} << QStringList() << "No console"
                                     << ConsoleValues();
    }

    void consolesKeepTheirValues()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, saved);
        QFETCH(QString, current);
        QFETCH(ConsoleValues, values);
        loadSettings(consolesFixture({"K1", "K2"}, "K1"));
        ShownEditor shown(UsersDialog::Consoles);
        for (const QString& step : steps)
            shown.perform(step);
        shown.ok();
        const AppSettingsData file = savedSettings();
        QCOMPARE(file.console_names, saved);
        QCOMPARE(file.current_console, current);
        QCOMPARE(file.consoles, values);
        QCOMPARE(AppSettings::instance().snapshot().consoles, values);
    }

    // Names with the characters an INI file treats specially come back as
    // they were typed.
    void awkwardNamesReadBack_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("comma") << "Иванов, И. И.";
        QTest::newRow("semicolon") << "a;b";
        QTest::newRow("equals") << "a=b";
        QTest::newRow("quotes") << "\"ООО\" 'Звезда'";
        QTest::newRow("leading blank") << " Петров";
        QTest::newRow("trailing blank") << "Петров ";
        QTest::newRow("slash") << "цех/участок";
        QTest::newRow("backslash") << "a\\b";
        QTest::newRow("hash") << "#1";
    }

    void awkwardNamesReadBack()
    {
        QFETCH(QString, name);
        loadSettings(consolesFixture({"K1"}, "K1"));
        changeSettings([](AppSettings& s) { s.controllers.clear(); });
        {
            ShownEditor inspectors(UsersDialog::Inspectors);
            inspectors.perform("add:" + name);
            inspectors.ok();
        }
        {
            ShownEditor consoles(UsersDialog::Consoles);
            consoles.perform("rename:0:" + name);
            consoles.ok();
        }
        const AppSettingsData file = savedSettings();
        QCOMPARE(file.controllers, QStringList{name});
        QCOMPARE(file.console_names, QStringList{name});
        QCOMPARE(file.current_console, name);
        QCOMPARE(file.consoles.value(name), (QVector<double>{1, 2, 3, 4, 5}));
    }

    // "Откалибровать" makes the selected console current, without saving,
    // and opens the calibration window over the editor on its traces.
    void calibratingAConsole()
    {
        loadSettings(consolesFixture({"K1", "K2"}, "K1"));
        const QByteArray before = fileBytes(QLatin1String(AppSettings::kFileName));
        PlainTrace trace;
        ShownEditor shown(UsersDialog::Consoles, {&trace});
        shown.chooseFromMenu(1, QStringLiteral("Откалибровать"));
        QCOMPARE(shown.launcher.openings.size(), 1);
        QCOMPARE(shown.launcher.openings[0].parent, &shown.dialog);
        QCOMPARE(shown.launcher.openings[0].traces, QList<AbstractTrace*>{&trace});
        QCOMPARE(shown.launcher.openings[0].currentConsole, QStringLiteral("K2"));
        QCOMPARE(fileBytes(QLatin1String(AppSettings::kFileName)), before);

        // Cancel keeps the console made current.
        shown.cancel();
        QCOMPARE(AppSettings::instance().snapshot().current_console, QStringLiteral("K2"));
    }

    void calibratingWithoutTracesWarns()
    {
        loadSettings(consolesFixture({"K1", "K2"}, "K1"));
        ShownEditor shown(UsersDialog::Consoles);
        MessageBoxAnswerer answerer;
        answerer.chooseMenuEntry(QStringLiteral("Откалибровать"));
        shown.rightClick(1);
        QVERIFY(QTest::qWaitFor([&] { return answerer.count() == 1; }, 2000));
        QCOMPARE(answerer.titles(), QStringList{"Ошибка"});
        QCOMPARE(answerer.texts(), QStringList{"Нет трассы для калибровки. Откройте или запишите хотя бы одну трассу"});
        QCOMPARE(shown.launcher.openings.size(), 0);
        QCOMPARE(AppSettings::instance().snapshot().current_console, QStringLiteral("K1"));
    }

    void calibratingWithNothingSelectedDoesNothing()
    {
        loadSettings(consolesFixture({"K1", "K2"}, "K1"));
        PlainTrace trace;
        ShownEditor shown(UsersDialog::Consoles, {&trace});
        MessageBoxAnswerer answerer;
        shown.list()->clearSelection();
        QAction* calibrate = nullptr;
        for (QAction* action : shown.dialog.findChildren<QAction*>())
            if (action->text() == QStringLiteral("Откалибровать"))
                calibrate = action;
        QVERIFY(calibrate);
        calibrate->trigger();
        QTest::qWait(50);
        QCOMPARE(answerer.count(), 0);
        QCOMPARE(shown.launcher.openings.size(), 0);
        QCOMPARE(AppSettings::instance().snapshot().current_console, QStringLiteral("K1"));
    }

    // A folder in the place of "settings.ini": one warning, the lists wait
    // in the record for the next save.
    void aFailedSaveWarnsOnce()
    {
        loadSettings(inspectorsFixture({"A"}, "A"));
        QVERIFY(QFile::remove(QLatin1String(AppSettings::kFileName)));
        QVERIFY(QDir().mkdir(QLatin1String(AppSettings::kFileName)));
        MessageBoxAnswerer answerer;
        {
            ShownEditor shown(UsersDialog::Inspectors);
            shown.perform("rename:0:B");
            shown.ok();
        }
        QCOMPARE(answerer.texts(), QStringList{"Не удалось сохранить настройки"});
        QCOMPARE(AppSettings::instance().snapshot().controllers, QStringList{"B"});
        QVERIFY(QDir().rmdir(QLatin1String(AppSettings::kFileName)));
        QVERIFY(AppSettings::instance().save());
        QCOMPARE(savedSettings().controllers, QStringList{"B"});
        QCOMPARE(savedSettings().current_controller_name, QStringLiteral("B"));
    }
};

KALVORA_TEST_MAIN(UsersDialogTest)
#include "UsersDialogTest.moc"
