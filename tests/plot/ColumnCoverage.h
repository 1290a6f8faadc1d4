#pragma once

#include <QMap>
#include <QPair>
#include <QPointF>
#include <QStringList>
#include <QVector>

#include <algorithm>
#include <cmath>

// The heights a polyline covers in each column [k, k + 1) of x, worked out
// from its segments: what a pixel raster shows of it, column by column. Points
// with a NaN coordinate are gaps. Only columns k with from <= k < to count.
using Heights = QPair<double, double>;
using ColumnCoverage = QMap<int, Heights>;

inline ColumnCoverage columnCoverage(const QVector<QPointF>& polyline, int from = -(1 << 30), int to = 1 << 30)
{
    ColumnCoverage coverage;
    auto cover = [&](int column, double y) {
        if (column < from || column >= to)
            return;
        auto it = coverage.find(column);
        if (it == coverage.end())
            coverage.insert(column, Heights(y, y));
        else
            *it = Heights(std::min(it->first, y), std::max(it->second, y));
    };
    for (int i = 0; i + 1 < polyline.size(); ++i) {
        QPointF a = polyline.at(i);
        QPointF b = polyline.at(i + 1);
        if (std::isnan(a.x()) || std::isnan(a.y()) || std::isnan(b.x()) || std::isnan(b.y()))
            continue;
        if (a.x() > b.x())
            std::swap(a, b);
        auto heightAt = [&](double x) {
            return b.x() == a.x() ? a.y() : a.y() + (x - a.x()) / (b.x() - a.x()) * (b.y() - a.y());
        };
        for (int column = int(std::floor(a.x())); column <= int(std::floor(b.x())); ++column) {
            cover(column, heightAt(std::max(a.x(), double(column))));
            cover(column, b.x() == a.x() ? b.y() : heightAt(std::min(b.x(), double(column + 1))));
        }
    }
    return coverage;
}

// Column by column, "columns k: a..b against c..d" for the first differences.
inline QString coverageDifference(const ColumnCoverage& expected, const ColumnCoverage& actual)
{
    QStringList differences;
    QList<int> columns = expected.keys() + actual.keys();
    std::sort(columns.begin(), columns.end());
    columns.erase(std::unique(columns.begin(), columns.end()), columns.end());
    for (int column : columns) {
        const Heights want = expected.value(column, Heights(qQNaN(), qQNaN()));
        const Heights got = actual.value(column, Heights(qQNaN(), qQNaN()));
        const bool same = std::abs(want.first - got.first) <= 1e-9 * (1 + std::abs(want.first))
            && std::abs(want.second - got.second) <= 1e-9 * (1 + std::abs(want.second));
        if (!same && differences.size() < 5)
            differences << QStringLiteral("column %1: %2..%3 against %4..%5")
                               .arg(column)
                               .arg(want.first)
                               .arg(want.second)
                               .arg(got.first)
                               .arg(got.second);
    }
    return differences.join(QStringLiteral("; "));
}
