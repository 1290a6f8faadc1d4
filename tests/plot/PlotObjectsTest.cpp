#include "PlotFixture.h"

#include <functional>

#include "plot/PlotAxisTicker.h"
#include "plot/QCPItemArc.h"
#include "plot/XAxisMarker.h"

#include "DebugCapture.h"
#include "DrawingConstants.h"
#include "TestMain.h"

// The plot layer's own plot objects: the axis marker, the arc item and the
// tick-label suffix.
class PlotObjectsTest : public QObject
{
    Q_OBJECT
private slots:
    void markerItemsLook();
    void markerMovesHiddenAndShowsAtLastPosition();
    void markerLifetime();
    void arcDrawing_data();
    void arcDrawing();
    void arcHitTestIsTheEllipses_data();
    void arcHitTestIsTheEllipses();
    void tickLabelSuffix();
    void tickLabelsStandClear_data();
    void tickLabelsStandClear();
};

namespace {

// The first pair of neighbouring tick labels of the axis that overlap as
// drawn, as "a|b"; empty when none do. Ticks left without a label count
// for nothing.
QString overlappingLabels(const QCPAxis* axis)
{
    const QVector<double> ticks = axis->tickVector();
    const QVector<QString> labels = axis->tickVectorLabels();
    const QFontMetricsF metrics(axis->tickLabelFont());
    const bool horizontal = axis->orientation() == Qt::Horizontal;
    const auto extent = [&](int i) { return horizontal ? metrics.horizontalAdvance(labels[i]) : metrics.height(); };
    int last = -1;
    for (int i = 0; i < ticks.size(); ++i) {
        if (labels[i].isEmpty())
            continue;
        if (last >= 0) {
            const double apart = std::abs(axis->coordToPixel(ticks[i]) - axis->coordToPixel(ticks[last]));
            if (apart < (extent(last) + extent(i)) / 2)
                return labels[last] + QLatin1Char('|') + labels[i];
        }
        last = i;
    }
    return QString();
}

int labelCount(const QCPAxis* axis)
{
    int count = 0;
    for (const QString& label : axis->tickVectorLabels())
        count += label.isEmpty() ? 0 : 1;
    return count;
}

} // namespace

void PlotObjectsTest::markerItemsLook()
{
    PlotWidget plot;
    XAxisMarker marker(plot.yAxis);
    QCOMPARE(plot.itemCount(), 2);
    QCOMPARE(marker.parent(), plot.yAxis);
    QCOMPARE(marker.line()->pen(), kMagentaDashPen);
    QCOMPARE(marker.line()->layer()->name(), QString("main"));
    QVERIFY(!marker.line()->visible());
    QCPItemText* label = marker.label();
    QCOMPARE(label->layer()->name(), QString("overlay"));
    QVERIFY(!label->visible());
    QVERIFY(!label->clipToAxisRect());
    QCOMPARE(label->padding(), QMargins(3, -1, 3, -1));
    QCOMPARE(int(label->positionAlignment()), 0x44);
    QCOMPARE(label->font(), kMonospaceFont);
    QVERIFY(!label->selectable());
    QCOMPARE(label->position->typeX(), QCPItemPosition::ptPlotCoords);
    QCOMPARE(label->position->typeY(), QCPItemPosition::ptAxisRectRatio);
    QCOMPARE(label->position->keyAxis(), plot.xAxis);
    QCOMPARE(marker.line()->point1->keyAxis(), plot.xAxis);
    QCOMPARE(marker.x(), 0.0);
    QCOMPARE(marker.value(), 0.0);
}

void PlotObjectsTest::markerMovesHiddenAndShowsAtLastPosition()
{
    PlotWidget plot;
    XAxisMarker marker(plot.xAxis);
    marker.setPosition(12.5, 3.25);
    marker.setPosition(40, 7);
    QVERIFY(!marker.line()->visible());
    marker.setVisible(true);
    QVERIFY(marker.line()->visible());
    QVERIFY(marker.label()->visible());
    QCOMPARE(marker.line()->point1->coords(), QPointF(40, 0));
    QCOMPARE(marker.line()->point2->coords(), QPointF(40, 1));
    QCOMPARE(marker.label()->position->coords(), QPointF(40, 0));
    QCOMPARE(marker.x(), 40.0);
    QCOMPARE(marker.value(), 7.0);
    marker.setVisible(false);
    QVERIFY(!marker.label()->visible());
}

void PlotObjectsTest::markerLifetime()
{
    PlotWidget plot;
    delete new XAxisMarker(plot.yAxis);
    QCOMPARE(plot.itemCount(), 0);

    // Items cleared by the plot first, then the marker deleted or moved.
    auto* marker = new XAxisMarker(plot.yAxis);
    plot.clearItems();
    marker->setPosition(1, 1);
    marker->setVisible(true);
    delete marker;

    // The plot and its axes go first: the marker dies with its axis.
    auto* doomed = new PlotWidget;
    QPointer<XAxisMarker> orphan = new XAxisMarker(doomed->yAxis);
    delete doomed;
    QVERIFY(orphan.isNull());
}

using ArcSetup = std::function<void(QCPItemArc*)>;
Q_DECLARE_METATYPE(ArcSetup)

void PlotObjectsTest::arcDrawing_data()
{
    QTest::addColumn<ArcSetup>("setup");
    QTest::addColumn<bool>("top");
    QTest::addColumn<bool>("bottom");
    QTest::addColumn<bool>("left");
    QTest::addColumn<bool>("right");
    QTest::newRow("full ellipse at construction") << ArcSetup([](QCPItemArc*) {}) << true << true << true << true;
    QTest::newRow("upper half") << ArcSetup([](QCPItemArc* arc) { arc->spanAngle = 180 * 16; }) << true << false
                                << true << true;
    QTest::newRow("quarter clockwise from three o'clock")
        << ArcSetup([](QCPItemArc* arc) { arc->spanAngle = -90 * 16; }) << false << true << false << true;
    QTest::newRow("from nine o'clock, a quarter")
        << ArcSetup([](QCPItemArc* arc) {
               arc->startAngle = 180 * 16;
               arc->spanAngle = 90 * 16;
           })
        << false << true << true << false;
    QTest::newRow("span 0") << ArcSetup([](QCPItemArc* arc) { arc->spanAngle = 0; }) << false << false << false
                            << false;
    QTest::newRow("both corners on one pixel")
        << ArcSetup([](QCPItemArc* arc) { arc->bottomRight->setCoords(0.001, 0.999); }) << false << false << false
        << false;
}

// The ellipse inscribed in (0, 1)-(1, 0), probed just inside its four extremes.
void PlotObjectsTest::arcDrawing()
{
    QFETCH(ArcSetup, setup);
    QFETCH(bool, top);
    QFETCH(bool, bottom);
    QFETCH(bool, left);
    QFETCH(bool, right);
    PlotFixture f;
    f.plot.xAxis->setRange(-0.5, 1.5);
    f.plot.yAxis->setRange(-0.5, 1.5);
    f.plot.setNotAntialiasedElements(QCP::aeAll);
    auto* arc = new QCPItemArc(&f.plot);
    QCOMPARE(arc->pen(), QPen(Qt::black));
    QCOMPARE(arc->selectedPen(), QPen(QBrush(Qt::blue), 2));
    QCOMPARE(arc->topLeft->coords(), QPointF(0, 1));
    setup(arc);
    DebugCapture capture;
    const QImage image = f.plot.toPixmap().toImage();
    QCOMPARE(capture.messages(), QStringList());
    auto drawnNear = [&](double x, double y) {
        const QPoint centre = f.pixel(x, y);
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (image.pixel(centre + QPoint(dx, dy)) == qRgb(0, 0, 0))
                    return true;
        return false;
    };
    QCOMPARE(drawnNear(0.5, 1), top);
    QCOMPARE(drawnNear(0.5, 0), bottom);
    QCOMPARE(drawnNear(0, 0.5), left);
    QCOMPARE(drawnNear(1, 0.5), right);
}

void PlotObjectsTest::arcHitTestIsTheEllipses_data()
{
    QTest::addColumn<QBrush>("brush");
    QTest::addColumn<bool>("selectable");
    QTest::newRow("no brush") << QBrush() << true;
    QTest::newRow("filled") << QBrush(Qt::yellow) << true;
    QTest::newRow("transparent fill") << QBrush(QColor(0, 0, 0, 0)) << true;
    QTest::newRow("not selectable") << QBrush() << false;
}

// The angles take no part: a click on the part the arc leaves out hits as well.
void PlotObjectsTest::arcHitTestIsTheEllipses()
{
    QFETCH(QBrush, brush);
    QFETCH(bool, selectable);
    PlotFixture f;
    auto* arc = new QCPItemArc(&f.plot);
    auto* ellipse = new QCPItemEllipse(&f.plot);
    for (auto* position : {arc->topLeft, ellipse->topLeft})
        position->setCoords(20, 80);
    for (auto* position : {arc->bottomRight, ellipse->bottomRight})
        position->setCoords(70, 30);
    arc->startAngle = 0;
    arc->spanAngle = 45 * 16;
    arc->setBrush(brush);
    ellipse->setBrush(brush);
    arc->setSelectable(selectable);
    ellipse->setSelectable(selectable);
    f.plot.replot();
    for (int y = 0; y < f.plot.height(); y += 17) {
        for (int x = 0; x < f.plot.width(); x += 13) {
            const QPointF pos(x + 0.5, y);
            QCOMPARE(arc->selectTest(pos, true), ellipse->selectTest(pos, true));
            QCOMPARE(arc->selectTest(pos, false), ellipse->selectTest(pos, false));
        }
    }
}

void PlotObjectsTest::tickLabelSuffix()
{
    PlotFixture f;
    QCustomPlot library;
    library.resize(f.plot.size());
    library.yAxis->setRange(0, 100);
    for (QCustomPlot* plot : {static_cast<QCustomPlot*>(&f.plot), &library}) {
        plot->xAxis->setRange(0, 2);
        plot->xAxis->setNumberFormat("f");
        plot->xAxis->setNumberPrecision(3);
        plot->xAxis->setLabel("Длина");
        plot->replot();
    }
    QCOMPARE(f.plot.xAxis->tickVectorLabels(), library.xAxis->tickVectorLabels());

    PlotAxisTicker::of(f.plot.xAxis)->setTickLabelSuffix(QStringLiteral(" мм"));
    f.plot.replot();
    QStringList expected;
    for (double tick : {0.0, 0.5, 1.0, 1.5, 2.0})
        expected << f.plot.locale().toString(tick, 'f', 3) + QStringLiteral(" мм");
    QCOMPARE(f.plot.xAxis->tickVectorLabels().toList(), expected);
    QCOMPARE(f.plot.xAxis->tickVector(), library.xAxis->tickVector());
    QCOMPARE(f.plot.xAxis->label(), QString("Длина"));
    QCOMPARE(f.plot.yAxis->tickVectorLabels(), library.yAxis->tickVectorLabels());

    PlotAxisTicker::of(f.plot.xAxis)->setTickLabelSuffix(QStringLiteral("%"));
    f.plot.replot();
    QCOMPARE(f.plot.xAxis->tickVectorLabels().first(), f.plot.locale().toString(0.0, 'f', 3) + "%");

    f.plot.xAxis->setTicker(QSharedPointer<QCPAxisTickerFixed>::create());
    QVERIFY(!PlotAxisTicker::of(f.plot.xAxis));
}

void PlotObjectsTest::tickLabelsStandClear_data()
{
    QTest::addColumn<double>("lower");
    QTest::addColumn<double>("upper");
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("precision");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("a side plot's percentages") << 0.0 << 14.7 << "gb" << 6 << "%";
    QTest::newRow("millimetres, three decimals") << -0.5 << 12.3 << "f" << 3 << " мм";
    QTest::newRow("nanometres, three decimals") << -12345.0 << 67890.0 << "f" << 3 << " нм";
}

// From the narrowest plot a window leaves to a wide one, no tick label runs
// into its neighbour on either axis; where there is room, the ticks are the
// library's own.
void PlotObjectsTest::tickLabelsStandClear()
{
    QFETCH(double, lower);
    QFETCH(double, upper);
    QFETCH(QString, format);
    QFETCH(int, precision);
    QFETCH(QString, suffix);
    PlotWidget plot;
    QCustomPlot library;
    for (QCustomPlot* p : {static_cast<QCustomPlot*>(&plot), &library}) {
        for (QCPAxis* axis : {p->xAxis, p->yAxis}) {
            axis->setRange(lower, upper);
            axis->setNumberFormat(format);
            axis->setNumberPrecision(precision);
        }
    }
    for (QCPAxis* axis : {plot.xAxis, plot.yAxis})
        PlotAxisTicker::of(axis)->setTickLabelSuffix(suffix);
    plot.show();
    QVERIFY(QTest::qWaitForWindowExposed(&plot));

    for (const QSize& size : {QSize(200, 250), QSize(260, 300), QSize(330, 420), QSize(480, 160), QSize(900, 700)}) {
        plot.resize(size);
        plot.replot();
        QVERIFY(labelCount(plot.xAxis) >= 1);
        QVERIFY(labelCount(plot.yAxis) >= 2);
        for (const QCPAxis* axis : {plot.xAxis, plot.yAxis}) {
            const QString overlap = overlappingLabels(axis);
            QVERIFY2(overlap.isEmpty(), qPrintable(QStringLiteral("%1 x %2: %3")
                                                       .arg(size.width()).arg(size.height()).arg(overlap)));
        }
    }

    plot.resize(1800, 1200);
    plot.replot();
    library.resize(plot.size());
    library.setViewport(library.rect());
    library.replot();
    QCOMPARE(plot.xAxis->tickVector(), library.xAxis->tickVector());
    QCOMPARE(plot.yAxis->tickVector(), library.yAxis->tickVector());
}

KALVORA_TEST_MAIN(PlotObjectsTest)
#include "PlotObjectsTest.moc"
