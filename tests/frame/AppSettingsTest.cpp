#include <QtTest>

#include <thread>
#include <vector>

#include "AppSettings.h"
#include "ProfileParamNames.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "TestWorkDir.h"

namespace {

const QString kIni = QStringLiteral("settings.ini");

void writeIni(const QMap<QString, QVariant>& values)
{
    QSettings settings(kIni, QSettings::IniFormat);
    settings.setIniCodec("UTF-8");
    for (auto it = values.begin(); it != values.end(); ++it)
        settings.setValue(it.key(), it.value());
}

QMap<int, QString> catalogueFrom(int position, const QStringList& names)
{
    QMap<int, QString> map;
    for (const QString& name : names)
        map[position++] = name;
    return map;
}

} // namespace

class AppSettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void defaultsWithoutFile()
    {
        TestWorkDir dir;
        const AppSettingsData s = AppSettings::load(kIni);
        QCOMPARE(s.preferenses.enabled_params, (QMap<int, QString>{{0, "Ra"}}));
        QCOMPARE(s.preferenses.enabled_params_count, 1);
        QMap<int, QString> hidden;
        for (const QString& name : profileParamNames) {
            if (name != QStringLiteral("Ra"))
                hidden.insert(hidden.size(), name);
        }
        QCOMPARE(s.preferenses.disabled_params, hidden);
        QCOMPARE(s.preferenses.disabled_params_count, 54);
        QCOMPARE(s.preferenses.meadian_filter_value, 3);
        QCOMPARE(s.calibration.reference_ball_radius, 15.875);
        QCOMPARE(s.servise.default_trace_file_name, QStringLiteral("Деталь"));
        QCOMPARE(s.device.device_type, 2);
        QCOMPARE(s.movement.needle_pressing, MovementSettings::NEEDLE_DOWN);
        QCOMPARE(s.current_controller_name, QStringLiteral("No name"));
        QCOMPARE(s.current_console, QStringLiteral("No console"));
        QVERIFY(s.controllers.isEmpty());
        QVERIFY(s.consoles.isEmpty());
    }

    void parameterListFixUp_data()
    {
        QTest::addColumn<QVariantMap>("stored");
        QTest::addColumn<QStringList>("enabled");
        QTest::addColumn<QStringList>("disabledHead");
        QTest::addColumn<int>("disabledCount");

        const QStringList catalogue = profileParamNames.values();
        QStringList allButRaAndRz = catalogue;
        allButRaAndRz.removeAll(QStringLiteral("Ra"));
        allButRaAndRz.removeAll(QStringLiteral("Rz"));

        QTest::newRow("missing enabled entries default to Ra, no hidden list hides the others")
            << QVariantMap{{"preferenses/enabled_params_count", 3}, {"preferenses/enabled_0", "Rz"}}
            << QStringList{"Rz", "Ra", "Ra"} << QStringList(allButRaAndRz.mid(0, 5)) << 53;
        QTest::newRow("a stored name in both lists stays in both")
            << QVariantMap{{"preferenses/enabled_params_count", 1},  {"preferenses/enabled_0", "Ra"},
                           {"preferenses/disabled_params_count", 2}, {"preferenses/disabled_0", "Rz"},
                           {"preferenses/disabled_1", "Ra"}}
            << QStringList{"Ra"} << QStringList{"Rz", "Ra", "Rmax", "Rp", "Rv"} << 55;
        QTest::newRow("names in neither list are appended after the highest position")
            << QVariantMap{{"preferenses/enabled_params_count", 1},   {"preferenses/enabled_0", "Rz"},
                           {"preferenses/disabled_params_count", 2},  {"preferenses/disabled_0", "Rp"},
                           {"preferenses/disabled_1", "Rmax"}}
            << QStringList{"Rz"} << QStringList{"Rp", "Rmax", "Ra", "Rv", "R3z"} << 54;
        QTest::newRow("empty hidden list is filled from position 0")
            << QVariantMap{{"preferenses/enabled_params_count", 2}, {"preferenses/enabled_0", "Ra"},
                           {"preferenses/enabled_1", "Rz"},         {"preferenses/disabled_params_count", 0}}
            << QStringList{"Ra", "Rz"} << QStringList(allButRaAndRz.mid(0, 5)) << 53;
        QTest::newRow("negative counts read nothing")
            << QVariantMap{{"preferenses/enabled_params_count", -4}, {"preferenses/disabled_params_count", -1}}
            << QStringList{} << QStringList(catalogue.mid(0, 5)) << 55;
    }

    void parameterListFixUp()
    {
        QFETCH(QVariantMap, stored);
        QFETCH(QStringList, enabled);
        QFETCH(QStringList, disabledHead);
        QFETCH(int, disabledCount);

        TestWorkDir dir;
        writeIni(stored);
        const AppSettingsData s = AppSettings::load(kIni);
        const PreferenceSettings& p = s.preferenses;

        QCOMPARE(p.enabled_params, catalogueFrom(0, enabled));
        QCOMPARE(p.enabled_params_count, p.enabled_params.size());
        QCOMPARE(p.disabled_params_count, p.disabled_params.size());
        QCOMPARE(p.disabled_params.size(), disabledCount);
        QCOMPARE(p.disabled_params.values().mid(0, disabledHead.size()), disabledHead);
        QCOMPARE(p.disabled_params.firstKey(), 0);
        QCOMPARE(p.disabled_params.lastKey(), p.disabled_params.size() - 1);
    }

    void hugeCountIsBounded()
    {
        TestWorkDir dir;
        writeIni({{"preferenses/enabled_params_count", 2000000000}, {"controllers/count", 2000000000}});
        const AppSettingsData s = AppSettings::load(kIni);
        QVERIFY(s.preferenses.enabled_params_count > 0);
        QVERIFY(s.preferenses.enabled_params_count <= 100000);
        QVERIFY(s.controllers.size() <= 100000);
    }

    void invalidValuesFallBackToDefaults_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("cut-off index past the list") << "device/spinbox_filter_length_index" << QVariant(7) << 1;
        QTest::newRow("negative cut-off index") << "device/spinbox_filter_length_index" << QVariant(-1) << 1;
        QTest::newRow("unknown device type") << "device/device_type" << QVariant(9) << 2;
        QTest::newRow("axis unit") << "view/axis_unit" << QVariant(3) << 0;
        QTest::newRow("speed") << "movement/current_speed" << QVariant(4) << 0;
        QTest::newRow("needle pressing") << "movement/needle_pressing" << QVariant(2) << 1;
        QTest::newRow("pressing force") << "device/power_pressing" << QVariant(0) << 1;
        QTest::newRow("standard") << "preferenses/standartisation_value" << QVariant(5) << 0;
        QTest::newRow("histogram classes") << "preferenses/histogramm_density_value" << QVariant(-3) << 10;
        QTest::newRow("median window") << "preferenses/meadian_filter_value" << QVariant(0) << 3;
        QTest::newRow("text for a number") << "device/spinbox_filter_length_index" << QVariant("abc") << 0;
        QTest::newRow("valid median window") << "preferenses/meadian_filter_value" << QVariant(5) << 5;
    }

    void invalidValuesFallBackToDefaults()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        QFETCH(int, expected);
        TestWorkDir dir;
        writeIni({{key, value}});
        const AppSettingsData s = AppSettings::load(kIni);
        const QMap<QString, int> actual = {
            {"device/spinbox_filter_length_index", s.device.spinbox_filter_length_index},
            {"device/device_type", s.device.device_type},
            {"view/axis_unit", s.view.axis_unit},
            {"movement/current_speed", s.movement.current_speed},
            {"movement/needle_pressing", s.movement.needle_pressing},
            {"device/power_pressing", s.device.power_pressing},
            {"preferenses/standartisation_value", s.preferenses.standartisation_value},
            {"preferenses/histogramm_density_value", s.preferenses.histogramm_density_value},
            {"preferenses/meadian_filter_value", s.preferenses.meadian_filter_value},
        };
        QCOMPARE(actual.value(key), expected);
    }

    void duplicateConsoleNamesKeepTheLaterValues()
    {
        TestWorkDir dir;
        writeIni({{"consoles/count", 2},
                  {"consoles/p_0", "К1"},
                  {"consoles/p_0/needle_bias", 1.5},
                  {"consoles/p_1", "К1"},
                  {"consoles/p_1/needle_bias", 2.5}});
        AppSettingsData s = AppSettings::load(kIni);
        QCOMPARE(s.console_names, (QStringList{"К1", "К1"}));
        QCOMPARE(s.consoles.size(), 1);
        QCOMPARE(s.consoles.value("К1"), (QVector<double>{20, 20, 22, 2.5, 6.2}));

        QVERIFY(AppSettings::write(s, kIni));
        QSettings written(kIni, QSettings::IniFormat);
        written.setIniCodec("UTF-8");
        QCOMPARE(written.value("consoles/p_0/needle_bias").toDouble(), 2.5);
        QCOMPARE(written.value("consoles/p_1/needle_bias").toDouble(), 2.5);
    }

    void shrunkListLeavesStaleKeysThatAreNotRead()
    {
        TestWorkDir dir;
        AppSettingsData s = AppSettings::load(kIni);
        s.controllers = QStringList{"Иванов", "Петров", "Сидоров", "Кузнецов", "Смирнов"};
        QVERIFY(AppSettings::write(s, kIni));
        s.controllers = s.controllers.mid(0, 3);
        QVERIFY(AppSettings::write(s, kIni));

        QSettings written(kIni, QSettings::IniFormat);
        written.setIniCodec("UTF-8");
        QCOMPARE(written.value("controllers/c_4").toString(), QStringLiteral("Смирнов"));
        QCOMPARE(AppSettings::load(kIni).controllers, (QStringList{"Иванов", "Петров", "Сидоров"}));
    }

    void roundTripKeepsEveryValue()
    {
        TestWorkDir dir;
        AppSettingsData s = AppSettings::load(kIni);
        s.calibration.rack_prpendicular = 0.125;
        s.calibration.upload_device_settings = true;
        s.device.device_type = 0;
        s.servise.factory_name = QStringLiteral("Завод №1");
        s.preferenses.enabled_params = profileParamNames;
        s.preferenses.enabled_params_count = 55;
        s.preferenses.disabled_params.clear();
        s.preferenses.disabled_params_count = 0;
        s.preferenses.graph_color = QStringLiteral("#123456");
        s.movement.mm_per_rotation = 0.5;
        s.console_names = QStringList{"Консоль"};
        s.consoles.insert("Консоль", {1, 2, 3, 4, 5});
        s.current_console = "Консоль";
        s.current_controller_name = "Иванов";
        QVERIFY(AppSettings::write(s, kIni));

        const QByteArray first = fileBytes(kIni);
        QVERIFY(first.contains("Деталь"));
        for (const QString& name : profileParamNames)
            QVERIFY2(first.contains(name.toUtf8()), qPrintable(name));

        const AppSettingsData loaded = AppSettings::load(kIni);
        QCOMPARE(loaded.calibration.rack_prpendicular, 0.125);
        QVERIFY(loaded.calibration.upload_device_settings);
        QCOMPARE(loaded.device.device_type, 0);
        QCOMPARE(loaded.servise.factory_name, QStringLiteral("Завод №1"));
        QCOMPARE(loaded.servise.default_trace_file_name, QStringLiteral("Деталь"));
        QCOMPARE(loaded.preferenses.enabled_params, profileParamNames);
        QVERIFY(loaded.preferenses.disabled_params.isEmpty());
        QCOMPARE(loaded.preferenses.graph_color, QStringLiteral("#123456"));
        QCOMPARE(loaded.movement.mm_per_rotation, 0.5);
        QCOMPARE(loaded.consoles.value("Консоль"), (QVector<double>{1, 2, 3, 4, 5}));
        QCOMPARE(loaded.current_console, QStringLiteral("Консоль"));
        QCOMPARE(loaded.current_controller_name, QStringLiteral("Иванов"));

        QVERIFY(AppSettings::write(loaded, kIni));
        QCOMPARE(fileBytes(kIni), first);
    }

    void unwritableFileIsReported()
    {
        TestWorkDir dir;
        QDir().mkdir(kIni);
        QVERIFY(!AppSettings::write(AppSettings::load(kIni), kIni));
    }

    // The instance of the program: threads change fields under the lock and
    // save while others do the same. When they are done the file holds every
    // change without a further save, so no save wrote an older copy of the
    // record over a newer one; a last save leaves a readable file.
    void concurrentChangesAndSaves()
    {
        AppSettings& settings = AppSettings::instance();
        for (int round = 0; round < 8; ++round) {
            settings.controllers.clear();
            std::vector<std::thread> workers;
            for (int t = 0; t < 4; ++t) {
                workers.emplace_back([&settings, round, t] {
                    for (int i = 0; i < 50; ++i) {
                        {
                            QMutexLocker lock(&settings.mutex());
                            settings.controllers.append(QStringLiteral("c%1_%2_%3").arg(round).arg(t).arg(i));
                        }
                        settings.save();
                    }
                });
            }
            for (std::thread& worker : workers)
                worker.join();
            QCOMPARE(AppSettings::load(kIni).controllers.size(), 200);
        }
        QVERIFY(settings.save());
        QCOMPARE(AppSettings::load(kIni).controllers.size(), 200);
    }
};

KALVORA_TEST_MAIN(AppSettingsTest)
#include "AppSettingsTest.moc"
