#include "MarkedProgressBar.h"
#include "ProgressBar.h"
#include "TestMain.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>

namespace {

// The rows of the bar's column x that are drawn in pure red.
QList<int> redRows(MarkedProgressBar& bar, int x)
{
    const QImage image = bar.grab().toImage();
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        if (image.pixelColor(x, y) == QColor(Qt::red))
            rows << y;
    }
    return rows;
}

QStringList labelTexts(const ProgressBar& dialog)
{
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

} // namespace

// The upright height bar with its middle mark, and the progress window of the
// instrument's automatic operations.
class ProgressDisplaysTest : public QObject
{
    Q_OBJECT

private slots:
    void theMarkCrossesTheMiddleOfTheHeight_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<QList<int>>("rows");
        // A 2-pixel line on the whole pixel h / 2 fills the rows above and below it.
        QTest::newRow("20 x 101") << 101 << QList<int>{49, 50};
        QTest::newRow("20 x 100") << 100 << QList<int>{49, 50};
        QTest::newRow("20 x 40") << 40 << QList<int>{19, 20};
    }

    void theMarkCrossesTheMiddleOfTheHeight()
    {
        QFETCH(int, height);
        QFETCH(QList<int>, rows);
        MarkedProgressBar bar;
        bar.setOrientation(Qt::Vertical);
        bar.setTextVisible(false);
        bar.setRange(0, 1000);
        bar.resize(20, height);
        for (int value : {0, 500, 1000}) {
            bar.setValue(value);
            QCOMPARE(redRows(bar, 0), rows);
            QCOMPARE(redRows(bar, 10), rows);
            QCOMPARE(redRows(bar, 19), rows);
        }
    }

    void theWindowFollowsTheSteps()
    {
        ProgressBar dialog(nullptr);
        QCOMPARE(dialog.size(), QSize(325, 100));
        dialog.open();
        dialog.showStatus(2, 100, QStringLiteral("Идёт поиск максимума на поверхности"), QString());
        auto* bar = dialog.findChild<QProgressBar*>();
        QCOMPARE(bar->maximum(), 100);
        QCOMPARE(bar->value(), 2);
        dialog.showStatus(3, 109, QStringLiteral("Идёт калибровка"), QStringLiteral("Поиск минимума показания датчика"));
        QCOMPARE(bar->maximum(), 109);
        QCOMPARE(bar->value(), 3);
        QCOMPARE(labelTexts(dialog), (QStringList{"Идёт калибровка", "Поиск минимума показания датчика"}));
        QTest::qWait(ProgressBar::kCloseDelayMs + 200);
        QVERIFY(dialog.isVisible());
    }

    void theWindowClosesOnlyWhenTheMaximumIsReached_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("maxValue");
        QTest::addColumn<bool>("closes");
        QTest::newRow("at the maximum") << 109 << 109 << true;
        QTest::newRow("above the maximum") << 110 << 109 << false;
        QTest::newRow("nothing of nothing") << 0 << 0 << true;
    }

    void theWindowClosesOnlyWhenTheMaximumIsReached()
    {
        QFETCH(int, status);
        QFETCH(int, maxValue);
        QFETCH(bool, closes);
        ProgressBar dialog(nullptr);
        dialog.open();
        QElapsedTimer clock;
        clock.start();
        dialog.showStatus(status, maxValue, QStringLiteral("Идёт калибровка"), QStringLiteral("Калибровка завершена"));
        QCOMPARE(labelTexts(dialog), (QStringList{"Идёт калибровка", "Калибровка завершена"}));
        // The event loop runs on while the window waits to close.
        QTest::qWait(ProgressBar::kCloseDelayMs - 100);
        QVERIFY(dialog.isVisible());
        const bool closed = QTest::qWaitFor([&] { return !dialog.isVisible(); }, ProgressBar::kCloseDelayMs + 500);
        QCOMPARE(closed, closes);
        if (closes)
            QVERIFY(clock.elapsed() >= ProgressBar::kCloseDelayMs);
    }
};

KALVORA_TEST_MAIN(ProgressDisplaysTest)
#include "ProgressDisplaysTest.moc"
