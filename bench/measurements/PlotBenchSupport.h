#pragma once

#include "plot/PlotWidget.h"

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>

// What the measurement benchmarks share: the 1,000,000-point trace they
// run on, the cursor positions they move over, and the figures they print.

constexpr int kTracePoints = 1000000;

// kTracePoints points 0.0001 apart from x = 0 (a 100 mm trace in
// millimetres), heights shape(x) with Gaussian noise of the given spread. The
// seed is fixed, so every run times the same trace.
inline QVector<QCPCurveData> benchTrace(const std::function<double(double)>& shape, double noiseSpread,
                                        unsigned seed)
{
    std::mt19937 generator(seed);
    std::normal_distribution<double> noise(0.0, noiseSpread);
    QVector<QCPCurveData> data;
    data.reserve(kTracePoints);
    for (int i = 0; i < kTracePoints; ++i) {
        const double x = i * 0.0001;
        data.append(QCPCurveData(i, x, shape(x) + noise(generator)));
    }
    return data;
}

// A slow wave with strong noise.
inline QVector<QCPCurveData> noisyTrace()
{
    return benchTrace([](double x) { return std::sin(x * 0.7); }, 0.4, 1);
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

// 200 positions spread over the plot's axis rect.
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

inline QMouseEvent moveEvent(const PlotWidget& plot, const QPoint& pos)
{
    return mouseEvent(QEvent::MouseMove, plot, pos);
}
