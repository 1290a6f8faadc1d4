#include "ColorPickerWidget.h"
#include "MessageBoxAnswerer.h"
#include "TestMain.h"

#include <QColorDialog>
#include <QSignalSpy>

Q_DECLARE_METATYPE(Qt::MouseButton)

class ColorPickerWidgetTest : public QObject
{
    Q_OBJECT

private slots:
    void aSwatchOfFixedSize()
    {
        ColorPickerWidget picker;
        QCOMPARE(picker.size(), QSize(100, 30));
        QCOMPARE(picker.minimumSize(), QSize(100, 30));
        QCOMPARE(picker.maximumSize(), QSize(100, 30));
        QCOMPARE(picker.color(), QColor(Qt::red));
    }

    void paintsTheColourInABlackFrame()
    {
        ColorPickerWidget picker;
        picker.setColor(QColor("#0048ba"));
        const QImage image = picker.grab().toImage();
        QCOMPARE(image.pixelColor(50, 15), QColor("#0048ba"));
        QCOMPARE(image.pixelColor(1, 1), QColor("#0048ba"));
        for (const QPoint corner : {QPoint(0, 0), QPoint(99, 0), QPoint(0, 29), QPoint(99, 29), QPoint(50, 29)})
            QCOMPARE(image.pixelColor(corner), QColor(Qt::black));
    }

    void aLeftClickChoosesAColour_data()
    {
        QTest::addColumn<bool>("chosen");
        QTest::newRow("chosen") << true;
        QTest::newRow("cancelled") << false;
    }

    void aLeftClickChoosesAColour()
    {
        QFETCH(bool, chosen);
        ColorPickerWidget picker;
        picker.setColor(QColor("#9b870c"));
        picker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picker));
        QSignalSpy changed(&picker, &ColorPickerWidget::colorChanged);
        MessageBoxAnswerer answerer;
        QString title;
        QColor offered;
        QWidget* parent = nullptr;
        answerer.onDialog([&](QWidget* dialog) {
            auto* colors = qobject_cast<QColorDialog*>(dialog);
            QVERIFY(colors);
            title = colors->windowTitle();
            offered = colors->currentColor();
            parent = colors->parentWidget();
            colors->setCurrentColor(QColor("#abcdef"));
            QVERIFY(MessageBoxAnswerer::clickStandardButton(
                colors, chosen ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel));
        });
        QTest::mouseClick(&picker, Qt::LeftButton);

        QCOMPARE(title, QStringLiteral("Выбор цвета"));
        QCOMPARE(offered, QColor("#9b870c"));
        QCOMPARE(parent, &picker);
        QCOMPARE(picker.color(), QColor(chosen ? "#abcdef" : "#9b870c"));
        QCOMPARE(changed.size(), chosen ? 1 : 0);
        if (chosen)
            QCOMPARE(changed.first().first().value<QColor>(), QColor("#abcdef"));
        QCOMPARE(picker.grab().toImage().pixelColor(50, 15), picker.color());
    }

    void otherButtonsDoNothing_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::newRow("right") << Qt::RightButton;
        QTest::newRow("middle") << Qt::MiddleButton;
    }

    void otherButtonsDoNothing()
    {
        QFETCH(Qt::MouseButton, button);
        ColorPickerWidget picker;
        picker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picker));
        MessageBoxAnswerer answerer;
        int dialogs = 0;
        answerer.onDialog([&](QWidget* dialog) {
            ++dialogs;
            static_cast<QDialog*>(dialog)->reject();
        });
        QTest::mouseClick(&picker, button);
        QTest::qWait(50);
        QCOMPARE(dialogs, 0);
        QCOMPARE(picker.color(), QColor(Qt::red));
    }
};

KALVORA_TEST_MAIN(ColorPickerWidgetTest)
#include "ColorPickerWidgetTest.moc"
