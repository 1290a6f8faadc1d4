#include "measurements/math/DeviationScaleLayout.h"
#include "measurements/math/PlotObstacles.h"
#include "measurements/math/RadiusLabelPlacement.h"

#include "FuzzyCompare.h"
#include "TestMain.h"

#include <algorithm>
#include <cmath>
#include <limits>

using namespace MeasurementMath;

using Polylines = QVector<QVector<QPointF>>;
using Rects = QVector<QRectF>;
using Values = QVector<double>;
Q_DECLARE_METATYPE(Polylines)
Q_DECLARE_METATYPE(Rects)
Q_DECLARE_METATYPE(Values)

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A label of the scale: "0.0045" in the plot's small font.
const QSizeF kLabel(40, 14);

// The band of most rows: 200 px wide below a stretch from x = 200 to 400,
// its top (the stretch's lowest height) at y = 100; the plot 800 x 600.
constexpr double kBandLeft = 200;
constexpr double kBandRight = 400;
constexpr double kBandTop = 100;
const QRectF kArea(0, 0, 800, 600);

// Ticks at the multiples first .. last of step, the largest at the band's
// top, the smallest `height` pixels below it.
QVector<DeviationScaleLayout::Tick> ticks(int first, int last, double step, double height)
{
    QVector<DeviationScaleLayout::Tick> result;
    for (int m = first; m <= last; ++m) {
        const double y = last == first ? kBandTop + height / 2 : kBandTop + height * (last - m) / (last - first);
        result.append({m * step, y, kLabel});
    }
    return result;
}

DeviationScaleLayout::Band band(double height, bool leftToRight = true)
{
    return leftToRight ? DeviationScaleLayout::Band{kBandLeft, kBandRight, kBandTop, kBandTop + height}
                       : DeviationScaleLayout::Band{kBandRight, kBandLeft, kBandTop, kBandTop + height};
}

bool anyTwoIntersect(const QVector<QRectF>& rects)
{
    for (int i = 0; i < rects.size(); ++i) {
        for (int j = i + 1; j < rects.size(); ++j) {
            if (rects.at(i).intersects(rects.at(j)))
                return true;
        }
    }
    return false;
}

bool meetsPolylines(const QRectF& rect, const Polylines& polylines)
{
    for (const QVector<QPointF>& polyline : polylines) {
        for (int i = 1; i < polyline.size(); ++i) {
            const QLineF segment(polyline.at(i - 1), polyline.at(i));
            if (std::isfinite(segment.length()) && segmentMeetsRect(segment, rect))
                return true;
        }
    }
    return false;
}

double distance(const QPointF& p, const QLineF& segment)
{
    const QPointF d = segment.p2() - segment.p1();
    const double lengthSquared = d.x() * d.x() + d.y() * d.y();
    const double t = lengthSquared > 0
                         ? std::clamp(QPointF::dotProduct(p - segment.p1(), d) / lengthSquared, 0.0, 1.0)
                         : 0.0;
    return QLineF(p, segment.p1() + t * d).length();
}

double distance(const QPointF& p, const QRectF& rect)
{
    const double dx = std::max({rect.left() - p.x(), 0.0, p.x() - rect.right()});
    const double dy = std::max({rect.top() - p.y(), 0.0, p.y() - rect.bottom()});
    return std::hypot(dx, dy);
}

double distance(const QLineF& segment, const QRectF& rect)
{
    if (segmentMeetsRect(segment, rect))
        return 0;
    return std::min({distance(rect.topLeft(), segment), distance(rect.topRight(), segment),
                     distance(rect.bottomLeft(), segment), distance(rect.bottomRight(), segment),
                     distance(segment.p1(), rect), distance(segment.p2(), rect)});
}

// The contour beyond the stretch in the rows below: a V flank falling from
// the band's right end, and the same on the left.
const QVector<QPointF> kFlankRight{{kBandRight, kBandTop}, {kBandRight + 150, kBandTop + 300}};
const QVector<QPointF> kFlankLeft{{kBandLeft, kBandTop}, {kBandLeft - 150, kBandTop + 300}};

// A deviation curve zigzagging over the whole band (100 px high).
QVector<QPointF> zigzagInBand()
{
    QVector<QPointF> points;
    for (double x = kBandLeft; x <= kBandRight; x += 5)
        points.append(QPointF(x, int(x / 5) % 2 ? kBandTop + 2 : kBandTop + 98));
    return points;
}

// Horizontal lines every 4 px over the whole plot: no place is free.
Polylines hatching()
{
    Polylines lines;
    for (double y = 0; y <= 600; y += 4)
        lines.append({QPointF(0, y), QPointF(800, y)});
    return lines;
}

} // namespace

// The geometry that keeps the labels of a deviation scale and of a radius
// readable: the obstacles a label tests itself against, where the scale
// stands and which of its values it labels, and where a radius's label goes
// when its arrow would run through it.
class LabelPlacementTest : public QObject
{
    Q_OBJECT
private slots:
    void obstacles_data();
    void obstacles();
    void labelledValues_data();
    void labelledValues();
    void scalePlace_data();
    void scalePlace();
    void radiusLabel_data();
    void radiusLabel();
};

void LabelPlacementTest::obstacles_data()
{
    QTest::addColumn<Polylines>("curves");
    QTest::addColumn<Rects>("labels");
    QTest::addColumn<bool>("touchesCurve");
    QTest::addColumn<bool>("coversLabel");

    // The rectangle tested is 100..140 x 100..114.
    QTest::newRow("nothing") << Polylines() << Rects() << false << false;
    QTest::newRow("segment through it") << Polylines{{{90, 90}, {150, 120}}} << Rects() << true << false;
    QTest::newRow("segment 3 px above it") << Polylines{{{0, 97}, {800, 97}}} << Rects() << false << false;
    QTest::newRow("segment inside it") << Polylines{{{110, 105}, {120, 108}}} << Rects() << true << false;
    QTest::newRow("segment ending on its border") << Polylines{{{120, 50}, {120, 100}}} << Rects() << true << false;
    QTest::newRow("one segment across the whole plot")
        << Polylines{{{-500, 107}, {1500, 107}}} << Rects() << true << false;
    QTest::newRow("diagonal past its corner by two pixels")
        << Polylines{{{141 - 50, 100 - 50 - 1.5}, {141 + 50, 100 + 50 - 1.5}}} << Rects() << false << false;
    QTest::newRow("gap where the polyline would cross it")
        << Polylines{{{90, 107}, {95, 107}, {kNaN, kNaN}, {145, 107}, {150, 107}}} << Rects() << false << false;
    QTest::newRow("polyline around it") << Polylines{{{90, 90}, {150, 90}, {150, 120}, {90, 120}, {90, 90}}}
                                        << Rects() << false << false;
    QTest::newRow("label over a corner") << Polylines() << Rects{{135, 110, 30, 14}} << false << true;
    QTest::newRow("label beside it") << Polylines() << Rects{{141, 100, 30, 14}} << false << false;
}

void LabelPlacementTest::obstacles()
{
    QFETCH(Polylines, curves);
    QFETCH(Rects, labels);
    QFETCH(bool, touchesCurve);
    QFETCH(bool, coversLabel);

    const PlotObstacles obstacles(labels, curves);
    const QRectF rect(100, 100, 40, 14);
    QCOMPARE(obstacles.touchesCurve(rect), touchesCurve);
    QCOMPARE(obstacles.coversLabel(rect), coversLabel);
    QCOMPARE(obstacles.isFree(rect), !touchesCurve && !coversLabel);
}

void LabelPlacementTest::labelledValues_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<double>("height");
    QTest::addColumn<Values>("labelled");

    // Multiples of 0.0005 from 0.0005 to 0.0045, as a drawing deviation over
    // an arc gives them, in bands of shrinking height.
    QTest::newRow("25 px apart: all") << 1 << 9 << 200.0
                                      << Values{0.0005, 0.001, 0.0015, 0.002, 0.0025, 0.003, 0.0035, 0.004, 0.0045};
    QTest::newRow("12.5 px apart: every second") << 1 << 9 << 100.0 << Values{0.001, 0.002, 0.003, 0.004};
    QTest::newRow("5 px apart: the lowest and the highest") << 1 << 9 << 40.0 << Values{0.0005, 0.0045};
    QTest::newRow("band lower than two labels: the highest") << 1 << 9 << 12.0 << Values{0.0045};
    QTest::newRow("6 px apart: every fifth") << 0 << 10 << 60.0 << Values{0.0, 0.0025, 0.005};
    // -0.002 .. 0.002 by 0.0005: a deviation from a circle.
    QTest::newRow("around 0, 6 px apart: the ends") << -4 << 4 << 48.0 << Values{-0.002, 0.002};
    QTest::newRow("one tick of a flat range") << 3 << 3 << 50.0 << Values{0.0015};
}

// No two labels overlap, and those shown are round values where they can be.
void LabelPlacementTest::labelledValues()
{
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(double, height);
    QFETCH(Values, labelled);

    const DeviationScaleLayout layout(band(height), ticks(first, last, 0.0005, height), 0.0005, 2, kArea);
    const auto all = ticks(first, last, 0.0005, height);
    Values shown;
    for (int i : layout.labelledTicks())
        shown.append(all.at(i).value);
    QCOMPARE(shown.size(), labelled.size());
    for (int i = 0; i < shown.size(); ++i)
        KALVORA_COMPARE_NEAR_AT(shown.at(i), labelled.at(i), 1e-12, QString::number(i));

    const DeviationScaleLayout::Placement placement = layout.place(PlotObstacles());
    QVERIFY(placement.free);
    QCOMPARE(placement.labels.size(), labelled.size());
    QVERIFY(!anyTwoIntersect(placement.labels));
    for (const QRectF& label : placement.labels)
        QVERIFY(label.top() > kBandTop);
}

void LabelPlacementTest::scalePlace_data()
{
    QTest::addColumn<bool>("leftToRight");
    QTest::addColumn<Polylines>("curves");
    QTest::addColumn<Rects>("labels");
    QTest::addColumn<QRectF>("area");
    // Where the labels stand: "right", "left" (just beside the band's end),
    // "inside right", "far right", "far left" (beyond a gap), "anywhere".
    QTest::addColumn<QString>("where");
    QTest::addColumn<bool>("free");

    const Rects none;
    QTest::newRow("free plot: beside the last point's end") << true << Polylines() << none << kArea << "right" << true;
    QTest::newRow("stretch drawn right to left") << false << Polylines() << none << kArea << "left" << true;
    QTest::newRow("V flank falling from the band's end")
        << true << Polylines{kFlankRight} << none << kArea << "left" << true;
    QTest::newRow("another measurement's label at the end")
        << true << Polylines() << Rects{{kBandRight + 5, kBandTop + 40, 30, 20}} << kArea << "left" << true;
    QTest::newRow("contour falling away on both sides")
        << true << Polylines{kFlankRight, kFlankLeft} << none << kArea << "inside right" << true;
    QTest::newRow("both sides and the band's own curve in the way")
        << true << Polylines{kFlankRight, kFlankLeft, zigzagInBand()} << none << kArea << "far right" << true;
    QTest::newRow("band ending at the plot's right edge")
        << true << Polylines() << none << QRectF(0, 0, kBandRight + 10, 600) << "left" << true;
    QTest::newRow("flank on the left, plot's edge on the right")
        << true << Polylines{kFlankLeft, zigzagInBand()} << none << QRectF(0, 0, kBandRight + 10, 600) << "far left"
        << true;
    QTest::newRow("no free place") << true << hatching() << none << kArea << "anywhere" << false;
}

void LabelPlacementTest::scalePlace()
{
    QFETCH(bool, leftToRight);
    QFETCH(Polylines, curves);
    QFETCH(Rects, labels);
    QFETCH(QRectF, area);
    QFETCH(QString, where);
    QFETCH(bool, free);

    const double height = 100;
    const DeviationScaleLayout layout(band(height, leftToRight), ticks(-4, 4, 0.0005, height), 0.0005, 2, area);
    const DeviationScaleLayout::Placement placement = layout.place(PlotObstacles(labels, curves));

    QCOMPARE(placement.free, free);
    QCOMPARE(placement.labelled, layout.labelledTicks());
    QVERIFY(!placement.labels.isEmpty());
    QVERIFY(!anyTwoIntersect(placement.labels));
    for (const QRectF& label : placement.labels) {
        QVERIFY(area.contains(label));
        if (free) {
            QVERIFY(!meetsPolylines(label, curves));
            for (const QRectF& other : labels)
                QVERIFY(!other.intersects(label));
        }
    }
    const QRectF first = placement.labels.first();
    const double markLeft = std::min(placement.markFrom, placement.markTo);
    const double markRight = std::max(placement.markFrom, placement.markTo);
    QCOMPARE(markRight - markLeft, 2.0);
    if (where == "right") {
        QCOMPARE(placement.markFrom, kBandRight);
        QCOMPARE(first.left(), kBandRight + 3);
    } else if (where == "left") {
        QCOMPARE(placement.markFrom, kBandLeft);
        QCOMPARE(first.right(), kBandLeft - 3);
    } else if (where == "inside right") {
        QCOMPARE(placement.markFrom, kBandRight);
        QCOMPARE(first.right(), kBandRight - 2 - 3);
    } else if (where == "far right") {
        QVERIFY(markLeft > kBandRight && first.left() > markRight);
    } else if (where == "far left") {
        QVERIFY(markRight < kBandLeft && first.right() < markLeft);
    }
}

void LabelPlacementTest::radiusLabel_data()
{
    QTest::addColumn<QLineF>("arrow");
    QTest::addColumn<QPointF>("anchor");
    // Where the label goes: "above" the anchor as ever, or "right" of the
    // arrow, or "over" a level arrow.
    QTest::addColumn<QString>("where");

    QTest::newRow("down into a groove, label inside the circle")
        << QLineF(300, 100, 300, 300) << QPointF(300, 250) << "right";
    QTest::newRow("up, label inside the circle") << QLineF(300, 300, 300, 100) << QPointF(300, 150) << "right";
    QTest::newRow("level to the right") << QLineF(100, 200, 400, 200) << QPointF(300, 200) << "over";
    QTest::newRow("level to the left, a little tilted")
        << QLineF(400, 200, 100, 230) << QPointF(200, 220) << "over";
    QTest::newRow("down to the right") << QLineF(100, 100, 300, 300) << QPointF(200, 200) << "right";
    QTest::newRow("up to the left") << QLineF(300, 300, 100, 100) << QPointF(200, 200) << "right";
    QTest::newRow("label beyond the arrow's head, arrow from below")
        << QLineF(300, 400, 300, 300) << QPointF(300, 250) << "above";
    QTest::newRow("label just beyond the head, arrow from above")
        << QLineF(300, 100, 300, 240) << QPointF(300, 250) << "right";
    QTest::newRow("cursor on the centre: no arrow") << QLineF(300, 300, 300, 300) << QPointF(300, 300) << "above";
}

// The label keeps the clearance from the arrow and stays at the cursor:
// above it, or beside the arrow level with it.
void LabelPlacementTest::radiusLabel()
{
    QFETCH(QLineF, arrow);
    QFETCH(QPointF, anchor);
    QFETCH(QString, where);

    const QSizeF size(80, 32);
    const double clearance = 5;
    const RadiusLabelPlace place = radiusLabelPlace(arrow, anchor, size, clearance);
    const QRectF rect = place.rect;
    QCOMPARE(rect.size(), size);
    QCOMPARE(place.besideArrow, where != "above");
    QVERIFY(arrow.length() == 0 || distance(arrow, rect) >= clearance - 1e-9);
    if (where == "above") {
        QCOMPARE(rect, QRectF(anchor.x() - 40, anchor.y() - 32, 80, 32));
        return;
    }
    // Off the line at the anchor, across it.
    const QPointF across = rect.center() - anchor;
    const QPointF along = arrow.p2() - arrow.p1();
    KALVORA_COMPARE_NEAR(across.x() * along.x() + across.y() * along.y(), 0.0, 1e-6);
    if (where == "right")
        QVERIFY(across.x() > 0);
    else
        QVERIFY(across.y() < 0);
    // The nearest corner is the clearance away from the arrow's line.
    double nearest = std::numeric_limits<double>::infinity();
    for (const QPointF& corner : {rect.topLeft(), rect.topRight(), rect.bottomLeft(), rect.bottomRight()}) {
        const QPointF offset = corner - arrow.p1();
        nearest = std::min(nearest, std::abs(offset.x() * along.y() - offset.y() * along.x()) / arrow.length());
    }
    KALVORA_COMPARE_NEAR(nearest, clearance, 1e-9);
}

KALVORA_TEST_MAIN(LabelPlacementTest)
#include "LabelPlacementTest.moc"
