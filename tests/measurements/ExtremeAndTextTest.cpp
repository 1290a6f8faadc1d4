#include "measurements/AgTextPlacement.h"
#include "measurements/FindMaxPoint.h"
#include "measurements/FindMinPoint.h"
#include "measurements/ReperPoint.h"

#include "plot/AdaptiveCurve.h"

#include "MessageBoxAnswerer.h"
#include "PlotFixture.h"
#include "TestMain.h"

#include <QInputDialog>
#include <QLineEdit>

#include <functional>
#include <memory>

namespace {

std::unique_ptr<AdditionalGeometrySelection> createExtreme(int kind, PlotWidget* plot, int traceCount)
{
    if (kind == MAX_POINT)
        return std::make_unique<FindMaxPoint>(plot, traceCount);
    return std::make_unique<FindMinPoint>(plot, traceCount);
}

// Points (x, f(x)) for x = 0, 1, ..., 100.
AdaptiveCurve* addCurve(PlotFixture& f, const std::function<double(double)>& shape)
{
    auto* curve = new AdaptiveCurve(f.plot.xAxis, f.plot.yAxis);
    for (int x = 0; x <= 100; ++x)
        curve->addData(x, shape(x));
    return curve;
}

} // namespace

class ExtremeAndTextTest : public QObject
{
    Q_OBJECT
private slots:
    void extremeOfTheRange_data();
    void extremeOfTheRange();
    void extremeOfTheRangeAsReleased_data();
    void extremeOfTheRangeAsReleased();
    void releaseWithoutRangeFinishesWithHiddenPoint();
    void textWaitsUntilOneIsGiven();
    void textAskedWithDialog();
};

void ExtremeAndTextTest::extremeOfTheRange_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVector<double>>("values");
    QTest::addColumn<QPointF>("point");

    QTest::newRow("maximum of 3 7 7 2") << int(MAX_POINT) << QVector<double>{3, 7, 7, 2, 5} << QPointF(20, 7);
    QTest::newRow("minimum of 3 7 7 2") << int(MIN_POINT) << QVector<double>{3, 7, 7, 2, 5} << QPointF(40, 2);
    QTest::newRow("maximum of a constant") << int(MAX_POINT) << QVector<double>{4, 4, 4, 4, 9} << QPointF(10, 4);
    QTest::newRow("minimum of a constant") << int(MIN_POINT) << QVector<double>{4, 4, 4, 4, 1} << QPointF(10, 4);
}

// Points at x = 10, 20, ..., 50; the drag from the first to the last picks
// the first four.
void ExtremeAndTextTest::extremeOfTheRange()
{
    QFETCH(int, kind);
    QFETCH(QVector<double>, values);
    QFETCH(QPointF, point);

    PlotFixture f;
    auto* curve = new AdaptiveCurve(f.plot.xAxis, f.plot.yAxis);
    curve->addData({10, 20, 30, 40, 50}, values);
    auto* other = f.addHorizontalCurve<AdaptiveCurve>(90);
    std::unique_ptr<AdditionalGeometrySelection> m = createExtreme(kind, &f.plot, 2);
    f.plot.replot();
    QSignalSpy status(m.get(), &Measurement::statusText);
    QSignalSpy finished(m.get(), &Measurement::measumentFinished);

    f.drag(f.pixel(10, values.first()), f.pixel(50, values.last()));
    QCOMPARE(m->selection(0)->begin, 0);
    QCOMPARE(m->selection(0)->end, 4);
    QVERIFY(m->isFinished());
    QCOMPARE(m->reperPoints().size(), 1);
    QCOMPARE(m->reperPoints().first()->position(), point);
    QVERIFY(m->reperPoints().first()->isMarkerVisible());
    QCOMPARE(curve->selectable(), QCP::stSingleData);
    QCOMPARE(other->selectable(), QCP::stSingleData);
    QVERIFY(status.isEmpty());
    QVERIFY(finished.isEmpty());
    QVERIFY(m->valueText().isEmpty());
    QCOMPARE(m->value(), 0.0);
    QVERIFY(m->yieldsValue());
}

void ExtremeAndTextTest::extremeOfTheRangeAsReleased_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("offset");
    QTest::addColumn<double>("slope");
    QTest::addColumn<QPointF>("point");

    QTest::newRow("highest of a rising stretch") << int(MAX_POINT) << 0.0 << 0.5 << QPointF(49, 24.5);
    QTest::newRow("lowest of a falling stretch") << int(MIN_POINT) << 50.0 << -0.5 << QPointF(49, 25.5);
}

// A mouse move recalculates before the selection takes in that move, so the
// last move of a drag would leave the point one step short; the release takes
// the range as it ends.
void ExtremeAndTextTest::extremeOfTheRangeAsReleased()
{
    QFETCH(int, kind);
    QFETCH(double, offset);
    QFETCH(double, slope);
    QFETCH(QPointF, point);

    PlotFixture f;
    addCurve(f, [=](double x) { return offset + slope * x; });
    std::unique_ptr<AdditionalGeometrySelection> m = createExtreme(kind, &f.plot, 1);
    f.plot.replot();
    f.drag(f.pixel(10, offset + slope * 10), f.pixel(50, offset + slope * 50));
    QCOMPARE(m->selection(0)->end, 50);
    QCOMPARE(m->reperPoints().first()->position(), point);
}

void ExtremeAndTextTest::releaseWithoutRangeFinishesWithHiddenPoint()
{
    PlotFixture f;
    f.addHorizontalCurve<AdaptiveCurve>(50);
    FindMaxPoint m(&f.plot, 1);
    f.plot.replot();
    f.strayClick();
    QVERIFY(m.isFinished());
    QVERIFY(!m.selectionsComplete());
    QVERIFY(!m.reperPoints().first()->isMarkerVisible());
}

// A cancelled or empty text leaves the measurement waiting with the
// library's placeholder; an accepted one is placed at the click.
void ExtremeAndTextTest::textWaitsUntilOneIsGiven()
{
    PlotFixture f;
    QWidget window;
    QStringList answers = {QString(), QStringLiteral("Деталь №1")};
    QList<QWidget*> askedOver;
    AgTextPlacement m(&window, &f.plot, [&](QWidget* parent) {
        askedOver.append(parent);
        return answers.isEmpty() ? QStringLiteral("again") : answers.takeFirst();
    });
    f.plot.setCursor(Qt::IBeamCursor);
    f.plot.replot();
    QSignalSpy finished(&m, &Measurement::measumentFinished);
    QCPItemText* text = m.textItem();
    QCOMPARE(text->text(), QStringLiteral("text"));

    const QPoint first = f.pixel(20, 30);
    f.move(first);
    f.press(first);
    f.release(first);
    QCOMPARE(askedOver, QList<QWidget*>({&window}));
    QVERIFY(!m.isFinished());
    QCOMPARE(text->text(), QStringLiteral("text"));
    QCOMPARE(text->position->coords(), QPointF(0, 0));

    const QPoint second = f.pixel(60, 70);
    f.move(second);
    f.press(second);
    f.release(second);
    QVERIFY(m.isFinished());
    QCOMPARE(finished.count(), 1);
    QCOMPARE(text->text(), QStringLiteral("Деталь №1"));
    QCOMPARE(text->position->coords(), f.coords(second));
    QCOMPARE(text->color(), QColor(Qt::black));
    QCOMPARE(text->positionAlignment(), Qt::AlignCenter);
    QCOMPARE(f.plot.cursor().shape(), Qt::ArrowCursor);

    f.press(f.pixel(10, 10));
    f.release(f.pixel(10, 10));
    QCOMPARE(askedOver.size(), 2);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(m.name(), QStringLiteral("Текст"));
    QCOMPARE(m.groupName(), QStringLiteral("Текст"));
    QVERIFY(m.valueText().isEmpty());
    QVERIFY(!m.yieldsValue());
}

void ExtremeAndTextTest::textAskedWithDialog()
{
    PlotFixture f;
    QWidget window;
    window.setWindowFlags(Qt::Dialog | Qt::WindowContextHelpButtonHint);
    AgTextPlacement m(&window, &f.plot);
    f.plot.replot();
    MessageBoxAnswerer answerer;
    QString title;
    QString label;
    Qt::WindowFlags flags;
    answerer.onDialog([&](QWidget* dialog) {
        auto* input = qobject_cast<QInputDialog*>(dialog);
        QVERIFY(input);
        title = input->windowTitle();
        label = input->labelText();
        flags = input->windowFlags();
        auto* edit = input->findChild<QLineEdit*>();
        edit->setText(QStringLiteral("Фаска"));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    const QPoint at = f.pixel(40, 40);
    f.move(at);
    f.press(at);
    f.release(at);
    QCOMPARE(title, QStringLiteral("Введите текст"));
    QCOMPARE(label, QStringLiteral("Текст:"));
    QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
    QVERIFY(m.isFinished());
    QCOMPARE(m.textItem()->text(), QStringLiteral("Фаска"));
}

KALVORA_TEST_MAIN(ExtremeAndTextTest)
#include "ExtremeAndTextTest.moc"
