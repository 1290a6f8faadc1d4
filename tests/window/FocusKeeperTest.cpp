#include "ControllerLink.h"
#include "FocusKeeper.h"
#include "TestMain.h"

#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// Two tab pages, the focus kept as the main window keeps it. The first
// page's first widget in the tab chain is a number field.
class TabsWindow : public QMainWindow
{
public:
    TabsWindow()
    {
        setObjectName(QStringLiteral("MainWindow"));
        setCentralWidget(&tabs);
        auto* first = new QWidget;
        auto* firstLayout = new QVBoxLayout(first);
        firstLayout->addWidget(number);
        firstLayout->addWidget(button);
        auto* second = new QWidget;
        auto* secondLayout = new QVBoxLayout(second);
        secondLayout->addWidget(text);
        tabs.addTab(first, QStringLiteral("первая"));
        tabs.addTab(second, QStringLiteral("вторая"));
        keeper.watchPages(&tabs);
        resize(400, 300);
    }

    void clickTab(int index) { QTest::mouseClick(tabs.tabBar(), Qt::LeftButton, {}, tabs.tabBar()->tabRect(index).center()); }

    QTabWidget tabs;
    QSpinBox* number = new QSpinBox;
    QPushButton* button = new QPushButton(QStringLiteral("Пуск"));
    QLineEdit* text = new QLineEdit;
    FocusKeeper keeper{this};

protected:
    bool focusNextPrevChild(bool next) override
    {
        if (keeper.keepFocusOfDisabledWidget())
            return false;
        return QMainWindow::focusNextPrevChild(next);
    }
};

} // namespace

// The keyboard focus stays where the user put it: a widget disabled while it
// has the focus leaves it nowhere and takes it back when enabled, and a tab
// page shown again has it where it was; clicks and Tab still move it.
class FocusKeeperTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_window = std::make_unique<TabsWindow>();
        QVERIFY(showActive(*m_window));
    }

    void cleanup() { m_window.reset(); }

    void aDisabledWidgetKeepsTheFocus()
    {
        QTest::mouseClick(w().button, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), w().button);
        w().button->setEnabled(false);
        QCOMPARE(QApplication::focusWidget(), nullptr);
        w().button->setEnabled(true);
        QCOMPARE(QApplication::focusWidget(), w().button);

        // The user's own choice meanwhile stays.
        w().button->setEnabled(false);
        QTest::mouseClick(w().number, Qt::LeftButton);
        w().button->setEnabled(true);
        QCOMPARE(QApplication::focusWidget(), w().number);
        QTest::keyClick(w().windowHandle(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w().button);
    }

    void aPageShownAgain_data()
    {
        QTest::addColumn<bool>("clickButton");
        QTest::newRow("focus on the page") << true;
        QTest::newRow("no focus on the page") << false;
    }

    // The focus after a visit to the other page, where the text field was
    // clicked: on the button when it had it, otherwise nowhere.
    void aPageShownAgain()
    {
        QFETCH(bool, clickButton);
        if (clickButton)
            QTest::mouseClick(w().button, Qt::LeftButton);
        w().clickTab(1);
        QTest::mouseClick(w().text, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), w().text);

        w().clickTab(0);
        QCOMPARE(w().tabs.currentIndex(), 0);
        QCOMPARE(QApplication::focusWidget(), clickButton ? w().button : nullptr);
    }

private:
    TabsWindow& w() const { return *m_window; }

    std::unique_ptr<TabsWindow> m_window;
};

KALVORA_TEST_MAIN(FocusKeeperTest)
#include "FocusKeeperTest.moc"
