#include "WorkspaceScene.h"

#include "FuzzyCompare.h"
#include "LogTexts.h"
#include "SettingsFixture.h"
#include "TestMain.h"

#include "plot/PlotSelectionRect.h"

#include <cmath>

namespace {

QPointF firstPoint(const QCPCurve* curve)
{
    const QCPCurveData& point = *curve->data()->constBegin();
    return QPointF(point.key, point.value);
}

// A line through (0, 0) and (10, 2): spans 0..10 and 0..2.
ProfileData line()
{
    return traceThrough({{0, 0}, {5, 1}, {10, 2}});
}

} // namespace

class ContourWorkspaceTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    // Micrometres: the plot shows the traces' own numbers.
    void init()
    {
        loadSettingsFile();
        setAxisUnit(1);
    }
    void displayUnit_data();
    void displayUnit();
    void unknownUnitKeepsThePreviousOne();
    void fit_data();
    void fit();
    void emptyTabKeepsItsAxes();
    void wheelInScaleX_data();
    void wheelInScaleX();
    void middleDragPans();
    void openingAFrameClosesTheOther();
    void openingAFrameEndsScaleMode();
    void modes_data();
    void modes();
    void closingWithSelectionAndMeasurements();
    void calibrationScreenShowsAnglesInDegrees();
};

void ContourWorkspaceTest::displayUnit_data()
{
    QTest::addColumn<int>("unit");
    QTest::addColumn<QPointF>("drawn");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("micrometres") << 1 << QPointF(1500, 20) << " мкм";
    QTest::newRow("millimetres") << 0 << QPointF(1.5, 0.02) << " мм";
    QTest::newRow("nanometres") << 2 << QPointF(1500000, 20000) << " нм";
}

// A trace point (1500, 20) µm drawn in the display unit, every tick label
// followed by the unit.
void ContourWorkspaceTest::displayUnit()
{
    QFETCH(int, unit);
    QFETCH(QPointF, drawn);
    QFETCH(QString, suffix);
    setAxisUnit(unit);
    WorkspaceScene scene({traceThrough({{1500, 20}, {3000, 40}})});

    const QPointF point = firstPoint(scene.plot()->curve(0));
    KALVORA_COMPARE_NEAR(point.x(), drawn.x(), 1e-9 * drawn.x());
    KALVORA_COMPARE_NEAR(point.y(), drawn.y(), 1e-9 * drawn.y());
    QCOMPARE(scene.widget->unitText(), suffix);
    for (QCPAxis* axis : {scene.plot()->xAxis, scene.plot()->yAxis}) {
        const QVector<QString> labels = axis->tickVectorLabels();
        QVERIFY(!labels.isEmpty());
        for (const QString& label : labels)
            QVERIFY2(label.endsWith(suffix), qPrintable(label));
    }
}

void ContourWorkspaceTest::unknownUnitKeepsThePreviousOne()
{
    setAxisUnit(1);
    WorkspaceScene scene({traceThrough({{1500, 20}, {3000, 40}})});
    scene.switchUnit(7);
    QCOMPARE(firstPoint(scene.plot()->curve(0)), QPointF(1500, 20));
    QCOMPARE(scene.widget->unitText(), QStringLiteral(" мкм"));
}

void ContourWorkspaceTest::fit_data()
{
    QTest::addColumn<ProfileData>("trace");
    QTest::addColumn<double>("valueLower");
    QTest::addColumn<double>("valueUpper");
    QTest::addColumn<double>("keyCentre");
    // Half of the wider margined span (10 × 1.1) about each centre.
    QTest::newRow("0..10 × 0..2") << line() << -4.5 << 6.5 << 5.0;
    QTest::newRow("heights all negative") << traceThrough({{0, -5}, {10, -1}}) << -8.5 << 2.5 << 5.0;
    // The taller span rules.
    QTest::newRow("0..2 × 0..10") << traceThrough({{0, 0}, {2, 10}}) << -0.5 << 10.5 << 1.0;
}

// Both axes are centred on the data; the bottom one is then stretched to
// the plot's shape, so that a unit is as long on both.
void ContourWorkspaceTest::fit()
{
    QFETCH(ProfileData, trace);
    QFETCH(double, valueLower);
    QFETCH(double, valueUpper);
    QFETCH(double, keyCentre);
    setAxisUnit(1);
    WorkspaceScene scene({trace});

    const QCPAxis* x = scene.plot()->xAxis;
    const QCPAxis* y = scene.plot()->yAxis;
    KALVORA_COMPARE_NEAR(y->range().lower, valueLower, 1e-9);
    KALVORA_COMPARE_NEAR(y->range().upper, valueUpper, 1e-9);
    KALVORA_COMPARE_NEAR(x->range().center(), keyCentre, 1e-9);
    // The ratio is taken before the replot lays out the new tick labels,
    // which may move the axis rect's edge by a pixel or two.
    const double xPixelsPerUnit = x->coordToPixel(1) - x->coordToPixel(0);
    const double yPixelsPerUnit = y->coordToPixel(0) - y->coordToPixel(1);
    KALVORA_COMPARE_NEAR(xPixelsPerUnit, yPixelsPerUnit, 0.01 * yPixelsPerUnit);
}

void ContourWorkspaceTest::emptyTabKeepsItsAxes()
{
    WorkspaceScene scene;
    scene.plot()->xAxis->setRange(3, 4);
    scene.plot()->yAxis->setRange(-1, 7);
    scene.clickAction(QStringLiteral("actionScale"));
    scene.clickButton(QStringLiteral("pushButtonResetScale"));
    QCOMPARE(scene.plot()->xAxis->range(), QCPRange(3, 4));
    QCOMPARE(scene.plot()->yAxis->range(), QCPRange(-1, 7));
}

void ContourWorkspaceTest::wheelInScaleX_data()
{
    QTest::addColumn<int>("delta");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<QString>("logLine");
    // Two traces: each curve scales the shared axis once.
    QTest::newRow("one notch forward") << 120 << 0.85 * 0.85 << "INFO: Zoom in scale on x-axis";
    QTest::newRow("half a notch") << 60 << 0.85 << "INFO: Zoom in scale on x-axis";
    QTest::newRow("one notch back") << -120 << 1 / (0.85 * 0.85) << "INFO: Zoom out scale on x-axis";
}

void ContourWorkspaceTest::wheelInScaleX()
{
    QFETCH(int, delta);
    QFETCH(double, ratio);
    QFETCH(QString, logLine);
    WorkspaceScene scene({line(), traceThrough({{2, 1}, {8, 1}})});
    scene.choose(QStringLiteral("actionScale"), QStringLiteral("pushButtonScaleX"));
    QVERIFY(logTexts().contains(QStringLiteral("INFO: PushButtonScaleX was clicked")));
    QCOMPARE(scene.plot()->cursor().shape(), Qt::SizeHorCursor);
    const QCPRange x = scene.plot()->xAxis->range();
    const QCPRange y = scene.plot()->yAxis->range();

    scene.wheel(delta);
    KALVORA_COMPARE_NEAR(scene.plot()->xAxis->range().size(), x.size() * ratio, 1e-9 * x.size());
    KALVORA_COMPARE_NEAR(scene.plot()->xAxis->range().center(), x.center(), 1e-9 * x.size());
    QCOMPARE(scene.plot()->yAxis->range(), y);
    QCOMPARE(logTexts().last(), logLine);
}

// The content follows the mouse; a kind chosen before does not start a
// measurement, nor does the plot draw a selection rectangle.
void ContourWorkspaceTest::middleDragPans()
{
    WorkspaceScene scene({line()});
    scene.choose(QStringLiteral("actionDistance"), QStringLiteral("pushButtonDirectDistance"));
    const QCPRange x = scene.plot()->xAxis->range();
    const QCPRange y = scene.plot()->yAxis->range();
    const QPoint from = scene.pixel(5, 1);
    const QPoint to = from + QPoint(40, -30);

    scene.move(from);
    scene.press(from, Qt::MiddleButton);
    QTest::mouseMove(scene.window(), scene.inWindow(from + QPoint(20, -15)));
    QTest::mouseMove(scene.window(), scene.inWindow(to));
    QVERIFY(!scene.plot()->selectionRect()->isActive());
    scene.release(to, Qt::MiddleButton);

    // Under the mouse lies the point that was grabbed.
    const double xPerPixel = x.size() / scene.plot()->width();
    const double yPerPixel = y.size() / scene.plot()->height();
    KALVORA_COMPARE_NEAR(scene.plot()->xAxis->range().lower, x.lower - 40 * xPerPixel, 1e-9 * x.size());
    KALVORA_COMPARE_NEAR(scene.plot()->yAxis->range().lower, y.lower - 30 * yPerPixel, 1e-9 * y.size());
    QCOMPARE(scene.plot()->xAxis->range().size(), x.size());
    QVERIFY(!scene.manager()->currentMeasurement());
    QVERIFY(scene.manager()->measurements().isEmpty());

    // A left press afterwards still reaches the plot.
    scene.clickAt(5, 1);
    QVERIFY(scene.manager()->currentMeasurement());
}

void ContourWorkspaceTest::openingAFrameClosesTheOther()
{
    WorkspaceScene scene({line()});
    scene.clickAction(QStringLiteral("actionDistance"));
    QVERIFY(scene.frame(QStringLiteral("frameDistance"))->isVisible());
    QCOMPARE(logTexts().last(), QStringLiteral("INFO: actionDistance open"));

    scene.clickAction(QStringLiteral("actionAngle"));
    const QStringList log = logTexts();
    QCOMPARE(log.mid(log.size() - 2),
             QStringList({QStringLiteral("INFO: actionDistance close"), QStringLiteral("INFO: actionAngle open")}));
    QVERIFY(!scene.frame(QStringLiteral("frameDistance"))->isVisible());
    QVERIFY(scene.frame(QStringLiteral("frameAngle"))->isVisible());
    QVERIFY(!scene.action(QStringLiteral("actionDistance"))->isChecked());

    scene.clickAction(QStringLiteral("actionAngle"));
    QCOMPARE(logTexts().last(), QStringLiteral("INFO: actionAngle close"));
    for (QFrame* frame : scene.widget->findChildren<QFrame*>(QRegularExpression(QStringLiteral("^frame"))))
        QVERIFY2(!frame->isVisible(), qPrintable(frame->objectName()));
}

void ContourWorkspaceTest::openingAFrameEndsScaleMode()
{
    WorkspaceScene scene({line()});
    scene.choose(QStringLiteral("actionScale"), QStringLiteral("pushButtonScaleX"));
    QVERIFY(!scene.frame(QStringLiteral("frameScale"))->isVisible());
    QVERIFY(!scene.button(QStringLiteral("pushButtonScaleX"))->isCheckable());

    scene.clickAction(QStringLiteral("actionDistance"));
    QVERIFY(!scene.plot()->testAttribute(Qt::WA_SetCursor));
    QVERIFY(scene.button(QStringLiteral("pushButtonScaleX"))->isCheckable());
    const QCPRange x = scene.plot()->xAxis->range();
    scene.wheel(120);
    QCOMPARE(scene.plot()->xAxis->range(), x);
}

void ContourWorkspaceTest::modes_data()
{
    QTest::addColumn<QString>("buttonName");
    QTest::addColumn<int>("interactions");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("logLine");
    QTest::newRow("y scale") << "pushButtonScaleY" << int(QCP::iRangeDrag) << int(Qt::SizeVerCursor)
                             << "INFO: PushButtonScaleY was clicked";
    QTest::newRow("pan") << "pushButtonPAN" << int(QCP::iRangeDrag | QCP::iRangeZoom) << int(Qt::OpenHandCursor)
                         << "INFO: PushButtonPAN was clicked";
}

// A mode button: its icon on the scale action, the frame closed; opening the
// frame again ends the mode and re-arms the button.
void ContourWorkspaceTest::modes()
{
    QFETCH(QString, buttonName);
    QFETCH(int, interactions);
    QFETCH(int, cursor);
    QFETCH(QString, logLine);
    WorkspaceScene scene({line()});
    scene.choose(QStringLiteral("actionScale"), buttonName);

    QCOMPARE(logTexts().contains(logLine), true);
    QCOMPARE(int(scene.plot()->interactions()), interactions);
    QCOMPARE(int(scene.plot()->cursor().shape()), cursor);
    QCOMPARE(scene.action(QStringLiteral("actionScale"))->icon().cacheKey(),
             scene.button(buttonName)->icon().cacheKey());
    QVERIFY(!scene.action(QStringLiteral("actionScale"))->isChecked());

    const QCPRange x = scene.plot()->xAxis->range();
    const QCPRange y = scene.plot()->yAxis->range();
    scene.wheel(120);
    if (buttonName == QLatin1String("pushButtonScaleY")) {
        QCOMPARE(scene.plot()->xAxis->range(), x);
        KALVORA_COMPARE_NEAR(scene.plot()->yAxis->range().size(), y.size() * 0.85, 1e-9 * y.size());
    } else {
        QCOMPARE(logTexts().last(), QStringLiteral("INFO: Zoom in scale"));
        QVERIFY(scene.plot()->xAxis->range().size() < x.size());
    }

    scene.clickAction(QStringLiteral("actionScale"));
    QVERIFY(!scene.plot()->testAttribute(Qt::WA_SetCursor));
    QVERIFY(scene.button(buttonName)->isCheckable());
}

// The tree's signals are cut before the window's parts go.
void ContourWorkspaceTest::closingWithSelectionAndMeasurements()
{
    auto scene = std::make_unique<WorkspaceScene>(
        QVector<ProfileData>{traceThrough({{10, 20}, {20, 30}, {40, 60}, {70, 60}})});
    Measurement* m = scene->placeDistance(QStringLiteral("pushButtonHorisontalDistance"), {10, 20}, {40, 60}, {55, 40});
    QVERIFY(m && m->isFinished());
    QCOMPARE(scene->tree()->collectItems().size(), size_t(1));
    QTreeWidgetItem* row = scene->tree()->collectItems().front().items.front().item;
    scene->tree()->setCurrentItem(row);
    QVERIFY(row->isSelected());
    scene.reset();
    QCOMPARE(logTexts().contains(QStringLiteral("INFO: Delete measurment #")), true);
}

// Only while the screen is open, and without saving; closing it restores
// the setting and saves it.
void ContourWorkspaceTest::calibrationScreenShowsAnglesInDegrees()
{
    changeSettings([](AppSettings& settings) { settings.view.angles_in_deg = false; });
    auto scene = std::make_unique<WorkspaceScene>(QVector<ProfileData>{line()}, true);
    QVERIFY(AppSettings::instance().view.angles_in_deg);
    QVERIFY(!QFile::exists(QStringLiteral("settings.ini")) || !savedSettings().view.angles_in_deg);
    changeSettings([](AppSettings& settings) { settings.view.axis_unit = 2; });
    scene.reset();
    QVERIFY(!AppSettings::instance().view.angles_in_deg);
    QVERIFY(!savedSettings().view.angles_in_deg);
    QCOMPARE(savedSettings().view.axis_unit, 2);
}

KALVORA_TEST_MAIN(ContourWorkspaceTest)
#include "ContourWorkspaceTest.moc"
