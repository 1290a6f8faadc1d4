#include "plot/PolylineThinner.h"

#include "TestMain.h"

#include <limits>

// Thinning in pixel space: the one-pixel step rule, then one column of pixels
// reduced to its first, lowest, highest and last point.
class PolylineThinnerTest : public QObject
{
    Q_OBJECT
private slots:
    void thinning_data();
    void thinning();
    void noisyTraceKeepsFewPointsPerColumn();
};

using Points = QVector<QPointF>;
Q_DECLARE_METATYPE(Points)

namespace {
const double kNaN = std::numeric_limits<double>::quiet_NaN();

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
}

void PolylineThinnerTest::thinning()
{
    QFETCH(Points, input);
    QFETCH(Points, expected);
    const Points result = PolylineThinner::thin(input);
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

KALVORA_TEST_MAIN(PolylineThinnerTest)
#include "PolylineThinnerTest.moc"
