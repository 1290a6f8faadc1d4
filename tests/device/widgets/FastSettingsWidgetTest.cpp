#include "ComboBoxInput.h"
#include "FastSettingsWidget.h"
#include "MessageBoxAnswerer.h"
#include "TestMain.h"
#include "TraceTypes.h"

#include <QDir>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QMutexLocker>
#include <QSignalSpy>

#include <functional>

using Change = std::function<void(AppSettingsData&)>;

Q_DECLARE_METATYPE(Change)

namespace {

const QString kIni = QLatin1String(AppSettings::kFileName);

// Writes the settings file and loads the record from it, as at start-up.
void startWith(const Change& change)
{
    AppSettingsData data;
    data.controllers = QStringList{"A", "B"};
    data.console_names = QStringList{"K1", "K2"};
    data.consoles.insert("K1", {1, 2, 3, 4, 5});
    data.consoles.insert("K2", {6, 7, 8, 9, 10});
    data.device.device_type = CONTOUR;
    change(data);
    QVERIFY(AppSettings::write(data, kIni));
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    static_cast<AppSettingsData&>(settings) = AppSettings::load(kIni);
}

// Changes the record as the settings dialog does, and saves it.
void changeAndSave(const Change& change)
{
    {
        AppSettings& settings = AppSettings::instance();
        QMutexLocker lock(&settings.mutex());
        change(settings);
    }
    QVERIFY(AppSettings::instance().save());
}

AppSettingsData record()
{
    return AppSettings::instance().snapshot();
}

AppSettingsData saved()
{
    return AppSettings::load(kIni);
}

QVector<double> calibration(const AppSettingsData& s)
{
    const CalibrationSettings& c = s.calibration;
    return {c.tool_head_radius_down, c.tool_head_radius_up, c.double_sided_probe_high, c.needle_bias,
            c.roughness_ratio};
}

// Types the text key by key, letters beyond ASCII included.
void type(QWidget* widget, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QStringList items(const QComboBox* box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

} // namespace

// The quick-settings panel against a real "settings.ini": what each control
// stores, saves and announces, the layouts of the two controller families and
// the refilling of the inspector and console selectors.
class FastSettingsWidgetTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        m_panel.reset();
        QDir().rmdir(kIni);
    }

    void theLayoutFollowsTheControllerType()
    {
        startWith([](AppSettingsData& s) { s.device.device_type = PROFILE; });
        build();
        for (const char* name : {"needlePressingComboBox", "needlePressingLabel", "measurementModeComboBox",
                                 "measurementModeLabel", "consoleComboBox", "consoleLabel", "mmPerRotationSpinBox",
                                 "mmPerRotationLabel"})
            QVERIFY2(!child<QWidget>(name)->isVisible(), name);
        QVERIFY(child<QWidget>("upperLabel")->isVisible());

        m_panel->setInerface(CONTOUR);
        for (const char* name : {"needlePressingComboBox", "needlePressingLabel", "measurementModeComboBox",
                                 "measurementModeLabel"})
            QVERIFY2(child<QWidget>(name)->isVisible(), name);
        // The console row stays as the profile controller left it.
        QVERIFY(!child<QWidget>("consoleComboBox")->isVisible());
        QVERIFY(!child<QWidget>("upperLabel")->isVisible());
        QVERIFY(!child<QWidget>("mmPerRotationSpinBox")->isVisible());
    }

    void theControlsShowTheSettingsAndStoreNothing()
    {
        startWith([](AppSettingsData& s) {
            s.movement.needle_pressing = MovementSettings::NEEDLE_UP;
            s.device.measurement_mode = 3;
            s.servise.default_trace_file_name = "Вал";
            s.current_controller_name = "B";
            s.current_console = "K9";
        });
        const QByteArray before = fileText();
        QCOMPARE(FastSettingsWidget().size(), QSize(358, 303));
        build();
        QCOMPARE(m_panel->windowTitle(), QStringLiteral("Form"));
        QCOMPARE(combo("needlePressingComboBox")->currentIndex(), 0);
        QCOMPARE(combo("measurementModeComboBox")->currentIndex(), 3);
        QCOMPARE(child<QLineEdit>("traceFileNameLineEdit")->text(), QStringLiteral("Вал"));
        QCOMPARE(child<QLineEdit>("traceFileNameLineEdit")->placeholderText(), QStringLiteral("Имя файла"));
        QCOMPARE(items(combo("controllersComboBox")), (QStringList{"A", "B"}));
        QCOMPARE(combo("controllersComboBox")->currentText(), QStringLiteral("B"));
        // A stored console that is not listed shows the first; the choice stays.
        QCOMPARE(combo("consoleComboBox")->currentText(), QStringLiteral("K1"));
        QCOMPARE(record().current_console, QStringLiteral("K9"));
        QCOMPARE(fileText(), before);
    }

    void needleDownIsStoredAndSent()
    {
        startWith([](AppSettingsData& s) {
            s.movement.needle_pressing = MovementSettings::NEEDLE_UP;
            s.device.power_pressing = 3;
        });
        build();
        QList<QPair<int, int>> sent;
        connect(m_panel.get(), &FastSettingsWidget::changePressingPower, this,
                [&sent](MovementSettings::E_NEEDLE_PRESSING needle, int power) { sent.append({needle, power}); });
        QVERIFY(chooseItem(combo("needlePressingComboBox"), 1));
        QCOMPARE(saved().movement.needle_pressing, MovementSettings::NEEDLE_DOWN);
        QCOMPARE(sent, (QList<QPair<int, int>>{{MovementSettings::NEEDLE_DOWN, 3}}));
        QVERIFY(!combo("needlePressingComboBox")->hasFocus());
    }

    void theMeasurementModeSetsTheControllerType_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("type");
        QTest::newRow("contour") << 0 << int(CONTOUR);
        QTest::newRow("roughness") << 1 << int(CONTOUR);
        QTest::newRow("roughness probe") << 2 << int(CONTOUR_PROFILE);
        QTest::newRow("additional axis") << 3 << int(CONTOUR);
    }

    void theMeasurementModeSetsTheControllerType()
    {
        QFETCH(int, mode);
        QFETCH(int, type);
        startWith([mode](AppSettingsData& s) { s.device.measurement_mode = mode == 3 ? 0 : 3; });
        build();
        QSignalSpy sent(m_panel.get(), &FastSettingsWidget::setDeviceType);
        QVERIFY(chooseItem(combo("measurementModeComboBox"), mode));
        QCOMPARE(saved().device.measurement_mode, mode);
        QCOMPARE(sent.count(), 1);
        QCOMPARE(sent.at(0).at(0).toInt(), type);
    }

    void choosingAnInspectorAndAConsole()
    {
        startWith([](AppSettingsData&) {});
        build();
        QVERIFY(chooseItem(combo("controllersComboBox"), 1));
        QCOMPARE(saved().current_controller_name, QStringLiteral("B"));
        QVERIFY(chooseItem(combo("consoleComboBox"), 1));
        QCOMPARE(saved().current_console, QStringLiteral("K2"));
        QCOMPARE(calibration(saved()), (QVector<double>{6, 7, 8, 9, 10}));
    }

    void theFileNameIsSavedAsTypedWithoutSlashes()
    {
        startWith([](AppSettingsData& s) { s.servise.default_trace_file_name.clear(); });
        build();
        auto* name = child<QLineEdit>("traceFileNameLineEdit");
        QStringList savedNames;
        for (const QString key : {"В", "а", "л"}) {
            type(name, key);
            savedNames << saved().servise.default_trace_file_name;
        }
        QCOMPARE(savedNames, (QStringList{"В", "Ва", "Вал"}));

        // The name goes into the path of every automatic save: no folders.
        type(name, QStringLiteral(" 3/4"));
        QCOMPARE(name->text(), QStringLiteral("Вал 34"));
        QCOMPARE(saved().servise.default_trace_file_name, QStringLiteral("Вал 34"));
    }

    void aFolderInPlaceOfTheSettingsFileWarnsOnce()
    {
        startWith([](AppSettingsData& s) { s.servise.default_trace_file_name.clear(); });
        build();
        QVERIFY(QFile::remove(kIni));
        QVERIFY(QDir().mkdir(kIni));
        MessageBoxAnswerer answerer;
        type(child<QLineEdit>("traceFileNameLineEdit"), QStringLiteral("abc"));
        QCOMPARE(answerer.texts(), QStringList{QStringLiteral("Не удалось сохранить настройки")});
        QCOMPARE(record().servise.default_trace_file_name, QStringLiteral("abc"));
    }

    void lockingAndEnabling()
    {
        startWith([](AppSettingsData&) {});
        build();
        const QList<QWidget*> locked = {combo("needlePressingComboBox"), child<QWidget>("traceFileNameLineEdit"),
                                        combo("controllersComboBox"), combo("consoleComboBox"),
                                        combo("measurementModeComboBox")};
        m_panel->lockButtons();
        for (QWidget* widget : locked)
            QVERIFY2(!widget->isEnabled(), qPrintable(widget->objectName()));
        QVERIFY(child<QWidget>("mmPerRotationSpinBox")->isEnabled());
        m_panel->unlockButtons();
        for (QWidget* widget : locked)
            QVERIFY2(widget->isEnabled(), qPrintable(widget->objectName()));
        m_panel->enableFastSettings(false);
        QVERIFY(!m_panel->isEnabled());
        m_panel->enableFastSettings(true);
        QVERIFY(m_panel->isEnabled());
    }

    void refreshingTheSelectors_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("controllerShown");
        QTest::addColumn<QString>("consoleShown");
        QTest::addColumn<QString>("controllerStored");
        QTest::addColumn<QString>("consoleStored");
        QTest::addColumn<QString>("consoleSaved");
        QTest::addColumn<QVector<double>>("calibrationStored");

        const QVector<double> k1 = {1, 2, 3, 4, 5};
        const QVector<double> k2 = {6, 7, 8, 9, 10};
        QTest::newRow("no inspector chosen: the first")
            << Change([](AppSettingsData& s) { s.current_controller_name = "No name"; }) << "A"
            << "K1" << "A" << "K1" << "K1" << k1;
        QTest::newRow("the stored choices stay")
            << Change([](AppSettingsData& s) {
                   s.current_controller_name = "B";
                   s.current_console = "K2";
               })
            << "B" << "K2" << "B" << "K2" << "K2" << k2;
        // The first console is chosen and saved on the way; the record gets
        // the stored name back, unsaved, and keeps the first one's values.
        QTest::newRow("a console no longer listed")
            << Change([](AppSettingsData& s) { s.current_console = "K3"; }) << "A"
            << "K1" << "A" << "K3" << "K1" << k1;
        QTest::newRow("empty lists")
            << Change([](AppSettingsData& s) {
                   s.controllers.clear();
                   s.console_names.clear();
                   s.consoles.clear();
                   s.current_controller_name = "B";
                   s.current_console = "K2";
               })
            << "" << "" << "B" << "K2" << "K2" << QVector<double>{20, 20, 22, 0, 6.2};
    }

    void refreshingTheSelectors()
    {
        QFETCH(Change, change);
        QFETCH(QString, controllerShown);
        QFETCH(QString, consoleShown);
        QFETCH(QString, controllerStored);
        QFETCH(QString, consoleStored);
        QFETCH(QString, consoleSaved);
        QFETCH(QVector<double>, calibrationStored);
        startWith([](AppSettingsData& s) {
            s.controllers = QStringList{"X"};
            s.console_names.clear();
        });
        build();
        // The settings dialog has changed the lists.
        changeAndSave([&change](AppSettingsData& s) {
            s.controllers = QStringList{"A", "B"};
            s.console_names = QStringList{"K1", "K2"};
            s.consoles = {{"K1", {1, 2, 3, 4, 5}}, {"K2", {6, 7, 8, 9, 10}}};
            change(s);
        });

        m_panel->refreshSelectors();
        QCOMPARE(combo("controllersComboBox")->currentText(), controllerShown);
        QCOMPARE(combo("consoleComboBox")->currentText(), consoleShown);
        QCOMPARE(items(combo("controllersComboBox")), record().controllers);
        QCOMPARE(record().current_controller_name, controllerStored);
        QCOMPARE(record().current_console, consoleStored);
        QCOMPARE(saved().current_console, consoleSaved);
        QCOMPARE(calibration(record()), calibrationStored);
    }

private:
    void build()
    {
        m_panel = std::make_unique<FastSettingsWidget>();
        m_panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_panel.get()));
    }

    template <typename T>
    T* child(const char* name) const
    {
        auto* found = m_panel->findChild<T*>(QLatin1String(name));
        Q_ASSERT(found);
        return found;
    }
    QComboBox* combo(const char* name) const { return child<QComboBox>(name); }

    static QByteArray fileText()
    {
        QFile file(kIni);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    std::unique_ptr<FastSettingsWidget> m_panel;
};

KALVORA_TEST_MAIN(FastSettingsWidgetTest)
#include "FastSettingsWidgetTest.moc"
