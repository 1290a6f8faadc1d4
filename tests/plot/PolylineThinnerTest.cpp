#include "ColumnCoverage.h"

#include "plot/PolylineThinner.h"

#include "TestMain.h"

#include <limits>
#include <random>

// Thinning in pixel space: the one-pixel step rule, then one column of pixels
// reduced to its first, lowest, highest and last point, and neighbouring
// columns joined where that keeps what each column covers.
class PolylineThinnerTest : public QObject
{
    Q_OBJECT
private slots:
    void thinning_data();
    void thinning();
    void keptPointsKeepTheirNeighbours_data();
    void keptPointsKeepTheirNeighbours();
    void noisyTraceKeepsFewPointsPerColumn();
    void columnsCoverWhatTheLineCovers_data();
    void columnsCoverWhatTheLineCovers();
    void extremesInColumnMiddle();
};

using Points = QVector<QPointF>;
Q_DECLARE_METATYPE(Points)
using Indices = QVector<int>;
Q_DECLARE_METATYPE(Indices)

namespace {
const double kNaN = std::numeric_limits<double>::quiet_NaN();

double verticalTravel(const Points& line)
{
    double travel = 0;
    for (int i = 1; i < line.size(); ++i)
        if (!PolylineClipping::isGap(line.at(i - 1)) && !PolylineClipping::isGap(line.at(i)))
            travel += std::abs(line.at(i).y() - line.at(i - 1).y());
    return travel;
}

double totalHeight(const ColumnCoverage& coverage)
{
    double height = 0;
    for (const Heights& heights : coverage)
        height += heights.second - heights.first;
    return height;
}

bool samePoints(const Points& a, const Points& b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        const bool gapA = PolylineClipping::isGap(a.at(i));
        const bool gapB = PolylineClipping::isGap(b.at(i));
        if (gapA != gapB || (!gapA && a.at(i) != b.at(i)))
            return false;
    }
    return true;
}
} // namespace

void PolylineThinnerTest::thinning_data()
{
    QTest::addColumn<Points>("input");
    QTest::addColumn<Points>("expected");

    QTest::newRow("second and third within a pixel of the first")
        << Points{{10, 10}, {10.5, 10.9}, {11, 9}} << Points{{10, 10}};
    QTest::newRow("half-pixel run keeps every third point")
        << Points{{0, 0}, {0.5, 0}, {1, 0}, {1.5, 0}, {2, 0}, {2.5, 0}, {3, 0}, {3.5, 0}}
        << Points{{0, 0}, {1.5, 0}, {3, 0}};
    QTest::newRow("step measured from the last kept point, not the previous one")
        << Points{{0, 0}, {0, 0.8}, {0, 1.6}, {0, 2.4}} << Points{{0, 0}, {0, 1.6}};
    // A point left out for lying near the last kept one comes back where the
    // line drawn past it does not reach its height in its pixel column.
    QTest::newRow("a point near the last kept one, beyond the line past it in its column")
        << Points{{7, 29.5}, {7.6, 30.2}, {8.2, 23.5}} << Points{{7, 29.5}, {7.6, 30.2}, {8.2, 23.5}};
    QTest::newRow("a point near the last kept one, beyond the line past it in the next column")
        << Points{{10.6, 20}, {11.2, 20.5}, {11.8, 10}} << Points{{10.6, 20}, {11.2, 20.5}, {11.8, 10}};
    QTest::newRow("a point near the last kept one, on the line past it")
        << Points{{10.6, 20}, {11.2, 20.5}, {11.8, 21}} << Points{{10.6, 20}, {11.8, 21}};
    QTest::newRow("the last point is not forced in") << Points{{0, 0}, {5, 0}, {5.5, 0.5}} << Points{{0, 0}, {5, 0}};
    QTest::newRow("column reduced to first, lowest, highest, last")
        << Points{{3.1, 50}, {3.3, 10}, {3.4, 30}, {3.6, 90}, {3.7, 40}, {3.9, 45}, {6, 0}}
        << Points{{3.1, 50}, {3.3, 10}, {3.6, 90}, {3.9, 45}, {6, 0}};
    QTest::newRow("highest before lowest keeps their order")
        << Points{{3.1, 50}, {3.3, 90}, {3.5, 40}, {3.7, 10}, {3.9, 45}}
        << Points{{3.1, 50}, {3.3, 90}, {3.7, 10}, {3.9, 45}};
    QTest::newRow("a gap stays a gap") << Points{{0, 0}, {5, 5}, {kNaN, kNaN}, {10, 10}, {20, 0}}
                                       << Points{{0, 0}, {5, 5}, {kNaN, kNaN}, {10, 10}, {20, 0}};
    QTest::newRow("a gap inside one column splits it")
        << Points{{3.1, 50}, {3.3, 10}, {3.5, 60}, {kNaN, 1}, {3.6, 90}, {3.8, 20}, {3.9, 70}}
        << Points{{3.1, 50}, {3.3, 10}, {3.5, 60}, {kNaN, kNaN}, {3.6, 90}, {3.8, 20}, {3.9, 70}};
    QTest::newRow("the point after a gap starts afresh")
        << Points{{0, 0}, {5, 0}, {kNaN, kNaN}, {5.2, 0.2}, {9, 0}}
        << Points{{0, 0}, {5, 0}, {kNaN, kNaN}, {5.2, 0.2}, {9, 0}};
    QTest::newRow("runs of gaps become one") << Points{{0, 0}, {kNaN, kNaN}, {kNaN, 3}, {4, 4}}
                                             << Points{{0, 0}, {kNaN, kNaN}, {4, 4}};
    QTest::newRow("the extreme nearer to where the line comes from first")
        << Points{{3.1, 20}, {3.3, 90}, {3.5, 40}, {3.7, 10}, {3.9, 45}}
        << Points{{3.1, 20}, {3.7, 10}, {3.3, 90}, {3.9, 45}};

    // Neighbouring columns: the border is crossed level with the extreme
    // reached last (90), beyond the middle of the next column (4.515625).
    const Points column3{{3.1, 50}, {3.3, 10}, {3.6, 90}, {3.9, 45}};
    const Points column4{{4.1, 55}, {4.4, 95}, {4.6, 5}, {4.9, 60}};
    QTest::newRow("neighbouring columns joined level with the last extreme")
        << column3 + column4 << Points{{3.1, 50}, {3.3, 10}, {3.6, 90}, {4.515625, 90}, {4.4, 95}, {4.6, 5}, {4.9, 60}};
    QTest::newRow("an extreme closing a run stays")
        << Points{{3.1, 50}, {3.3, 10}, {3.9, 90}} + column4
        << Points{{3.1, 50}, {3.3, 10}, {3.9, 90}, {4.515625, 90}, {4.4, 95}, {4.6, 5}, {4.9, 60}};
    QTest::newRow("joined level with the next extreme, turning in both columns")
        << column3 + Points{{4.1, 55}, {4.2, 20}, {4.3, 80}, {4.9, 60}}
        << Points{{3.1, 50}, {3.3, 10}, {3.6, 90}, {3.6, 80}, {4.515625, 80}, {4.3, 80}, {4.2, 20}, {4.9, 60}};
    QTest::newRow("a border crossed beyond a run's height keeps the real points")
        << Points{{3.1, 50}, {3.3, 10}, {3.6, 30}, {3.9, 20}, {4.1, 85}, {4.4, 95}, {4.6, 60}, {4.9, 70}}
        << Points{{3.1, 50}, {3.3, 10}, {3.9, 20}, {4.1, 85}, {4.4, 95}, {4.6, 60}, {4.9, 70}};
    QTest::newRow("columns apart keep the real points")
        << column3 + Points{{5.1, 55}, {5.4, 95}, {5.6, 5}, {5.9, 60}}
        << column3 + Points{{5.1, 55}, {5.4, 95}, {5.6, 5}, {5.9, 60}};
    QTest::newRow("a gap between neighbouring columns keeps the real points")
        << column3 + Points{{kNaN, kNaN}} + column4 << column3 + Points{{kNaN, kNaN}} + column4;
}

void PolylineThinnerTest::thinning()
{
    QFETCH(Points, input);
    QFETCH(Points, expected);
    const Points result = PolylineThinner::thin(input);
    QVERIFY2(samePoints(result, expected), qPrintable(QStringLiteral("got %1 points").arg(result.size())));
}

void PolylineThinnerTest::keptPointsKeepTheirNeighbours_data()
{
    QTest::addColumn<Points>("input");
    QTest::addColumn<Indices>("kept");
    QTest::addColumn<Points>("expected");

    const Points steps{{0, 0}, {5, 0}, {5.5, 0.5}, {6, 0}, {6.5, 0.5}, {9, 0}};
    QTest::newRow("neighbours within a pixel") << steps << Indices{3} << steps;
    QTest::newRow("the point before a kept one, though within a pixel of the last kept")
        << Points{{0, 0}, {0, 0.8}, {0, 1.6}, {0, 2.4}, {0, 5}} << Indices{4} << Points{{0, 0}, {0, 2.4}, {0, 5}};
    const Points column{{3.1, 50}, {3.3, 10}, {3.4, 30}, {3.6, 90}, {3.7, 40}, {3.9, 45}};
    QTest::newRow("in the middle of a column") << column << Indices{2} << column;
    QTest::newRow("two kept points in a row") << column << Indices{2, 3} << column;
    QTest::newRow("across a column border, not joined")
        << Points{{3.1, 50}, {3.3, 10}, {3.6, 90}, {3.9, 45}, {4.1, 55}, {4.4, 95}, {4.6, 5}, {4.9, 60}} << Indices{4}
        << Points{{3.1, 50}, {3.3, 10}, {3.6, 90}, {3.9, 45}, {4.1, 55}, {4.4, 95}, {4.6, 5}, {4.9, 60}};
    QTest::newRow("a kept gap is a gap") << Points{{0, 0}, {5, 5}, {kNaN, 3}, {10, 10}} << Indices{2}
                                         << Points{{0, 0}, {5, 5}, {kNaN, kNaN}, {10, 10}};
}

// Where the view's edges cut the line, the library's segments are drawn as
// they are: the kept points, and the segments to their neighbours.
void PolylineThinnerTest::keptPointsKeepTheirNeighbours()
{
    QFETCH(Points, input);
    QFETCH(Indices, kept);
    QFETCH(Points, expected);
    PolylineThinner thinner;
    for (int i = 0; i < input.size(); ++i) {
        if (kept.contains(i))
            thinner.addKept(input.at(i));
        else
            thinner.add(input.at(i));
    }
    const Points result = thinner.take();
    QVERIFY2(samePoints(result, expected), qPrintable(QStringLiteral("got %1 points").arg(result.size())));
}

// Noise larger than a pixel defeats the step rule alone; the columns bound it
// and keep every extreme.
void PolylineThinnerTest::noisyTraceKeepsFewPointsPerColumn()
{
    Points noisy;
    for (int i = 0; i < 100000; ++i)
        noisy.append(QPointF(i * 0.008, (i * 7919 % 101) * 0.3));
    const Points thinned = PolylineThinner::thin(noisy);
    const int columns = 800;
    QVERIFY(thinned.size() <= 4 * columns);
    double lowest = thinned.first().y();
    double highest = lowest;
    for (const QPointF& p : thinned) {
        lowest = qMin(lowest, p.y());
        highest = qMax(highest, p.y());
    }
    QCOMPARE(lowest, 0.0);
    QCOMPARE(highest, 30.0);
}

// Lines whose points all lie more than a pixel apart in height, so that the
// step rule keeps every point: the columns of the thinned line then cover
// exactly the heights the whole line covers, however the columns were
// reduced and joined.
void PolylineThinnerTest::columnsCoverWhatTheLineCovers_data()
{
    QTest::addColumn<double>("step");         // pixels in x from one point to the next
    QTest::addColumn<double>("jitter");       // random share of the step
    QTest::addColumn<int>("gapEvery");        // 0 for no gaps
    QTest::addColumn<double>("travelAtMost"); // up and down, in column heights; 0 for no bound

    // Drawn in index order and without joins, dense columns travel over
    // twice their height.
    QTest::newRow("dense, rising x") << 0.01 << 0.5 << 0 << 1.2;
    QTest::newRow("dense, falling x") << -0.01 << 0.5 << 0 << 1.2;
    QTest::newRow("a few points per column") << 0.2 << 0.9 << 0 << 1.8;
    QTest::newRow("about one point per column") << 0.9 << 0.5 << 0 << 0.0;
    QTest::newRow("dense with gaps") << 0.02 << 0.5 << 450 << 1.4;
    QTest::newRow("steps back and forth in x") << 0.0 << 1.0 << 0 << 0.0;
}

void PolylineThinnerTest::columnsCoverWhatTheLineCovers()
{
    QFETCH(double, step);
    QFETCH(double, jitter);
    QFETCH(int, gapEvery);
    QFETCH(double, travelAtMost);
    std::mt19937 generator(11);
    std::uniform_real_distribution<double> unit(-1, 1);
    Points line;
    double x = 300;
    for (int i = 0; i < 20000; ++i) {
        x += step + (step != 0 ? std::abs(step) : 0.3) * jitter * unit(generator);
        // Consecutive heights differ by 123 or 180 pixels, at most half a pixel off.
        line.append(QPointF(x, (i * 7919 % 101) * 3 + 0.25 * unit(generator)));
        if (gapEvery > 0 && i % gapEvery == gapEvery - 1)
            line.append(QPointF(kNaN, kNaN));
    }
    const Points thinned = PolylineThinner::thin(line);
    const QString difference = coverageDifference(columnCoverage(line), columnCoverage(thinned));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    if (travelAtMost > 0) {
        const double travel = verticalTravel(thinned) / totalHeight(columnCoverage(line));
        QVERIFY2(travel <= travelAtMost, qPrintable(QStringLiteral("travels %1 column heights").arg(travel)));
    }
}

// For an antialiased pen the extremes within a run move to the middle of their
// column; a run's first and last point stay, the segments to the next columns
// start there.
void PolylineThinnerTest::extremesInColumnMiddle()
{
    auto thin = [](const Points& points) {
        PolylineThinner thinner;
        thinner.setExtremesInColumnMiddle(true);
        for (const QPointF& point : points)
            thinner.add(point);
        return thinner.take();
    };
    QCOMPARE(thin({{3.1, 50}, {3.3, 10}, {3.6, 90}, {3.9, 45}}), Points({{3.1, 50}, {3.5, 10}, {3.5, 90}, {3.9, 45}}));
    QCOMPARE(thin({{3.1, 50}, {3.3, 10}, {3.9, 90}, {5.2, 0}}), Points({{3.1, 50}, {3.5, 10}, {3.9, 90}, {5.2, 0}}));
}

KALVORA_TEST_MAIN(PolylineThinnerTest)
#include "PolylineThinnerTest.moc"
