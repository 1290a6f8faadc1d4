#include "ThreadMeanLine.h"

#include "ConstructionLines.h"

#include <QDebug>
#include <QtMath>

#include <cmath>
#include <limits>

namespace MeasurementMath {

namespace {

constexpr double kFirstStep = 10;
constexpr double kStepShrink = 0.7;
constexpr double kSmallestStep = 0.00001;
constexpr int kMaxTriesPerPass = 100000;
constexpr int kMaxCycles = 1000;
constexpr int kIntervalCountTolerance = 3;

bool onOppositeSides(double a, double b)
{
    return (a < 0 && b > 0) || (a > 0 && b < 0);
}

double meanAbsoluteSpread(const QVector<double>& values)
{
    if (values.isEmpty())
        return 0;
    double sum = 0;
    for (double value : values)
        sum += value;
    const double mean = sum / values.size();
    double spread = 0;
    for (double value : values)
        spread += std::abs(mean - value);
    return spread;
}

} // namespace

ThreadMeanLine::ThreadMeanLine(QVector<QPointF> points)
{
    m_x.reserve(points.size());
    m_y.reserve(points.size());
    for (const QPointF& point : qAsConst(points)) {
        m_x.append(point.x());
        m_y.append(point.y());
    }
}

SlopedLine ThreadMeanLine::search(const SlopedLine& first)
{
    SlopedLine line = first;
    m_crossingCount = -1;
    double best = crossingIntervalSpread(line);
    if (!(best < std::numeric_limits<double>::max()))
        return line;
    const Move rotate = [this](const SlopedLine& l, double degrees) { return rotateLine(l, degrees); };
    for (int cycle = 0; cycle < kMaxCycles; ++cycle) {
        pass(line, crossingIntervalSpread(line), rotate);
        const double error = pass(line, crossingIntervalSpread(line), &ThreadMeanLine::shiftLine);
        if (!(best > error))
            break;
        best = error;
    }
    return line;
}

double ThreadMeanLine::pass(SlopedLine& line, double error, const Move& move)
{
    double step = kFirstStep;
    for (int tries = 0; tries < kMaxTriesPerPass; ++tries) {
        const SlopedLine before = line;
        line = move(line, step);
        const double forward = crossingIntervalSpread(line);
        line = move(line, -2 * step);
        const double backward = crossingIntervalSpread(line);
        line = move(line, step);

        double reached = error;
        if (forward < backward && forward < error) {
            line = move(line, step);
            reached = forward;
            qDebug() << "Improved (positive step):" << forward;
        } else if (backward < forward && backward < error) {
            line = move(line, -step);
            reached = backward;
            qDebug() << "Improved (negative step):" << backward;
        } else {
            line = before;
            step *= kStepShrink;
        }
        error = reached;
        if (!(step > kSmallestStep))
            break;
    }
    return error;
}

double ThreadMeanLine::crossingIntervalSpread(const SlopedLine& line)
{
    QVector<double> intervals = crossingIntervals(line);
    if (intervals.isEmpty())
        return kNoCrossings;
    intervals.removeFirst();
    const bool firstCount = m_crossingCount == -1;
    if (firstCount)
        m_crossingCount = intervals.size();
    if (intervals.size() % 2 != 0)
        intervals.removeLast();
    if (!firstCount && std::abs(intervals.size() - m_crossingCount) >= kIntervalCountTolerance)
        return kNoCrossings;
    return meanAbsoluteSpread(intervals);
}

// The last point is never examined.
QVector<double> ThreadMeanLine::crossingIntervals(const SlopedLine& line) const
{
    QVector<double> intervals;
    const int count = m_x.size();
    if (count == 0)
        return intervals;
    const double* x = m_x.constData();
    const double* y = m_y.constData();
    int reference = 0;
    double referenceSide = y[0] - (line.b + line.k * x[0]);
    for (int i = 0; i + 1 < count; ++i) {
        const double side = y[i] - (line.b + line.k * x[i]);
        if (!onOppositeSides(side, referenceSide))
            continue;
        const double dx = x[i] - x[reference];
        const double dy = y[i] - y[reference];
        intervals.append(std::sqrt(dx * dx + dy * dy));
        reference = i;
        referenceSide = side;
    }
    return intervals;
}

SlopedLine ThreadMeanLine::rotateLine(const SlopedLine& line, double degrees) const
{
    if (m_x.isEmpty())
        return line;
    const double angle = qDegreesToRadians(-degrees);
    const double xf = m_x.constFirst();
    const double xl = m_x.constLast();
    const auto at = [&line](double x) { return line.b + line.k * x; };
    const double cx = (xf + xl) / 2;
    const double cy = (at(xf) + at(xl)) / 2;
    const auto turned = [&](double x) {
        return QPointF(x, cy + (x - cx) * std::sin(angle) + (at(x) - cy) * std::cos(angle));
    };
    return lineThroughPoints(turned(xf), turned(xl));
}

SlopedLine ThreadMeanLine::shiftLine(const SlopedLine& line, double d)
{
    return {line.k, line.b + d};
}

} // namespace MeasurementMath
