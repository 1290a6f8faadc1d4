#include "PlotFixture.h"

#include "plot/AdaptiveCurve.h"

#include "TestMain.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <random>

class AdaptiveCurveTest : public QObject
{
    Q_OBJECT
private slots:
    void hitTestMatchesLibrary_data();
    void hitTestMatchesLibrary();
    void hitTestFollowsDataAndViewChanges();
    void viewPolylineFollowsDataAndView();
    void shortPolylinesAndThinningOff();
    void curveThatLostAnAxisDrawsNothing();
    void drawsTheLibrarysPicture_data();
    void drawsTheLibrarysPicture();
    void edgesDrawnAsTheLibraryDrawsThem_data();
    void edgesDrawnAsTheLibraryDrawsThem();
    void denseTraceWithinAPixelOfTheLibrary_data();
    void denseTraceWithinAPixelOfTheLibrary();
    void appendingInBatchesDrawsWhatOneSetDraws();
    void antialiasedDenseTraceIsAsDarkAsTheWholeLine_data();
    void antialiasedDenseTraceIsAsDarkAsTheWholeLine();
};

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

// Prepares the plot and the curve of one case.
using Setup = std::function<void(PlotWidget&, AdaptiveCurve*&)>;

QVector<QCPCurveData> noisyData(int count, double yOffset = 50, double amplitude = 20)
{
    std::mt19937 generator(7);
    std::normal_distribution<double> noise(0, amplitude / 4);
    QVector<QCPCurveData> data;
    for (int i = 0; i < count; ++i)
        data.append(QCPCurveData(i, 100.0 * i / count, yOffset + noise(generator)));
    return data;
}

// Keys rising from 0 to `width` over count points.
QVector<QCPCurveData> noisyTrace(int count, double width, double amplitude)
{
    QVector<QCPCurveData> data = noisyData(count, 50, amplitude);
    for (QCPCurveData& point : data)
        point.key *= width / 100;
    return data;
}

AdaptiveCurve* curveWith(PlotWidget& plot, const QVector<QCPCurveData>& data)
{
    auto* curve = new AdaptiveCurve(plot.xAxis, plot.yAxis);
    curve->data()->set(data, true);
    return curve;
}

QString text(const QVariant& details)
{
    QString result;
    QDebug(&result) << details.value<QCPDataSelection>();
    return result;
}

// A grid over the whole widget, borders and margins included.
QVector<QPointF> probePositions(const QWidget& widget)
{
    QVector<QPointF> positions;
    for (int y = 0; y <= widget.height(); y += 23)
        for (int x = 0; x <= widget.width(); x += 19)
            positions.append(QPointF(x + 0.25, y + 0.5));
    return positions;
}

void compareWithLibrary(const PlotWidget& plot, const AdaptiveCurve* curve)
{
    int hits = 0;
    for (const QPointF& pos : probePositions(plot)) {
        QVariant fast, library;
        const double fastDistance = curve->selectTest(pos, true, &fast);
        const double libraryDistance = curve->QCPCurve::selectTest(pos, true, &library);
        const bool same = fastDistance == libraryDistance || (std::isnan(fastDistance) && std::isnan(libraryDistance));
        QVERIFY2(same, qPrintable(QStringLiteral("distance at (%1, %2): %3 against %4")
                                      .arg(pos.x())
                                      .arg(pos.y())
                                      .arg(fastDistance, 0, 'g', 17)
                                      .arg(libraryDistance, 0, 'g', 17)));
        QCOMPARE(text(fast), text(library));
        hits += fastDistance >= 0 ? 1 : 0;
    }
    QVERIFY(hits > 0 || curve->lineStyle() == QCPCurve::lsNone);
}

double distanceToSegment(const QPointF& p, const QPointF& a, const QPointF& b)
{
    const QPointF d = b - a;
    const double lengthSquared = QPointF::dotProduct(d, d);
    const double t = lengthSquared > 0 ? std::clamp(QPointF::dotProduct(p - a, d) / lengthSquared, 0.0, 1.0) : 0.0;
    return QLineF(p, a + t * d).length();
}

// Every point of the curve inside the axis rect lies within a pixel and a
// half of the view polyline.
void comparePolylineWithPoints(const PlotWidget& plot, AdaptiveCurve* curve)
{
    const QVector<QPointF> polyline = curve->viewPolyline();
    QVERIFY(polyline.size() >= 2);
    const QRectF inside = QRectF(plot.axisRect()->rect()).adjusted(1, 1, -1, -1);
    int checked = 0;
    for (auto it = curve->data()->constBegin(); it != curve->data()->constEnd(); ++it) {
        const QPointF p(plot.xAxis->coordToPixel(it->key), plot.yAxis->coordToPixel(it->value));
        if (!inside.contains(p))
            continue;
        double nearest = std::numeric_limits<double>::infinity();
        for (int i = 1; i < polyline.size(); ++i)
            nearest = std::min(nearest, distanceToSegment(p, polyline.at(i - 1), polyline.at(i)));
        const int index = it - curve->data()->constBegin();
        QVERIFY2(nearest <= 1.5, qPrintable(QStringLiteral("point %1 is %2 px off").arg(index).arg(nearest)));
        ++checked;
    }
    QVERIFY(checked > 0);
}

// Where one picture has ink that the other lacks within a pixel either way,
// "missing at x, y" (in drawn) or "extra at x, y"; empty when none.
QString differenceBeyondAPixel(const QImage& drawn, const QImage& full)
{
    auto covers = [](const QImage& image, const QImage& other, int x, int y) {
        const QRgb wanted = other.pixel(x, y);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const QPoint p(x + dx, y + dy);
                if (image.rect().contains(p) && image.pixel(p) == wanted)
                    return true;
            }
        return false;
    };
    for (int y = 0; y < full.height(); ++y) {
        for (int x = 0; x < full.width(); ++x) {
            if (full.pixel(x, y) != qRgb(255, 255, 255) && !covers(drawn, full, x, y))
                return QStringLiteral("missing at %1, %2").arg(x).arg(y);
            if (drawn.pixel(x, y) != qRgb(255, 255, 255) && !covers(full, drawn, x, y))
                return QStringLiteral("extra at %1, %2").arg(x).arg(y);
        }
    }
    return QString();
}

int inkedPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
    return count;
}

// No antialiasing and no axes: the plot shows the curve's pixels alone, as
// the rasterizer picks them.
void showCurveAlone(PlotWidget& plot)
{
    plot.setNotAntialiasedElements(QCP::aeAll);
    plot.xAxis->setVisible(false);
    plot.yAxis->setVisible(false);
}

struct Pictures
{
    QImage thinned;
    QImage library;
};

// The plot drawn with the curve thinned, then with the library's own
// drawing of the curve (which the curve keeps afterwards).
Pictures thinnedAndLibraryPictures(PlotWidget& plot, AdaptiveCurve* curve)
{
    Pictures pictures;
    pictures.thinned = plot.toPixmap().toImage();
    curve->adaptive = false;
    pictures.library = plot.toPixmap().toImage();
    return pictures;
}

} // namespace

Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(QCPRange)

void AdaptiveCurveTest::hitTestMatchesLibrary_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::newRow("noisy, all inside") << Setup([](PlotWidget& plot, AdaptiveCurve*& curve) {
        curve = curveWith(plot, noisyData(5000));
    });
    QTest::newRow("zoomed in, most points outside") << Setup([](PlotWidget& plot, AdaptiveCurve*& curve) {
        curve = curveWith(plot, noisyData(5000, 50, 60));
        plot.xAxis->setRange(42, 47);
        plot.yAxis->setRange(45, 70);
    });
    QTest::newRow("a closed contour leaving the view") << Setup([](PlotWidget& plot, AdaptiveCurve*& curve) {
        QVector<QCPCurveData> data;
        for (int i = 0; i < 720; ++i)
            data.append(QCPCurveData(i, 50 + 70 * std::cos(i * M_PI / 360), 50 + 30 * std::sin(i * M_PI / 180)));
        curve = curveWith(plot, data);
    });
    QTest::newRow("gaps") << Setup([](PlotWidget& plot, AdaptiveCurve*& curve) {
        QVector<QCPCurveData> data = noisyData(400);
        for (int i = 100; i < 140; ++i)
            data[i].value = kNaN;
        data[300].key = kNaN;
        curve = curveWith(plot, data);
    });
    QTest::newRow("reversed ranges") << Setup([](PlotWidget& plot, AdaptiveCurve*& curve) {
        curve = curveWith(plot, noisyData(3000, 50, 60));
        plot.xAxis->setRangeReversed(true);
        plot.yAxis->setRangeReversed(true);
    });
    QTest::newRow("vertical key axis") << Setup([](PlotWidget& plot, AdaptiveCurve*& curve) {
        curve = new AdaptiveCurve(plot.yAxis, plot.xAxis);
        curve->data()->set(noisyData(3000), true);
    });
    QTest::newRow("logarithmic value axis") << Setup([](PlotWidget& plot, AdaptiveCurve*& curve) {
        curve = curveWith(plot, noisyData(3000, 30, 40));
        plot.yAxis->setScaleType(QCPAxis::stLogarithmic);
        plot.yAxis->setRange(5, 100);
    });
    QTest::newRow("scatters without line") << Setup([](PlotWidget& plot, AdaptiveCurve*& curve) {
        curve = curveWith(plot, noisyData(500));
        curve->setLineStyle(QCPCurve::lsNone);
        curve->setScatterStyle(QCPScatterStyle::ssCircle);
    });
    QTest::newRow("neither line nor scatters") << Setup([](PlotWidget& plot, AdaptiveCurve*& curve) {
        curve = curveWith(plot, noisyData(500));
        curve->setLineStyle(QCPCurve::lsNone);
    });
    QTest::newRow("one point") << Setup([](PlotWidget& plot, AdaptiveCurve*& curve) {
        curve = curveWith(plot, {QCPCurveData(0, 30, 70)});
    });
    QTest::newRow("only NaN points") << Setup([](PlotWidget& plot, AdaptiveCurve*& curve) {
        curve = curveWith(plot, {QCPCurveData(0, kNaN, kNaN), QCPCurveData(1, kNaN, kNaN)});
    });
    QTest::newRow("beyond the axis rect allowed") << Setup([](PlotWidget& plot, AdaptiveCurve*& curve) {
        curve = curveWith(plot, noisyData(2000, 50, 80));
        plot.yAxis->setRange(40, 60);
        plot.setInteractions(QCP::iSelectPlottables | QCP::iSelectPlottablesBeyondAxisRect);
    });
}

void AdaptiveCurveTest::hitTestMatchesLibrary()
{
    QFETCH(Setup, setup);
    PlotFixture f;
    AdaptiveCurve* curve = nullptr;
    setup(f.plot, curve);
    f.plot.replot();
    compareWithLibrary(f.plot, curve);
}

// The cached pixel positions follow a new view, and data changed in place.
void AdaptiveCurveTest::hitTestFollowsDataAndViewChanges()
{
    PlotFixture f;
    AdaptiveCurve* curve = curveWith(f.plot, noisyData(2000));
    f.plot.replot();
    compareWithLibrary(f.plot, curve);

    f.plot.xAxis->setRange(20, 30);
    compareWithLibrary(f.plot, curve);

    for (auto it = curve->data()->begin(); it != curve->data()->end(); ++it)
        it->value = 100 - it->value * 0.5;
    compareWithLibrary(f.plot, curve);

    curve->addData(100, 10);
    compareWithLibrary(f.plot, curve);

    // One spike moved in place, where a sample of the data does not look: the
    // next drawing projects it anew.
    (curve->data()->begin() + 1001)->value += 40;
    f.plot.replot();
    compareWithLibrary(f.plot, curve);

    f.plot.resize(500, 300);
    f.plot.replot();
    compareWithLibrary(f.plot, curve);

    // The lines the view cuts are built again into the buffer of the last
    // ones, for fewer points and for far fewer.
    for (int points : {1500, 300}) {
        curve->data()->set(noisyData(points), true);
        f.plot.replot();
        compareWithLibrary(f.plot, curve);
    }
}

// The polyline the curve would draw, as label placement asks for it between
// drawings: it follows a change of the view, of the data and of points
// announced as changed in place.
void AdaptiveCurveTest::viewPolylineFollowsDataAndView()
{
    PlotFixture f;
    AdaptiveCurve* curve = curveWith(f.plot, noisyData(4000));
    f.plot.replot();
    comparePolylineWithPoints(f.plot, curve);

    f.plot.xAxis->setRange(20, 30);
    comparePolylineWithPoints(f.plot, curve);

    for (auto it = curve->data()->begin(); it != curve->data()->end(); ++it)
        it->value = 100 - it->value * 0.5;
    comparePolylineWithPoints(f.plot, curve);

    (curve->data()->begin() + 1001)->value += 40;
    curve->markDataChanged();
    comparePolylineWithPoints(f.plot, curve);

    (curve->data()->begin() + 1002)->value -= 40;
    f.plot.replot();
    comparePolylineWithPoints(f.plot, curve);

    f.plot.resize(500, 300);
    f.plot.replot();
    comparePolylineWithPoints(f.plot, curve);

    curve->setLineStyle(QCPCurve::lsNone);
    QVERIFY(curve->viewPolyline().isEmpty());
}

void AdaptiveCurveTest::shortPolylinesAndThinningOff()
{
    PlotWidget plot;
    auto* curve = new AdaptiveCurve(plot.xAxis, plot.yAxis);
    const QVector<QPointF> two{{0, 0}, {0.2, 0.2}};
    QCOMPARE(curve->thinPoints(two), two);
    QCOMPARE(curve->thinPoints({{5, 5}}), QVector<QPointF>({{5, 5}}));
    const QVector<QPointF> three{{0, 0}, {0.2, 0.2}, {0.4, 0.4}};
    QCOMPARE(curve->thinPoints(three), QVector<QPointF>({{0, 0}}));
    curve->adaptive = false;
    QCOMPARE(curve->thinPoints(three), three);
    QCOMPARE(curve->dataCount(), 0);
}

// An axis removed from its axis rect is deleted; the curve on it stays in the
// plot and is skipped when drawing and hit-testing, as the library skips it.
void AdaptiveCurveTest::curveThatLostAnAxisDrawsNothing()
{
    PlotFixture f;
    f.plot.yAxis2->setVisible(true);
    auto* curve = new AdaptiveCurve(f.plot.xAxis, f.plot.yAxis2);
    curve->data()->set(noisyData(500), true);
    f.plot.replot();
    QVERIFY(f.plot.axisRect()->removeAxis(f.plot.yAxis2));
    f.plot.replot();
    QCOMPARE(curve->selectTest(QPointF(f.pixel(50, 50)), false), -1.0);
}

void AdaptiveCurveTest::drawsTheLibrarysPicture_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::newRow("dense noisy trace") << Setup([](PlotWidget& plot, AdaptiveCurve*& curve) {
        curve = curveWith(plot, noisyData(200000));
    });
    QTest::newRow("zoomed in, leaving the view") << Setup([](PlotWidget& plot, AdaptiveCurve*& curve) {
        curve = curveWith(plot, noisyData(20000, 50, 60));
        plot.xAxis->setRange(40, 48);
        plot.yAxis->setRange(45, 70);
    });
    QTest::newRow("gaps") << Setup([](PlotWidget& plot, AdaptiveCurve*& curve) {
        QVector<QCPCurveData> data = noisyData(2000, 50, 5);
        for (int i = 500; i < 900; ++i)
            data[i].value = kNaN;
        curve = curveWith(plot, data);
    });
    QTest::newRow("with a selected stretch") << Setup([](PlotWidget& plot, AdaptiveCurve*& curve) {
        curve = curveWith(plot, noisyData(20000));
        curve->setSelectable(QCP::stDataRange);
        curve->setSelection(QCPDataSelection(QCPDataRange(5000, 9000)));
    });
    // About 2.7 pixels from point to point: the segments from the last point
    // left of the view and to the first point right of it enter the view.
    QTest::newRow("long trace zoomed in, 1200 x 700") << Setup([](PlotWidget& plot, AdaptiveCurve*& curve) {
        plot.resize(1200, 700);
        curve = curveWith(plot, noisyTrace(1000000, 500, 20));
        plot.xAxis->setRange(49.9, 50.1);
        plot.yAxis->setRange(30, 70);
    });
    // Views where segments cut short on a pixel border put pixels into the
    // edge columns and rows that the whole line does not reach.
    QTest::newRow("long trace zoomed in, left edge") << Setup([](PlotWidget& plot, AdaptiveCurve*& curve) {
        plot.resize(1200, 700);
        curve = curveWith(plot, noisyTrace(1000000, 500, 20));
        plot.xAxis->setRange(49.917125, 50.117125);
        plot.yAxis->setRange(30, 70);
    });
    QTest::newRow("long trace on a vertical key axis, top and bottom edges")
        << Setup([](PlotWidget& plot, AdaptiveCurve*& curve) {
               plot.resize(1200, 700);
               curve = new AdaptiveCurve(plot.yAxis, plot.xAxis);
               curve->data()->set(noisyTrace(1000000, 500, 20), true);
               plot.yAxis->setRange(49.923153, 49.923153 + 0.2 * 700 / 1200);
               plot.xAxis->setRange(30, 70);
           });
    QTest::newRow("dense, cut on all four edges") << Setup([](PlotWidget& plot, AdaptiveCurve*& curve) {
        curve = curveWith(plot, noisyTrace(100000, 100, 60));
        plot.xAxis->setRange(30.05, 69.95);
        plot.yAxis->setRange(35, 65);
    });
    QTest::newRow("sparse, cut on all four edges") << Setup([](PlotWidget& plot, AdaptiveCurve*& curve) {
        QVector<QCPCurveData> data;
        for (int i = 0; i < 60; ++i)
            data.append(QCPCurveData(i, i * 1.7, (i % 2) * 100 + (i % 3) * 3));
        curve = curveWith(plot, data);
        plot.xAxis->setRange(10.3, 89.2);
        plot.yAxis->setRange(20, 80);
    });
    QTest::newRow("zoomed out") << Setup([](PlotWidget& plot, AdaptiveCurve*& curve) {
        curve = curveWith(plot, noisyTrace(100000, 100, 30));
        plot.xAxis->setRange(-150, 250);
        plot.yAxis->setRange(-100, 200);
    });
    QTest::newRow("gaps across the edges") << Setup([](PlotWidget& plot, AdaptiveCurve*& curve) {
        QVector<QCPCurveData> data = noisyTrace(100000, 100, 60);
        for (int i = 29000; i < 31000; ++i)
            data[i].value = kNaN;
        for (int i = 69500; i < 70500; ++i)
            data[i].value = kNaN;
        for (int i = 40000; i < 60000; i += 997)
            data[i].value = kNaN;
        data[50000].key = kNaN;
        curve = curveWith(plot, data);
        plot.xAxis->setRange(30, 70);
        plot.yAxis->setRange(35, 65);
    });
    QTest::newRow("unsorted: a contour crossing every edge") << Setup([](PlotWidget& plot, AdaptiveCurve*& curve) {
        QVector<QCPCurveData> data;
        for (int i = 0; i < 40000; ++i) {
            const double angle = i * 2 * M_PI / 40000;
            data.append(QCPCurveData(i, 50 + 70 * std::cos(angle), 50 + 60 * std::sin(angle)));
        }
        curve = curveWith(plot, data);
    });
    QTest::newRow("keys falling back now and then") << Setup([](PlotWidget& plot, AdaptiveCurve*& curve) {
        QVector<QCPCurveData> data = noisyTrace(100000, 100, 30);
        for (int i = 0; i < data.size(); ++i)
            data[i].key -= (i / 5000) * 3.0;
        curve = curveWith(plot, data);
        plot.xAxis->setRange(10, 60);
    });
    QTest::newRow("reversed ranges, zoomed in") << Setup([](PlotWidget& plot, AdaptiveCurve*& curve) {
        curve = curveWith(plot, noisyTrace(100000, 100, 60));
        plot.xAxis->setRange(30.05, 69.95);
        plot.yAxis->setRange(35, 65);
        plot.xAxis->setRangeReversed(true);
        plot.yAxis->setRangeReversed(true);
    });
    QTest::newRow("vertical key axis") << Setup([](PlotWidget& plot, AdaptiveCurve*& curve) {
        curve = new AdaptiveCurve(plot.yAxis, plot.xAxis);
        curve->data()->set(noisyTrace(100000, 100, 60), true);
        plot.yAxis->setRange(30.05, 69.95);
        plot.xAxis->setRange(35, 65);
    });
    QTest::newRow("logarithmic key axis") << Setup([](PlotWidget& plot, AdaptiveCurve*& curve) {
        curve = curveWith(plot, noisyTrace(50000, 100, 30));
        plot.xAxis->setScaleType(QCPAxis::stLogarithmic);
        plot.xAxis->setRange(1, 100);
    });
    QTest::newRow("points appended after a drawing, falling back")
        << Setup([](PlotWidget& plot, AdaptiveCurve*& curve) {
               curve = curveWith(plot, noisyTrace(50000, 50, 30));
               plot.replot();
               QVector<double> keys, values;
               for (const QCPCurveData& point : noisyTrace(50000, 50, 60)) {
                   keys.append(point.key + 40);
                   values.append(point.value);
               }
               curve->addData(keys, values);
           });
    QTest::newRow("data replaced after a drawing") << Setup([](PlotWidget& plot, AdaptiveCurve*& curve) {
        curve = curveWith(plot, noisyTrace(50000, 100, 10));
        plot.replot();
        curve->data()->set(noisyTrace(50000, 100, 60), true);
    });
}

// The drawn polyline covers the pixels of the library's full one to within a
// pixel either way.
void AdaptiveCurveTest::drawsTheLibrarysPicture()
{
    QFETCH(Setup, setup);
    PlotFixture f;
    showCurveAlone(f.plot);
    AdaptiveCurve* curve = nullptr;
    setup(f.plot, curve);
    curve->setPen(QPen(Qt::black, 0));
    if (curve->selectionDecorator())
        curve->selectionDecorator()->setPen(QPen(Qt::red, 0));
    const Pictures pictures = thinnedAndLibraryPictures(f.plot, curve);

    const QString difference = differenceBeyondAPixel(pictures.thinned, pictures.library);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    QVERIFY(inkedPixels(pictures.library) > 100);
}

void AdaptiveCurveTest::edgesDrawnAsTheLibraryDrawsThem_data()
{
    QTest::addColumn<QCPRange>("keys");
    QTest::addColumn<QCPRange>("values");
    QTest::addColumn<bool>("keyAxisVertical");
    const QCPRange values(30, 70);
    QTest::newRow("left edge, the data ending in view") << QCPRange(49.9, 50.1) << values << false;
    QTest::newRow("left edge, another fraction of a pixel") << QCPRange(49.9008533, 50.1008533) << values << false;
    QTest::newRow("right edge, the data starting in view") << QCPRange(-0.1, 0.1) << values << false;
    QTest::newRow("left edge in a gap") << QCPRange(25.0003, 25.2003) << values << false;
    QTest::newRow("right edge in a gap") << QCPRange(24.8, 25.0001) << values << false;
    QTest::newRow("both edges") << QCPRange(30.017125, 30.217125) << values << false;
    QTest::newRow("all four edges") << QCPRange(40.05, 40.25) << QCPRange(45, 55) << false;
    QTest::newRow("all four edges, vertical key axis") << QCPRange(40.05, 40.1667) << QCPRange(45, 55) << true;
}

// Zoomed in on a long trace, a few pixels from point to point, the thinned
// line is the library's to the pixel: the segments the edges cut as well.
void AdaptiveCurveTest::edgesDrawnAsTheLibraryDrawsThem()
{
    QFETCH(QCPRange, keys);
    QFETCH(QCPRange, values);
    QFETCH(bool, keyAxisVertical);
    // Keys 0..500, the data ending at 50 (no values after it), a short gap at 25.
    static const QVector<QCPCurveData> data = [] {
        QVector<QCPCurveData> trace = noisyTrace(1000000, 500, 20);
        for (QCPCurveData& point : trace) {
            if (point.key > 50 || (point.key > 24.9995 && point.key < 25.0005))
                point.value = kNaN;
        }
        return trace;
    }();
    PlotFixture f;
    f.plot.resize(1200, 700);
    showCurveAlone(f.plot);
    QCPAxis* keyAxis = keyAxisVertical ? f.plot.yAxis : f.plot.xAxis;
    QCPAxis* valueAxis = keyAxisVertical ? f.plot.xAxis : f.plot.yAxis;
    auto* curve = new AdaptiveCurve(keyAxis, valueAxis);
    curve->data()->set(data, true);
    curve->setPen(QPen(Qt::black, 0));
    keyAxis->setRange(keys);
    valueAxis->setRange(values);
    const Pictures pictures = thinnedAndLibraryPictures(f.plot, curve);
    QStringList differing;
    for (int y = 0; y < pictures.library.height(); ++y) {
        for (int x = 0; x < pictures.library.width(); ++x) {
            if (pictures.thinned.pixel(x, y) != pictures.library.pixel(x, y))
                differing.append(QStringLiteral("(%1, %2)").arg(x).arg(y));
        }
    }
    QVERIFY2(differing.isEmpty(), qPrintable(QStringLiteral("%1 pixels differ: %2")
                                                 .arg(differing.size())
                                                 .arg(differing.mid(0, 20).join(' '))));
}

void AdaptiveCurveTest::denseTraceWithinAPixelOfTheLibrary_data()
{
    QTest::addColumn<QCPRange>("keys");
    QTest::addColumn<QCPRange>("values");
    const QCPRange values(-2.5, 2.5);
    QTest::newRow("left edge, the data ending in view") << QCPRange(49.9, 50.1) << values;
    QTest::newRow("left edge") << QCPRange(37.262768, 37.462768) << values;
    QTest::newRow("left edge, the data starting after a gap") << QCPRange(52.09344, 52.29344) << values;
    QTest::newRow("right edge") << QCPRange(47.355235, 47.555235) << values;
    QTest::newRow("all four edges") << QCPRange(49.77, 49.97) << QCPRange(-0.8, 0.9);
}

// About 1.7 points per pixel column and noise far taller than a pixel: each
// column of the thinned line, the first and the last inside the axis rect
// included, is the library's to within a pixel. A point the one-pixel step
// left out took a column's end with it, and where the neighbouring column
// lies beyond the axis rect nothing drawn there stood in for it.
void AdaptiveCurveTest::denseTraceWithinAPixelOfTheLibrary()
{
    QFETCH(QCPRange, keys);
    QFETCH(QCPRange, values);
    // A wave under noise, keys 0..100 a step of 1e-4 apart, no values at 50..52.
    static const QVector<QCPCurveData> data = [] {
        std::mt19937 generator(1);
        std::normal_distribution<double> noise(0, 0.4);
        QVector<QCPCurveData> trace;
        trace.reserve(1000000);
        for (int i = 0; i < 1000000; ++i) {
            const double key = i * 1e-4;
            const bool missing = i >= 500000 && i < 520000;
            trace.append(QCPCurveData(i, key, missing ? kNaN : std::sin(0.7 * key) + noise(generator)));
        }
        return trace;
    }();
    PlotFixture f;
    f.plot.resize(1200, 700);
    showCurveAlone(f.plot);
    AdaptiveCurve* curve = curveWith(f.plot, data);
    curve->setPen(QPen(Qt::black, 1));
    f.plot.xAxis->setRange(keys);
    f.plot.yAxis->setRange(values);
    const Pictures pictures = thinnedAndLibraryPictures(f.plot, curve);
    const QString difference = differenceBeyondAPixel(pictures.thinned, pictures.library);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    QVERIFY(inkedPixels(pictures.library) > 1000);
}

// Live recordings append to a drawn curve: the picture is the one of the
// whole data set at once, to the pixel.
void AdaptiveCurveTest::appendingInBatchesDrawsWhatOneSetDraws()
{
    PlotFixture f;
    QVector<QCPCurveData> data = noisyTrace(60000, 100, 40);
    for (int i = 20000; i < 20300; ++i)
        data[i].value = kNaN;
    for (int i = 45000; i < data.size(); ++i)
        data[i].key -= 7;
    AdaptiveCurve* whole = curveWith(f.plot, data);
    auto* growing = new AdaptiveCurve(f.plot.xAxis, f.plot.yAxis);
    whole->setVisible(false);
    f.plot.xAxis->setRange(10, 95);
    const int batches[] = {1, 7, 500, 1, 31, 4000, 12345};
    int count = 0;
    for (int batch = 0; count < data.size(); batch = (batch + 1) % 7) {
        const int size = qMin(batches[batch], data.size() - count);
        growing->data()->add(data.mid(count, size), true);
        count += size;
        f.plot.replot();
    }
    const QImage grown = f.plot.toPixmap().toImage();
    growing->setVisible(false);
    whole->setVisible(true);
    QCOMPARE(f.plot.toPixmap().toImage(), grown);
}

void AdaptiveCurveTest::antialiasedDenseTraceIsAsDarkAsTheWholeLine_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("200000 points") << 200000;
    QTest::newRow("20000 points") << 20000;
}

// The many lines of a dense trace fill its pixel columns; drawn a few lines per
// column, off the middle of the device's pixels, the band came out a pale comb.
void AdaptiveCurveTest::antialiasedDenseTraceIsAsDarkAsTheWholeLine()
{
    QFETCH(int, count);
    PlotFixture f;
    f.plot.xAxis->setVisible(false);
    f.plot.yAxis->setVisible(false);
    AdaptiveCurve* curve = curveWith(f.plot, noisyData(count));
    curve->setPen(QPen(Qt::black, 0));
    auto ink = [&] {
        const QImage image = f.plot.toPixmap().toImage();
        double sum = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                sum += 255 - qGray(image.pixel(x, y));
        return sum;
    };
    const double drawn = ink();
    curve->adaptive = false;
    const double whole = ink();
    QVERIFY2(drawn >= 0.9 * whole && drawn <= 1.05 * whole, qPrintable(QString::number(drawn / whole)));
}

KALVORA_TEST_MAIN(AdaptiveCurveTest)
#include "AdaptiveCurveTest.moc"
