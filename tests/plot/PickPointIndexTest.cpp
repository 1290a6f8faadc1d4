#include "plot/PickPointIndex.h"

#include "TestMain.h"

#include <QtTest>

class PickPointIndexTest : public QObject
{
    Q_OBJECT
private slots:
    void walksOutwardAfterEveryChange();
    void sideStopsOnItsOwn();
};

namespace {

// The x of every point the walk reaches, walking both sides to their ends.
QVector<double> walked(const PickPointIndex& index, double from)
{
    QVector<double> xs;
    index.walkOutward(from, [&](int id) {
        xs.append(index.point(id).position.x());
        return true;
    });
    return xs;
}

PickPointIndex::Point at(double x)
{
    return {QPointF(x, 0), nullptr, 0, true};
}

} // namespace

// Adds, moves and removes between walks; a removed point's id comes back for
// the next point, at that point's place.
void PickPointIndexTest::walksOutwardAfterEveryChange()
{
    PickPointIndex index;
    QVector<int> ids;
    for (double x : {5.0, 1.0, 3.0, 7.0})
        ids.append(index.add(at(x)));
    QCOMPARE(walked(index, 4), QVector<double>({5, 7, 3, 1}));
    QCOMPARE(walked(index, 3), QVector<double>({3, 5, 7, 1}));

    index.move(ids[0], QPointF(0, 2));
    QCOMPARE(walked(index, 4), QVector<double>({7, 3, 1, 0}));
    index.setPickable(ids[2], false);
    index.setPickable(ids[2], false);
    QCOMPARE(index.pickableCount(), 3);
    index.remove(ids[3]);
    index.remove(ids[1]);
    QCOMPARE(index.size(), 2);
    QCOMPARE(index.pickableCount(), 1);
    QCOMPARE(walked(index, 4), QVector<double>({3, 0}));

    const int reused = index.add(at(9));
    QVERIFY(reused == ids[3] || reused == ids[1]);
    index.move(ids[2], QPointF(10, 0));
    index.move(ids[2], QPointF(2, 0));
    QCOMPARE(walked(index, 1), QVector<double>({2, 9, 0}));
    QCOMPARE(index.point(ids[2]).position, QPointF(2, 0));
}

void PickPointIndexTest::sideStopsOnItsOwn()
{
    PickPointIndex index;
    for (int x = 0; x < 10; ++x)
        index.add(at(x));
    QVector<double> xs;
    index.walkOutward(4.5, [&](int id) {
        const double x = index.point(id).position.x();
        if (std::abs(x - 4.5) > 2)
            return false;
        xs.append(x);
        return true;
    });
    QCOMPARE(xs, QVector<double>({5, 6, 4, 3}));
}

KALVORA_TEST_MAIN(PickPointIndexTest)
#include "PickPointIndexTest.moc"
