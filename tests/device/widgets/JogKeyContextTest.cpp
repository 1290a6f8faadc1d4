#include "JogKeyContext.h"
#include "TestMain.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

// A main window with one widget of each kind, a dialog over it with a
// list of its own, and a popup menu; none of them shown.
struct Scenery
{
    Scenery()
    {
        main.setObjectName(JogKeyContext::kMainWindowName);
        auto* central = new QWidget;
        auto* layout = new QVBoxLayout(central);
        auto add = [&](const QString& name, QWidget* widget) {
            widget->setObjectName(name);
            layout->addWidget(widget);
        };
        add("button", new QPushButton);
        add("line edit", new QLineEdit);
        add("spin box", new QSpinBox);
        add("double spin box", new QDoubleSpinBox);
        add("date edit", new QDateEdit);
        add("combo box", new QComboBox);
        auto* editable = new QComboBox;
        editable->setEditable(true);
        add("editable combo box", editable);
        add("text edit", new QTextEdit);
        add("text browser", new QTextBrowser);
        add("plain text edit", new QPlainTextEdit);
        add("tree", new QTreeView);
        main.setCentralWidget(central);

        dialog.setParent(&main, Qt::Dialog);
        auto* dialogTree = new QTreeView(&dialog);
        dialogTree->setObjectName("tree in dialog");
        auto* dialogButton = new QPushButton(&dialog);
        dialogButton->setObjectName("button in dialog");
        other.setObjectName("Other");
    }

    const QWidget* widget(const QString& name) const
    {
        if (name.isEmpty())
            return nullptr;
        if (name == "main")
            return &main;
        if (name == "dialog")
            return &dialog;
        if (name == "other")
            return &other;
        if (name == "menu")
            return &menu;
        auto* found = main.findChild<QWidget*>(name);
        Q_ASSERT(found);
        return found;
    }

    QMainWindow main;
    QDialog dialog;
    QWidget other;
    QMenu menu;
};

} // namespace

// Whether a jog key may work the panel, for every kind of focused widget and
// for dialogs, popups and other windows over the main window.
class JogKeyContextTest : public QObject
{
    Q_OBJECT

private slots:
    void drivesPanel_data()
    {
        QTest::addColumn<QString>("active");
        QTest::addColumn<QString>("modal");
        QTest::addColumn<QString>("popup");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("drives");

        QTest::newRow("main window, no focus") << "main" << "" << "" << "" << true;
        for (const char* focus : {"button", "combo box", "tree"})
            QTest::addRow("main window, %s", focus) << "main" << "" << "" << focus << true;
        for (const char* focus : {"line edit", "spin box", "double spin box", "date edit", "editable combo box",
                                  "text edit", "text browser", "plain text edit", "tree in dialog"})
            QTest::addRow("main window, %s", focus) << "main" << "" << "" << focus << false;
        QTest::newRow("modal dialog open") << "main" << "dialog" << "" << "button" << false;
        QTest::newRow("popup open") << "main" << "" << "menu" << "" << false;
        QTest::newRow("dialog active") << "dialog" << "" << "" << "button in dialog" << false;
        QTest::newRow("another window active") << "other" << "" << "" << "" << false;
        QTest::newRow("no window active") << "" << "" << "" << "" << false;
    }

    void drivesPanel()
    {
        QFETCH(QString, active);
        QFETCH(QString, modal);
        QFETCH(QString, popup);
        QFETCH(QString, focus);
        QFETCH(bool, drives);
        Scenery scenery;
        const JogKeyContext::Scene scene{scenery.widget(active), scenery.widget(modal), scenery.widget(popup),
                                         scenery.widget(focus)};
        QCOMPARE(JogKeyContext::drivesPanel(scene), drives);
    }

    // The scene is what the application reports: a shown modal dialog over
    // the main window is seen as such.
    void theCurrentScene()
    {
        Scenery scenery;
        scenery.main.show();
        QApplication::setActiveWindow(&scenery.main);
        QVERIFY(QTest::qWaitForWindowActive(&scenery.main));
        QVERIFY(JogKeyContext::drivesPanel(JogKeyContext::current()));

        auto* edit = scenery.main.findChild<QLineEdit*>("line edit");
        edit->setFocus();
        QCOMPARE(JogKeyContext::current().focus, edit);
        QVERIFY(!JogKeyContext::drivesPanel(JogKeyContext::current()));
        edit->clearFocus();

        scenery.dialog.setModal(true);
        scenery.dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&scenery.dialog));
        QCOMPARE(JogKeyContext::current().modal, &scenery.dialog);
        QVERIFY(!JogKeyContext::drivesPanel(JogKeyContext::current()));
    }
};

KALVORA_TEST_MAIN(JogKeyContextTest)
#include "JogKeyContextTest.moc"
