#pragma once

#include "plot/PlotWidget.h"

#include <QtTest>

// A shown offscreen plot with both axes over 0..100, and the mouse driven
// through the window system so that the plot sees real mouse events. Tests of
// the plot layer and of the measurements share it.
class PlotFixture
{
public:
    PlotFixture()
    {
        plot.resize(640, 480);
        plot.xAxis->setRange(0, 100);
        plot.yAxis->setRange(0, 100);
        plot.show();
        if (!QTest::qWaitForWindowExposed(&plot))
            qWarning("plot window not exposed");
        plot.replot();
        // The window system drops a move to where the cursor already is, and
        // the cursor stays where the previous test left it: park it in a corner
        // that no test uses.
        move(QPoint(1, 1));
    }

    QPoint pixel(double x, double y) const
    {
        return QPointF(plot.xAxis->coordToPixel(x), plot.yAxis->coordToPixel(y)).toPoint();
    }

    QPointF coords(const QPointF& pixel) const
    {
        return QPointF(plot.xAxis->pixelToCoord(pixel.x()), plot.yAxis->pixelToCoord(pixel.y()));
    }

    // The window the events go to: the plot's own, or that of a host widget
    // the test put the plot into. Positions are the plot's pixels.
    QWindow* window() const { return plot.window()->windowHandle(); }
    QPoint inWindow(const QPoint& pos) const { return plot.mapTo(plot.window(), pos); }

    void move(const QPoint& pos) { QTest::mouseMove(window(), inWindow(pos)); }
    void press(const QPoint& pos, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mousePress(window(), Qt::LeftButton, modifiers, inWindow(pos));
    }
    void release(const QPoint& pos, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseRelease(window(), Qt::LeftButton, modifiers, inWindow(pos));
    }
    // A press and release of any button.
    void click(const QPoint& pos, Qt::MouseButton button)
    {
        QTest::mousePress(window(), button, Qt::NoModifier, inWindow(pos));
        QTest::mouseRelease(window(), button, Qt::NoModifier, inWindow(pos));
    }

    // A left-button drag from one pixel to another through a midway move, as
    // a user picks a range with the selection rectangle.
    void drag(const QPoint& from, const QPoint& to)
    {
        move(from);
        press(from);
        move((from + to) / 2);
        move(to);
        release(to);
    }

    // A left click beside the axis rect, where it picks nothing: a stray
    // click, as far as a measurement's range picking goes.
    void strayClick()
    {
        const QRect area = plot.axisRect()->rect();
        const QPoint outside(area.left() - 20, area.center().y());
        move(outside);
        press(outside);
        release(outside);
    }

    // A curve of points (x, y) for x = 0, step, 2 step, ... up to 100.
    template <typename Curve>
    Curve* addHorizontalCurve(double y, double step = 1)
    {
        auto* curve = new Curve(plot.xAxis, plot.yAxis);
        for (double x = 0; x <= 100 + 1e-9; x += step)
            curve->addData(x, y);
        return curve;
    }

    PlotWidget plot;
};
