#include "TreeScene.h"

#include "contour/MeasurementTreeWidget.h"
#include "contour/TreeDropDecision.h"

#include "DebugCapture.h"
#include "MessageBoxAnswerer.h"
#include "TestMain.h"

#include <QHelpEvent>
#include <QInputDialog>
#include <QSignalSpy>
#include <QToolTip>

Q_DECLARE_METATYPE(MeasurementCategory)
Q_DECLARE_METATYPE(TreeDrop)

namespace {

const QString kUnknownTypeLine =
    QStringLiteral("error: do not know which measurement list to put item, use distances list");

} // namespace

class MeasurementTreeTest : public QObject
{
    Q_OBJECT
private slots:
    void groupRows();
    void rowCategory_data();
    void rowCategory();
    void rowContent();
    void meansFollowValues();
    void meansLeaveOutRowsWithoutValue();
    void clearingCategory_data();
    void clearingCategory();
    void rowMenu_data();
    void rowMenu();
    void cancelledEquidistantEmitsNothing();
    void menuOnEmptyCategoryOrNowhere();
    void dropDecision_data();
    void dropDecision();
    void extendedColumns();
    void valuesInSightBesideALongName_data();
    void valuesInSightBesideALongName();
};

void MeasurementTreeTest::groupRows()
{
    MeasurementTreeWidget tree;
    QCOMPARE(topLevelTexts(tree), QStringList({"ДЛИНЫ", "ОТКЛОНЕНИЯ", "УГЛЫ", "РАДИУСЫ", "ШЕРОХОВАТОСТИ",
                                               "ДОП. ГЕОМЕТРИИ"}));
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        const QTreeWidgetItem* group = tree.topLevelItem(i);
        QCOMPARE(int(group->flags()), 45);
        QVERIFY2(!group->icon(0).isNull(), qPrintable(group->text(0)));
        QCOMPARE(group->data(1, Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight));
        QCOMPARE(group, tree.categoryItem(MeasurementCategory(i)));
    }
    QCOMPARE(tree.columnCount(), 2);
    QCOMPARE(tree.dragDropMode(), QAbstractItemView::InternalMove);
    QCOMPARE(tree.selectionMode(), QAbstractItemView::SingleSelection);
    QVERIFY(tree.invisibleRootItem()->flags() & Qt::ItemIsDropEnabled);
}

void MeasurementTreeTest::rowCategory_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<MeasurementCategory>("category");
    QTest::addColumn<bool>("known");

    using C = MeasurementCategory;
    const QVector<QPair<int, C>> kinds = {
        {VERTICAL_DISTANCE, C::Lengths},
        {HORIZONTAL_DISTANCE, C::Lengths},
        {DIRECT_DISTANCE, C::Lengths},
        {VERTICAL_ANGLE, C::Angles},
        {HORIZONTAL_ANGLE, C::Angles},
        {REGULAR_ANGLE, C::Angles},
        {REGULAR_RADIUS, C::Radii},
        {ARCS_RADIUS, C::Radii},
        {MEAN_HEIGHT, C::Lengths},
        {LINE_DEVIATION, C::Deviations},
        {CIRCLE_DEVIATION, C::Deviations},
        {CIRCLE_DEVIATION_SPECIFIED, C::Deviations},
        {CIRCLE_DEVIATION_FILTERED, C::Deviations},
        {CIRCLE_DEVIATION_BY_SEGMENTS, C::Deviations},
        {CIRCLE_DEVIATION_FILTERED_BY_SEGMENTS, C::Deviations},
        {ROUGHNESS_RA, C::Roughness},
        {ROUGHNESS_RZ, C::Roughness},
        {CIRCLE, C::Construction},
        {CIRCLE_SPECIFIED, C::Construction},
        {HORIZONTAL_LINE, C::Construction},
        {VERTICAL_LINE, C::Construction},
        {TWO_POINT_LINE, C::Construction},
        {TRACE_POINT, C::Construction},
        {MIDDLE_POINT, C::Construction},
        {THREAD_MEAN_DIAMETER, C::Construction},
        {MAX_POINT, C::Construction},
        {MIN_POINT, C::Construction},
        {TEXT_PLACEMENT, C::Construction},
        {DRAWING_COMPARISON, C::Construction},
        {GRAPH_DEVIATION, C::Deviations},
    };
    for (const auto& [code, category] : kinds)
        QTest::addRow("kind %d", code) << code << category << true;
    // The lay-flat kinds are never listed; their types and any other fall
    // back to the lengths.
    QTest::newRow("lay-flat") << int(LAY_FLAT) << C::Lengths << false;
    QTest::newRow("lay-flat by two") << int(LAY_FLAT_BY_TWO) << C::Lengths << false;
    QTest::newRow("type 17") << 17 << C::Lengths << false;
    QTest::newRow("type 33") << int(NO_MEASUREMENT) << C::Lengths << false;
    QTest::newRow("negative type") << -1 << C::Lengths << false;
}

void MeasurementTreeTest::rowCategory()
{
    QFETCH(int, code);
    QFETCH(MeasurementCategory, category);
    QFETCH(bool, known);

    TreeScene s;
    s.add(ROUGHNESS_RA);
    s.add(CIRCLE);
    DebugCapture debug;
    QTreeWidgetItem* row = s.add(code);
    QCOMPARE(row->parent(), s.category(category));
    QCOMPARE(row->parent()->indexOfChild(row), row->parent()->childCount() - 1);
    QCOMPARE(debug.contains(kUnknownTypeLine), !known);
}

void MeasurementTreeTest::rowContent()
{
    TreeScene s;
    QTreeWidgetItem* row = s.add(REGULAR_RADIUS, 2.5);
    const RowProbe& probe = *s.probes.back();
    QCOMPARE(row->text(0), QStringLiteral("Радиус"));
    QCOMPARE(row->text(1), QStringLiteral("2.5000мм"));
    QCOMPARE(row->data(0, Qt::UserRole).toInt(), probe.id());
    QCOMPARE(row->data(1, Qt::UserRole).toDouble(), 2.5);
    QCOMPARE(int(row->flags()), 37);
    QCOMPARE(row->data(0, Qt::TextAlignmentRole).toInt(), int(Qt::AlignLeft));
    QCOMPARE(row->data(1, Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight));

    s.probes.back()->setValue(3.25);
    s.tree.updateMeasurementItem(row, s.probes.back().get());
    QCOMPARE(row->text(1), QStringLiteral("3.2500мм"));
    QCOMPARE(row->data(1, Qt::UserRole).toDouble(), 3.25);
    QCOMPARE(row->text(0), QStringLiteral("Радиус"));
}

void MeasurementTreeTest::meansFollowValues()
{
    TreeScene s;
    s.removeRowsOnRequest();
    QTreeWidgetItem* radii = s.category(MeasurementCategory::Radii);
    QCOMPARE(radii->text(1), QString());

    s.add(REGULAR_RADIUS, 1);
    s.add(ARCS_RADIUS, 2);
    QTreeWidgetItem* third = s.add(REGULAR_RADIUS, 4);
    QCOMPARE(radii->text(1), QStringLiteral("2.3333"));
    QCOMPARE(s.category(MeasurementCategory::Lengths)->text(1), QString());

    s.probes.back()->setValue(7);
    s.tree.updateMeasurementItem(third, s.probes.back().get());
    s.tree.collectDeviations();
    QCOMPARE(radii->text(1), QStringLiteral("3.3333"));

    for (const auto& probe : s.probes)
        emit s.tree.deleteMeasurement(probe->id());
    QCOMPARE(radii->childCount(), 0);
    QCOMPARE(radii->text(1), QString());
}

// Constructions and the drawing comparison have no value to average, and a
// value that was not computed counts for nothing: only a category whose measurements all failed shows the
// not-computed mark.
void MeasurementTreeTest::meansLeaveOutRowsWithoutValue()
{
    TreeScene s;
    QTreeWidgetItem* constructions = s.add(HORIZONTAL_LINE)->parent();
    s.add(VERTICAL_LINE);
    s.probes.push_back(std::make_unique<RowProbe>(DRAWING_COMPARISON));
    s.probes.back()->showNoNumber();
    s.tree.addMeasurementItem(s.probes.back().get());
    s.tree.collectDeviations();
    QCOMPARE(constructions->childCount(), 3);
    QCOMPARE(constructions->text(1), QString());

    QTreeWidgetItem* radii = s.category(MeasurementCategory::Radii);
    QTreeWidgetItem* failed = s.add(REGULAR_RADIUS, 5);
    s.probes.back()->markValueNotComputed();
    s.tree.updateMeasurementItem(failed, s.probes.back().get());
    s.tree.collectDeviations();
    QCOMPARE(radii->text(1), kNotComputedText);

    s.add(ARCS_RADIUS, 2);
    QCOMPARE(radii->text(1), QStringLiteral("2.0000"));
}

void MeasurementTreeTest::clearingCategory_data()
{
    QTest::addColumn<bool>("receiverRemovesRows");
    QTest::newRow("the workspace removes each row") << true;
    QTest::newRow("no receiver") << false;
}

// "Очистить" asks once for every row of the group, in row order, whether or
// not anyone removes the rows.
void MeasurementTreeTest::clearingCategory()
{
    QFETCH(bool, receiverRemovesRows);

    TreeScene s;
    if (receiverRemovesRows)
        s.removeRowsOnRequest();
    s.add(REGULAR_ANGLE, 30);
    s.add(VERTICAL_LINE);
    s.add(VERTICAL_ANGLE, 45);
    s.add(HORIZONTAL_ANGLE, 60);
    const QList<int> angleIds = {s.probes[0]->id(), s.probes[2]->id(), s.probes[3]->id()};
    QSignalSpy requests(&s.tree, &MeasurementTreeWidget::deleteMeasurement);

    MessageBoxAnswerer answerer;
    answerer.chooseMenuEntry(QStringLiteral("Очистить"));
    s.rightClick(s.category(MeasurementCategory::Angles));

    QCOMPARE(answerer.menus(), QList<QStringList>({{"Очистить"}}));
    QCOMPARE(requests.count(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(requests.at(i).at(0).toInt(), angleIds.at(i));
    QCOMPARE(s.category(MeasurementCategory::Angles)->childCount(), receiverRemovesRows ? 0 : 3);
    QCOMPARE(s.category(MeasurementCategory::Construction)->childCount(), 1);
}

void MeasurementTreeTest::rowMenu_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("lineKind");

    const QStringList both = {"Удалить", "Эквидистанта"};
    const QStringList deleteOnly = {"Удалить"};
    QTest::newRow("horizontal line") << int(HORIZONTAL_LINE) << both << int(HORIZONTAL_LINE);
    QTest::newRow("vertical line") << int(VERTICAL_LINE) << both << int(VERTICAL_LINE);
    QTest::newRow("line through two points") << int(TWO_POINT_LINE) << both << int(TWO_POINT_LINE);
    QTest::newRow("point on the trace") << int(TRACE_POINT) << deleteOnly << -1;
    QTest::newRow("mean diameter") << int(THREAD_MEAN_DIAMETER) << deleteOnly << -1;
    QTest::newRow("distance") << int(VERTICAL_DISTANCE) << deleteOnly << -1;
}

// The menu of a line offers a parallel line and asks for its distance; other
// rows only offer deletion.
void MeasurementTreeTest::rowMenu()
{
    QFETCH(int, code);
    QFETCH(QStringList, entries);
    QFETCH(int, lineKind);

    TreeScene s;
    s.add(HORIZONTAL_DISTANCE, 3);
    QTreeWidgetItem* row = s.add(code);
    const int id = s.probes.back()->id();
    QSignalSpy deletions(&s.tree, &MeasurementTreeWidget::deleteMeasurement);
    QSignalSpy parallels(&s.tree, &MeasurementTreeWidget::equidistant);

    MessageBoxAnswerer answerer;
    QStringList dialogTexts;
    answerer.onDialog([&](QWidget* dialog) {
        auto* input = qobject_cast<QInputDialog*>(dialog);
        QVERIFY(input);
        dialogTexts << input->windowTitle() << input->labelText();
        QCOMPARE(input->doubleMinimum(), -10000.0);
        QCOMPARE(input->doubleMaximum(), 10000.0);
        QCOMPARE(input->doubleDecimals(), 2);
        QCOMPARE(input->doubleValue(), 0.0);
        input->setDoubleValue(2.5);
        input->accept();
    });
    answerer.chooseMenuEntry(entries.last());
    s.rightClick(row);

    QCOMPARE(answerer.menus(), QList<QStringList>({entries}));
    if (lineKind < 0) {
        QCOMPARE(deletions.count(), 1);
        QCOMPARE(deletions.at(0).at(0).toInt(), id);
        QCOMPARE(parallels.count(), 0);
        return;
    }
    QCOMPARE(dialogTexts, QStringList({"Эквидистанта", "Длина эквидистанты:"}));
    QCOMPARE(deletions.count(), 0);
    QCOMPARE(parallels.count(), 1);
    QCOMPARE(parallels.at(0).at(0).toInt(), id);
    QCOMPARE(int(parallels.at(0).at(1).value<E_MEASUREMENTS>()), lineKind);
    QCOMPARE(parallels.at(0).at(2).toDouble(), 2.5);
}

void MeasurementTreeTest::cancelledEquidistantEmitsNothing()
{
    TreeScene s;
    QTreeWidgetItem* row = s.add(VERTICAL_LINE);
    QSignalSpy parallels(&s.tree, &MeasurementTreeWidget::equidistant);
    MessageBoxAnswerer answerer;
    answerer.chooseMenuEntry(QStringLiteral("Эквидистанта"));
    s.rightClick(row);
    QCOMPARE(answerer.menus().size(), 1);
    QCOMPARE(parallels.count(), 0);
}

void MeasurementTreeTest::menuOnEmptyCategoryOrNowhere()
{
    TreeScene s;
    s.add(VERTICAL_LINE);
    s.tree.collapseAll();
    MessageBoxAnswerer answerer;
    s.rightClick(s.category(MeasurementCategory::Angles));
    const QPoint belowRows = s.tree.viewport()->mapTo(&s.tree, QPoint(40, s.tree.viewport()->height() - 5));
    QVERIFY(!s.tree.itemAt(s.tree.viewport()->mapFrom(&s.tree, belowRows)));
    QTest::mousePress(s.tree.windowHandle(), Qt::RightButton, Qt::NoModifier, belowRows);
    QTest::mouseRelease(s.tree.windowHandle(), Qt::RightButton, Qt::NoModifier, belowRows);
    QTest::qWait(50);
    QCOMPARE(answerer.menus().size(), 0);
}

void MeasurementTreeTest::dropDecision_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("intoTarget");
    QTest::addColumn<TreeDrop>("decision");

    QTest::newRow("row above a row of its group") << "a1" << "a2" << false << TreeDrop::MoveRow;
    QTest::newRow("row below a row of its group") << "a2" << "a1" << false << TreeDrop::MoveRow;
    QTest::newRow("row on a row of its group") << "a1" << "a2" << true << TreeDrop::MoveRow;
    QTest::newRow("row onto itself") << "a1" << "a1" << false << TreeDrop::MoveRow;
    QTest::newRow("row to a row of another group") << "a1" << "b1" << false << TreeDrop::Refuse;
    QTest::newRow("row onto its own group") << "a1" << "A" << true << TreeDrop::Refuse;
    QTest::newRow("row onto another group") << "a1" << "B" << true << TreeDrop::Refuse;
    QTest::newRow("row above a group") << "a1" << "B" << false << TreeDrop::Refuse;
    QTest::newRow("row over empty space") << "a1" << "" << false << TreeDrop::Refuse;
    QTest::newRow("group above a group") << "B" << "A" << false << TreeDrop::MoveCategory;
    QTest::newRow("group below a group") << "A" << "B" << false << TreeDrop::MoveCategory;
    QTest::newRow("group into a group") << "B" << "A" << true << TreeDrop::Refuse;
    QTest::newRow("group onto a row") << "B" << "a1" << false << TreeDrop::Refuse;
    QTest::newRow("group over empty space") << "B" << "" << false << TreeDrop::Refuse;
    QTest::newRow("nothing dragged") << "" << "A" << false << TreeDrop::Refuse;
}

void MeasurementTreeTest::dropDecision()
{
    QFETCH(QString, source);
    QFETCH(QString, target);
    QFETCH(bool, intoTarget);
    QFETCH(TreeDrop, decision);

    QTreeWidgetItem groupA({"A"});
    QTreeWidgetItem groupB({"B"});
    auto* a1 = new QTreeWidgetItem(&groupA, {"a1"});
    auto* a2 = new QTreeWidgetItem(&groupA, {"a2"});
    auto* b1 = new QTreeWidgetItem(&groupB, {"b1"});
    const QMap<QString, const QTreeWidgetItem*> items = {
        {"A", &groupA}, {"B", &groupB}, {"a1", a1}, {"a2", a2}, {"b1", b1}};
    QCOMPARE(decideTreeDrop(items.value(source), items.value(target), intoTarget), decision);
}

void MeasurementTreeTest::extendedColumns()
{
    TreeScene s;
    s.tree.setExtendedColumns(true);
    QTreeWidgetItem* row = s.add(ROUGHNESS_RA, 0.8);
    QCOMPARE(s.tree.columnCount(), 2);
    QCOMPARE(s.tree.headerItem()->text(0), QStringLiteral("ИЗМЕРЕНИЕ"));
    QCOMPARE(s.tree.headerItem()->text(1), QStringLiteral("ЗНАЧЕНИЕ"));

    // Even a row made editable opens no editor in either column.
    row->setFlags(row->flags() | Qt::ItemIsEditable);
    s.tree.setEditTriggers(QAbstractItemView::AllEditTriggers);
    for (int column : {0, 1}) {
        const QPoint pos = s.windowPos(row, column);
        QTest::mouseDClick(s.tree.windowHandle(), Qt::LeftButton, Qt::NoModifier, pos);
        QTest::qWait(20);
        QVERIFY2(s.tree.viewport()->findChildren<QWidget*>().isEmpty(), qPrintable(QString::number(column)));
    }

    // The extended layout shows no means.
    QCOMPARE(s.category(MeasurementCategory::Roughness)->text(1), QString());
}

void MeasurementTreeTest::valuesInSightBesideALongName_data()
{
    QTest::addColumn<bool>("extended");
    QTest::newRow("measurement tab") << false;
    QTest::newRow("calibration screen") << true;
}

// In a tree too narrow for a long name the value column stays whole in the
// viewport; the name is shortened, and its tooltip shows it whole.
void MeasurementTreeTest::valuesInSightBesideALongName()
{
    QFETCH(bool, extended);
    TreeScene s;
    s.tree.setExtendedColumns(extended);
    s.tree.resize(260, 400);
    QTreeWidgetItem* row = s.add(CIRCLE_DEVIATION, 12.3456);
    QCOMPARE(row->text(0), QStringLiteral("Отклонение от окружности"));
    QTest::qWait(0);

    const QHeaderView* header = s.tree.header();
    const int valueLeft = header->sectionViewportPosition(1);
    const int valueRight = valueLeft + header->sectionSize(1);
    QVERIFY2(valueLeft >= 0 && valueRight <= s.tree.viewport()->width(),
             qPrintable(QStringLiteral("%1..%2 of %3").arg(valueLeft).arg(valueRight).arg(s.tree.viewport()->width())));
    // What each column's texts need, as the view measures them.
    const QAbstractItemView& view = s.tree;
    QVERIFY(header->sectionSize(1) >= view.sizeHintForColumn(1));
    QVERIFY(header->sectionSize(0) < view.sizeHintForColumn(0));

    const QPoint over = s.tree.visualItemRect(row).topLeft() + QPoint(60, 5);
    QHelpEvent help(QEvent::ToolTip, over, s.tree.viewport()->mapToGlobal(over));
    QApplication::sendEvent(s.tree.viewport(), &help);
    QTRY_COMPARE(QToolTip::text(), row->text(0));
    QToolTip::hideText();
}

KALVORA_TEST_MAIN(MeasurementTreeTest)
#include "MeasurementTreeTest.moc"
