#include "TreeScene.h"

#include "TestMain.h"

namespace {

// A drag with the left button from one item to a point of the window, as the
// window system delivers it: the drag runs its own event loop, in which the
// rest of the gesture arrives.
void dragItem(MeasurementTreeWidget& tree, const QTreeWidgetItem* item, const QPoint& to)
{
    QWindow* window = tree.windowHandle();
    const QPoint from = tree.viewport()->mapTo(&tree, tree.visualItemRect(item).center());
    QTest::mouseMove(window, from);
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, from);
    QTimer::singleShot(50, &tree, [window, to] {
        QTest::mouseMove(window, to - QPoint(0, 1));
        QTest::mouseMove(window, to);
        QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, to);
    });
    const int step = QApplication::startDragDistance() + 5;
    QTest::mouseMove(window, from + QPoint(0, step));
    QTest::mouseMove(window, from + QPoint(0, 2 * step));
    QTest::qWait(100);
}

QPoint justAbove(const MeasurementTreeWidget& tree, const QTreeWidgetItem* item)
{
    const QRect rect = tree.visualItemRect(item);
    return tree.viewport()->mapTo(&tree, QPoint(rect.left() + 40, rect.top() + 1));
}

} // namespace

// Drags run Qt's own drag and drop, which needs the minimal platform (see
// KALVORA_DRAG_TEST_MAIN).
class MeasurementTreeDragTest : public QObject
{
    Q_OBJECT
private slots:
    void dragCategoryAboveAnother();
    void dragRowIntoOtherCategoryIsRefused();
    void collectItemsAfterMove();
};

void MeasurementTreeDragTest::dragCategoryAboveAnother()
{
    TreeScene s;
    QTreeWidgetItem* height = s.add(VERTICAL_DISTANCE, 2);
    QTreeWidgetItem* angle = s.add(REGULAR_ANGLE, 30);
    QTreeWidgetItem* lengths = s.category(MeasurementCategory::Lengths);
    QTreeWidgetItem* angles = s.category(MeasurementCategory::Angles);

    dragItem(s.tree, angles, justAbove(s.tree, lengths));

    QCOMPARE(topLevelTexts(s.tree), QStringList({"УГЛЫ", "ДЛИНЫ", "ОТКЛОНЕНИЯ", "РАДИУСЫ", "ШЕРОХОВАТОСТИ",
                                                 "ДОП. ГЕОМЕТРИИ"}));
    QCOMPARE(s.tree.topLevelItem(0), angles);
    QCOMPARE(s.tree.topLevelItem(1), lengths);
    QCOMPARE(angle->parent(), angles);
    QCOMPARE(height->parent(), lengths);
    QCOMPARE(s.tree.categoryItem(MeasurementCategory::Angles), angles);
}

void MeasurementTreeDragTest::dragRowIntoOtherCategoryIsRefused()
{
    TreeScene s;
    QTreeWidgetItem* height = s.add(VERTICAL_DISTANCE, 2);
    QTreeWidgetItem* length = s.add(HORIZONTAL_DISTANCE, 4);
    QTreeWidgetItem* angle = s.add(REGULAR_ANGLE, 30);

    dragItem(s.tree, height, justAbove(s.tree, angle));
    QCOMPARE(rowNames(s.category(MeasurementCategory::Lengths)), QStringList({"Высота", "Длина"}));
    QCOMPARE(rowNames(s.category(MeasurementCategory::Angles)), QStringList({"Угол"}));

    // Within the group the row moves, the same row.
    dragItem(s.tree, length, justAbove(s.tree, height));
    QCOMPARE(s.category(MeasurementCategory::Lengths)->child(0), length);
    QCOMPARE(s.category(MeasurementCategory::Lengths)->child(1), height);
    QCOMPARE(s.category(MeasurementCategory::Lengths)->text(1), QStringLiteral("3.0000"));
}

void MeasurementTreeDragTest::collectItemsAfterMove()
{
    TreeScene s;
    QTreeWidgetItem* height = s.add(VERTICAL_DISTANCE, 2);
    QTreeWidgetItem* length = s.add(HORIZONTAL_DISTANCE, 4);
    QTreeWidgetItem* angle = s.add(REGULAR_ANGLE, 30);
    const int heightId = s.probes[0]->id();
    const int lengthId = s.probes[1]->id();
    const int angleId = s.probes[2]->id();

    std::vector<TreeGroupRecord> groups = s.tree.collectItems();
    QCOMPARE(int(groups.size()), 2);
    QCOMPARE(QString::fromStdString(groups[0].name), QStringLiteral("ДЛИНЫ"));
    QCOMPARE(QString::fromStdString(groups[1].name), QStringLiteral("УГЛЫ"));

    const QPoint aboveLengths = justAbove(s.tree, s.category(MeasurementCategory::Lengths));
    dragItem(s.tree, s.category(MeasurementCategory::Angles), aboveLengths);
    dragItem(s.tree, length, justAbove(s.tree, height));

    groups = s.tree.collectItems();
    QCOMPARE(int(groups.size()), 2);
    const TreeGroupRecord& angles = groups[0];
    QCOMPARE(QString::fromStdString(angles.name), QStringLiteral("УГЛЫ"));
    QCOMPARE(QString::fromStdString(angles.value), QStringLiteral("30.0000"));
    QCOMPARE(int(angles.items.size()), 1);
    QCOMPARE(angles.items[0].item, angle);
    QCOMPARE(angles.items[0].id, angleId);
    QCOMPARE(QString::fromStdString(angles.items[0].name), QStringLiteral("Угол"));
    QCOMPARE(QString::fromStdString(angles.items[0].value), QStringLiteral("30.0000мм"));

    const TreeGroupRecord& lengths = groups[1];
    QCOMPARE(QString::fromStdString(lengths.name), QStringLiteral("ДЛИНЫ"));
    QCOMPARE(QString::fromStdString(lengths.value), QStringLiteral("3.0000"));
    QCOMPARE(int(lengths.items.size()), 2);
    QCOMPARE(lengths.items[0].item, length);
    QCOMPARE(lengths.items[0].id, lengthId);
    QCOMPARE(QString::fromStdString(lengths.items[0].name), QStringLiteral("Длина"));
    QCOMPARE(lengths.items[1].item, height);
    QCOMPARE(lengths.items[1].id, heightId);
}

KALVORA_DRAG_TEST_MAIN(MeasurementTreeDragTest)
#include "MeasurementTreeDragTest.moc"
