#include "WorkspaceScene.h"

#include "LogTexts.h"
#include "MessageBoxAnswerer.h"
#include "SettingsFixture.h"
#include "TestMain.h"
#include "TextInput.h"

#include <QDoubleSpinBox>
#include <QInputDialog>
#include <QSpinBox>

namespace {

ProfileData line()
{
    return traceThrough({{0, 0}, {50, 10}, {100, 20}});
}

QImage iconImage(const QIcon& icon)
{
    return icon.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
}

// Replaces the dialog's number with the text typed key by key, then OK.
void typeIntoSpinBox(QWidget* dialog, QAbstractSpinBox* spinBox, const QString& text)
{
    spinBox->setFocus();
    spinBox->selectAll();
    typeText(spinBox, text);
    QVERIFY(MessageBoxAnswerer::clickStandardButton(dialog, QDialogButtonBox::Ok));
}

} // namespace

class MeasurementButtonsTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void init() { loadSettingsFile(); }
    void buttons_data();
    void buttons();
    void secondClickClearsTheKind();
    void countDialog();
    void radiusDialog_data();
    void radiusDialog();
    void drawingDeviationFollowsTheManager();
    void drawingDeviationIsNamedAsItsButton();
};

void MeasurementButtonsTest::buttons_data()
{
    QTest::addColumn<QString>("actionName");
    QTest::addColumn<QString>("buttonName");
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("keep");
    QTest::addColumn<bool>("pick");
    QTest::addColumn<QString>("icon");

    struct Row
    {
        const char* action;
        const char* button;
        int kind;
        const char* icon;
    };
    const Row rows[] = {
        {"actionLayFlat", "pushButtonlayFlat", 8, "flat.png"},
        {"actionLayFlat", "pushButtonLayFlatByTwo", 9, "flatByTwoSelection.png"},
        {"actionDistance", "pushButtonHorisontalDistance", 1, "hdist.png"},
        {"actionDistance", "pushButtonVerticalDistance", 0, "vdist.png"},
        {"actionDistance", "pushButtonDirectDistance", 2, "ddist.png"},
        {"actionDistance", "pushButtonMeanHeight", 10, "mheight.png"},
        {"actionAngle", "pushButtonDirectAngle", 5, "angle.png"},
        {"actionAngle", "pushButtonHHorizonAngle", 4, "hangle.png"},
        {"actionAngle", "pushButtonVHorizonAngle", 3, "vangle.png"},
        {"actionRadius", "pushButtonRadius", 6, "rad.png"},
        {"actionRadius", "pushButtonMultiRadius", 7, "radarc.png"},
        {"actionErrors", "pushButtonRMSE", 11, "lineerr.png"},
        {"actionErrors", "pushButtonRadiusError", 12, "raderr.png"},
        {"actionErrors", "pushButtonRDESpecified", 13, "raderr_R.png"},
        {"actionErrors", "pushButtonRadiusErrorFilter", 14, "raderFilter1.png"},
        {"actionErrors", "pushButtonRadiusErrorByTwoSegment", 15, "Rader_2zelect.png"},
        {"actionErrors", "pushButtonRadiusErrorFilterMultypleSegments", 16, "Rader_2zelect_filter.png"},
        {"actionR", "pushButtonCalculateRA", 18, "Ra.png"},
        {"actionR", "pushButtonCalculateRZ", 19, "Rz.png"},
        {"actionCircumferenceAdditionalGeometry", "pushButtonCircumSelect", 20, "Circle.png"},
        {"actionCircumferenceAdditionalGeometry", "pushButtonAGCircumSpecified", 21, "Circle_input Radius.png"},
        {"actionLineAdditionalGeometry", "pushButtonAddGeomHorizontalLine", 22, "Horizontal_line.png"},
        {"actionLineAdditionalGeometry", "pushButtonAddGeomVerticlaLine", 23, "Vertical_line.png"},
        {"actionLineAdditionalGeometry", "pushButtonAddGeomDoubleClickLine", 24, "2dot_line.png"},
        {"actionLineAdditionalGeometry", "pushButtonAddGeomPoint", 25, "Point.png"},
        {"actionLineAdditionalGeometry", "pushButtonAddGoemMiddlePoint", 26, "mid_point.png"},
        {"actionLineAdditionalGeometry", "pushButtonAddGeomThread", 27, "MidLine.png"},
        {"actionLineAdditionalGeometry", "pushButtonFindMaxPoint", 28, "Max_point.png"},
        {"actionLineAdditionalGeometry", "pushButtonFindMinPoint", 29, "Min_point.png"},
        {"actionLineAdditionalGeometry", "pushButtonAddGeomText", 30, "text_placement.png"},
        {"actionDXF", "pushButtonDXFPlane", 31, "open.png"},
        {"actionDXF", "pushButtonErrorPlane", 32, "lineerr.png"},
    };
    const QList<int> picking = {0, 1, 2, 22, 23, 24, 26};
    for (const Row& row : rows) {
        QTest::newRow(row.button) << row.action << row.button << row.kind << (row.kind != 8 && row.kind != 9)
                                  << picking.contains(row.kind) << row.icon;
    }
}

// A click on an armed button in its open frame chooses the kind; the button
// becomes active and its icon goes to the action, whose frame closes. The
// dialogs of the kinds that ask for a number are cancelled here, which still
// chooses the kind.
void MeasurementButtonsTest::buttons()
{
    QFETCH(QString, actionName);
    QFETCH(QString, buttonName);
    QFETCH(int, kind);
    QFETCH(bool, keep);
    QFETCH(bool, pick);
    QFETCH(QString, icon);
    WorkspaceScene scene({line()});
    emit scene.manager()->enableButton(true);
    MessageBoxAnswerer cancel;
    QAction* action = scene.action(actionName);
    QPushButton* button = scene.button(buttonName);

    scene.clickAction(actionName);
    QVERIFY(button->isVisible());
    scene.clickButton(buttonName);

    QVERIFY(logTexts().contains(QStringLiteral("INFO: ") + buttonName + QStringLiteral("was clicked")));
    QCOMPARE(scene.manager()->measurementType(), kind);
    QCOMPARE(scene.manager()->keepInList(), keep);
    QCOMPARE(scene.manager()->pointsSelectable(), pick);
    QCOMPARE(scene.manager()->parameter(), QString());
    QCOMPARE(iconImage(action->icon()), iconImage(QIcon(QStringLiteral(":/icons/icons/") + icon)));
    QVERIFY(!action->isChecked());
    QVERIFY(!button->isVisible());
    QVERIFY(!button->isCheckable());
    QCOMPARE(scene.plot()->interactions(), QCP::iRangeSelection | QCP::iRangeZoom);
    if (kind != TEXT_PLACEMENT)
        QCOMPARE(scene.plot()->cursor().shape(), Qt::ArrowCursor);
}

// The active button clears the kind and stays active until a frame opens.
void MeasurementButtonsTest::secondClickClearsTheKind()
{
    WorkspaceScene scene({line()});
    scene.choose(QStringLiteral("actionDistance"), QStringLiteral("pushButtonVerticalDistance"));
    const int logged = logTexts().size();
    QPushButton* button = scene.button(QStringLiteral("pushButtonVerticalDistance"));
    scene.frame(QStringLiteral("frameDistance"))->show();
    scene.clickButton(QStringLiteral("pushButtonVerticalDistance"));
    QCOMPARE(scene.manager()->measurementType(), int(NO_MEASUREMENT));
    QVERIFY(!button->isCheckable());
    QCOMPARE(logTexts().size(), logged);

    scene.clickAction(QStringLiteral("actionDistance"));
    QVERIFY(button->isCheckable());
    QVERIFY(!button->isChecked());
}

void MeasurementButtonsTest::countDialog()
{
    WorkspaceScene scene({line()});
    MessageBoxAnswerer answerer;
    QString title;
    answerer.onDialog([&title](QWidget* dialog) {
        title = dialog->windowTitle();
        QVERIFY(!(dialog->windowFlags() & Qt::WindowContextHelpButtonHint));
        auto* spinBox = dialog->findChild<QSpinBox*>();
        QVERIFY(spinBox);
        QCOMPARE(spinBox->value(), 2);
        QCOMPARE(spinBox->minimum(), 2);
        QCOMPARE(spinBox->maximum(), 100);
        typeIntoSpinBox(dialog, spinBox, QStringLiteral("3"));
    });
    scene.choose(QStringLiteral("actionErrors"), QStringLiteral("pushButtonRadiusErrorByTwoSegment"));
    QCOMPARE(title, QStringLiteral("Введите число выделений"));
    QCOMPARE(scene.manager()->measurementType(), int(CIRCLE_DEVIATION_BY_SEGMENTS));
    QCOMPARE(scene.manager()->parameter(), QStringLiteral("3"));
}

void MeasurementButtonsTest::radiusDialog_data()
{
    QTest::addColumn<QString>("actionName");
    QTest::addColumn<QString>("buttonName");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("label");
    QTest::newRow("deviation, micrometres")
        << "actionErrors" << "pushButtonRDESpecified" << 1 << "Радиус в мкм";
    QTest::newRow("circle, millimetres")
        << "actionCircumferenceAdditionalGeometry" << "pushButtonAGCircumSpecified" << 0 << "Радиус в мм";
}

// "2б5" types 2,5 on the Russian layout: 2.5, not 25. The radius goes to the
// manager with three decimals and a point, and becomes the next default.
void MeasurementButtonsTest::radiusDialog()
{
    QFETCH(QString, actionName);
    QFETCH(QString, buttonName);
    QFETCH(int, unit);
    QFETCH(QString, label);
    changeSettings([unit](AppSettings& settings) {
        settings.view.axis_unit = unit;
        settings.preferenses.inscribed_circle_radius_measurement = 1.25;
    });
    WorkspaceScene scene({line()});
    MessageBoxAnswerer answerer;
    QString title, shownLabel;
    double shownValue = 0;
    answerer.onDialog([&](QWidget* dialog) {
        title = dialog->windowTitle();
        shownLabel = static_cast<QInputDialog*>(dialog)->labelText();
        QVERIFY(!(dialog->windowFlags() & Qt::WindowContextHelpButtonHint));
        auto* spinBox = dialog->findChild<QDoubleSpinBox*>();
        QVERIFY(spinBox);
        shownValue = spinBox->value();
        QCOMPARE(spinBox->decimals(), 3);
        QCOMPARE(spinBox->minimum(), 0.001);
        QCOMPARE(spinBox->maximum(), 1e12);
        typeIntoSpinBox(dialog, spinBox, QStringLiteral("2б5"));
    });
    scene.choose(actionName, buttonName);

    QCOMPARE(title, QStringLiteral("Введите радиус вписанной окружности"));
    QCOMPARE(shownLabel, label);
    QCOMPARE(shownValue, 1.25);
    QCOMPARE(scene.manager()->parameter(), QStringLiteral("2.500"));
    QCOMPARE(AppSettings::instance().preferenses.inscribed_circle_radius_measurement, 2.5);
    QCOMPARE(savedSettings().preferenses.inscribed_circle_radius_measurement, 2.5);
}

void MeasurementButtonsTest::drawingDeviationFollowsTheManager()
{
    WorkspaceScene scene({line()});
    QPushButton* button = scene.button(QStringLiteral("pushButtonErrorPlane"));
    QVERIFY(!button->isEnabled());
    emit scene.manager()->enableButton(true);
    QVERIFY(button->isEnabled());
    emit scene.manager()->enableButton(false);
    QVERIFY(!button->isEnabled());
}

// The deviation from the drawing is listed, and named in the status line, as
// its button names it, not as the deviation from a line.
void MeasurementButtonsTest::drawingDeviationIsNamedAsItsButton()
{
    // A drawing imported (which enables the deviation's button) and abandoned
    // when the deviation is chosen before its fit.
    QVector<QPointF> points;
    for (int i = 0; i <= 100; ++i)
        points.append(QPointF(10.0 * i, 2.0 * i));
    WorkspaceScene scene({traceThrough(points)});
    const QCPCurve* trace = scene.plot()->curve(0);
    scene.importOneLineDrawing(pointOf(trace, 50));
    scene.choose(QStringLiteral("actionDXF"), QStringLiteral("pushButtonErrorPlane"));
    scene.drag(pointOf(trace, 20), pointOf(trace, 60));
    const QPointF place = pointOf(trace, 60) - QPointF(0, 0.3);
    scene.clickAt(place.x(), place.y());
    Measurement* deviation = scene.manager()->measurements().last();
    QCOMPARE(deviation->type(), 32);

    const QString name = QStringLiteral("Отклонение от чертежа");
    QCOMPARE(scene.button(QStringLiteral("pushButtonErrorPlane"))->toolTip(), name);
    QTreeWidgetItem* row = scene.row(deviation->id());
    QVERIFY(row);
    QCOMPARE(row->text(0), name);
    QVERIFY(scene.statusLine().startsWith(name + QStringLiteral(": ")));
}

KALVORA_TEST_MAIN(MeasurementButtonsTest)
#include "MeasurementButtonsTest.moc"
