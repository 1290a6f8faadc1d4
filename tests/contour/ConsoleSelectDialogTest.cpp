#include "contour/ConsoleSelectDialog.h"
#include "EditableListDriver.h"
#include "SettingsFixture.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QPushButton>

namespace {

using ConsoleValues = QMap<QString, QVector<double>>;

const QVector<double> kK1{1, 2, 3, 4, 5};
const QVector<double> kK2{2, 3, 4, 5, 6};
const QVector<double> kK3{3, 4, 5, 6, 7};

AppSettingsData consoles(const QStringList& names, const ConsoleValues& values, const QString& current)
{
    AppSettingsData data;
    data.console_names = names;
    data.consoles = values;
    data.current_console = current;
    return data;
}

// The dialog shown and active, as the calibration screen runs it.
struct ShownDialog
{
    ShownDialog()
        : driver(&dialog, dialog.findChild<EditableList*>(QStringLiteral("consoleList")),
                 dialog.findChild<QPushButton*>(QStringLiteral("addPushButton")))
    {
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        if (!QTest::qWaitForWindowActive(&dialog))
            qWarning("dialog not active");
    }

    QPushButton* button(const char* name) const { return dialog.findChild<QPushButton*>(QLatin1String(name)); }
    QPushButton* selectButton() const { return button("selectPushButton"); }

    ConsoleSelectDialog dialog{nullptr};
    EditableListDriver driver;
};

} // namespace

Q_DECLARE_METATYPE(ConsoleValues)
Q_DECLARE_METATYPE(AppSettingsData)

// The console choice on a real "settings.ini", driven by clicks and keys.
class ConsoleSelectDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void theDialog()
    {
        loadSettings(consoles({"K1", "K2"}, {{"K1", kK1}, {"K2", kK2}}, "K1"));
        ShownDialog shown;
        QCOMPARE(shown.dialog.windowTitle(), QStringLiteral("Выбор консоли"));
        QVERIFY(!(shown.dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
        QCOMPARE(shown.driver.names(), (QStringList{"K1", "K2"}));
        QCOMPARE(shown.button("addPushButton")->text(), QStringLiteral("Добавить"));
        QCOMPARE(shown.selectButton()->text(), QStringLiteral("Выбрать"));
        QCOMPARE(shown.button("cancelPushButton")->text(), QStringLiteral("Отмена"));
        QVERIFY(!shown.selectButton()->isEnabled());
        shown.driver.perform("select:1");
        QVERIFY(shown.selectButton()->isEnabled());
    }

    // What "Выбрать" (the last step "choose") or "Отмена" leaves in the
    // record and the file.
    void editingTheConsoles_data()
    {
        QTest::addColumn<AppSettingsData>("before");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<bool>("choose");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<ConsoleValues>("values");
        QTest::addColumn<QString>("current");
        const QVector<double> defaults{20, 20, 22, 0, 6.2};
        const QString added = QStringLiteral("Новая консоль");
        const AppSettingsData two = consoles({"K1", "K2"}, {{"K1", kK1}, {"K2", kK2}}, "K1");
        const AppSettingsData three = consoles({"K1", "K2", "K3"}, {{"K1", kK1}, {"K2", kK2}, {"K3", kK3}}, "K3");

        QTest::newRow("two additions") << consoles({}, {}, "No console") << QStringList{"add", "add", "select:0"}
                                       << true << QStringList{added, added + "1"}
                                       << ConsoleValues{{added, defaults}, {added + "1", defaults}} << added;
        QTest::newRow("a rename keeps its values")
            << two << QStringList{"rename:0:K9", "select:1"} << true << QStringList{"K9", "K2"}
            << ConsoleValues{{"K9", kK1}, {"K2", kK2}} << "K2";
        QTest::newRow("the renamed one chosen") << two << QStringList{"rename:0:K9", "select:0"} << true
                                                << QStringList{"K9", "K2"}
                                                << ConsoleValues{{"K9", kK1}, {"K2", kK2}} << "K9";
        QTest::newRow("deleted, then chosen")
            << three << QStringList{"delete:1", "select:0"} << true << QStringList{"K1", "K3"}
            << ConsoleValues{{"K1", kK1}, {"K3", kK3}} << "K1";
        QTest::newRow("deleted from the menu, then chosen")
            << three << QStringList{"menu delete:2", "select:1"} << true << QStringList{"K1", "K2"}
            << ConsoleValues{{"K1", kK1}, {"K2", kK2}} << "K2";
        QTest::newRow("deleted, then cancelled")
            << consoles({"K2", "K1"}, {{"K1", kK1}, {"K2", kK2}}, "K2") << QStringList{"delete:0", "rename:0:X"}
            << false << QStringList{"K1", "K2"} << ConsoleValues{{"K1", kK1}, {"K2", kK2}} << "K2";
        QTest::newRow("a name without values, chosen")
            << consoles({"K1", "K9"}, {{"K1", kK1}}, "K1") << QStringList{"select:1"} << true
            << QStringList{"K1", "K9"} << ConsoleValues{{"K1", kK1}, {"K9", defaults}} << "K9";
        QTest::newRow("a name without values, cancelled")
            << consoles({"K1", "K9"}, {{"K1", kK1}}, "K1") << QStringList{"select:1"} << false << QStringList{"K1"}
            << ConsoleValues{{"K1", kK1}} << "K1";
    }

    void editingTheConsoles()
    {
        QFETCH(AppSettingsData, before);
        QFETCH(QStringList, steps);
        QFETCH(bool, choose);
        QFETCH(QStringList, names);
        QFETCH(ConsoleValues, values);
        QFETCH(QString, current);
        loadSettings(before);
        // Loading completes the values; the record may still lack some.
        changeSettings([&](AppSettings& s) { s.consoles = before.consoles; });
        const QByteArray fileBefore = fileBytes(QLatin1String(AppSettings::kFileName));
        ShownDialog shown;
        for (const QString& step : steps)
            shown.driver.perform(step);
        QTest::mouseClick(shown.button(choose ? "selectPushButton" : "cancelPushButton"), Qt::LeftButton);

        QVERIFY(!shown.dialog.isVisible());
        QCOMPARE(shown.dialog.result(), choose ? int(QDialog::Accepted) : int(QDialog::Rejected));
        QCOMPARE(shown.dialog.selectedConsole(), choose ? current : QString());
        const AppSettingsData record = AppSettings::instance().snapshot();
        QCOMPARE(record.console_names, names);
        QCOMPARE(record.consoles, values);
        QCOMPARE(record.current_console, current);
        if (choose) {
            const AppSettingsData file = savedSettings();
            QCOMPARE(file.console_names, names);
            QCOMPARE(file.consoles, values);
            QCOMPARE(file.current_console, current);
        } else {
            QCOMPARE(fileBytes(QLatin1String(AppSettings::kFileName)), fileBefore);
        }
    }

    // The chosen row deleted: "Выбрать" is disabled again, and a click that
    // still reaches it changes nothing and keeps the dialog open.
    void choosingAfterTheChosenRowWasDeleted()
    {
        loadSettings(consoles({"K1"}, {{"K1", kK1}}, "K1"));
        const QByteArray fileBefore = fileBytes(QLatin1String(AppSettings::kFileName));
        ShownDialog shown;
        shown.driver.perform("select:0");
        QVERIFY(shown.selectButton()->isEnabled());
        shown.driver.perform("delete:0");
        QVERIFY(!shown.selectButton()->isEnabled());
        emit shown.selectButton()->clicked();
        QVERIFY(shown.dialog.isVisible());
        QCOMPARE(shown.dialog.selectedConsole(), QString());
        QCOMPARE(AppSettings::instance().snapshot().console_names, QStringList{"K1"});
        QCOMPARE(fileBytes(QLatin1String(AppSettings::kFileName)), fileBefore);
    }

    void escapeChangesNothing()
    {
        loadSettings(consoles({"K2", "K1"}, {{"K1", kK1}, {"K2", kK2}}, "K2"));
        ShownDialog shown;
        shown.driver.perform("delete:0");
        QTest::keyClick(shown.dialog.windowHandle(), Qt::Key_Escape);
        QVERIFY(!shown.dialog.isVisible());
        QCOMPARE(AppSettings::instance().snapshot().console_names, (QStringList{"K2", "K1"}));
    }
};

KALVORA_TEST_MAIN(ConsoleSelectDialogTest)
#include "ConsoleSelectDialogTest.moc"
