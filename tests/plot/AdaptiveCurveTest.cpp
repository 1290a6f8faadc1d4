#include "PlotFixture.h"

#include "plot/AdaptiveCurve.h"

#include "TestMain.h"

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
    void shortPolylinesAndThinningOff();
    void curveThatLostAnAxisDrawsNothing();
    void drawsTheLibrarysPicture_data();
    void drawsTheLibrarysPicture();
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

} // namespace

Q_DECLARE_METATYPE(Setup)

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
}

// The thinned, clipped polyline covers the pixels of the library's full one to
// within a pixel of rasterisation either way.
void AdaptiveCurveTest::drawsTheLibrarysPicture()
{
    QFETCH(Setup, setup);
    PlotFixture f;
    f.plot.setNotAntialiasedElements(QCP::aeAll);
    AdaptiveCurve* curve = nullptr;
    setup(f.plot, curve);
    curve->setPen(QPen(Qt::black, 0));
    if (curve->selectionDecorator())
        curve->selectionDecorator()->setPen(QPen(Qt::red, 0));
    f.plot.xAxis->setVisible(false);
    f.plot.yAxis->setVisible(false);
    const QImage thinned = f.plot.toPixmap().toImage();
    curve->adaptive = false;
    const QImage full = f.plot.toPixmap().toImage();

    auto covers = [](const QImage& image, const QImage& other, int x, int y) {
        const QRgb wanted = other.pixel(x, y);
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx) {
                const QPoint p(x + dx, y + dy);
                if (image.rect().contains(p) && image.pixel(p) == wanted)
                    return true;
            }
        return false;
    };
    int drawn = 0;
    for (int y = 0; y < full.height(); ++y) {
        for (int x = 0; x < full.width(); ++x) {
            if (full.pixel(x, y) != qRgb(255, 255, 255)) {
                ++drawn;
                QVERIFY2(covers(thinned, full, x, y), qPrintable(QStringLiteral("missing at %1, %2").arg(x).arg(y)));
            }
            if (thinned.pixel(x, y) != qRgb(255, 255, 255))
                QVERIFY2(covers(full, thinned, x, y), qPrintable(QStringLiteral("extra at %1, %2").arg(x).arg(y)));
        }
    }
    QVERIFY(drawn > 100);
}

KALVORA_TEST_MAIN(AdaptiveCurveTest)
#include "AdaptiveCurveTest.moc"
