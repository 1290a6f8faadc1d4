// Times the parameter recalculation of the trace list: a main profile trace
// with 9 additional traces of 1,000,000 points each, all 55 parameters, the
// filtered profiles computed afresh. Beside it the same done one trace after
// the other (empty the caches, compute), as the list did before filtering in
// parallel. For the one-core figure pin the process to one core and give the
// pool one thread, as on a one-core machine: taskset -c 0 <bench> 1.

#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <QThreadPool>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "../algos/SyntheticProfile.h"
#include "AppSettings.h"
#include "ExtraArgs.h"
#include "ProfileParamNames.h"
#include "ProfileTrace.h"
#include "TraceList.h"
#include "TraceTypes.h"

namespace {

constexpr int kPoints = 1000000;
constexpr int kTraces = 10;
constexpr int kRuns = 3;

QString seconds(const QVector<double>& times)
{
    QVector<double> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    return QStringLiteral("min %1 s, median %2 s").arg(sorted.first(), 0, 'f', 2).arg(sorted.at(sorted.size() / 2), 0, 'f', 2);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    if (argc > 1)
        QThreadPool::globalInstance()->setMaxThreadCount(QString::fromLocal8Bit(argv[1]).toInt());

    AppSettings& settings = AppSettings::instance();
    settings.preferenses.enabled_params.clear();
    for (auto it = profileParamNames.cbegin(); it != profileParamNames.cend(); ++it)
        settings.preferenses.enabled_params.insert(it.key(), it.value());
    settings.preferenses.enabled_params_count = profileParamNames.size();

    std::vector<std::unique_ptr<ProfileTrace>> traces;
    for (int i = 0; i < kTraces; ++i) {
        traces.push_back(std::make_unique<ProfileTrace>(syntheticProfile(kPoints, 0.1, 0.3, [i](double x) {
            return 0.0005 * x + 1.2 * std::sin(x / 23 + i) + 3 * std::sin(x / 1700);
        })));
        traces.back()->filterCutOff = 800;
        traces.back()->setType(i == 0 ? PROFILE : ADDITIONAL_TRACE);
    }
    TraceList list;
    list.addTrace(traces.front().get());
    for (int i = 1; i < kTraces; ++i)
        list.addAdditionalTrace(traces[i].get(), false);

    out << "main trace with " << kTraces - 1 << " additional traces of " << kPoints << " points, all "
        << profileParamNames.size() << " parameters, " << QThreadPool::globalInstance()->maxThreadCount()
        << " pool threads\n";
    QVector<double> list_times, sequential_times;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        list.recalculateParameters();
        list_times.append(timer.nsecsElapsed() / 1e9);

        for (const auto& trace : traces)
            trace->clearFilteredCache();
        timer.restart();
        ExtraArgs args;
        for (const auto& trace : traces) {
            trace->clearFilteredCache();
            args.calculateAll(trace.get());
        }
        sequential_times.append(timer.nsecsElapsed() / 1e9);
    }
    out << "TraceList::recalculateParameters: " << seconds(list_times) << "\n";
    out << "one trace after the other: " << seconds(sequential_times) << "\n";
    out << "Ra of the main trace: " << traces.front()->parameterResults.value(QStringLiteral("Ra")) << "\n";
    return 0;
}
