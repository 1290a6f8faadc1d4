#include <QtTest>

#include <QPushButton>
#include <QTreeWidget>

#include "Constants.h"
#include "ControllerLink.h"
#include "DecimalText.h"
#include "DeviceControlWidget.h"
#include "DeviceParameterRecord.h"
#include "ExtraArgs.h"
#include "LogTexts.h"
#include "MessageBoxAnswerer.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "TraceList.h"
#include "WorkspaceFixture.h"
#include "plot/TraceGraphsHolder.h"

using namespace workspace;
using Family = SimulatedController::Family;
using WorkspaceLink = ControllerLink<ProfileAnalisisWidget>;

namespace {

constexpr int kRecordingTimeoutMs = 15000;

// Five point frames, then a block transfer of `samples` heights that
// replaces them; the block's x step is 1000 / 5 micrometres.
SimulatedController::ProfileTrace profileRecording(const std::vector<uint16_t>& samples, bool endsByItself = true)
{
    SimulatedController::ProfileTrace trace;
    for (int i = 0; i < 5; ++i)
        trace.points.push_back(uint16_t(40000 + i));
    trace.blockSamples = samples;
    trace.total = 5;
    trace.endsByItself = endsByItself;
    return trace;
}

std::vector<uint16_t> rampSamples(int count, int offset = 0)
{
    std::vector<uint16_t> samples;
    for (int i = 0; i < count; ++i)
        samples.push_back(uint16_t(3 * i + offset));
    return samples;
}

// Heights of 10 µm with a wave of 1 µm and 1.4 mm: Ra fits a cut-off of
// 0.8 mm by the standard, not the 2.5 mm set.
std::vector<uint16_t> wavySamples(int count)
{
    std::vector<uint16_t> samples;
    for (int i = 0; i < count; ++i)
        samples.push_back(uint16_t(1000 + std::lround(100 * std::sin(2 * M_PI * i / 7))));
    return samples;
}

// The rows as the trace text format keeps them: six significant digits.
ProfileData asWritten(ProfileData rows)
{
    for (QVector<double>& column : rows) {
        for (double& value : column)
            value = DecimalText::toNumber(DecimalText::number(value));
    }
    return rows;
}

// The trace a file holds, read the way the workspace reads it.
std::unique_ptr<ProfileTrace> readBack(const QString& path)
{
    auto trace = std::make_unique<ProfileTrace>();
    FileDataProvider provider(path);
    if (!provider.start(trace.get()))
        return nullptr;
    provider.stop();
    return provider.result() ? std::move(trace) : nullptr;
}

QString fileLine(const QString& path, const QString& key)
{
    for (const QString& line : readText(path).split(QLatin1Char('\n'))) {
        if (line.startsWith(key))
            return line;
    }
    return QString();
}

} // namespace

// Recordings of the simulated controller into the profile workspace: saved
// on their own where the user can write, the block transfer replacing the
// points, additional recordings, the cut-off brought to the standard, a
// recording started during a file read, the workspace closed during a
// recording, and the calibration upload after a settings change.
class ProfileRecordingTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::C)); }

    void init()
    {
        resetSettings();
        m_folders = std::make_unique<RecordingFolders>();
    }

    void cleanup()
    {
        m_link.reset();
        m_folders.reset();
    }

    // Saved as "<base name>_<creation time>.txt" in the program's folder
    // "Профили", the time being the start of the recording; the file reads
    // back as recorded.
    void aRecordingIsSaved()
    {
        connectTo(Family::Profile);
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        AbstractTrace* trace = record(profileRecording(rampSamples(250)), "startTraceButton");
        QVERIFY(trace);
        QCOMPARE(trace->type, int(PROFILE));
        QVERIFY(trace->creationTime >= before);
        const QString path = m_folders->programFolder() + QStringLiteral("/Деталь")
                             + trace->creationTime.toString(QStringLiteral("_yyyy_MM_dd_HH_mm_ss")) + ".txt";
        QCOMPARE(trace->filePath(), path);
        const std::unique_ptr<ProfileTrace> saved = readBack(path);
        QVERIFY(saved);
        QCOMPARE(rawData(saved.get()), asWritten(rawData(trace)));
        QCOMPARE(saved->creationDateString(), trace->creationDateString());
        QCOMPARE(ws()->traces(), (QList<AbstractTrace*>{trace}));
    }

    void theRecordingFolder_data()
    {
        QTest::addColumn<bool>("programBlocked");
        QTest::addColumn<bool>("documentsBlocked");
        QTest::newRow("the program's folder takes no files") << true << false;
        QTest::newRow("neither folder takes files") << true << true;
    }

    // Where the program's folder takes no files the documents folder is
    // used; where neither does the user is told, the log names the file and
    // the trace stays listed, to be saved elsewhere.
    void theRecordingFolder()
    {
        QFETCH(bool, programBlocked);
        QFETCH(bool, documentsBlocked);
        if (documentsBlocked)
            m_folders->blockBothDirectories();
        else if (programBlocked)
            m_folders->blockProgramDirectory();
        connectTo(Family::Profile);
        MessageBoxAnswerer answerer;
        AbstractTrace* trace = record(profileRecording(rampSamples(250)), "startTraceButton");
        QVERIFY(trace);
        if (!documentsBlocked) {
            QVERIFY(trace->filePath().startsWith(m_folders->documentsFolder() + QLatin1Char('/')));
            QVERIFY(readBack(trace->filePath()));
            QCOMPARE(answerer.count(), 0);
            return;
        }
        QCOMPARE(answerer.titles(), QStringList{"Ошибка"});
        QVERIFY(answerer.texts().value(0).contains(QDir::toNativeSeparators(trace->filePath())));
        QVERIFY(logTexts().contains("ERROR: Error writing trace file " + trace->filePath()));
        QVERIFY(!QFileInfo::exists(trace->filePath()));
        QCOMPARE(ws()->traces(), (QList<AbstractTrace*>{trace}));
        QVERIFY(ws()->holder(trace->id));
    }

    // The block transfer at the end replaces the point frames: the trace
    // holds the block's rows and nothing else, and so does its curve.
    void theBlockTransferReplacesThePoints()
    {
        connectTo(Family::Profile);
        AbstractTrace* trace = record(profileRecording(rampSamples(300, 7)), "startTraceButton");
        QVERIFY(trace);
        const ProfileData raw = rawData(trace);
        QCOMPARE(raw.at(0).size(), 300);
        for (int i = 0; i < 300; ++i) {
            QCOMPARE(raw.at(0).at(i), i / 5.0 * 1000);
            QCOMPARE(raw.at(1).at(i), (3 * i + 7) * 1000000 * 0.00000001);
        }
        QCOMPARE(ws()->holder(trace->id)->values().size(), 300);
    }

    // An additional recording goes into its main trace's file, which then
    // holds both.
    void anAdditionalRecording()
    {
        connectTo(Family::Profile);
        AbstractTrace* main = record(profileRecording(rampSamples(250)), "startTraceButton");
        QVERIFY(main);
        AbstractTrace* additional = record(profileRecording(rampSamples(200, 50)), "additionalTracePushButton");
        QVERIFY(additional);
        QCOMPARE(additional->type, int(ADDITIONAL_TRACE));
        QCOMPARE(additional->filePath(), main->filePath());
        QCOMPARE(dynamic_cast<ProfileTrace*>(main)->additionalTraces.size(), 1);

        const std::unique_ptr<ProfileTrace> saved = readBack(main->filePath());
        QVERIFY(saved);
        QCOMPARE(rawData(saved.get()), asWritten(rawData(main)));
        QCOMPARE(saved->additionalTraces.size(), 1);
        QCOMPARE(rawData(saved->additionalTraces.first()), asWritten(rawData(additional)));
        auto* tree = ws()->findChild<QTreeWidget*>(QStringLiteral("tracesListTreeWidget"));
        QCOMPARE(tree->topLevelItemCount(), 1);
        QCOMPARE(tree->topLevelItem(0)->childCount(), 1);
    }

    // With a contour trace last in the list an additional recording has no
    // main trace: it is listed and saved as a profile trace of its own.
    void anAdditionalRecordingAfterAContourTrace()
    {
        connectTo(Family::Profile);
        AbstractTrace* main = record(profileRecording(rampSamples(250)), "startTraceButton");
        QVERIFY(main);
        const QByteArray mainFile = fileBytes(main->filePath());
        ws()->addJoinedTrace({{0, 100, 200}, {1, 2, 3}});
        AbstractTrace* additional = record(profileRecording(rampSamples(200, 50)), "additionalTracePushButton");
        QVERIFY(additional);
        QCOMPARE(additional->type, int(PROFILE));
        QVERIFY(additional->filePath() != main->filePath());
        QCOMPARE(fileBytes(main->filePath()), mainFile);
        const std::unique_ptr<ProfileTrace> saved = readBack(additional->filePath());
        QVERIFY(saved);
        QCOMPARE(saved->type, int(PROFILE));
        QCOMPARE(rawData(saved.get()), asWritten(rawData(additional)));
        QVERIFY(saved->additionalTraces.isEmpty());
        auto* tree = ws()->findChild<QTreeWidget*>(QStringLiteral("tracesListTreeWidget"));
        QCOMPARE(tree->topLevelItemCount(), 3);
    }

    // A recording whose Ra asks for another cut-off takes it; its file and
    // its parameters follow.
    void aStandardisedRecording()
    {
        enableAllParameters();
        changeSettings([](AppSettings& s) {
            s.preferenses.is_ask_before_change_filter = false;
            s.preferenses.is_accept_filter = true;
            s.device.spinbox_filter_length_index = 1;
        });
        connectTo(Family::Profile);
        AbstractTrace* trace = record(profileRecording(wavySamples(250)), "startTraceButton");
        QVERIFY(trace);
        auto* profile = dynamic_cast<ProfileTrace*>(trace);
        QVERIFY(profile->filterCutOff != 2500);
        QCOMPARE(fileLine(trace->filePath(), QStringLiteral("filter:")),
                 QStringLiteral("filter:") + QString::number(profile->filterCutOff));
        QCOMPARE(AppSettings::instance().snapshot().device.spinbox_filter_length_index,
                 kCutOffValues.indexOf(profile->filterCutOff));
        ExtraArgs args;
        const QString ra = profile->parameterResults.value(QStringLiteral("Ra"));
        QCOMPARE(ra, args.resultText(profile, QStringLiteral("Ra")));
    }

    // The control panel is not locked by a file read: a recording started
    // while a long file is read waits for that read, and both traces are
    // listed with their graphs.
    void aRecordingStartedDuringAFileRead()
    {
        QVERIFY(writeProfileFile(QDir::current().filePath("long.txt"), wavyProfile(1000000, 0.05), 800));
        connectTo(Family::Profile);
        ws()->setDataProvider(new FileDataProvider(QDir::current().filePath("long.txt")));
        QVERIFY(ws()->startRead(PROFILE));
        AbstractTrace* file = ws()->dataProvider()->trace();
        QVERIFY(QTest::qWaitFor([&] { return ws()->isReadInProgress(); }, 5000));
        AbstractTrace* recorded = record(profileRecording(rampSamples(250)), "startTraceButton");
        QVERIFY(recorded);
        QCOMPARE(ws()->traces(), (QList<AbstractTrace*>{file, recorded}));
        QCOMPARE(rawData(file).at(0).size(), 1000000);
        QCOMPARE(rawData(recorded).at(0).size(), 250);
        for (AbstractTrace* trace : {file, recorded}) {
            QVERIFY(ws()->holder(trace->id));
            QVERIFY(!ws()->holder(trace->id)->values().isEmpty());
            QVERIFY(!dynamic_cast<ProfileTrace*>(trace)->parameterResults.isEmpty());
        }
        QVERIFY(readBack(recorded->filePath()));
        QVERIFY(ws()->findChild<QAction*>(QStringLiteral("actionPAN"))->isEnabled());
    }

    // A reader's error is shown while the read goes on to its finish; until
    // then the trace counts as being read.
    void anErrorDuringARecording()
    {
        connectTo(Family::Profile);
        AbstractTrace* trace = startEndlessRecording();
        QVERIFY(QTest::qWaitFor([&] { return ws()->isReadInProgress(); }, 5000));
        {
            MessageBoxAnswerer answerer;
            ws()->dataReadError(QStringLiteral("Error in the stream"));
            QCOMPARE(answerer.titles(), QStringList{"Error"});
            QCOMPARE(answerer.texts(), QStringList{"Error in the stream"});
        }
        QVERIFY(ws()->isReadInProgress());
        QCOMPARE(ws()->findChild<TraceList*>()->busyTrace(), trace);

        QTest::mouseClick(button("stopTraceButton"), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return !ws()->isReadInProgress(); }, kRecordingTimeoutMs));
        QCOMPARE(rawData(trace).at(0).size(), 250);
    }

    // Closing the workspace while a recording runs ends the recording and
    // lets the instrument go.
    void closingDuringARecording()
    {
        connectTo(Family::Profile);
        AbstractTrace* trace = startEndlessRecording();
        QVERIFY(QTest::qWaitFor([&] { return rawData(trace).at(0).size() == 5; }, 5000));
        QPointer<DataProvider> provider = ws()->dataProvider();
        m_link->window.reset();
        QVERIFY(provider.isNull());
        QTest::qWait(200);
        QCOMPARE(rawData(trace).at(0).size(), 5);
    }

    // The calibration goes to the instrument once after a settings change
    // that asked for it; without an instrument the request stays for the
    // next change.
    void theCalibrationUpload()
    {
        changeSettings([](AppSettings& s) { s.calibration.upload_device_settings = true; });
        m_link = std::make_unique<WorkspaceLink>(Family::Profile);
        m_link->window = std::make_unique<ProfileAnalisisWidget>();
        ws()->settingsChanged();
        QVERIFY(AppSettings::instance().snapshot().calibration.upload_device_settings);
        QVERIFY(logTexts().last().startsWith(QStringLiteral("WARNING: ")));

        QVERIFY(showActive(*m_link->window));
        QVERIFY(m_link->waitUntilSetUp());
        changeSettings([](AppSettings& s) { s.calibration.x_axis_compression_ratio = 1.25; });
        ws()->settingsChanged();
        QVERIFY(QTest::qWaitFor([&] { return m_link->controller.uploadedRecord().has_value(); }, 5000));
        QVERIFY(!AppSettings::instance().snapshot().calibration.upload_device_settings);
        QVERIFY(!AppSettings::load(QLatin1String(AppSettings::kFileName)).calibration.upload_device_settings);
        QCOMPARE(m_link->controller.uploadedRecord()->values, DeviceParameterRecord::fromCalibration(1.25, 1, 0, 0).values);

        ws()->settingsChanged();
        QTest::qWait(300);
        QCOMPARE(uploads(), 1);
    }

private:
    void connectTo(Family family)
    {
        m_link = std::make_unique<WorkspaceLink>(family);
        QVERIFY(m_link->connect());
        const int type = family == Family::Profile ? PROFILE : CONTOUR;
        QVERIFY(QTest::qWaitFor([&] { return int(ws()->deviceControlWidget()->device()->type()) == type; }, 5000));
    }

    ProfileAnalisisWidget* ws() const { return m_link->window.get(); }

    QPushButton* button(const char* name) const
    {
        auto* found = ws()->deviceControlWidget()->findChild<QPushButton*>(QLatin1String(name));
        Q_ASSERT(found);
        return found;
    }

    // Starts a recording with the panel's button and waits until the
    // workspace has handled its end; the recorded trace, or null.
    AbstractTrace* record(const SimulatedController::ProfileTrace& recording, const char* startButton)
    {
        if (!QTest::qWaitFor([&] { return button(startButton)->isEnabled(); }, kRecordingTimeoutMs))
            return nullptr;
        m_link->controller.setProfileTrace(recording);
        m_link->controller.stall(kStartDelayMs);
        QTest::mouseClick(button(startButton), Qt::LeftButton);
        const DataProvider* provider = ws()->dataProvider();
        if (!provider || !provider->isRecording() || !provider->trace())
            return nullptr;
        AbstractTrace* trace = provider->trace();
        const bool done = QTest::qWaitFor(
            [&] { return ws()->holder(trace->id) && !ws()->isReadInProgress() && !provider->isRunning(); },
            kRecordingTimeoutMs);
        return done ? trace : nullptr;
    }

    // A recording of five points whose block transfer waits for the stop.
    AbstractTrace* startEndlessRecording()
    {
        m_link->controller.setProfileTrace(profileRecording(rampSamples(250), false));
        m_link->controller.stall(kStartDelayMs);
        QTest::mouseClick(button("startTraceButton"), Qt::LeftButton);
        return ws()->dataProvider()->trace();
    }

    int uploads() const
    {
        int count = 0;
        for (const std::string& command : m_link->controller.commands()) {
            if (!command.empty() && command[0] == 'O' && command.size() == 1 + DeviceParameterRecord::kByteSize)
                ++count;
        }
        return count;
    }

    std::unique_ptr<RecordingFolders> m_folders;
    std::unique_ptr<WorkspaceLink> m_link;
};

KALVORA_TEST_MAIN(ProfileRecordingTest)
#include "ProfileRecordingTest.moc"
