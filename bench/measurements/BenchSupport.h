#pragma once

#include "plot/PlotWidget.h"

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <random>

// What the measurement benchmarks share: a large noisy trace, the cursor
// positions they move over, mouse events and the figures they print.
namespace BenchSupport {

// A sine with noise, one point every 0.0001.
inline QVector<QCPCurveData> noisyTrace(int count)
{
    std::mt19937 generator(1);
    std::normal_distribution<double> noise(0.0, 0.4);
    QVector<QCPCurveData> data;
    data.reserve(count);
    for (int i = 0; i < count; ++i) {
        const double x = i * 0.0001;
        data.append(QCPCurveData(i, x, std::sin(x * 0.7) + noise(generator)));
    }
    return data;
}

// 200 positions spread over the axis rect.
inline QVector<QPoint> cursorPositions(const PlotWidget& plot)
{
    const QRect area = plot.axisRect()->rect();
    QVector<QPoint> positions;
    for (int i = 0; i < 200; ++i)
        positions.append(QPoint(area.left() + (i * 37) % area.width(), area.top() + (i * 53) % area.height()));
    return positions;
}

// A move with no button held, or a press or release of the left button.
inline QMouseEvent mouseEvent(QEvent::Type type, const PlotWidget& plot, const QPoint& pos)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    return QMouseEvent(type, pos, plot.mapToGlobal(pos), button, Qt::NoButton, Qt::NoModifier);
}

inline double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

inline double percentile95(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() * 95 / 100);
}

inline double maximum(const QVector<double>& values)
{
    return *std::max_element(values.begin(), values.end());
}

inline double elapsedMs(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e6;
}

} // namespace BenchSupport
