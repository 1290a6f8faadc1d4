// The main window, offscreen:
//  - program start to the shown window (target at most 1 s): the process
//    started until its window is exposed and painted, timed from outside
//    (child runs of this program), with the part spent inside main();
//  - opening a 1,000,000-point profile trace file through "Открыть трассу"
//    (target at most 1.5 s): from the confirmation of the file dialog until
//    the trace is drawn and all 55 parameters are shown.
// Each figure is the median of a few runs; the machine's load shows in them.

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <QTreeWidget>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

#include "../algos/SyntheticProfile.h"
#include "AppSettings.h"
#include "LinkTestSupport.h"
#include "Logger.h"
#include "MainWindow.h"
#include "ProfileAnalisisWidget.h"
#include "ProfileParamNames.h"
#include "ProfileTrace.h"
#include "TraceFileWriter.h"
#include "BenchEventLoop.h"

namespace {

constexpr int kPoints = 1000000;
constexpr int kRuns = 5;

QString range(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return QStringLiteral("%1 (%2-%3)")
        .arg(values[values.size() / 2], 0, 'f', 3)
        .arg(values.front(), 0, 'f', 3)
        .arg(values.back(), 0, 'f', 3);
}

void useAllParameters()
{
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    settings.preferenses.profile_filter_mode = 1;
    settings.device.device_type = 2;
    settings.device.spinbox_filter_length_index = 2;
    settings.preferenses.enabled_params.clear();
    for (auto it = profileParamNames.cbegin(); it != profileParamNames.cend(); ++it)
        settings.preferenses.enabled_params.insert(it.key(), it.value());
    settings.preferenses.enabled_params_count = profileParamNames.size();
}

// What main() does, until the window is exposed and its first paint done;
// prints the seconds spent inside main().
int startOnce(int argc, char** argv, const QElapsedTimer& sinceMain)
{
    const QElapsedTimer& clock = sinceMain;
    Logger::instance();
    QApplication application(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    QTranslator translator;
    if (translator.load(QStringLiteral("qtbase_ru"), QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
        application.installTranslator(&translator);
    MainWindow window;
    window.showMaximized();
    runUntil([&window] { return window.windowHandle() && window.windowHandle()->isExposed(); }, 10000);
    QCoreApplication::processEvents();
    std::printf("%f\n", clock.nsecsElapsed() / 1e9);
    return 0;
}

void benchmarkStart(const QString& program)
{
    std::vector<double> wholes, insideMain;
    for (int run = 0; run < kRuns; ++run) {
        QTemporaryDir workDir;
        QProcess child;
        child.setWorkingDirectory(workDir.path());
        QElapsedTimer clock;
        clock.start();
        child.start(program, {QStringLiteral("--start-once")});
        child.waitForFinished(30000);
        wholes.push_back(clock.nsecsElapsed() / 1e9);
        insideMain.push_back(QString::fromLatin1(child.readAllStandardOutput()).trimmed().toDouble());
    }
    std::printf("program start to the shown main window: %s s (target at most 1 s)\n", qPrintable(range(insideMain)));
    std::printf("  the whole process, loading and exit included: %s s\n", qPrintable(range(wholes)));
}

// Answers the file dialog with the path and notes when the user confirmed it.
void answerFileDialog(const QString& path, QElapsedTimer& sinceConfirmation)
{
    QTimer::singleShot(50, [path, &sinceConfirmation] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            answerFileDialog(path, sinceConfirmation);
            return;
        }
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
        sinceConfirmation.start();
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

void benchmarkOpening(const QString& path)
{
    std::vector<double> totals;
    int parameters = 0;
    for (int run = 0; run < kRuns; ++run) {
        ScopedPortList ports;
        MainWindow window;
        window.resize(1600, 900);
        window.show();
        QApplication::processEvents();
        ProfileAnalisisWidget* profile = window.profileWidget();
        auto* table = profile->findChild<QTreeWidget*>(QStringLiteral("paramsListTreeWidget"));
        bool finished = false;
        QObject::connect(profile, &ProfileAnalisisWidget::unlockButtons, &window,
                         [&] { finished = !profile->isReadInProgress(); });
        QElapsedTimer sinceConfirmation;
        answerFileDialog(path, sinceConfirmation);
        window.findChild<QAction*>(QStringLiteral("actionOpenTrace"))->trigger();
        runUntil([&] { return finished; }, 30000);
        QCoreApplication::processEvents();
        totals.push_back(sinceConfirmation.nsecsElapsed() / 1e9);
        parameters = table->topLevelItemCount();
    }
    std::printf("open a %d-point profile file through the main window until drawn, %d parameters shown: %s s "
                "(target at most 1.5 s)\n",
                kPoints, parameters, qPrintable(range(totals)));
}

void dropDebugLines(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type != QtDebugMsg)
        qt_message_output(type, context, text);
}

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer sinceMain;
    sinceMain.start();
    Q_INIT_RESOURCE(icons);
    qInstallMessageHandler(dropDebugLines);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && QByteArray(argv[1]) == "--start-once")
        return startOnce(argc, argv, sinceMain);

    QApplication app(argc, argv);
    QTemporaryDir workDir;
    QDir::setCurrent(workDir.path());
    benchmarkStart(QCoreApplication::applicationFilePath());

    useAllParameters();
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
    benchmarkOpening(path);
    return 0;
}
