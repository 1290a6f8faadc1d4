// The profile workspace's tools on long traces, roughness view, all 55
// parameters in the table:
//  - selecting another trace in the list with ten 1,000,000-point traces
//    loaded, until the main plot is redrawn (at most 100 ms);
//  - one pan step with one 1,000,000-point trace: replot with the side
//    plots (at most 60 ms), and the histogram with the ratio curve alone
//    (at most 30 ms);
//  - Cut of that trace to 80 % of it: crop, rebuild, parameters, redraw
//    (at most 1 s);
//  - one profile report of it from the accepted dialog to the written file,
//    pandoc included (at most 2.5 s), and the workspace's own part, data
//    and image (at most 300 ms).
// Each figure is the median of a few runs; the machine's load shows in them.

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

#include "../algos/SyntheticProfile.h"
#include "AppSettings.h"
#include "DesktopOpenRecorder.h"
#include "ExtraArgs.h"
#include "FileDataProvider.h"
#include "MessageBoxAnswerer.h"
#include "ProfileAnalisisWidget.h"
#include "ProfileParamNames.h"
#include "ProfileReport.h"
#include "ProfileTrace.h"
#include "TraceFileWriter.h"
#include "TraceList.h"
#include "plot/PlotWidget.h"
#include "plot/TraceGraphsHolder.h"
#include "BenchEventLoop.h"

namespace {

constexpr int kPoints = 1000000;
constexpr int kTraces = 10;
constexpr int kRuns = 5;

double millisecondsOf(const std::function<void()>& work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    return clock.nsecsElapsed() / 1e6;
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

QString writeBenchFile(const QString& dir, int index)
{
    ProfileTrace trace(syntheticProfile(kPoints, 0.1, 0.3, [index](double x) {
        return 2 * std::sin(x / 40 + index) + 5 * std::sin(x / 30000);
    }));
    trace.filterCutOff = 800;
    trace.speed = 0.5;
    const QString path = dir + QStringLiteral("/trace%1.txt").arg(index);
    writeTraceFile(path, &trace);
    return path;
}

AbstractTrace* openFile(ProfileAnalisisWidget& ws, const QString& path)
{
    bool finished = false;
    const QMetaObject::Connection finishing = QObject::connect(
        &ws, &ProfileAnalisisWidget::unlockButtons, [&] { finished = !ws.isReadInProgress(); });
    ws.setDataProvider(new FileDataProvider(path));
    ws.startRead(PROFILE);
    AbstractTrace* trace = ws.dataProvider()->trace();
    runUntil([&] { return finished; }, 60000);
    QObject::disconnect(finishing);
    return trace;
}

void copyReports()
{
    const QDir source(QStringLiteral(KALVORA_REPORTS_DIR));
    QDir().mkpath(QStringLiteral("reports"));
    for (const QString& name : source.entryList(QDir::Files))
        QFile::copy(source.filePath(name), QStringLiteral("reports/") + name);
}

PlotWidget* mainPlot(const ProfileAnalisisWidget& ws)
{
    return ws.findChild<PlotWidget*>(QStringLiteral("plotMain"));
}

void showWorkspace(ProfileAnalisisWidget& ws)
{
    ws.resize(1600, 900);
    ws.show();
    QApplication::processEvents();
}

void benchmarkSelection(const QStringList& files)
{
    ProfileAnalisisWidget ws;
    showWorkspace(ws);
    for (const QString& file : files)
        openFile(ws, file);
    auto* tree = ws.findChild<QTreeWidget*>(QStringLiteral("tracesListTreeWidget"));
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        tree->topLevelItem(i)->setCheckState(0, Qt::Checked);
    QApplication::processEvents();

    int replots = 0;
    QObject::connect(mainPlot(ws), &QCustomPlot::afterReplot, [&] { ++replots; });
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        const int before = replots;
        times.push_back(millisecondsOf([&] {
            tree->setCurrentItem(tree->topLevelItem(run % tree->topLevelItemCount()));
            runUntil([&] { return replots > before; }, 5000);
        }));
    }
    std::printf("select another trace, %d traces of %d points shown: redrawn in %.0f ms (at most 100)\n",
                tree->topLevelItemCount(), kPoints, median(times));
}

void benchmarkOneTrace(const QString& file, const QString& reportDir)
{
    ProfileAnalisisWidget ws;
    showWorkspace(ws);
    AbstractTrace* trace = openFile(ws, file);
    PlotWidget* plot = mainPlot(ws);
    TraceGraphsHolder* graphs = ws.holder(trace->id);

    std::vector<double> pans;
    std::vector<double> sidePlots;
    for (int run = 0; run < kRuns; ++run) {
        plot->xAxis->moveRange(plot->xAxis->range().size() / 20);
        pans.push_back(millisecondsOf([&] { plot->replot(); }));
        sidePlots.push_back(millisecondsOf([&] { graphs->updateHeightDistribution(); }));
    }
    std::printf("pan step, %d points: replot with side plots %.0f ms (at most 60); histogram and ratio curve "
                "%.0f ms (at most 30)\n",
                kPoints, median(pans), median(sidePlots));

    std::vector<double> parts;
    std::vector<double> reports;
    ExtraArgs args;
    for (int run = 0; run < 3; ++run) {
        parts.push_back(millisecondsOf([&] {
            ProfileReport::data(trace, args);
            plot->toPixmap(plot->width(), plot->height(), 1.0);
        }));
        MessageBoxAnswerer answerer;
        DesktopOpenRecorder opened;
        QElapsedTimer clock;
        answerer.onDialog([&](QWidget* dialog) {
            if (auto* fileDialog = qobject_cast<QFileDialog*>(dialog)) {
                MessageBoxAnswerer::chooseFile(fileDialog, reportDir + QStringLiteral("/report%1").arg(run));
                clock.start();
            }
        });
        ws.printReport(&ws);
        reports.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::printf("profile report, %d points, 55 parameters: dialog accepted to file written %.0f ms (at most 2500, "
                "pandoc and the message box included); data and image %.0f ms (at most 300)\n",
                kPoints, median(reports), median(parts));

    ws.findChild<QAction*>(QStringLiteral("actionMarkers"))->setChecked(true);
    const int rows = graphs->keys().size();
    graphs->profileCurve()->setSelection(QCPDataSelection(QCPDataRange(rows / 10, rows - rows / 10)));
    const double cut = millisecondsOf([&] { ws.findChild<QAction*>(QStringLiteral("actionCut"))->trigger(); });
    std::printf("cut a %d-point trace to 80 %%: %.0f ms (at most 1000)\n", kPoints, cut);
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir work;
    QDir::setCurrent(work.path());
    QApplication app(argc, argv);
    useSettings();
    copyReports();
    QStringList files;
    for (int i = 0; i < kTraces; ++i)
        files << writeBenchFile(work.path(), i);
    benchmarkOneTrace(files.first(), work.path());
    benchmarkSelection(files);
    return 0;
}
