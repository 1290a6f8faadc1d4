#include "ComboBoxInput.h"
#include "LinkTestSupport.h"
#include "LogTexts.h"
#include "MessageBoxAnswerer.h"
#include "ParamsDialog.h"
#include "RecordingLauncher.h"
#include "SettingsDialog.h"
#include "SettingsFixture.h"
#include "TermiteDialog.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "TextInput.h"
#include "UsersDialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QSpinBox>
#include <QToolBox>

#include <memory>

using Family = SimulatedController::Family;

namespace {

// Every one of the twelve values away from its default; the developer mode
// on, so that the resolutions can be edited.
QString settingsFile(int deviceType)
{
    return QStringLiteral("[device]\n"
                          "alternative_managment=false\n"
                          "power_pressing=2\n"
                          "device_type=%1\n"
                          "[view]\n"
                          "axis_unit=1\n"
                          "angles_in_deg=false\n"
                          "[preferenses]\n"
                          "alternative_measurement=false\n"
                          "standartisation_value=0\n"
                          "is_ask_before_change_filter=true\n"
                          "graph_color=#0048ba\n"
                          "[servise]\n"
                          "factory_name=846\n"
                          "is_developer_mode=true\n"
                          "demo_regime=false\n"
                          "scale_x_resolution=2\n"
                          "scale_z_resolution=3\n"
                          "scale_r_resolution=4\n")
        .arg(deviceType);
}

// The settings dialog shown and active, as the main window runs it, with a
// recording stand-in for the calibration window.
struct ShownDialog
{
    ShownDialog(Device& device, const QList<AbstractTrace*>& traces = {})
        : dialog(nullptr, traces, device, launcher.launcher())
    {
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        if (!QTest::qWaitForWindowActive(&dialog))
            qWarning("settings dialog not active");
    }

    template <typename T>
    T* child(const char* name) const
    {
        T* widget = dialog.findChild<T*>(QLatin1String(name));
        if (!widget)
            qWarning("no %s", name);
        return widget;
    }

    QWidget* control(const char* name) const { return child<QWidget>(name); }

    // Opens the tool box page with the title by clicking its tab, and lets
    // the page lay itself out.
    void showPage(const QString& title)
    {
        for (QAbstractButton* tab : child<QToolBox>("toolBox")->findChildren<QAbstractButton*>()) {
            if (tab->text() == title) {
                QTest::mouseClick(tab, Qt::LeftButton);
                QCoreApplication::processEvents();
                return;
            }
        }
        QFAIL("no such page");
    }

    void clickCheckBox(const char* name)
    {
        auto* box = child<QCheckBox>(name);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    }

    void choose(const char* name, int index) { QVERIFY(chooseItem(child<QComboBox>(name), index)); }

    void retype(const char* name, const QString& text)
    {
        QWidget* field = control(name);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Delete);
        typeText(field, text);
    }

    void click(const char* name) { QTest::mouseClick(child<QAbstractButton>(name), Qt::LeftButton); }

    void ok() { QVERIFY(MessageBoxAnswerer::clickStandardButton(&dialog, QDialogButtonBox::Ok)); }
    void cancel() { QVERIFY(MessageBoxAnswerer::clickStandardButton(&dialog, QDialogButtonBox::Cancel)); }

    RecordingLauncher launcher;
    SettingsDialog dialog;
};

// The log lines written since the object was made.
struct NewLogLines
{
    // Without the level, "INFO: ", that every line of the dialog has.
    QStringList operator()() const
    {
        QStringList lines;
        for (const QString& text : logTexts().mid(start))
            lines << (text.startsWith(QLatin1String("INFO: ")) ? text.mid(6) : text);
        return lines;
    }
    int start = logTexts().size();
};

// Answers the password prompt with the text, or cancels it when the text is
// null, and records what the prompt looked like. Every other dialog is
// recorded (class, title, parent, help button) and rejected.
struct PasswordAnswer
{
    struct Opened
    {
        QString className;
        QString title;
        QWidget* parent;
        bool helpButton;
    };

    explicit PasswordAnswer(const QString& password)
    {
        answerer.onDialog([this, password](QWidget* dialog) {
            auto* prompt = qobject_cast<QInputDialog*>(dialog);
            if (!prompt) {
                opened.append({QString::fromLatin1(dialog->metaObject()->className()), dialog->windowTitle(),
                               dialog->parentWidget(),
                               bool(dialog->windowFlags() & Qt::WindowContextHelpButtonHint)});
                static_cast<QDialog*>(dialog)->reject();
                return;
            }
            titles.append(prompt->windowTitle());
            labels.append(prompt->labelText());
            echo = prompt->textEchoMode();
            flags = prompt->windowFlags();
            if (password.isNull())
                QVERIFY(MessageBoxAnswerer::clickStandardButton(prompt, QDialogButtonBox::Cancel));
            else
                QVERIFY(MessageBoxAnswerer::enterText(prompt, password));
        });
    }

    // The message boxes, as "title: text".
    QStringList messages() const
    {
        QStringList shown;
        for (int i = 0; i < answerer.count(); ++i)
            shown << answerer.titles()[i] + QStringLiteral(": ") + answerer.texts()[i];
        return shown;
    }

    MessageBoxAnswerer answerer;
    QStringList titles;
    QStringList labels;
    QLineEdit::EchoMode echo = QLineEdit::Normal;
    Qt::WindowFlags flags;
    QList<Opened> opened;
};

int& integerSetting(AppSettingsData& settings, const QString& key)
{
    if (key == QLatin1String("view/axis_unit"))
        return settings.view.axis_unit;
    if (key == QLatin1String("device/power_pressing"))
        return settings.device.power_pressing;
    if (key == QLatin1String("preferenses/standartisation_value"))
        return settings.preferenses.standartisation_value;
    return settings.servise.scale_x_resolution;
}

} // namespace

// The settings dialog on a real "settings.ini", driven by clicks and keys.
class SettingsDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        m_device = std::make_unique<Device>();
    }

    void cleanupTestCase() { m_device.reset(); }

    void cleanup() { QDir().rmdir(QLatin1String(AppSettings::kFileName)); }

    void theFormOpensOnTheDisplayPage()
    {
        loadSettingsFile(settingsFile(0));
        ShownDialog shown(*m_device);
        QCOMPARE(shown.dialog.windowTitle(), QStringLiteral("Параметры"));
        QCOMPARE(shown.dialog.size(), QSize(571, 482));
        QCOMPARE(shown.child<QToolBox>("toolBox")->currentIndex(), 1);
        QCOMPARE(shown.child<QComboBox>("axisUnit")->currentText(), QStringLiteral("микрометрах"));
    }

    // Every value control changed with the mouse and keys, then OK: the file
    // holds the new values. A control hidden for the controller type is
    // written as it was loaded.
    void okWritesTheTwelveValues_data()
    {
        QTest::addColumn<int>("deviceType");
        QTest::newRow("contour controller") << 0;
        QTest::newRow("profile controller") << 2;
    }

    void okWritesTheTwelveValues()
    {
        QFETCH(int, deviceType);
        const bool profile = deviceType == 2;
        loadSettingsFile(settingsFile(deviceType));
        NewLogLines lines;
        ShownDialog shown(*m_device);

        shown.showPage(QStringLiteral("Прибор"));
        if (!profile) {
            shown.clickCheckBox("alternativeControlCheckBox");
            shown.choose("pressingPowerComboBox", 3);
        }
        shown.showPage(QStringLiteral("Отображение"));
        shown.clickCheckBox("alternativeMeasurementCB");
        shown.clickCheckBox("anglesInDoubleCB");
        shown.choose("axisUnit", 2);
        shown.showPage(QStringLiteral("Стандартизация"));
        shown.choose("standartisationComboBox", 1);
        if (profile)
            shown.clickCheckBox("askBeforeChangeFilterCheckBox");
        shown.showPage(QStringLiteral("Сервис"));
        shown.clickCheckBox("demoCheckBox");
        shown.retype("scaleXResolutionSpinBox", "7");
        shown.retype("scaleZResolutionSpinBox", "8");
        shown.retype("scaleRResolutionSpinBox", "9");
        shown.retype("facoryNameLineEdit", "Завод №2");
        shown.ok();

        const AppSettingsData saved = savedSettings();
        QCOMPARE(saved.device.alternative_managment, !profile);
        QCOMPARE(saved.device.power_pressing, profile ? 2 : 4);
        QCOMPARE(saved.view.axis_unit, 2);
        QCOMPARE(saved.servise.demo_regime, true);
        QCOMPARE(saved.view.angles_in_deg, true);
        QCOMPARE(saved.preferenses.alternative_measurement, true);
        QCOMPARE(saved.preferenses.standartisation_value, 1);
        QCOMPARE(saved.preferenses.is_ask_before_change_filter, !profile);
        QCOMPARE(saved.servise.factory_name, QStringLiteral("Завод №2"));
        QCOMPARE(saved.servise.scale_x_resolution, 7);
        QCOMPARE(saved.servise.scale_z_resolution, 8);
        QCOMPARE(saved.servise.scale_r_resolution, 9);
        QCOMPARE(saved.servise.is_developer_mode, false);
        QCOMPARE(lines().filter(QStringLiteral("Accept settings")), QStringList{"Accept settings"});
    }

    // Cancel writes nothing; a colour picked before stays in the record.
    void cancelKeepsTheFile()
    {
        loadSettingsFile(settingsFile(0));
        const QByteArray before = fileBytes(QLatin1String(AppSettings::kFileName));
        NewLogLines lines;
        ShownDialog shown(*m_device);
        shown.clickCheckBox("anglesInDoubleCB");
        shown.choose("axisUnit", 2);
        MessageBoxAnswerer answerer;
        answerer.onDialog([](QWidget* dialog) {
            auto* colors = qobject_cast<QColorDialog*>(dialog);
            QVERIFY(colors);
            colors->setCurrentColor(QColor(0xAB, 0xCD, 0xEF));
            QVERIFY(MessageBoxAnswerer::clickStandardButton(colors, QDialogButtonBox::Ok));
        });
        QTest::mouseClick(shown.control("graphColorWidget"), Qt::LeftButton);
        shown.cancel();

        QCOMPARE(fileBytes(QLatin1String(AppSettings::kFileName)), before);
        QVERIFY(!lines().contains(QStringLiteral("Accept settings")));
        const AppSettingsData record = AppSettings::instance().snapshot();
        QCOMPARE(record.preferenses.graph_color, QStringLiteral("#abcdef"));
        QCOMPARE(record.view.angles_in_deg, false);
        QCOMPARE(record.view.axis_unit, 1);
        QCOMPARE(savedSettings().preferenses.graph_color, QStringLiteral("#0048ba"));
    }

    void theColoursShowTheirSettings()
    {
        loadSettingsFile(QStringLiteral("[preferenses]\ngraph_color=#112233\nselected_graph_color=#445566\n"
                                        "visual_objects_color=#778899\n"));
        ShownDialog shown(*m_device);
        QCOMPARE(shown.child<ColorPickerWidget>("graphColorWidget")->color(), QColor("#112233"));
        QCOMPARE(shown.child<ColorPickerWidget>("graphSelectionColorWidget")->color(), QColor("#445566"));
        QCOMPARE(shown.child<ColorPickerWidget>("visualObjectColorWidget")->color(), QColor("#778899"));
    }

    void aStoredForceOfThree()
    {
        loadSettingsFile(QStringLiteral("[device]\npower_pressing=3\ndevice_type=0\n"));
        ShownDialog shown(*m_device);
        QCOMPARE(shown.child<QComboBox>("pressingPowerComboBox")->currentText(), QStringLiteral("30 мН (3 грамм)"));
        shown.ok();
        QCOMPARE(savedSettings().device.power_pressing, 3);
    }

    // A value in the record outside a selector's items leaves the selector
    // without an item; OK keeps the stored value. A resolution beyond the
    // spin box's range is written clamped, also while the box is hidden.
    void valuesOutsideTheControls_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("written");
        QTest::newRow("axis unit") << "view/axis_unit" << 7 << 7;
        QTest::newRow("pressing force") << "device/power_pressing" << 9 << 9;
        QTest::newRow("standard") << "preferenses/standartisation_value" << 5 << 5;
        QTest::newRow("hidden resolution") << "servise/scale_x_resolution" << 150 << 99;
    }

    void valuesOutsideTheControls()
    {
        QFETCH(QString, key);
        QFETCH(int, stored);
        QFETCH(int, written);
        loadSettingsFile(QStringLiteral("[device]\ndevice_type=0\n"));
        changeSettings([&](AppSettings& s) { integerSetting(s, key) = stored; });
        ShownDialog shown(*m_device);
        QVERIFY(shown.control("scaleXResolutionSpinBox")->isHidden());
        shown.ok();
        AppSettingsData record = AppSettings::instance().snapshot();
        QCOMPARE(integerSetting(record, key), written);
        QCOMPARE(QSettings(QLatin1String(AppSettings::kFileName), QSettings::IniFormat).value(key).toInt(), written);
    }

    void logLines_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("line");
        const QString display = QStringLiteral("Отображение");
        const QString device = QStringLiteral("Прибор");
        QTest::newRow("angles on") << display << "anglesInDoubleCB" << int(Qt::Checked)
                                   << "anglesInDoubleCB turned on";
        QTest::newRow("angles partly") << display << "anglesInDoubleCB" << int(Qt::PartiallyChecked)
                                       << "anglesInDoubleCB turned off";
        QTest::newRow("control on") << device << "alternativeControlCheckBox" << int(Qt::Checked)
                                    << "alternativeManagementCheckBox turned on";
        QTest::newRow("control partly") << device << "alternativeControlCheckBox" << int(Qt::PartiallyChecked)
                                        << "alternativeManagementCheckBox turned off";
        QTest::newRow("axis unit") << display << "axisUnit" << 2 << "axisUnit change value to нанометрах";
        QTest::newRow("pressing force") << device << "pressingPowerComboBox" << 3
                                        << "needlePressingComboBox change value to 40 мН (4 грамм)";
    }

    void logLines()
    {
        QFETCH(QString, page);
        QFETCH(QString, control);
        QFETCH(int, value);
        QFETCH(QString, line);
        loadSettingsFile(settingsFile(0));
        NewLogLines lines;
        ShownDialog shown(*m_device);
        QCOMPARE(lines(), QStringList());
        shown.showPage(page);
        QWidget* widget = shown.control(control.toLatin1().constData());
        if (auto* box = qobject_cast<QCheckBox*>(widget))
            box->setCheckState(Qt::CheckState(value));
        else
            QVERIFY(chooseItem(qobject_cast<QComboBox*>(widget), value));
        QCOMPARE(lines(), QStringList{line});
    }

    void theCheckBoxLogsWhenUnticked()
    {
        loadSettingsFile(QStringLiteral("[device]\ndevice_type=0\n[view]\nangles_in_deg=true\n"));
        ShownDialog shown(*m_device);
        NewLogLines lines;
        shown.clickCheckBox("anglesInDoubleCB");
        shown.clickCheckBox("anglesInDoubleCB");
        QCOMPARE(lines(), (QStringList{"anglesInDoubleCB turned off", "anglesInDoubleCB turned on"}));
    }

    // The developer controls follow the organisation name at each key, and
    // the name and the mode are saved at once.
    void theDeveloperCode()
    {
        loadSettingsFile(QStringLiteral("[servise]\nfactory_name=Завод\n"));
        ShownDialog shown(*m_device);
        shown.showPage(QStringLiteral("Сервис"));
        QVERIFY(!shown.control("demoCheckBox")->isVisible());
        QVERIFY(shown.control("facoryNameLineEdit")->isVisible());

        shown.retype("facoryNameLineEdit", "846");
        for (const char* name : kDeveloperControls)
            QVERIFY2(shown.control(name)->isVisible(), name);
        QCOMPARE(savedSettings().servise.is_developer_mode, true);
        QCOMPARE(savedSettings().servise.factory_name, QStringLiteral("846"));

        typeText(shown.control("facoryNameLineEdit"), "1");
        for (const char* name : kDeveloperControls)
            QVERIFY2(!shown.control(name)->isVisible(), name);
        QVERIFY(shown.control("facoryNameLabel")->isVisible());
        QCOMPARE(savedSettings().servise.is_developer_mode, false);
        QCOMPARE(savedSettings().servise.factory_name, QStringLiteral("8461"));
    }

    void aStoredDeveloperModeShowsTheControls()
    {
        loadSettingsFile(QStringLiteral("[servise]\nfactory_name=Завод\nis_developer_mode=true\n"));
        ShownDialog shown(*m_device);
        shown.showPage(QStringLiteral("Сервис"));
        for (const char* name : kDeveloperControls)
            QVERIFY2(shown.control(name)->isVisible(), name);
    }

    void theControlsOfEachControllerType_data()
    {
        QTest::addColumn<int>("deviceType");
        QTest::addColumn<QString>("calibrationText");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("hidden");
        const QStringList contourOnly{"consoleButton", "alternativeControlCheckBox", "pressingPowerLabel",
                                      "pressingPowerComboBox"};
        const QStringList profileOnly{"askBeforeChangeFilterCheckBox", "paramsSettingsPushButton"};
        QTest::newRow("profile") << 2 << "Калибровка" << profileOnly << contourOnly;
        QTest::newRow("contour") << 0 << "Настройка консоли" << contourOnly << profileOnly;
        QTest::newRow("contour with profile") << 1 << "Настройка консоли" << contourOnly << profileOnly;
    }

    void theControlsOfEachControllerType()
    {
        QFETCH(int, deviceType);
        QFETCH(QString, calibrationText);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, hidden);
        loadSettingsFile(settingsFile(deviceType));
        ShownDialog dialog(*m_device);
        QCOMPARE(dialog.child<QAbstractButton>("consoleSettingsButton")->text(), calibrationText);
        QVERIFY(!dialog.control("openUsersDialog")->isHidden());
        for (const QString& name : shown)
            QVERIFY2(!dialog.control(name.toLatin1().constData())->isHidden(), qPrintable(name));
        for (const QString& name : hidden)
            QVERIFY2(dialog.control(name.toLatin1().constData())->isHidden(), qPrintable(name));
    }

    // The service password in front of the editors: only "7316" opens one.
    void theServicePassword_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("editorTitle");
        QTest::newRow("inspectors") << "openUsersDialog" << "7316" << "Контроллеры";
        QTest::newRow("consoles") << "consoleButton" << "7316" << "Консоли";
        QTest::newRow("wrong") << "openUsersDialog" << "7317" << "";
        QTest::newRow("longer") << "consoleButton" << "73160" << "";
        QTest::newRow("empty") << "openUsersDialog" << "" << "";
        QTest::newRow("cancelled") << "consoleButton" << QString() << "";
    }

    void theServicePassword()
    {
        QFETCH(QString, button);
        QFETCH(QString, password);
        QFETCH(QString, editorTitle);
        loadSettingsFile(settingsFile(0));
        ShownDialog shown(*m_device);
        shown.showPage(QStringLiteral("Прибор"));
        PasswordAnswer answer(password);
        shown.click(button.toLatin1().constData());

        QCOMPARE(answer.titles, QStringList{"Сервис-пароль"});
        QCOMPARE(answer.labels, QStringList{"Сервис-пароль:"});
        QCOMPARE(answer.echo, QLineEdit::Password);
        QVERIFY(!(answer.flags & Qt::WindowContextHelpButtonHint));
        QCOMPARE(answer.messages(), QStringList());
        if (editorTitle.isEmpty()) {
            QCOMPARE(answer.opened.size(), 0);
            return;
        }
        QCOMPARE(answer.opened.size(), 1);
        QCOMPARE(answer.opened[0].className, QStringLiteral("UsersDialog"));
        QCOMPARE(answer.opened[0].title, editorTitle);
        QCOMPARE(answer.opened[0].parent, &shown.dialog);
        QVERIFY(!answer.opened[0].helpButton);
    }

    void calibrationWithoutTracesWarnsFirst()
    {
        loadSettingsFile(settingsFile(0));
        ShownDialog shown(*m_device);
        shown.showPage(QStringLiteral("Прибор"));
        PasswordAnswer answer(QStringLiteral("7316"));
        shown.click("consoleSettingsButton");
        QCOMPARE(answer.messages(),
                 QStringList{"Ошибка: Нет трассы для калибровки. Откройте или запишите хотя бы одну трассу"});
        QCOMPARE(answer.titles, QStringList());
        QCOMPARE(shown.launcher.openings.size(), 0);
    }

    void theCalibrationPassword_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("openings");
        QTest::newRow("right") << "7316" << QStringList() << 1;
        QTest::newRow("wrong") << "1234" << QStringList{"Неверный пароль: Пароль указан в руководстве по эксплуатации"}
                               << 0;
        QTest::newRow("empty") << "" << QStringList() << 0;
        QTest::newRow("cancelled") << QString() << QStringList() << 0;
    }

    void theCalibrationPassword()
    {
        QFETCH(QString, password);
        QFETCH(QStringList, messages);
        QFETCH(int, openings);
        loadSettingsFile(settingsFile(0));
        PlainTrace first;
        PlainTrace second;
        ShownDialog shown(*m_device, {&first, &second});
        shown.showPage(QStringLiteral("Прибор"));
        PasswordAnswer answer(password);
        shown.click("consoleSettingsButton");

        QCOMPARE(answer.titles, QStringList{"Система безопасности"});
        QCOMPARE(answer.labels, QStringList{"Введите пароль из руководства по эксплуатации"});
        QCOMPARE(answer.echo, QLineEdit::Password);
        QVERIFY(!(answer.flags & Qt::WindowContextHelpButtonHint));
        QCOMPARE(answer.messages(), messages);
        QCOMPARE(shown.launcher.openings.size(), openings);
        if (openings) {
            QCOMPARE(shown.launcher.openings.first().parent, &shown.dialog);
            QCOMPARE(shown.launcher.openings.first().traces, (QList<AbstractTrace*>{&first, &second}));
        }
    }

    // What the calibration window stored replaces what was edited but not
    // accepted.
    void theCalibrationWindowsCloseReloadsTheControls()
    {
        loadSettingsFile(settingsFile(0));
        PlainTrace trace;
        ShownDialog shown(*m_device, {&trace});
        shown.showPage(QStringLiteral("Отображение"));
        shown.clickCheckBox("alternativeMeasurementCB");
        shown.launcher.whileOpen = [] { changeSettings([](AppSettings& s) { s.view.angles_in_deg = true; }); };
        shown.showPage(QStringLiteral("Прибор"));
        PasswordAnswer answer(QStringLiteral("7316"));
        shown.click("consoleSettingsButton");
        QCOMPARE(shown.launcher.openings.size(), 1);
        QVERIFY(shown.child<QCheckBox>("anglesInDoubleCB")->isChecked());
        QVERIFY(!shown.child<QCheckBox>("alternativeMeasurementCB")->isChecked());
    }

    // The profile controller's calibration asks for the reference Ra, stores
    // it and starts the instrument's cycle with it.
    void theProfileCalibration_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<double>("saved");
        QTest::newRow("accepted") << "Принять" << QStringList{"Ka02500"} << 2.5;
        QTest::newRow("cancelled") << "Отмена" << QStringList() << 1.0;
    }

    void theProfileCalibration()
    {
        QFETCH(QString, answer);
        QFETCH(QStringList, commands);
        QFETCH(double, saved);
        loadSettingsFile(settingsFile(2));
        Link link(Family::Profile);
        QVERIFY(link.connect());
        QVERIFY(QTest::qWaitFor([&] { return link.device->type() == PROFILE; }, 5000));
        link.controller.clearReceived();
        ShownDialog shown(*link.device);
        shown.showPage(QStringLiteral("Прибор"));
        MessageBoxAnswerer answerer;
        answerer.onDialog([&](QWidget* prompt) {
            auto* value = prompt->findChild<QDoubleSpinBox*>();
            QVERIFY(value);
            QTest::keyClick(value, Qt::Key_A, Qt::ControlModifier);
            typeText(value, "2,5");
            QVERIFY(MessageBoxAnswerer::clickButton(prompt, answer));
        });
        shown.click("consoleSettingsButton");
        QTest::qWait(300);

        QStringList sent;
        for (const std::string& command : commandsBesidesKeepAlive(link.controller))
            sent << QString::fromStdString(command);
        QCOMPARE(sent, commands);
        QCOMPARE(savedSettings().calibration.calibration_Ra_value, saved);
    }

    void theToolDialogs_data()
    {
        QTest::addColumn<int>("deviceType");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("dialogClass");
        QTest::newRow("terminal") << 0 << "Сервис" << "termitePushButton" << "TermiteDialog";
        QTest::newRow("parameters") << 2 << "Отображение" << "paramsSettingsPushButton" << "ParamsDialog";
    }

    void theToolDialogs()
    {
        QFETCH(int, deviceType);
        QFETCH(QString, page);
        QFETCH(QString, button);
        QFETCH(QString, dialogClass);
        loadSettingsFile(settingsFile(deviceType));
        ShownDialog shown(*m_device);
        shown.showPage(page);
        MessageBoxAnswerer answerer;
        QStringList opened;
        answerer.onDialog([&](QWidget* dialog) {
            opened << QString::fromLatin1(dialog->metaObject()->className());
            QCOMPARE(dialog->parentWidget(), &shown.dialog);
            QVERIFY(!(dialog->windowFlags() & Qt::WindowContextHelpButtonHint));
            static_cast<QDialog*>(dialog)->reject();
        });
        shown.click(button.toLatin1().constData());
        QCOMPARE(opened, QStringList{dialogClass});
    }

    // A folder in the place of "settings.ini": each edit and OK fail to save,
    // one warning says so, and the values wait in the record for the next
    // save.
    void aFailedSaveWarnsOnce()
    {
        loadSettingsFile(settingsFile(0));
        QVERIFY(QFile::remove(QLatin1String(AppSettings::kFileName)));
        QVERIFY(QDir().mkdir(QLatin1String(AppSettings::kFileName)));
        MessageBoxAnswerer answerer;
        {
            ShownDialog shown(*m_device);
            shown.showPage(QStringLiteral("Сервис"));
            shown.retype("facoryNameLineEdit", "Цех");
            shown.showPage(QStringLiteral("Отображение"));
            shown.clickCheckBox("anglesInDoubleCB");
            shown.ok();
            QVERIFY(!shown.dialog.isVisible());
            QCOMPARE(shown.dialog.result(), int(QDialog::Accepted));
        }
        QCOMPARE(answerer.texts(), QStringList{"Не удалось сохранить настройки"});
        const AppSettingsData record = AppSettings::instance().snapshot();
        QCOMPARE(record.servise.factory_name, QStringLiteral("Цех"));
        QCOMPARE(record.view.angles_in_deg, true);

        QVERIFY(QDir().rmdir(QLatin1String(AppSettings::kFileName)));
        QVERIFY(AppSettings::instance().save());
        QCOMPARE(savedSettings().servise.factory_name, QStringLiteral("Цех"));
        QCOMPARE(savedSettings().view.angles_in_deg, true);
    }

private:
    static constexpr const char* kDeveloperControls[] = {
        "scaleXResolutionSpinBox", "scaleZResolutionSpinBox", "scaleRResolutionSpinBox", "scaleXResolutionLabel",
        "scaleZResolutionLabel",   "scaleRResolutionLabel",   "demoCheckBox",            "termitePushButton",
        "termteLabel"};

    std::unique_ptr<Device> m_device;
    ScopedPortList m_noPorts;
};

KALVORA_TEST_MAIN(SettingsDialogTest)
#include "SettingsDialogTest.moc"
