#include "DotToCommaFilter.h"
#include "NumberFields.h"

#include "TestMain.h"
#include "TextInput.h"

#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolTip>
#include <QVBoxLayout>

#include <memory>

namespace {

// A shown window holding one prepared field, as a window of the program
// holds its fields.
struct FieldWindow
{
    explicit FieldWindow(QAbstractSpinBox* owned)
        : field(owned)
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(field);
        NumberFields::prepare(&window);
        window.resize(300, 80);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qWarning("window not exposed");
    }

    QString number() const { return field->findChild<QLineEdit*>()->text(); }
    void finish() { QTest::keyClick(window.windowHandle(), Qt::Key_Return); }

    QWidget window;
    QAbstractSpinBox* field;
};

QSpinBox* wholeNumbers(int minimum, int maximum, const QString& suffix = QString())
{
    auto* box = new QSpinBox;
    box->setRange(minimum, maximum);
    box->setSuffix(suffix);
    return box;
}

QDoubleSpinBox* decimals(int count, double minimum, double maximum, const QString& suffix = QString())
{
    auto* box = new QDoubleSpinBox;
    box->setDecimals(count);
    box->setRange(minimum, maximum);
    box->setSuffix(suffix);
    return box;
}

using MakeField = std::function<QAbstractSpinBox*()>;

} // namespace

Q_DECLARE_METATYPE(MakeField)

// The number fields of the Russian locale with the decimal point as well as
// the comma, and refusals that the field shows.
class NumberFieldsTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void init() { QToolTip::hideText(); }
    void wholeNumberFieldShowsAFractionUnfinished_data();
    void wholeNumberFieldShowsAFractionUnfinished();
    void refusedKeyShowsWhatTheFieldTakes_data();
    void refusedKeyShowsWhatTheFieldTakes();
    void filterTurnsDecimalKeysIntoAComma_data();
    void filterTurnsDecimalKeysIntoAComma();
    void filterLeavesOtherKeys_data();
    void filterLeavesOtherKeys();
    void filterLeavesKeyReleases();
};

void NumberFieldsTest::wholeNumberFieldShowsAFractionUnfinished_data()
{
    QTest::addColumn<MakeField>("make");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("finished");
    QTest::addColumn<QString>("tip");
    const MakeField points = [] { return wholeNumbers(3, 50, QStringLiteral(" точек")); };
    const MakeField micrometres = [] { return decimals(0, 5, 2000, QStringLiteral(" мкм")); };
    const QString pointsTip = QStringLiteral("Допустимо целое число от 3 до 50 точек");
    const QString micrometresTip = QStringLiteral("Допустимо целое число от 5 до 2000 мкм");
    QTest::newRow("point, whole numbers") << points << "12.5" << "12,5 точек" << "12 точек" << pointsTip;
    QTest::newRow("comma, whole numbers") << points << "12,5" << "12,5 точек" << "12 точек" << pointsTip;
    QTest::newRow("point, no decimals") << micrometres << "22.5" << "22,5 мкм" << "22 мкм" << micrometresTip;
}

// "12.5" in a field of whole numbers is neither 125 nor silently 12: the
// field shows what was typed as unfinished and says what it takes; finishing
// the edit puts back the last number the field could take.
void NumberFieldsTest::wholeNumberFieldShowsAFractionUnfinished()
{
    QFETCH(MakeField, make);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, finished);
    QFETCH(QString, tip);
    FieldWindow w(make());
    typeNumber(w.field, typed);
    QCOMPARE(w.number(), shown);
    QVERIFY(!w.field->hasAcceptableInput());
    QVERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), tip);
    w.finish();
    QCOMPARE(w.number(), finished);
}

void NumberFieldsTest::refusedKeyShowsWhatTheFieldTakes_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("refused");
    QTest::newRow("a third decimal") << "0.755" << "0,75 мм" << true;
    QTest::newRow("beyond the maximum") << "12" << "1 мм" << true;
    QTest::newRow("a letter") << "2ж" << "2 мм" << true;
    QTest::newRow("taken") << "-9.25" << "-9,25 мм" << false;
}

void NumberFieldsTest::refusedKeyShowsWhatTheFieldTakes()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(bool, refused);
    FieldWindow w(decimals(2, -10, 10, QStringLiteral(" мм")));
    typeNumber(w.field, typed);
    QCOMPARE(w.number(), shown);
    QCOMPARE(QToolTip::isVisible(), refused);
    if (refused)
        QCOMPARE(QToolTip::text(), QStringLiteral("Допустимо число от -10,00 до 10,00 мм, знаков после запятой: не более 2"));
}

void NumberFieldsTest::filterTurnsDecimalKeysIntoAComma_data()
{
    QTest::addColumn<QString>("key");
    for (const QChar key : QStringLiteral(".?/юЮбБ<>"))
        QTest::newRow(QString(key).toUtf8().constData()) << QString(key);
}

// Typed between two digits in a spin box of the Russian locale, each decimal
// key gives the comma: 1,5.
void NumberFieldsTest::filterTurnsDecimalKeysIntoAComma()
{
    QFETCH(QString, key);
    QDoubleSpinBox spinBox;
    spinBox.setDecimals(3);
    spinBox.installEventFilter(new DotToCommaFilter(&spinBox));
    spinBox.show();
    spinBox.setFocus();
    spinBox.selectAll();
    typeText(&spinBox, QStringLiteral("1") + key + QStringLiteral("5"));
    QCOMPARE(spinBox.text(), QStringLiteral("1,5"));
    QCOMPARE(spinBox.valueFromText(spinBox.text()), 1.5);
}

void NumberFieldsTest::filterLeavesOtherKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("text");
    // From "1,25" with the cursor after "1,2"; a step selects the text (-1:
    // the cursor is not looked at).
    QTest::newRow("up") << int(Qt::Key_Up) << -1 << "1,35";
    QTest::newRow("left") << int(Qt::Key_Left) << 2 << "1,25";
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << 2 << "1,5";
    QTest::newRow("delete") << int(Qt::Key_Delete) << 3 << "1,2";
}

void NumberFieldsTest::filterLeavesOtherKeys()
{
    QFETCH(int, key);
    QFETCH(int, cursor);
    QFETCH(QString, text);
    QDoubleSpinBox spinBox;
    spinBox.setSingleStep(0.1);
    spinBox.setValue(1.25);
    spinBox.installEventFilter(new DotToCommaFilter(&spinBox));
    spinBox.show();
    spinBox.setFocus();
    auto* edit = spinBox.findChild<QLineEdit*>();
    edit->setCursorPosition(3);
    QTest::keyClick(&spinBox, Qt::Key(key));
    QCOMPARE(spinBox.text(), text);
    if (cursor >= 0)
        QCOMPARE(edit->cursorPosition(), cursor);
}

void NumberFieldsTest::filterLeavesKeyReleases()
{
    QObject watched;
    DotToCommaFilter filter;
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Period, Qt::NoModifier, QStringLiteral("."));
    QVERIFY(!filter.eventFilter(&watched, &release));
    QKeyEvent noText(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
    QVERIFY(!filter.eventFilter(&watched, &noText));
}

KALVORA_TEST_MAIN(NumberFieldsTest)
#include "NumberFieldsTest.moc"
