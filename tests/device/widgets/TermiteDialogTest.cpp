#include "LinkTestSupport.h"
#include "TermiteDialog.h"
#include "TestMain.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>

using Family = SimulatedController::Family;

// The serial terminal over a link to the simulated controller.
class TermiteDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_link = std::make_unique<Link>(Family::Profile);
        QVERIFY(m_link->connect());
        m_link->controller.clearReceived();
        m_dialog = std::make_unique<TermiteDialog>(nullptr, m_link->device.get());
        m_log = m_dialog->findChild<QPlainTextEdit*>(QStringLiteral("displayPlainTextEdit"));
        m_input = m_dialog->findChild<QTextEdit*>(QStringLiteral("enterTextEdit"));
        QVERIFY(m_log && m_input);
    }

    void cleanup()
    {
        m_dialog.reset();
        m_link.reset();
    }

    void theFormIsBuilt()
    {
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Termite"));
        QCOMPARE(m_dialog->size(), QSize(350, 363));
        QVERIFY(!button("startPushButton")->isEnabled());
        QVERIFY(button("stopPushButton")->isEnabled());
        QCOMPARE(button("clearPushButton")->text(), QStringLiteral("Очистить"));
        QCOMPARE(button("enterPushButton")->text(), QStringLiteral("Ввод"));
        QVERIFY(m_log->isReadOnly());
        QCOMPARE(m_input->maximumHeight(), 30);
    }

    void showsWhatTheControllerSends()
    {
        m_link->controller.send("hello\nworld");
        QVERIFY(QTest::qWaitFor([&] { return m_log->toPlainText() == QStringLiteral("hello\nworld"); }, 5000));
        m_link->controller.send(" again");
        QVERIFY(QTest::qWaitFor([&] { return m_log->toPlainText().endsWith(QStringLiteral("world again")); }, 5000));
    }

    void enterSendsTheLineWithoutItsLineFeed()
    {
        QTest::keyClicks(m_input, QStringLiteral("ab"));
        QVERIFY(m_link->controller.commands().empty());
        QTest::keyClick(m_input, Qt::Key_Return);

        QVERIFY(waitForBytes("ab"));
        QCOMPARE(m_log->toPlainText(), QStringLiteral("ab\n"));
        QVERIFY(m_input->toPlainText().isEmpty());
        QTest::qWait(100);
        QVERIFY(!received().contains('\n'));
    }

    void theButtonSendsAndEchoesWithALineBreak()
    {
        m_input->setPlainText(QStringLiteral("ab"));
        QTest::mouseClick(button("enterPushButton"), Qt::LeftButton);
        QVERIFY(waitForBytes("ab"));
        QCOMPARE(m_log->toPlainText(), QStringLiteral("ab\n"));
        QVERIFY(m_input->toPlainText().isEmpty());
    }

    void anEmptyInputSendsNothing()
    {
        QTest::mouseClick(button("enterPushButton"), Qt::LeftButton);
        QTest::qWait(200);
        QCOMPARE(commandsBesidesKeepAlive(m_link->controller), std::vector<std::string>{});
        QVERIFY(m_log->toPlainText().isEmpty());
    }

    void whilePausedNothingIsShown()
    {
        QTest::mouseClick(button("stopPushButton"), Qt::LeftButton);
        QVERIFY(button("startPushButton")->isEnabled());
        QVERIFY(!button("stopPushButton")->isEnabled());
        m_link->controller.send("lost");
        QVERIFY(m_link->controller.waitUntilSent(1000));
        QTest::qWait(300);
        QTest::mouseClick(button("startPushButton"), Qt::LeftButton);
        QVERIFY(!button("startPushButton")->isEnabled());
        m_link->controller.send("kept");
        QVERIFY(QTest::qWaitFor([&] { return !m_log->toPlainText().isEmpty(); }, 5000));
        QCOMPARE(m_log->toPlainText(), QStringLiteral("kept"));
    }

    void clearEmptiesOnlyTheLog()
    {
        m_link->controller.send("old");
        QVERIFY(QTest::qWaitFor([&] { return !m_log->toPlainText().isEmpty(); }, 5000));
        QTest::mouseClick(button("stopPushButton"), Qt::LeftButton);
        m_input->setPlainText(QStringLiteral("typed"));
        QTest::mouseClick(button("clearPushButton"), Qt::LeftButton);
        QVERIFY(m_log->toPlainText().isEmpty());
        QCOMPARE(m_input->toPlainText(), QStringLiteral("typed"));
        QVERIFY(button("startPushButton")->isEnabled());
    }

private:
    QByteArray received() const { return QByteArray::fromStdString(m_link->controller.receivedBytes()); }
    bool waitForBytes(const char* bytes) const
    {
        return QTest::qWaitFor([&] { return received().contains(bytes); }, 5000);
    }

    QPushButton* button(const char* name) const { return m_dialog->findChild<QPushButton*>(QLatin1String(name)); }

    std::unique_ptr<Link> m_link;
    std::unique_ptr<TermiteDialog> m_dialog;
    QPlainTextEdit* m_log = nullptr;
    QTextEdit* m_input = nullptr;
};

KALVORA_TEST_MAIN(TermiteDialogTest)
#include "TermiteDialogTest.moc"
