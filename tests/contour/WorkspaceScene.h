#pragma once

#include "contour/ContourAnalisisWidget.h"
#include "contour/MeasurementsManager.h"
#include "measurements/ComparePlaneDXF.h"
#include "measurements/Measurement.h"

#include "PlainTrace.h"
#include "SettingsFixture.h"
#include "TestFiles.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidgetItemIterator>
#include <QWheelEvent>
#include <QtTest>

#include <memory>
#include <vector>

// The display unit, "view/axis_unit", changed without saving.
inline void setAxisUnit(int unit)
{
    changeSettings([unit](AppSettings& settings) { settings.view.axis_unit = unit; });
}

// A shown measurement tab on traces given as columns (x, height) in
// micrometres, with the mouse and the wheel driven as a user drives them: the
// plot's mouse through the window system, buttons and tool bar with clicks.
class WorkspaceScene
{
public:
    explicit WorkspaceScene(const QVector<ProfileData>& traceColumns = {}, bool calibrationMode = false)
    {
        QVector<AbstractTrace*> list;
        for (const ProfileData& columns : traceColumns) {
            m_traces.push_back(std::make_unique<PlainTrace>(2));
            m_traces.back()->addPoints(columns);
            list.append(m_traces.back().get());
        }
        open(list, calibrationMode);
    }

    // Traces that the test keeps.
    struct SharedTraces
    {
        explicit SharedTraces(const QVector<AbstractTrace*>& list) : traces(list) {}
        QVector<AbstractTrace*> traces;
    };
    WorkspaceScene(const SharedTraces& shared, bool calibrationMode) { open(shared.traces, calibrationMode); }

    void open(const QVector<AbstractTrace*>& list, bool calibrationMode)
    {
        widget = std::make_unique<ContourAnalisisWidget>(nullptr, calibrationMode);
        widget->setTraces(list);
        // Wider than tall, as a tab is: the equal scales show the whole
        // width of the traces.
        widget->resize(1400, 700);
        widget->show();
        if (!QTest::qWaitForWindowActive(widget.get()))
            qWarning("workspace window not active");
    }

    PlotWidget* plot() const { return widget->findChild<PlotWidget*>(QStringLiteral("plot")); }
    MeasurementsManager* manager() const { return widget->measurementsManager(); }
    MeasurementTreeWidget* tree() const
    {
        return widget->findChild<MeasurementTreeWidget*>(QStringLiteral("measurementTree"));
    }
    QPushButton* button(const QString& name) const { return widget->findChild<QPushButton*>(name); }
    QAction* action(const QString& name) const { return widget->findChild<QAction*>(name); }
    QFrame* frame(const QString& name) const { return widget->findChild<QFrame*>(name); }
    QString statusLine() const { return widget->findChild<QStatusBar*>()->currentMessage(); }

    // The display unit changed as the settings dialog changes it.
    void switchUnit(int unit)
    {
        setAxisUnit(unit);
        widget->recalcAllMeasurements();
    }

    // A click on the tool bar's button of the action.
    void clickAction(const QString& name)
    {
        auto* toolBar = widget->findChild<QToolBar*>(QStringLiteral("toolBar"));
        QTest::mouseClick(toolBar->widgetForAction(action(name)), Qt::LeftButton);
    }
    void clickButton(const QString& name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    // Opens the action's frame and clicks one of its buttons.
    void choose(const QString& actionName, const QString& buttonName)
    {
        clickAction(actionName);
        clickButton(buttonName);
    }

    QPoint pixel(double x, double y) const
    {
        return QPointF(plot()->xAxis->coordToPixel(x), plot()->yAxis->coordToPixel(y)).toPoint();
    }
    QWindow* window() const { return widget->windowHandle(); }
    QPoint inWindow(const QPoint& pos) const { return plot()->mapTo(widget.get(), pos); }

    void move(const QPoint& pos) { QTest::mouseMove(window(), inWindow(pos)); }
    void press(const QPoint& pos, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(window(), button, Qt::NoModifier, inWindow(pos));
    }
    void release(const QPoint& pos, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseRelease(window(), button, Qt::NoModifier, inWindow(pos));
    }
    // A move to the point of the plot and a left click there.
    void clickAt(double x, double y)
    {
        const QPoint p = pixel(x, y);
        move(p);
        press(p);
        release(p);
    }
    // A left drag from one point of the plot to another, in steps.
    void drag(const QPointF& from, const QPointF& to)
    {
        const QPoint a = pixel(from.x(), from.y());
        const QPoint b = pixel(to.x(), to.y());
        move(a);
        press(a);
        for (int step = 1; step <= 4; ++step)
            move(a + (b - a) * step / 4);
        release(b);
    }
    // The tree row of the measurement with that id; null without one.
    QTreeWidgetItem* row(int id) const
    {
        for (QTreeWidgetItemIterator it(tree()); *it; ++it) {
            if (tree()->indexOfTopLevelItem(*it) < 0 && (*it)->data(0, Qt::UserRole).toInt() == id)
                return *it;
        }
        return nullptr;
    }
    // A right press and release on the row, as the window system delivers
    // them: the press brings up the context menu.
    void rightClick(const QTreeWidgetItem* row)
    {
        const QRect rect = tree()->visualItemRect(row);
        const QPoint pos = tree()->viewport()->mapTo(widget.get(), QPoint(rect.left() + 40, rect.center().y()));
        QTest::mousePress(window(), Qt::RightButton, Qt::NoModifier, pos);
        QTest::mouseRelease(window(), Qt::RightButton, Qt::NoModifier, pos);
    }

    // A wheel turn over the plot's centre; 120 is one notch.
    void wheel(int delta)
    {
        const QPoint pos = plot()->rect().center();
        QWheelEvent event(pos, plot()->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(plot(), &event);
    }

    // A distance of the kind's button (in the distance frame), from the trace
    // point a to the trace point b, its value placed at `place`.
    Measurement* placeDistance(const QString& buttonName, const QPointF& a, const QPointF& b, const QPointF& place)
    {
        choose(QStringLiteral("actionDistance"), buttonName);
        clickAt(a.x(), a.y());
        clickAt(b.x(), b.y());
        move(pixel(place.x(), place.y()));
        clickAt(place.x(), place.y());
        return manager()->currentMeasurement();
    }

    // A drawing of one line imported as the DXF frame's button imports it,
    // by a press at the point of the plot, the file given in place of the
    // file dialog's choice.
    void importOneLineDrawing(const QPointF& pressAt)
    {
        const QString path = QDir::current().filePath(QStringLiteral("drawing.dxf"));
        writeText(path, QStringLiteral("ENTITIES\nAcDbLine\n10\n0\n20\n0\n11\n1\n21\n0\nENDSEC\n"));
        ComparePlaneDXF::setFileProvider([path](QWidget*) { return path; });
        choose(QStringLiteral("actionDXF"), QStringLiteral("pushButtonDXFPlane"));
        clickAt(pressAt.x(), pressAt.y());
        ComparePlaneDXF::setFileProvider(nullptr);
    }

private:
    // Before the widget, which keeps pointers to them.
    std::vector<std::unique_ptr<PlainTrace>> m_traces;

public:
    std::unique_ptr<ContourAnalisisWidget> widget;
};

// Columns (x, height) of a trace through the points.
inline ProfileData traceThrough(const QVector<QPointF>& points)
{
    ProfileData columns(2);
    for (const QPointF& p : points) {
        columns[0].append(p.x());
        columns[1].append(p.y());
    }
    return columns;
}

// The point of the curve's data at the index.
inline QPointF pointOf(const QCPCurve* curve, int index)
{
    const QCPCurveData& point = *(curve->data()->constBegin() + index);
    return QPointF(point.key, point.value);
}
