// The profile workspace with a 1,000,000-point profile trace in the roughness
// view and all 55 parameters in the table:
//  - opening the file until the trace is drawn and its parameters shown
//    (target at most 1.5 s, aim 1 s), with the event loop's lateness (at most
//    100 ms) and the replots a second (at most 25) while the file is read;
//  - switching the median filter on and off (at most 0.6 s each);
//  - changing the trace's cut-off in the list: file rewritten, filtered
//    again, 55 parameters, rebuilt and redrawn (at most 1.2 s);
//  - a recording whose block transfer comes at the serial line's rate: the
//    event loop's lateness and the replots a second while it streams.
// Each figure is the median of a few runs; the machine's load shows in them.
// Each open also prints what the GUI thread did while its latest event waited
// and its longest steps of each kind, with their processor time: a step that
// took longer than that waited for a lock or for a processor.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

#include "../algos/SyntheticProfile.h"
#include "AppSettings.h"
#include "ControllerLink.h"
#include "DeviceControlWidget.h"
#include "EventLoopProbe.h"
#include "FileDataProvider.h"
#include "LiveTraceDrawing.h"
#include "ProfileAnalisisWidget.h"
#include "ProfileParamNames.h"
#include "ProfileTrace.h"
#include "RecordingFolder.h"
#include "TraceFileWriter.h"
#include "TraceList.h"
#include "plot/PlotWidget.h"
#include "BenchEventLoop.h"
#include "GuiStepTimer.h"

namespace {

using Clock = EventLoopProbe::Clock;

constexpr int kPoints = 1000000;
constexpr int kRuns = 3;
constexpr int kBlockSamples = 150000;

QString range(const std::vector<double>& values, int decimals)
{
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return QStringLiteral("%1 (%2-%3)")
        .arg(median(values), 0, 'f', decimals)
        .arg(*low, 0, 'f', decimals)
        .arg(*high, 0, 'f', decimals);
}

void useSettings()
{
    AppSettings& settings = AppSettings::instance();
    settings.preferenses.profile_filter_mode = 1;
    settings.device.device_type = 2;
    settings.device.spinbox_filter_length_index = 2;
    settings.preferenses.is_ask_before_change_filter = false;
    settings.preferenses.is_accept_filter = false;
    settings.preferenses.enabled_params.clear();
    for (auto it = profileParamNames.cbegin(); it != profileParamNames.cend(); ++it)
        settings.preferenses.enabled_params.insert(it.key(), it.value());
    settings.preferenses.enabled_params_count = profileParamNames.size();
}

// Replots a second within [from, to], counted over at least one redraw interval.
double replotsPerSecond(const std::vector<Clock::time_point>& replots, Clock::time_point from, Clock::time_point to)
{
    const long count =
        std::count_if(replots.begin(), replots.end(), [&](Clock::time_point t) { return t >= from && t <= to; });
    return count / std::max(EventLoopProbe::milliseconds(to - from) / 1000, 0.04);
}

struct OpenFigures
{
    double totalSeconds = 0;
    double readSeconds = 0;
    double finishSeconds = 0;
    double worstLatenessMs = 0;
    double replotsPerSecond = 0;
    // The GUI thread's step that held up the latest event, and the longest
    // step of each kind, during the read.
    QString latenessCause;
    std::vector<GuiStepTimer::Step> longestSteps;
};

GuiStepTimer& stepTimer()
{
    return *static_cast<GuiStepTimer*>(QCoreApplication::instance());
}

// What the GUI thread did with an event while the file was read; the
// provider's signals reach the workspace in order: start, batches, finish.
QString stepName(const ProfileAnalisisWidget& ws, bool readEnded, QObject* receiver, QEvent* event)
{
    if (receiver == &ws && event->type() == QEvent::MetaCall) {
        if (!ws.isReadInProgress())
            return QStringLiteral("start of the read");
        return readEnded ? QStringLiteral("finish of the read") : QStringLiteral("batch announced");
    }
    if (event->type() == QEvent::Timer && qobject_cast<LiveTraceDrawing*>(receiver->parent()))
        return QStringLiteral("redraw: new rows copied under the trace's lock, appended to the curve, replot");
    return QStringLiteral("%1 event %2").arg(receiver->metaObject()->className()).arg(int(event->type()));
}

// Opens the file and waits until its finish has been handled.
OpenFigures openFile(ProfileAnalisisWidget& ws, const QString& path)
{
    EventLoopProbe probe;
    PlotWidget* plot = ws.findChild<PlotWidget*>(QStringLiteral("plotMain"));
    std::vector<Clock::time_point> replots;
    const QMetaObject::Connection counting =
        QObject::connect(plot, &QCustomPlot::afterReplot, [&] { replots.push_back(Clock::now()); });
    bool finished = false;
    const QMetaObject::Connection finishing = QObject::connect(&ws, &ProfileAnalisisWidget::unlockButtons, [&] {
        finished = !ws.isReadInProgress();
    });

    Clock::time_point replotStart;
    bool curveDrawn = false;
    const QMetaObject::Connection replotStarts =
        QObject::connect(plot, &QCustomPlot::beforeReplot, [&] { replotStart = Clock::now(); });
    const QMetaObject::Connection replotEnds = QObject::connect(plot, &QCustomPlot::afterReplot, [&] {
        bool hasData = false;
        for (int i = 0; i < plot->plottableCount(); ++i)
            hasData = hasData || plot->plottable(i)->interface1D()->dataCount() > 0;
        const bool first = hasData && !curveDrawn;
        curveDrawn = curveDrawn || hasData;
        stepTimer().mark(first ? QStringLiteral("first replot with the trace's curve") : QStringLiteral("replot"),
                         replotStart, Clock::now());
    });
    std::atomic<Clock::rep> readEnd{0};
    Clock::time_point finishStart = Clock::time_point::max();
    stepTimer().start([&](QObject* receiver, QEvent* event) {
        const QString name = stepName(ws, readEnd.load() != 0, receiver, event);
        if (name == QLatin1String("finish of the read") && finishStart == Clock::time_point::max())
            finishStart = Clock::now();
        return name;
    });

    const Clock::time_point start = Clock::now();
    auto* provider = new FileDataProvider(path);
    QObject::connect(provider, &DataProvider::dataReadFinished, provider,
                     [&readEnd] { readEnd = Clock::now().time_since_epoch().count(); }, Qt::DirectConnection);
    ws.setDataProvider(provider);
    ws.startRead(PROFILE);
    runUntil([&] { return finished; }, 30000);
    const Clock::time_point end = Clock::now();
    const Clock::time_point readEndTime{Clock::duration(readEnd.load())};
    stepTimer().stop();
    QObject::disconnect(counting);
    QObject::disconnect(finishing);
    QObject::disconnect(replotStarts);
    QObject::disconnect(replotEnds);

    OpenFigures figures;
    figures.totalSeconds = EventLoopProbe::milliseconds(end - start) / 1000;
    figures.readSeconds = EventLoopProbe::milliseconds(readEndTime - start) / 1000;
    figures.finishSeconds = EventLoopProbe::milliseconds(end - readEndTime) / 1000;
    // An event the probe stamped just before the provider stamped the end
    // of the read may be posted behind the finish; the finish is not part of
    // the read.
    const EventLoopProbe::Sample worst = probe.worstSample(start, readEndTime, finishStart);
    figures.worstLatenessMs = worst.delayMs;
    figures.replotsPerSecond = replotsPerSecond(replots, start, readEndTime);
    const GuiStepTimer::Wait wait = stepTimer().during(worst.posted, worst.handled());
    figures.latenessCause = wait.longest ? QStringLiteral("%1 events handled in %2 ms, the longest %3 (%4 ms)")
                                               .arg(wait.events)
                                               .arg(wait.handlingMs, 0, 'f', 1)
                                               .arg(wait.longest->name)
                                               .arg(wait.longest->milliseconds(), 0, 'f', 1)
                                         : QStringLiteral("no event handled");
    figures.longestSteps = stepTimer().longestByName(start, readEndTime);
    return figures;
}

double secondsOf(const std::function<void()>& work)
{
    const Clock::time_point start = Clock::now();
    work();
    return EventLoopProbe::milliseconds(Clock::now() - start) / 1000;
}

void benchmarkFileWork(const QString& path)
{
    std::vector<double> totals, reads, finishes, lateness, rates, medianOn, medianOff, cutOffs;
    int parameters = 0;
    for (int run = 0; run < kRuns; ++run) {
        ProfileAnalisisWidget ws;
        ws.resize(1600, 900);
        ws.show();
        QApplication::processEvents();
        const OpenFigures figures = openFile(ws, path);
        totals.push_back(figures.totalSeconds);
        reads.push_back(figures.readSeconds);
        finishes.push_back(figures.finishSeconds);
        lateness.push_back(figures.worstLatenessMs);
        rates.push_back(figures.replotsPerSecond);
        std::printf("  open %d: worst lateness %.1f ms, meanwhile %s; longest steps:", run + 1,
                    figures.worstLatenessMs, qPrintable(figures.latenessCause));
        for (size_t i = 0; i < std::min<size_t>(4, figures.longestSteps.size()); ++i) {
            const GuiStepTimer::Step& step = figures.longestSteps[i];
            std::printf("%s %s %.1f ms", i == 0 ? "" : ",", qPrintable(step.name), step.milliseconds());
            if (step.cpuMs >= 0)
                std::printf(" (%.1f ms on the processor)", step.cpuMs);
        }
        std::printf("\n");
        parameters = dynamic_cast<ProfileTrace*>(ws.traces().first())->parameterResults.size();

        auto* median = ws.findChild<QCheckBox*>(QStringLiteral("medianCheckBox"));
        medianOn.push_back(secondsOf([&] { median->click(); }));
        medianOff.push_back(secondsOf([&] { median->click(); }));
        auto* cutOff = ws.findChild<TraceList*>()->findChild<QComboBox*>(QStringLiteral("filterComboBox"));
        cutOffs.push_back(secondsOf([&] { cutOff->setCurrentIndex(cutOff->currentIndex() == 1 ? 2 : 1); }));
    }
    std::printf("open a %d-point profile file, roughness view, %d parameters, until drawn: %s s "
                "(target at most 1.5 s, aim 1 s)\n",
                kPoints, parameters, qPrintable(range(totals, 2)));
    std::printf("  of which the read on the pool %s s, the finish on the GUI thread %s s\n", qPrintable(range(reads, 2)),
                qPrintable(range(finishes, 2)));
    std::printf("  during the read: worst event-loop lateness %s ms (at most 100), replots %s a second (at most 25)\n",
                qPrintable(range(lateness, 1)), qPrintable(range(rates, 1)));
    std::printf("median filter on: %s s, off: %s s (at most 0.6 s)\n", qPrintable(range(medianOn, 2)),
                qPrintable(range(medianOff, 2)));
    std::printf("cut-off change from the list: %s s (at most 1.2 s)\n", qPrintable(range(cutOffs, 2)));
}

void benchmarkRecording()
{
    ControllerLink<ProfileAnalisisWidget> link(SimulatedController::Family::Profile);
    if (!link.connect()) {
        std::printf("recording: the link did not come up\n");
        return;
    }
    ProfileAnalisisWidget& ws = *link.window;
    SimulatedController::ProfileTrace trace;
    trace.points = {40000, 40001, 40002};
    for (int i = 0; i < kBlockSamples; ++i)
        trace.blockSamples.push_back(uint16_t(1000 + std::lround(200 * std::sin(i / 30.0))));
    trace.total = 1000;
    link.controller.setProfileTrace(trace);
    link.controller.setLineRatePacing(true);
    link.controller.stall(300);

    PlotWidget* plot = ws.findChild<PlotWidget*>(QStringLiteral("plotMain"));
    std::vector<Clock::time_point> replots;
    QObject::connect(plot, &QCustomPlot::afterReplot, [&] { replots.push_back(Clock::now()); });
    EventLoopProbe probe;
    auto* start = ws.deviceControlWidget()->findChild<QPushButton*>(QStringLiteral("startTraceButton"));
    start->click();
    const DataProvider* provider = ws.dataProvider();
    AbstractTrace* recorded = provider->trace();
    // The block transfer begins with the reset of the trace; from then on the
    // rows come in batches of 100.
    std::atomic<Clock::rep> resetAt{0};
    QObject::connect(provider, &DataProvider::dataReset, provider,
                     [&resetAt] { resetAt = Clock::now().time_since_epoch().count(); }, Qt::DirectConnection);
    const auto rows = [recorded] { return recorded->lockedRawData().data->at(0).size(); };
    runUntil([&] { return rows() >= kBlockSamples; }, 60000);
    const Clock::time_point blockStart{Clock::duration(resetAt.load())};
    const Clock::time_point blockEnd = Clock::now();
    runUntil([&] { return !provider->isRunning() && !ws.isReadInProgress(); }, 20000);

    const double seconds = EventLoopProbe::milliseconds(blockEnd - blockStart) / 1000;
    const double rate = replotsPerSecond(replots, blockStart, blockEnd);
    std::printf("recording, block transfer of %d samples in %.1f s: worst event-loop lateness %.1f ms "
                "(at most 100), replots %.1f a second (at most 25); %d rows in the trace\n",
                kBlockSamples, seconds, probe.worstDelayMs(blockStart, blockEnd), rate, int(rows()));
}

} // namespace

// The instrument link's debug lines would bury the figures.
void dropDebugLines(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type != QtDebugMsg)
        qt_message_output(type, context, text);
}

int main(int argc, char** argv)
{
    qInstallMessageHandler(dropDebugLines);
    Q_INIT_RESOURCE(icons);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    GuiStepTimer app(argc, argv);
    QTemporaryDir workDir;
    QDir::setCurrent(workDir.path());
    RecordingFolder::setBaseDirectories({workDir.path()});
    useSettings();

    ProfileTrace trace(syntheticProfile(kPoints, 0.5, 0.3, [](double x) {
        return 0.0005 * x + 1.2 * std::sin(x / 23) + 3 * std::sin(x / 1700);
    }));
    trace.filterCutOff = 800;
    trace.speed = 0.5;
    const QString path = workDir.filePath(QStringLiteral("profile.txt"));
    if (!writeTraceFile(path, &trace)) {
        std::printf("the profile file could not be written\n");
        return 1;
    }
    benchmarkFileWork(path);
    benchmarkRecording();
    return 0;
}
