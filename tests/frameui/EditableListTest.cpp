#include "EditableList.h"
#include "ItemEditing.h"
#include "ItemNaming.h"
#include "MessageBoxAnswerer.h"
#include "TestMain.h"

#include <QAction>
#include <QLineEdit>
#include <QSignalSpy>
#include <QVBoxLayout>

namespace {

// The list in an active window, as the editors show it.
struct ShownList
{
    explicit ShownList(const QStringList& names = {})
    {
        auto* layout = new QVBoxLayout(&window);
        list = new EditableList;
        layout->addWidget(list);
        for (const QString& name : names) {
            auto* item = new QListWidgetItem(name);
            item->setFlags(item->flags() | Qt::ItemIsEditable);
            list->addItem(item);
        }
        window.resize(300, 300);
        window.show();
        QApplication::setActiveWindow(&window);
        if (!QTest::qWaitForWindowActive(&window))
            qWarning("list window not active");
    }

    QStringList names() const
    {
        QStringList texts;
        for (int row = 0; row < list->count(); ++row)
            texts.append(list->item(row)->text());
        return texts;
    }

    QPoint pointOn(int row) const { return list->visualItemRect(list->item(row)).center(); }

    QLineEdit* editor() const { return openItemEditor(list); }

    // Through the window, which makes the whole press-release-double-click
    // sequence of real input.
    void doubleClick(int row)
    {
        QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, {}, list->viewport()->mapTo(&window, pointOn(row)));
    }

    void type(const QString& text, Qt::Key confirm = Qt::Key_Return)
    {
        QVERIFY(replaceEditorText(list, text, confirm));
    }

    void rightClick(const QPoint& viewportPoint)
    {
        const QPoint pos = list->viewport()->mapTo(&window, viewportPoint);
        QTest::mousePress(window.windowHandle(), Qt::RightButton, {}, pos);
        QTest::mouseRelease(window.windowHandle(), Qt::RightButton, {}, pos);
    }

    QWidget window;
    EditableList* list;
};

} // namespace

class EditableListTest : public QObject
{
    Q_OBJECT

private slots:
    void naming_data()
    {
        QTest::addColumn<QString>("edited");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QStringList>("others");
        QTest::addColumn<QString>("name");
        QTest::newRow("unique") << "B" << "A" << QStringList{"C"} << "B";
        QTest::newRow("emptied") << "" << "A" << QStringList{"C"} << "A";
        QTest::newRow("taken") << "C" << "A" << QStringList{"C"} << "C1";
        QTest::newRow("taken with numbers") << "C" << "A" << QStringList{"C", "C1", "C3"} << "C2";
        QTest::newRow("emptied over a duplicate") << "" << "A" << QStringList{"A"} << "A1";
        QTest::newRow("case counts") << "a" << "B" << QStringList{"A"} << "a";
        QTest::newRow("a number after a number") << "K1" << "B" << QStringList{"K1"} << "K11";
    }

    void naming()
    {
        QFETCH(QString, edited);
        QFETCH(QString, before);
        QFETCH(QStringList, others);
        QFETCH(QString, name);
        QCOMPARE(uniqueItemName(edited, before, others), name);
    }

    // Each added item opens its editor; the names become unique when the
    // editors close.
    void addedItemsGetNumbers()
    {
        ShownList shown;
        for (int i = 0; i < 3; ++i) {
            shown.list->addEditableItem(QStringLiteral("Новый"));
            QVERIFY(shown.editor());
            QVERIFY(shown.list->selectedItems().isEmpty());
            shown.type(QStringLiteral("Новый"));
        }
        QCOMPARE(shown.names(), (QStringList{"Новый", "Новый1", "Новый2"}));
    }

    void renamingByDoubleClick_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("result");
        QTest::newRow("new name") << QStringList{"A", "B"} << "C" << QStringList{"A", "C"};
        QTest::newRow("another item's name") << QStringList{"A", "B"} << "A" << QStringList{"A", "A1"};
        QTest::newRow("first free number") << QStringList{"A", "A1", "B"} << "A" << QStringList{"A", "A1", "A2"};
        QTest::newRow("emptied") << QStringList{"A", "B"} << "" << QStringList{"A", "B"};
        QTest::newRow("emptied over a duplicate") << QStringList{"A", "A"} << "" << QStringList{"A", "A1"};
        QTest::newRow("awkward") << QStringList{"A", "B"} << " ,;=\"/Ё" << QStringList{"A", " ,;=\"/Ё"};
    }

    void renamingByDoubleClick()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, typed);
        QFETCH(QStringList, result);
        ShownList shown(names);
        shown.doubleClick(names.size() - 1);
        shown.type(typed);
        QCOMPARE(shown.names(), result);
    }

    void renamingByF2FollowsTheRules()
    {
        ShownList shown({"A", "B"});
        QTest::mouseClick(shown.list->viewport(), Qt::LeftButton, {}, shown.pointOn(1));
        QTest::keyClick(shown.list, Qt::Key_F2);
        shown.type("A");
        QCOMPARE(shown.names(), (QStringList{"A", "A1"}));
    }

    // Tab closes the editor and opens the next item's: the item left is named
    // by the rules, the next one is watched in turn.
    void tabToTheNextItem()
    {
        ShownList shown({"A", "B", "C"});
        shown.doubleClick(0);
        shown.type("C", Qt::Key_Tab);
        QCOMPARE(shown.names(), (QStringList{"C1", "B", "C"}));
        shown.type("");
        QCOMPARE(shown.names(), (QStringList{"C1", "B", "C"}));
    }

    void theContextMenu()
    {
        ShownList shown({"A", "B"});
        QAction extra(QStringLiteral("Откалибровать"));
        QSignalSpy triggered(&extra, &QAction::triggered);
        shown.list->addContextAction(&extra);
        MessageBoxAnswerer answerer;

        shown.rightClick(QPoint(5, shown.list->viewport()->height() - 5));
        QTest::qWait(100);
        QCOMPARE(answerer.menus().size(), 0);

        answerer.chooseMenuEntry(QStringLiteral("Откалибровать"));
        shown.rightClick(shown.pointOn(1));
        QTRY_COMPARE(triggered.size(), 1);
        QCOMPARE(answerer.menus().value(0), (QStringList{"Откалибровать", "Переименовать", "Удалить"}));
        QCOMPARE(shown.list->currentRow(), 1);
    }

    void renameFromTheMenu()
    {
        ShownList shown({"A", "B"});
        MessageBoxAnswerer answerer;
        answerer.chooseMenuEntry(QStringLiteral("Переименовать"));
        shown.rightClick(shown.pointOn(1));
        QTRY_VERIFY(shown.editor() && shown.editor()->hasFocus());
        shown.type("A");
        QCOMPARE(shown.names(), (QStringList{"A", "A1"}));
    }

    void removeFromTheMenu()
    {
        ShownList shown({"A", "B", "C"});
        MessageBoxAnswerer answerer;
        answerer.chooseMenuEntry(QStringLiteral("Удалить"));
        shown.rightClick(shown.pointOn(1));
        QTRY_COMPARE(shown.names(), (QStringList{"A", "C"}));
    }

    void removingWithoutACurrentRowChangesNothing()
    {
        ShownList shown({"A"});
        shown.list->setCurrentRow(-1);
        shown.list->removeCurrentItem();
        QCOMPARE(shown.names(), QStringList{"A"});
    }
};

KALVORA_TEST_MAIN(EditableListTest)
#include "EditableListTest.moc"
