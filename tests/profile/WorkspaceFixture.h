#pragma once

#include <QDir>
#include <QFile>
#include <QMutexLocker>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "AppSettings.h"
#include "FileDataProvider.h"
#include "ProfileAnalisisWidget.h"
#include "ProfileParamNames.h"
#include "ProfileTrace.h"
#include "RecordingFolder.h"
#include "TraceFileWriter.h"
#include "plot/PlotWidget.h"

// Helpers for the tests of the profile workspace: the settings, trace files,
// reads run to their end and the folders recordings are saved in.
namespace workspace {

// The settings record at its defaults, with no file behind it.
inline void resetSettings()
{
    AppSettings& settings = AppSettings::instance();
    {
        QMutexLocker lock(&settings.mutex());
        static_cast<AppSettingsData&>(settings) = AppSettingsData();
    }
    QFile::remove(QLatin1String(AppSettings::kFileName));
}

inline void changeSettings(const std::function<void(AppSettings&)>& change)
{
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    change(settings);
}

// All 55 parameters in the parameter table.
inline void enableAllParameters()
{
    changeSettings([](AppSettings& s) {
        s.preferenses.enabled_params.clear();
        for (auto it = profileParamNames.cbegin(); it != profileParamNames.cend(); ++it)
            s.preferenses.enabled_params.insert(it.key(), it.value());
        s.preferenses.enabled_params_count = profileParamNames.size();
    });
}

// A rough profile: `points` points `step` micrometres apart, heights of a
// few micrometres.
inline ProfileData wavyProfile(int points, double step = 0.5, double phase = 0)
{
    ProfileData data(2);
    data[0].reserve(points);
    data[1].reserve(points);
    for (int i = 0; i < points; ++i) {
        const double x = i * step;
        data[0].append(x);
        data[1].append(2 * std::sin(x / 40 + phase) + 0.5 * std::sin(x / 7) + 5 * std::sin(x / 3000));
    }
    return data;
}

// Writes a profile trace file of the points, with the cut-off, the
// additional traces and the inspector who recorded them, at `path`; false
// when it could not be written.
inline bool writeProfileFile(const QString& path, const ProfileData& points, double cutOff = 800,
                             const QVector<ProfileData>& additional = {}, const QString& controllerName = {})
{
    ProfileTrace main(points);
    main.controllerName = controllerName.toStdString();
    main.filterCutOff = cutOff;
    main.speed = 0.5;
    std::vector<std::unique_ptr<ProfileTrace>> additionalTraces;
    for (const ProfileData& rows : additional) {
        additionalTraces.push_back(std::make_unique<ProfileTrace>(rows));
        additionalTraces.back()->setType(ADDITIONAL_TRACE);
        additionalTraces.back()->filterCutOff = cutOff;
        main.addAdditionalTrace(additionalTraces.back().get());
    }
    return writeTraceFile(path, &main);
}

// Opens the file in the workspace as the main window does and waits until
// the finish of its read has been handled; the trace read, or null.
inline AbstractTrace* openFile(ProfileAnalisisWidget& ws, const QString& path, E_ANALISIS_TYPE type,
                               int timeoutMs = 20000)
{
    QSignalSpy finished(&ws, &ProfileAnalisisWidget::unlockButtons);
    ws.setDataProvider(new FileDataProvider(path));
    if (!ws.startRead(type))
        return nullptr;
    AbstractTrace* trace = ws.dataProvider()->trace();
    return QTest::qWaitFor([&] { return !finished.isEmpty(); }, timeoutMs) ? trace : nullptr;
}

// The parameter table shows these parameters, in this order.
inline void useParameters(const QStringList& names)
{
    changeSettings([&](AppSettings& s) {
        s.preferenses.enabled_params.clear();
        for (int i = 0; i < names.size(); ++i)
            s.preferenses.enabled_params.insert(i, names[i]);
        s.preferenses.enabled_params_count = names.size();
    });
}

inline QString workFile(const QString& name)
{
    return QDir::current().filePath(name);
}

inline QAction* toolAction(const ProfileAnalisisWidget& ws, const QString& name)
{
    return ws.findChild<QAction*>(name);
}

// A click on the tool bar's button of the action.
inline void clickToolButton(ProfileAnalisisWidget& ws, const QString& name)
{
    QWidget* button = ws.findChild<QToolBar*>()->widgetForAction(toolAction(ws, name));
    QTest::mouseClick(button, Qt::LeftButton);
}

// The trace list's row of the trace; null when it has none.
inline QTreeWidgetItem* rowOf(const ProfileAnalisisWidget& ws, const AbstractTrace* trace)
{
    for (QTreeWidgetItemIterator it(ws.findChild<QTreeWidget*>(QStringLiteral("tracesListTreeWidget"))); *it; ++it) {
        if ((*it)->data(0, Qt::UserRole).toInt() == trace->id)
            return *it;
    }
    return nullptr;
}

// Ticks or clears the check box of the trace's row, as a click on it would.
inline void tickRow(const ProfileAnalisisWidget& ws, const AbstractTrace* trace, bool ticked)
{
    if (QTreeWidgetItem* row = rowOf(ws, trace))
        row->setCheckState(0, ticked ? Qt::Checked : Qt::Unchecked);
}

// Shows the workspace offscreen at a size where its plots take mouse
// events; false when its window was not exposed.
inline bool showWorkspace(ProfileAnalisisWidget& ws)
{
    ws.resize(1400, 900);
    ws.show();
    return QTest::qWaitForWindowExposed(&ws);
}

inline PlotWidget* plotOf(const ProfileAnalisisWidget& ws, const char* name)
{
    return ws.findChild<PlotWidget*>(QLatin1String(name));
}

// The plot's pixel of a point in its default axes.
inline QPoint pixelOf(const PlotWidget* plot, double x, double y)
{
    return QPointF(plot->xAxis->coordToPixel(x), plot->yAxis->coordToPixel(y)).toPoint();
}

// Mouse events on a plot of a shown workspace, through the window system.
inline void mouseOnPlot(QTest::MouseAction action, PlotWidget* plot, Qt::MouseButton button, const QPoint& pixel)
{
    QWindow* window = plot->window()->windowHandle();
    const QPoint at = plot->mapTo(plot->window(), pixel);
    switch (action) {
    case QTest::MousePress:
        QTest::mousePress(window, button, Qt::NoModifier, at);
        break;
    case QTest::MouseRelease:
        QTest::mouseRelease(window, button, Qt::NoModifier, at);
        break;
    default:
        QTest::mouseMove(window, at);
        break;
    }
}

inline void clickPlot(PlotWidget* plot, Qt::MouseButton button, const QPoint& pixel)
{
    mouseOnPlot(QTest::MousePress, plot, button, pixel);
    mouseOnPlot(QTest::MouseRelease, plot, button, pixel);
}

// A left-button drag through a midway move.
inline void dragOnPlot(PlotWidget* plot, const QPoint& from, const QPoint& to)
{
    mouseOnPlot(QTest::MouseMove, plot, Qt::NoButton, from);
    mouseOnPlot(QTest::MousePress, plot, Qt::LeftButton, from);
    mouseOnPlot(QTest::MouseMove, plot, Qt::NoButton, (from + to) / 2);
    mouseOnPlot(QTest::MouseMove, plot, Qt::NoButton, to);
    mouseOnPlot(QTest::MouseRelease, plot, Qt::LeftButton, to);
}

// The raw columns of a trace.
inline ProfileData rawData(const AbstractTrace* trace)
{
    return *trace->lockedRawData().data;
}

// The folders recordings are saved in, made in a temporary directory for the
// object's lifetime: "program/Профили", or "documents/Профили".
class RecordingFolders
{
public:
    RecordingFolders() { use(m_dir.filePath(QStringLiteral("program")), m_dir.filePath(QStringLiteral("documents"))); }
    ~RecordingFolders() { RecordingFolder::setBaseDirectories({}); }

    RecordingFolders(const RecordingFolders&) = delete;
    RecordingFolders& operator=(const RecordingFolders&) = delete;

    QString programFolder() const { return m_program + QStringLiteral("/Профили"); }
    QString documentsFolder() const { return m_documents + QStringLiteral("/Профили"); }

    // A directory below a plain file: no folder can be made in it, whatever
    // the rights of the user running the test.
    void blockProgramDirectory() { use(blockedPath(QStringLiteral("program")), m_documents); }
    void blockBothDirectories() { use(blockedPath(QStringLiteral("program")), blockedPath(QStringLiteral("documents"))); }

private:
    void use(const QString& program, const QString& documents)
    {
        m_program = program;
        m_documents = documents;
        RecordingFolder::setBaseDirectories({program, documents});
    }

    QString blockedPath(const QString& name) const
    {
        const QString file = m_dir.filePath(name + QStringLiteral(".blocked"));
        QFile blocker(file);
        blocker.open(QIODevice::WriteOnly);
        return file + QLatin1Char('/') + name;
    }

    QTemporaryDir m_dir;
    QString m_program;
    QString m_documents;
};

} // namespace workspace
