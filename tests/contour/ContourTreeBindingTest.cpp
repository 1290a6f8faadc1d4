#include "WorkspaceScene.h"

#include "FuzzyCompare.h"
#include "SettingsFixture.h"
#include "TestMain.h"

namespace {

// y = 20 + x / 2 µm for x = 0, 1, ..., 100 µm.
ProfileData slope()
{
    ProfileData columns(2);
    for (int x = 0; x <= 100; ++x) {
        columns[0].append(x);
        columns[1].append(20 + x / 2.0);
    }
    return columns;
}

double slopeAt(double x)
{
    return 20 + x / 2;
}

QTreeWidgetItem* rowOf(ContourAnalisisWidget* widget, const Measurement* m)
{
    auto* tree = widget->findChild<MeasurementTreeWidget*>(QStringLiteral("measurementTree"));
    for (const TreeGroupRecord& group : tree->collectItems()) {
        for (const TreeItemRecord& record : group.items) {
            if (record.id == m->id())
                return record.item;
        }
    }
    return nullptr;
}

void clickRow(QTreeWidget* tree, QTreeWidgetItem* row)
{
    tree->scrollToItem(row);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, tree->visualItemRect(row).center());
}

QVector<QPointF> curvePoints(const QCPCurve* curve)
{
    QVector<QPointF> points;
    for (const QCPCurveData& point : *curve->data())
        points.append(QPointF(point.key, point.value));
    return points;
}

} // namespace

class ContourTreeBindingTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void init()
    {
        loadSettingsFile();
        setAxisUnit(1);
    }
    void placedDistanceGetsItsRowAndDeleteRemovesIt();
    void twoSeparateDistances_data();
    void twoSeparateDistances();
    void deleteOnACategoryRowDeletesNothing();
    void levellingResetUnrotatesAndRecalculates();
    void unitChangeShowsEveryValueInTheNewUnit();
};

void ContourTreeBindingTest::placedDistanceGetsItsRowAndDeleteRemovesIt()
{
    WorkspaceScene scene({slope()});
    Measurement* m = scene.placeDistance(QStringLiteral("pushButtonHorisontalDistance"), {10, slopeAt(10)},
                                         {60, slopeAt(60)}, {40, 30});
    QVERIFY(m && m->isFinished());
    QCOMPARE(scene.manager()->measurements(), QList<Measurement*>({m}));
    QTreeWidgetItem* row = rowOf(scene.widget.get(), m);
    QVERIFY(row);
    QCOMPARE(row->text(1), QStringLiteral("50.0000мкм"));
    const QPointer<Measurement> guard(m);

    clickRow(scene.tree(), row);
    QVERIFY(row->isSelected());
    QTest::keyClick(scene.tree(), Qt::Key_Delete);
    QVERIFY(guard.isNull());
    QVERIFY(scene.manager()->measurements().isEmpty());
    QVERIFY(scene.tree()->collectItems().empty());

    // Nothing selected any more: Delete has nothing to delete.
    QTest::keyClick(scene.tree(), Qt::Key_Delete);
    QVERIFY(scene.manager()->measurements().isEmpty());
}

void ContourTreeBindingTest::twoSeparateDistances_data()
{
    QTest::addColumn<bool>("chooseAgain");
    QTest::newRow("kind chosen again") << true;
    QTest::newRow("kind still chosen") << false;
}

// The second distance starts away from the first one's reference points and
// takes both its points, whether its kind was chosen again or is still the
// chosen one.
void ContourTreeBindingTest::twoSeparateDistances()
{
    QFETCH(bool, chooseAgain);
    WorkspaceScene scene({slope()});
    const QString button = QStringLiteral("pushButtonVerticalDistance");
    Measurement* first = scene.placeDistance(button, {10, slopeAt(10)}, {30, slopeAt(30)}, {20, 40});
    QVERIFY(first && first->isFinished());
    if (chooseAgain)
        scene.choose(QStringLiteral("actionDistance"), button);
    scene.clickAt(50, slopeAt(50));
    scene.clickAt(90, slopeAt(90));
    scene.move(scene.pixel(70, 30));
    scene.clickAt(70, 30);

    Measurement* second = scene.manager()->currentMeasurement();
    QVERIFY(second && second != first);
    QVERIFY(second->isFinished());
    QCOMPARE(second->valueText(), QStringLiteral("20.0000мкм"));
    QCOMPARE(scene.manager()->measurements(), QList<Measurement*>({first, second}));
    QVERIFY(rowOf(scene.widget.get(), first));
    QVERIFY(rowOf(scene.widget.get(), second));
}

void ContourTreeBindingTest::deleteOnACategoryRowDeletesNothing()
{
    WorkspaceScene scene({slope()});
    Measurement* m = scene.placeDistance(QStringLiteral("pushButtonHorisontalDistance"), {10, slopeAt(10)},
                                         {60, slopeAt(60)}, {40, 30});
    QTreeWidgetItem* category = rowOf(scene.widget.get(), m)->parent();
    clickRow(scene.tree(), category);
    QVERIFY(category->isSelected());
    QTest::keyClick(scene.tree(), Qt::Key_Delete);
    QCOMPARE(scene.manager()->measurements(), QList<Measurement*>({m}));
    QVERIFY(rowOf(scene.widget.get(), m));
}

// Levelling turns the trace curve and recalculates the listed measurements;
// the reset shows the trace's own points again and recalculates once more.
void ContourTreeBindingTest::levellingResetUnrotatesAndRecalculates()
{
    WorkspaceScene scene({slope()});
    const QVector<QPointF> trace = curvePoints(scene.plot()->curve(0));
    Measurement* height = scene.placeDistance(QStringLiteral("pushButtonVerticalDistance"), {10, slopeAt(10)},
                                              {60, slopeAt(60)}, {40, 30});
    QCOMPARE(height->valueText(), QStringLiteral("25.0000мкм"));

    scene.choose(QStringLiteral("actionLayFlat"), QStringLiteral("pushButtonlayFlat"));
    const QPoint from = scene.pixel(20, slopeAt(20));
    const QPoint to = scene.pixel(80, slopeAt(80));
    scene.move(from);
    scene.press(from);
    scene.move((from + to) / 2);
    scene.move(to);
    scene.release(to);
    QVERIFY(curvePoints(scene.plot()->curve(0)) != trace);
    KALVORA_COMPARE_NEAR(height->value(), 0.0, 1e-6);

    scene.choose(QStringLiteral("actionLayFlat"), QStringLiteral("pushButtonRST"));
    QVERIFY(scene.button(QStringLiteral("pushButtonlayFlat"))->isCheckable());
    QCOMPARE(curvePoints(scene.plot()->curve(0)), trace);
    QCOMPARE(height->valueText(), QStringLiteral("25.0000мкм"));
}

void ContourTreeBindingTest::unitChangeShowsEveryValueInTheNewUnit()
{
    WorkspaceScene scene({slope()});
    Measurement* length = scene.placeDistance(QStringLiteral("pushButtonHorisontalDistance"), {10, slopeAt(10)},
                                              {60, slopeAt(60)}, {40, 30});
    Measurement* height = scene.placeDistance(QStringLiteral("pushButtonVerticalDistance"), {50, slopeAt(50)},
                                              {90, slopeAt(90)}, {70, 30});
    scene.switchUnit(0);

    QCOMPARE(rowOf(scene.widget.get(), length)->text(1), QStringLiteral("0.0500мм"));
    QCOMPARE(rowOf(scene.widget.get(), height)->text(1), QStringLiteral("0.0200мм"));
    QCOMPARE(scene.widget->unitText(), QStringLiteral(" мм"));
    KALVORA_COMPARE_NEAR(scene.plot()->curve(0)->data()->constBegin()->value, 0.02, 1e-12);
}

KALVORA_TEST_MAIN(ContourTreeBindingTest)
#include "ContourTreeBindingTest.moc"
