#include "contour/CalibrationPanelVisibility.h"
#include "ContourTrace.h"
#include "contour/ProbeCalibration.h"
#include "ProfileTrace.h"
#include "TraceTypes.h"
#include "SettingsFixture.h"
#include "TestMain.h"

#include <memory>
#include <vector>

namespace {

const QVector<double> kK1{1, 2, 3, 4, 5};

// Traces by letters: d and u contour traces taken with the needle down and
// up, D a contour trace with profile (needle down), p a profile trace.
struct TraceSet
{
    explicit TraceSet(const QString& letters)
    {
        for (const QChar letter : letters) {
            if (letter == QLatin1Char('p')) {
                owned.push_back(std::make_unique<ProfileTrace>());
            } else {
                auto trace = std::make_unique<ContourTrace>();
                trace->needle_pressing = letter == QLatin1Char('u') ? MovementSettings::NEEDLE_UP
                                                                    : MovementSettings::NEEDLE_DOWN;
                if (letter == QLatin1Char('D'))
                    trace->setType(CONTOUR_PROFILE);
                owned.push_back(std::move(trace));
            }
            traces.append(owned.back().get());
        }
    }

    ContourTrace* contour(int i) const { return dynamic_cast<ContourTrace*>(traces[i]); }

    std::vector<std::unique_ptr<AbstractTrace>> owned;
    QVector<AbstractTrace*> traces;
};

AppSettingsData withConsoles(const QStringList& names, const QString& current)
{
    AppSettingsData data;
    data.console_names = names;
    data.current_console = current;
    for (const QString& name : names)
        data.consoles.insert(name, kK1);
    data.calibration.tool_head_radius_down = 11;
    data.calibration.tool_head_radius_up = 12;
    data.calibration.double_sided_probe_high = 13;
    data.calibration.needle_bias = 14;
    data.calibration.roughness_ratio = 15;
    return data;
}

const QVector<double> kRecordProbeValues{11, 12, 13, 14, 15};

// Answers the console question as the console dialog does: the console is
// listed (added when new) and returned.
std::optional<QString> chooseListing(const QString& console)
{
    changeSettings([&](AppSettings& s) {
        if (!s.console_names.contains(console))
            s.console_names.append(console);
    });
    return console;
}

QString fieldName(CalibrationField field)
{
    static const char* names[kCalibrationFieldCount] = {"down", "up", "high", "bias", "roughness", "rack",
                                                        "x",    "y",  "disp", "gauss", "radius"};
    return QLatin1String(names[int(field)]);
}

const QStringList kDeveloperFields{"rack", "x", "y", "disp", "gauss", "radius"};

} // namespace

Q_DECLARE_METATYPE(AppSettingsData)

// The calibration screen's decisions and its writes into the settings record
// and the traces' calibration copies, without widgets.
class ProbeCalibrationTest : public QObject
{
    Q_OBJECT

private slots:
    void panelVisibility_data()
    {
        QTest::addColumn<QString>("traces");
        QTest::addColumn<bool>("developer");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("down") << "dd" << false << QStringList{"down"};
        QTest::newRow("up") << "u" << false << QStringList{"up"};
        QTest::newRow("mixed") << "du" << false << QStringList{"down", "up", "high", "bias"};
        QTest::newRow("with profile") << "D" << false << QStringList{"down", "roughness"};
        QTest::newRow("profile traces") << "pp" << false << QStringList();
        QTest::newRow("profile first") << "pd" << false << QStringList();
        QTest::newRow("a profile trace among contour ones") << "dp" << false << QStringList{"down"};
        QTest::newRow("no trace") << "" << false << QStringList();
        QTest::newRow("down, developer") << "d" << true << QStringList{"down"} + kDeveloperFields;
        QTest::newRow("profile traces, developer") << "p" << true << kDeveloperFields;
    }

    void panelVisibility()
    {
        QFETCH(QString, traces);
        QFETCH(bool, developer);
        QFETCH(QStringList, shown);
        const TraceSet set(traces);
        const CalibrationPanelVisibility visibility(set.traces, developer);
        QStringList actual;
        for (int i = 0; i < kCalibrationFieldCount; ++i) {
            if (visibility.isShown(calibrationFieldAt(i)))
                actual.append(fieldName(calibrationFieldAt(i)));
        }
        QCOMPARE(actual, shown);
    }

    void shownProbeValues_data()
    {
        QTest::addColumn<AppSettingsData>("settings");
        QTest::addColumn<QVector<double>>("shown");
        QTest::newRow("the current console's") << withConsoles({"K1"}, "K1") << kK1;
        QTest::newRow("no consoles") << withConsoles({}, "No console") << kRecordProbeValues;
        QTest::newRow("the current console has none") << withConsoles({"K1"}, "K2") << kRecordProbeValues;
        AppSettingsData shortVector = withConsoles({"K1"}, "K1");
        shortVector.consoles["K1"] = {1, 2};
        QTest::newRow("too few values") << shortVector << kRecordProbeValues;
        AppSettingsData longVector = withConsoles({"K1"}, "K1");
        longVector.consoles["K1"] = kK1 + QVector<double>{9};
        QTest::newRow("more than five") << longVector << kK1;
    }

    void shownProbeValues()
    {
        QFETCH(AppSettingsData, settings);
        QFETCH(QVector<double>, shown);
        QCOMPARE(ProbeCalibration::shownProbeValues(settings), shown);
    }

    void consoleChoice_data()
    {
        QTest::addColumn<AppSettingsData>("settings");
        QTest::addColumn<bool>("needed");
        QTest::newRow("the current console listed") << withConsoles({"K1", "K2"}, "K2") << false;
        QTest::newRow("no console") << withConsoles({}, "No console") << true;
        QTest::newRow("no console while there are some") << withConsoles({"K1"}, "No console") << true;
        QTest::newRow("the current one removed") << withConsoles({"K1"}, "K2") << true;
    }

    void consoleChoice()
    {
        QFETCH(AppSettingsData, settings);
        QFETCH(bool, needed);
        QCOMPARE(ProbeCalibration::needsConsoleChoice(settings), needed);
    }

    // A change reaches the record and every contour trace's copy; discard
    // puts back the values of the opening in both.
    void applyAndDiscard()
    {
        AppSettingsData opening = withConsoles({"K1"}, "K1");
        opening.servise.is_disabled_gauss_filter = false;
        loadSettings(opening);
        TraceSet set(QStringLiteral("dpu"));
        set.contour(0)->tool_head_radius_down = 7;
        set.contour(2)->tool_head_radius_down = 8;
        auto* profile = dynamic_cast<ProfileTrace*>(set.traces[1]);
        profile->speed = 0.5;
        profile->filterCutOff = 800;
        profile->level = 3;
        ProbeCalibration calibration;
        calibration.setTraces(set.traces);

        calibration.apply(CalibrationField::ToolHeadRadiusDown, 25);
        calibration.apply(CalibrationField::XAxisCompressionRatio, 1.5);
        calibration.apply(CalibrationField::GaussFilterDisabled, 2);
        const AppSettingsData changed = AppSettings::instance().snapshot();
        QCOMPARE(changed.calibration.tool_head_radius_down, 25.0);
        QCOMPARE(changed.calibration.x_axis_compression_ratio, 1.5);
        QCOMPARE(changed.servise.is_disabled_gauss_filter, true);
        for (int i : {0, 2}) {
            QCOMPARE(set.contour(i)->tool_head_radius_down, 25.0);
            QCOMPARE(set.contour(i)->x_axis_compression_ratio, 1.5);
        }
        QCOMPARE(profile->speed, 0.5);
        QCOMPARE(profile->filterCutOff, 800.0);
        QCOMPARE(profile->level, 3.0);

        calibration.discard();
        const AppSettingsData discarded = AppSettings::instance().snapshot();
        QCOMPARE(discarded.calibration.tool_head_radius_down, 11.0);
        QCOMPARE(discarded.calibration.x_axis_compression_ratio, 1.0);
        QCOMPARE(discarded.servise.is_disabled_gauss_filter, false);
        QCOMPARE(set.contour(0)->tool_head_radius_down, 7.0);
        QCOMPARE(set.contour(2)->tool_head_radius_down, 8.0);
        QCOMPARE(set.contour(0)->x_axis_compression_ratio, 1.0);
        QCOMPARE(profile->speed, 0.5);
        QCOMPARE(savedSettings().calibration.tool_head_radius_down, 11.0);
    }

    // Saving: which console the values go under, and whether the
    // instrument's values are asked to be uploaded.
    void saving_data()
    {
        QTest::addColumn<AppSettingsData>("opening");
        QTest::addColumn<bool>("alwaysChoose");
        QTest::addColumn<QString>("answer"); // empty: the choice is cancelled
        QTest::addColumn<QList<double>>("xRatios");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QString>("console");
        QTest::addColumn<bool>("upload");
        const AppSettingsData k1 = withConsoles({"K1", "K2"}, "K1");
        const QList<double> none;
        QTest::newRow("under the current console") << k1 << false << "" << none << false << "K1" << false;
        QTest::newRow("no console, one chosen")
            << withConsoles({}, "No console") << false << "K5" << none << true << "K5" << false;
        QTest::newRow("save as") << k1 << true << "K2" << none << true << "K2" << false;
        QTest::newRow("a new x ratio") << k1 << false << "" << QList<double>{1.25} << false << "K1" << true;
        QTest::newRow("the x ratio set back")
            << k1 << false << "" << QList<double>{1.25, 1.0} << false << "K1" << false;
        AppSettingsData asked = k1;
        asked.calibration.upload_device_settings = true;
        QTest::newRow("an upload still asked for") << asked << false << "" << none << false << "K1" << true;
    }

    void saving()
    {
        QFETCH(AppSettingsData, opening);
        QFETCH(bool, alwaysChoose);
        QFETCH(QString, answer);
        QFETCH(QList<double>, xRatios);
        QFETCH(bool, asked);
        QFETCH(QString, console);
        QFETCH(bool, upload);
        loadSettings(opening);
        ProbeCalibration calibration;
        for (double ratio : xRatios)
            calibration.apply(CalibrationField::XAxisCompressionRatio, ratio);
        calibration.apply(CalibrationField::NeedleBias, 0.5);
        bool chooserAsked = false;
        const auto result = calibration.save(
            alwaysChoose,
            [&] {
                chooserAsked = true;
                return chooseListing(answer);
            },
            [] { return AppSettings::instance().save(); });
        QCOMPARE(result, ProbeCalibration::SaveResult::Saved);
        QCOMPARE(chooserAsked, asked);
        const AppSettingsData file = savedSettings();
        QCOMPARE(file.current_console, console);
        QCOMPARE(file.consoles.value(console), (QVector<double>{11, 12, 13, 0.5, 15}));
        QCOMPARE(file.calibration.upload_device_settings, upload);
    }

    void aCancelledChoiceStoresNothing()
    {
        loadSettings(withConsoles({}, "No console"));
        ProbeCalibration calibration;
        calibration.apply(CalibrationField::XAxisCompressionRatio, 2);
        const AppSettingsData before = AppSettings::instance().snapshot();
        bool saved = false;
        const auto result = calibration.save(
            false, [] { return std::optional<QString>(); }, [&] { return saved = true; });
        QCOMPARE(result, ProbeCalibration::SaveResult::Cancelled);
        QVERIFY(!saved);
        const AppSettingsData after = AppSettings::instance().snapshot();
        QCOMPARE(after.consoles, before.consoles);
        QCOMPARE(after.current_console, before.current_console);
        QCOMPARE(after.calibration.upload_device_settings, false);
    }

    // A failed save puts back the consoles, even those the choice added, the
    // current console and the upload request; the panel's values stay.
    void aFailedSavePutsTheConsolesBack()
    {
        loadSettings(withConsoles({"K1"}, "No console"));
        ProbeCalibration calibration;
        calibration.apply(CalibrationField::XAxisCompressionRatio, 2);
        const auto result = calibration.save(
            false,
            [] { return chooseListing(QStringLiteral("K7")); },
            [] { return false; });
        QCOMPARE(result, ProbeCalibration::SaveResult::Failed);
        const AppSettingsData after = AppSettings::instance().snapshot();
        QCOMPARE(after.console_names, QStringList{"K1"});
        QCOMPARE(after.consoles, (QMap<QString, QVector<double>>{{"K1", kK1}}));
        QCOMPARE(after.current_console, QStringLiteral("No console"));
        QCOMPARE(after.calibration.upload_device_settings, false);
        QCOMPARE(after.calibration.x_axis_compression_ratio, 2.0);
    }
};

KALVORA_TEST_MAIN(ProbeCalibrationTest)
#include "ProbeCalibrationTest.moc"
