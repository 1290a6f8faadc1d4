#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>

#include "ContourTrace.h"
#include "DataMedianFilterProcessor.h"
#include "DeviceControlWidget.h"
#include "FilterRoughnessProfileProcessor.h"
#include "FilterWaveProfileProcessor.h"
#include "LinkTestSupport.h"
#include "LogTexts.h"
#include "MessageBoxAnswerer.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "ThreadAngleCompensationProcessor.h"
#include "TraceList.h"
#include "WorkspaceFixture.h"
#include "YZeronator.h"
#include "plot/TraceGraphsHolder.h"

using namespace workspace;

namespace {

QString kindOf(const IDataPostProcessor* step)
{
    if (dynamic_cast<const DataMedianFilterProcessor*>(step))
        return QStringLiteral("median");
    if (dynamic_cast<const ThreadAngleCompensationProcessor*>(step))
        return QStringLiteral("angle");
    if (dynamic_cast<const FilterRoughnessProfileProcessor*>(step))
        return QStringLiteral("roughness");
    if (dynamic_cast<const FilterWaveProfileProcessor*>(step))
        return QStringLiteral("waviness");
    if (dynamic_cast<const YZeronator*>(step))
        return QStringLiteral("zero");
    return QStringLiteral("?");
}

// The trace's chain as "<class>: <name>" steps.
QStringList chainOf(const AbstractTrace* trace)
{
    QStringList steps;
    for (const auto& step : trace->postProcessors())
        steps << kindOf(step.get()) + QStringLiteral(": ") + step->name;
    return steps;
}

template <typename Widget>
Widget* control(const ProfileAnalisisWidget& ws, const char* name)
{
    auto* widget = ws.findChild<Widget*>(QLatin1String(name));
    Q_ASSERT(widget);
    return widget;
}

void click(QCheckBox* box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

// The chain options as a user sets them; the spin boxes first, while they
// take values.
void setOptions(ProfileAnalisisWidget& ws, bool median, int window, bool threadAngle, double angle, int filter)
{
    control<QSpinBox>(ws, "medianSpinBox")->setValue(window);
    control<QDoubleSpinBox>(ws, "threadAngleSpinBox")->setValue(angle);
    control<QCheckBox>(ws, "medianCheckBox")->setChecked(median);
    control<QCheckBox>(ws, "threadAngleCheckBox")->setChecked(threadAngle);
    control<QComboBox>(ws, "profileFilterComboBox")->setCurrentIndex(filter);
}

AppSettingsData savedSettings()
{
    return AppSettings::load(QLatin1String(AppSettings::kFileName));
}

} // namespace

// The profile workspace receiving traces from files: the traces it creates
// with their chains, the chains rebuilt by the options, what a read leaves
// (rows, holders, parameters), reads that fail, saving on request and the
// traces joined or removed in the list.
class ProfileReadingTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::C)); }

    void init()
    {
        resetSettings();
        m_folders = std::make_unique<RecordingFolders>();
    }

    void cleanup() { m_folders.reset(); }

    void theFirstChain_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("median");
        QTest::addColumn<bool>("threadAngle");
        QTest::addColumn<int>("filter");
        QTest::addColumn<int>("cutOffIndex");
        QTest::addColumn<QStringList>("chain");
        QTest::newRow("profile, median, roughness")
            << 2 << true << false << 1 << 2 << QStringList{"median: Median5", "roughness: Filter 800", "zero: YZeronator"};
        QTest::newRow("contour, median, roughness") << 0 << true << false << 1 << 2 << QStringList{"median: Median5"};
        QTest::newRow("contour, median, thread angle")
            << 0 << true << true << 1 << 2 << QStringList{"median: Median5", "angle: Angle 12.5"};
        // The hidden thread-angle option still counts.
        QTest::newRow("profile, thread angle, waviness")
            << 2 << false << true << 2 << 1 << QStringList{"angle: Angle 12.5", "waviness: Filter 2500", "zero: YZeronator"};
        QTest::newRow("additional, primary") << 3 << false << false << 0 << 0 << QStringList{"zero: YZeronator"};
        QTest::newRow("contour with profile, waviness") << 1 << false << false << 2 << 3 << QStringList{};
    }

    void theFirstChain()
    {
        QFETCH(int, type);
        QFETCH(bool, median);
        QFETCH(bool, threadAngle);
        QFETCH(int, filter);
        QFETCH(int, cutOffIndex);
        QFETCH(QStringList, chain);
        changeSettings([cutOffIndex](AppSettings& s) { s.device.spinbox_filter_length_index = cutOffIndex; });
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        setOptions(ws, median, 5, threadAngle, 12.5, filter);
        AbstractTrace* trace = ws.createTrace(E_ANALISIS_TYPE(type));
        QCOMPARE(chainOf(trace), chain);
    }

    void aNewTrace_data()
    {
        QTest::addColumn<int>("type");
        QTest::newRow("profile") << 2;
        QTest::newRow("additional") << 3;
        QTest::newRow("contour") << 0;
        QTest::newRow("contour with profile") << 1;
    }

    void aNewTrace()
    {
        QFETCH(int, type);
        changeSettings([](AppSettings& s) {
            s.device.spinbox_filter_length_index = 3;
            s.device.measurement_mode = 2;
            s.calibration.tool_head_radius_down = 11;
            s.calibration.rack_prpendicular = 0.5;
            s.calibration.displacement_coefficient = 0.25;
            s.servise.default_trace_file_name = QStringLiteral("Вал");
            s.current_controller_name = QStringLiteral("Иванов");
            s.preferenses.meadian_filter = true;
            s.preferenses.meadian_filter_value = 9;
        });
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        const QDateTime before = QDateTime::currentDateTime();
        AbstractTrace* trace = ws.createTrace(E_ANALISIS_TYPE(type));
        QCOMPARE(trace->type, type);
        QVERIFY(ws.traces().contains(trace));
        QVERIFY(trace->creationTime >= before.addMSecs(-1) && trace->creationTime <= QDateTime::currentDateTime());
        QCOMPARE(trace->controllerName, std::string("Иванов"));
        QCOMPARE(trace->filePath(), m_folders->programFolder() + QStringLiteral("/Вал")
                                        + trace->creationTime.toString(QStringLiteral("_yyyy_MM_dd_HH_mm_ss"))
                                        + QStringLiteral(".txt"));
        QVERIFY(QFileInfo(m_folders->programFolder()).isDir());
        if (type >= 2) {
            auto* profile = dynamic_cast<ProfileTrace*>(trace);
            QVERIFY(profile);
            QCOMPARE(profile->filterCutOff, 250.0);
            QCOMPARE(profile->medianWindow, 9);
            QVERIFY(profile->medianEnabled);
            QCOMPARE(profile->speed, ws.deviceControlWidget()->currentSpeed());
        } else {
            auto* contour = dynamic_cast<ContourTrace*>(trace);
            QVERIFY(contour);
            QCOMPARE(contour->tool_head_radius_down, 11.0);
            QCOMPARE(contour->rack_perpendicular, 0.5);
            QCOMPARE(contour->displacement_coefficient, 0.25);
            QCOMPARE(contour->measurement_mode, 2);
        }
        QCOMPARE(ws.createTrace(E_ANALISIS_TYPE(4)), nullptr);
    }

    // Every option change gives every drawn trace the chain of the current
    // options, with the profile traces' own cut-off and the zeroing before
    // the filter; contour traces keep the median and thread-angle steps only.
    void theRebuiltChains()
    {
        changeSettings([](AppSettings& s) { s.device.device_type = 0; });
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        ws.addJoinedTrace({{0, 10, 20, 30}, {1, 2, 1, 2}});
        AbstractTrace* contour = ws.traces().last();
        QVERIFY(writeProfileFile(workFile("trace.txt"), wavyProfile(20000), 800));
        AbstractTrace* profile = openFile(ws, workFile("trace.txt"), PROFILE);
        QVERIFY(profile);

        control<QComboBox>(ws, "profileFilterComboBox")->setCurrentIndex(2);
        QCOMPARE(chainOf(profile), (QStringList{"zero: YZeronator", "waviness: Filter 800"}));
        QCOMPARE(chainOf(contour), QStringList());

        control<QSpinBox>(ws, "medianSpinBox")->setValue(7);
        click(control<QCheckBox>(ws, "medianCheckBox"));
        QCOMPARE(chainOf(profile), (QStringList{"median: Median7", "zero: YZeronator", "waviness: Filter 800"}));
        QCOMPARE(chainOf(contour), (QStringList{"median: Median7"}));
        QVERIFY(dynamic_cast<ProfileTrace*>(profile)->medianEnabled);
        QCOMPARE(dynamic_cast<ProfileTrace*>(profile)->medianWindow, 7);

        click(control<QCheckBox>(ws, "medianCheckBox"));
        QCOMPARE(chainOf(contour), QStringList());
        QVERIFY(!dynamic_cast<ProfileTrace*>(profile)->medianEnabled);

        // A value changed while its option is off is kept for later.
        control<QDoubleSpinBox>(ws, "threadAngleSpinBox")->setValue(30);
        QCOMPARE(savedSettings().preferenses.thread_angle_compensation_value, 30.0);
        QCOMPARE(chainOf(contour), QStringList());
        click(control<QCheckBox>(ws, "threadAngleCheckBox"));
        QCOMPARE(chainOf(contour), (QStringList{"angle: Angle 30"}));
        QCOMPARE(chainOf(profile), (QStringList{"angle: Angle 30", "zero: YZeronator", "waviness: Filter 800"}));

        // The drawing follows: the waviness of the trace, projected by the angle.
        const LockedTraceData display = profile->lockedData();
        QCOMPARE(ws.holder(profile->id)->keys().size(), display.data->at(0).size());
    }

    void optionChanges_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("controllerType");
        QTest::addColumn<QString>("log");
        QTest::newRow("median on") << "medianCheckBox" << 2 << "INFO: Median filter turn on";
        QTest::newRow("median window") << "medianSpinBox" << 2 << "INFO: Median filter change value to 4";
        QTest::newRow("thread angle on") << "threadAngleCheckBox" << 0 << "INFO: Thread compensation turn on";
        QTest::newRow("thread angle value")
            << "threadAngleSpinBox" << 0 << "INFO: Thread compensation change value to 0.010000";
        QTest::newRow("shown profile") << "profileFilterComboBox" << 2 << "INFO: Profile fiter mode change value";
        QTest::newRow("histogram density")
            << "histogramDensitySpinBox" << 2 << "INFO: Histogram densyty spinner change value to 11";
    }

    // Each option control logs its change, stores it in the settings and
    // saves them, with the user's own keys.
    void optionChanges()
    {
        QFETCH(QString, control);
        QFETCH(int, controllerType);
        QFETCH(QString, log);
        changeSettings([controllerType](AppSettings& s) { s.device.device_type = controllerType; });
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        ws.resize(1920, 900);
        ws.show();
        QVERIFY(QTest::qWaitForWindowActive(&ws));
        QWidget* widget = ws.findChild<QWidget*>(control);
        if (auto* box = qobject_cast<QCheckBox*>(widget)) {
            click(box);
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            combo->setFocus();
            QTest::keyClick(combo, Qt::Key_Down);
        } else {
            widget->setEnabled(true);
            widget->setFocus();
            QTest::keyClick(widget, Qt::Key_Up);
        }
        QCOMPARE(logTexts().last(), log);
        const PreferenceSettings saved = savedSettings().preferenses;
        const PreferenceSettings held = AppSettings::instance().snapshot().preferenses;
        QCOMPARE(saved.meadian_filter, control == "medianCheckBox");
        QCOMPARE(saved.meadian_filter_value, control == "medianSpinBox" ? 4 : 3);
        QCOMPARE(saved.thread_angle_compensation, control == "threadAngleCheckBox");
        QCOMPARE(saved.thread_angle_compensation_value, control == "threadAngleSpinBox" ? 0.01 : 0.0);
        QCOMPARE(saved.profile_filter_mode, control == "profileFilterComboBox" ? 1 : 0);
        QCOMPARE(saved.histogramm_density_value, control == "histogramDensitySpinBox" ? 11 : 10);
        QCOMPARE(held.meadian_filter_value, saved.meadian_filter_value);
        QCOMPARE(held.profile_filter_mode, saved.profile_filter_mode);
    }

    void theHistogramDensityReachesTheHolders()
    {
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        QVERIFY(writeProfileFile(workFile("trace.txt"), wavyProfile(4000)));
        AbstractTrace* trace = openFile(ws, workFile("trace.txt"), PROFILE);
        QVERIFY(trace);
        QCOMPARE(ws.holder(trace->id)->histogramDensity(), 10);
        control<QSpinBox>(ws, "histogramDensitySpinBox")->setValue(25);
        QCOMPARE(ws.holder(trace->id)->histogramDensity(), 25);
    }

    void aCutOffThatIsNoLength_data()
    {
        QTest::addColumn<QString>("filterLine");
        QTest::newRow("zero") << "filter:0";
        QTest::newRow("negative") << "filter:-800";
        QTest::newRow("not a number") << "filter:nan";
    }

    // A hand-edited file whose cut-off is no length: after a rebuild the
    // roughness view shows its primary profile rather than nothing.
    void aCutOffThatIsNoLength()
    {
        QFETCH(QString, filterLine);
        changeSettings([](AppSettings& s) { s.preferenses.profile_filter_mode = 1; });
        QVERIFY(writeProfileFile(workFile("trace.txt"), wavyProfile(4000), 800));
        QString text = readText(workFile("trace.txt"));
        text.replace(QStringLiteral("filter:800"), filterLine);
        writeText(workFile("trace.txt"), text);
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        AbstractTrace* trace = openFile(ws, workFile("trace.txt"), PROFILE);
        QVERIFY(trace);

        click(control<QCheckBox>(ws, "medianCheckBox"));
        QCOMPARE(chainOf(trace), (QStringList{"median: Median3", "zero: YZeronator"}));
        QCOMPARE(ws.holder(trace->id)->values().size(), 4000);
    }

    // Only a recording is saved at its end: a file whose path holds "COM"
    // is left as it was.
    void aFileIsNotSavedAgain()
    {
        QVERIFY(QDir().mkpath(QStringLiteral("COMPONENTS/COM3")));
        const QString path = workFile("COMPONENTS/COM3/COM.txt");
        QVERIFY(writeProfileFile(path, wavyProfile(3000), 800));
        QString text = readText(path);
        text.replace(QStringLiteral("speed:0.5"), QStringLiteral("speed:0.50"));
        writeText(path, text);
        const QByteArray bytes = fileBytes(path);
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        AbstractTrace* trace = openFile(ws, path, PROFILE);
        QVERIFY(trace);
        QCOMPARE(fileBytes(path), bytes);
        QCOMPARE(trace->filePath(), path);
        QVERIFY(QDir(m_folders->programFolder()).entryList(QDir::Files).isEmpty());
    }

    // The list names a trace read from a file after the file, whenever the
    // reader comes to the end of the file's header: here long after the
    // read's start has been shown.
    void theRowOfAFileIsNamedAfterIt()
    {
        QVERIFY(writeProfileFile(workFile("Вал 7.txt"), wavyProfile(3000), 800));
        QByteArray bytes = fileBytes(workFile("Вал 7.txt"));
        QByteArray notes;
        for (int i = 0; i < 1000000; ++i)
            notes += "note:a long header\n";
        bytes.insert(bytes.indexOf('\n') + 1, notes);
        QFile file(workFile("Вал 7.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        QVERIFY(openFile(ws, workFile("Вал 7.txt"), PROFILE));
        auto* tree = ws.findChild<QTreeWidget*>(QStringLiteral("tracesListTreeWidget"));
        QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("Вал 7"));
    }

    void theAdditionalTracesOfAFile()
    {
        changeSettings([](AppSettings& s) { s.preferenses.profile_filter_mode = 1; });
        enableAllParameters();
        QVERIFY(writeProfileFile(workFile("trace.txt"), wavyProfile(20000), 800,
                                 {wavyProfile(16000, 0.5, 1), wavyProfile(18000, 0.5, 2)}));
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        AbstractTrace* trace = openFile(ws, workFile("trace.txt"), PROFILE);
        QVERIFY(trace);
        QCOMPARE(ws.traces().size(), 3);
        const auto* main = dynamic_cast<ProfileTrace*>(trace);
        QCOMPARE(main->additionalTraces.size(), 2);
        for (const ProfileTrace* additional : main->additionalTraces) {
            TraceGraphsHolder* graphs = ws.holder(additional->id);
            QVERIFY(graphs);
            QVERIFY(!graphs->isVisible());
            QVERIFY(!graphs->values().isEmpty());
            QVERIFY(!additional->parameterResults.value(QStringLiteral("Ra")).isEmpty());
        }
        QVERIFY(ws.holder(trace->id)->isVisible());
        QCOMPARE(ws.visibleTraces(), (QList<AbstractTrace*>{trace}));
        QVERIFY(main->parameterResults.value(QStringLiteral("Ra")).contains(QStringLiteral("±")));
        QCOMPARE(ws.findChild<TraceList*>()->shownTrace(), trace);
    }

    // A median switched on while a long file is read does not touch the
    // trace being read; the finished trace carries the chain of the options
    // then in force.
    void anOptionChangedDuringARead()
    {
        changeSettings([](AppSettings& s) { s.preferenses.profile_filter_mode = 1; });
        QVERIFY(writeProfileFile(workFile("long.txt"), wavyProfile(1000000, 0.05), 800));
        QVERIFY(writeProfileFile(workFile("short.txt"), wavyProfile(5000), 800));
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        AbstractTrace* drawn = openFile(ws, workFile("short.txt"), PROFILE);
        QVERIFY(drawn);
        QSignalSpy finished(&ws, &ProfileAnalisisWidget::unlockButtons);
        ws.setDataProvider(new FileDataProvider(workFile("long.txt")));
        QVERIFY(ws.startRead(PROFILE));
        AbstractTrace* read = ws.dataProvider()->trace();
        QVERIFY(QTest::qWaitFor([&] { return ws.isReadInProgress(); }, 5000));
        click(control<QCheckBox>(ws, "medianCheckBox"));
        QCOMPARE(chainOf(drawn), (QStringList{"median: Median3", "zero: YZeronator", "roughness: Filter 800"}));
        QVERIFY(finished.wait(20000));

        QCOMPARE(chainOf(read), (QStringList{"median: Median3", "zero: YZeronator", "roughness: Filter 800"}));
        const ProfileData display = *read->lockedData().data;
        QVERIFY(!display.at(1).isEmpty());
        QCOMPARE(ws.holder(read->id)->values().size(), display.at(1).size());
        QCOMPARE(ws.holder(read->id)->values().first(), display.at(1).first() * 0.001);
    }

    // A file that cannot be read is reported with the reader's text; the
    // trace, its graphs and its row stay.
    void aReadError()
    {
        writeText(workFile("broken.txt"), QStringLiteral("trace_type:PROFILE\npoint_count:3\n1\t2\nx\ty\n"));
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        MessageBoxAnswerer answerer;
        AbstractTrace* trace = openFile(ws, workFile("broken.txt"), PROFILE);
        QVERIFY(trace);
        QCOMPARE(answerer.titles(), QStringList{"Error"});
        QCOMPARE(answerer.texts(), QStringList{"Error in " + workFile("broken.txt")});
        QVERIFY(ws.holder(trace->id));
        QCOMPARE(ws.traces(), (QList<AbstractTrace*>{trace}));
        QCOMPARE(rawData(trace).at(0), (QVector<double>{1}));
        QVERIFY(!ws.isReadInProgress());
        QVERIFY(ws.findChild<QAction*>(QStringLiteral("actionPAN"))->isEnabled());
    }

    void savingOnRequest()
    {
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        MessageBoxAnswerer answerer;
        ws.saveData();
        QCOMPARE(answerer.titles(), QStringList{"Ошибка сохранения трассы"});
        QCOMPARE(answerer.texts(), QStringList{"Нет трассы для сохранения, для начала откройте или измерьте трассу"});

        QVERIFY(writeProfileFile(workFile("a.txt"), wavyProfile(3000), 800, {wavyProfile(2000, 0.5, 1)}));
        QVERIFY(writeProfileFile(workFile("b.txt"), wavyProfile(3000, 0.5, 2), 250));
        AbstractTrace* a = openFile(ws, workFile("a.txt"), PROFILE);
        AbstractTrace* b = openFile(ws, workFile("b.txt"), PROFILE);
        ws.addJoinedTrace({{0, 10, 20}, {1, 2, 3}});
        AbstractTrace* joined = ws.traces().last();
        QVERIFY(a && b);
        QCOMPARE(ws.traces().size(), 4);

        QStringList captions;
        QStringList proposals;
        const QStringList targets{workFile("saved/a.txt"), QString(), workFile("saved/c.txt")};
        QVERIFY(QDir().mkpath(QStringLiteral("saved")));
        answerer.onDialog([&](QWidget* dialog) {
            auto* fileDialog = qobject_cast<QFileDialog*>(dialog);
            if (!fileDialog)
                return;
            captions << fileDialog->windowTitle();
            proposals << fileDialog->selectedFiles().value(0);
            const QString target = targets.value(captions.size() - 1);
            if (target.isEmpty())
                fileDialog->reject();
            else
                QVERIFY(MessageBoxAnswerer::chooseFile(fileDialog, target));
        });
        ws.saveData();
        // The joined trace has no name: the dialog keeps its own caption.
        QCOMPARE(captions.mid(0, 2), (QStringList{"a.txt", "b.txt"}));
        QCOMPARE(captions.size(), 3);
        for (const QString& proposal : proposals)
            QVERIFY2(QFileInfo(proposal).fileName().startsWith(QStringLiteral("Деталь_20")), qPrintable(proposal));
        QCOMPARE(a->filePath(), workFile("saved/a.txt"));
        QCOMPARE(b->filePath(), workFile("b.txt"));
        QCOMPARE(joined->filePath(), workFile("saved/c.txt"));

        ProfileAnalisisWidget reader;
        AbstractTrace* again = openFile(reader, workFile("saved/a.txt"), PROFILE);
        QVERIFY(again);
        QCOMPARE(rawData(again), rawData(a));
        QCOMPARE(reader.traces().size(), 2);
    }

    void savingWhereNoFileCanBeWritten()
    {
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        QVERIFY(writeProfileFile(workFile("a.txt"), wavyProfile(3000), 800));
        AbstractTrace* a = openFile(ws, workFile("a.txt"), PROFILE);
        QVERIFY(a);
        writeText(workFile("plain"), QStringLiteral("a file, not a folder"));
        const QString target = workFile("plain/a.txt");
        MessageBoxAnswerer answerer;
        answerer.onDialog([&](QWidget* dialog) {
            if (auto* fileDialog = qobject_cast<QFileDialog*>(dialog))
                QVERIFY(MessageBoxAnswerer::chooseFile(fileDialog, target));
        });
        ws.saveData();
        QCOMPARE(answerer.titles(), QStringList{"Ошибка"});
        QVERIFY(answerer.texts().value(0).contains(QDir::toNativeSeparators(target)));
        QVERIFY(logTexts().contains("ERROR: Error writing trace file " + target));
        QCOMPARE(a->filePath(), workFile("a.txt"));
        QCOMPARE(ws.traces(), (QList<AbstractTrace*>{a}));
    }

    void joinedData()
    {
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        ws.addJoinedTrace({{0, 1, 2}, {5, 6}});
        ws.addJoinedTrace({{0, 1, 2}});
        QVERIFY(ws.traces().isEmpty());

        ws.addJoinedTrace({{0, 1000, 2000}, {5, 6, 7}});
        QCOMPARE(ws.traces().size(), 1);
        AbstractTrace* trace = ws.traces().first();
        QCOMPARE(trace->type, int(CONTOUR));
        QVERIFY(dynamic_cast<ContourTrace*>(trace));
        QCOMPARE(rawData(trace), (ProfileData{{0, 1000, 2000}, {5, 6, 7}, {0, 0, 0}}));
        QCOMPARE(ws.holder(trace->id)->keys(), (QVector<double>{0, 1, 2}));
        QCOMPARE(ws.holder(trace->id)->values(), (QVector<double>{0.005, 0.006, 0.007}));
        QCOMPARE(ws.visibleTraces(), (QList<AbstractTrace*>{trace}));
    }

    // A trace removed from the list leaves the plot; once the list is
    // empty no additional trace can be recorded.
    void removingTraces()
    {
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        ws.resize(1600, 900);
        ws.show();
        ws.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&ws));
        ws.addJoinedTrace({{0, 1, 2}, {5, 6, 7}});
        ws.addJoinedTrace({{0, 1, 2}, {1, 2, 3}});
        const QList<AbstractTrace*> traces = ws.traces();
        auto* additionalButton = ws.deviceControlWidget()->findChild<QPushButton*>("additionalTracePushButton");
        additionalButton->setEnabled(true);
        auto* list = ws.findChild<TraceList*>();
        auto* tree = ws.findChild<QTreeWidget*>(QStringLiteral("tracesListTreeWidget"));

        list->selectTrace(traces[0]->id);
        QTest::keyClick(tree, Qt::Key_Delete);
        QVERIFY(QTest::qWaitFor([&] { return ws.traces().size() == 1; }, 2000));
        QVERIFY(!ws.holder(traces[0]->id));
        QCOMPARE(ws.findChild<PlotWidget*>(QStringLiteral("plotMain"))->curveCount(), 1);
        QVERIFY(additionalButton->isEnabled());

        list->selectTrace(traces[1]->id);
        QTest::keyClick(tree, Qt::Key_Delete);
        QVERIFY(QTest::qWaitFor([&] { return ws.traces().isEmpty(); }, 2000));
        QVERIFY(!additionalButton->isEnabled());
    }

private:
    std::unique_ptr<RecordingFolders> m_folders;
};

KALVORA_TEST_MAIN(ProfileReadingTest)
#include "ProfileReadingTest.moc"
