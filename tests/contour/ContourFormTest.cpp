#include "WorkspaceScene.h"

#include "SettingsFixture.h"
#include "TestMain.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTextEdit>

class ContourFormTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void init() { loadSettingsFile(); }
    void objectNames();
    void toolBar();
    void spinBoxes_data();
    void spinBoxes();
    void modes();
};

// Every object the workspace's code reaches, with its class.
void ContourFormTest::objectNames()
{
    WorkspaceScene scene;
    const QStringList buttons = {
        "pushButtonPAN", "pushButtonScaleX", "pushButtonScaleY", "pushButtonResetScale", "pushButtonlayFlat",
        "pushButtonLayFlatByTwo", "pushButtonRST", "pushButtonHorisontalDistance", "pushButtonVerticalDistance",
        "pushButtonDirectDistance", "pushButtonMeanHeight", "pushButtonDirectAngle", "pushButtonHHorizonAngle",
        "pushButtonVHorizonAngle", "pushButtonRadius", "pushButtonMultiRadius", "pushButtonRMSE",
        "pushButtonRadiusError", "pushButtonRDESpecified", "pushButtonRadiusErrorFilter",
        "pushButtonRadiusErrorByTwoSegment", "pushButtonRadiusErrorFilterMultypleSegments", "pushButtonCalculateRA",
        "pushButtonCalculateRZ", "pushButtonCircumSelect", "pushButtonAGCircumSpecified",
        "pushButtonAddGeomHorizontalLine", "pushButtonAddGeomVerticlaLine", "pushButtonAddGeomDoubleClickLine",
        "pushButtonAddGeomPoint", "pushButtonAddGoemMiddlePoint", "pushButtonAddGeomThread", "pushButtonFindMaxPoint",
        "pushButtonFindMinPoint", "pushButtonAddGeomText", "pushButtonDXFPlane", "pushButtonErrorPlane",
        "savePushButton", "discardChangesPushButton", "saveAsPushButton"};
    const QStringList frames = {"frameScale", "frameLayFlat", "frameDistance", "frameAngle", "frameRadius",
                                "frameErrors", "frameR", "frameAddGeomCircumference", "frameAddGeomLine", "frameDXF"};
    const QStringList actions = {"actionScale", "actionLayFlat", "actionDistance", "actionAngle", "actionRadius",
                                 "actionErrors", "actionR", "actionCircumferenceAdditionalGeometry",
                                 "actionLineAdditionalGeometry", "actionDXF"};
    QList<QPair<QString, const char*>> expected = {
        {"plot", "PlotWidget"},          {"measurementTree", "MeasurementTreeWidget"},
        {"detailNameEdit", "QLineEdit"}, {"detailNameLabel", "QLabel"},
        {"CommentLabel", "QLabel"},      {"commentTextEdit", "QTextEdit"},
        {"statusbar", "QStatusBar"},     {"groupBox", "QGroupBox"},
        {"toolBar", "QToolBar"},         {"enableRadiusEliminationCheckBox", "QCheckBox"},
        {"enableGaussFilterCheckBox", "QCheckBox"},
    };
    for (const QString& name : buttons)
        expected.append({name, "QPushButton"});
    for (const QString& name : frames)
        expected.append({name, "QFrame"});
    for (const QString& name : actions)
        expected.append({name, "QAction"});

    for (const auto& [name, className] : expected) {
        const QObject* object = scene.widget->findChild<QObject*>(name);
        QVERIFY2(object, qPrintable(name));
        QVERIFY2(object->inherits(className), qPrintable(name));
    }
    for (const QString& name : frames)
        QCOMPARE(scene.frame(name)->parent(), scene.plot());
    for (const QString& name : actions)
        QVERIFY2(scene.action(name)->isCheckable() && !scene.action(name)->isChecked(), qPrintable(name));
    // The first letter is the Latin C.
    QCOMPARE(scene.button(QStringLiteral("saveAsPushButton"))->text().at(0), QChar(0x43));
    QCOMPARE(scene.widget->findChild<QLineEdit*>(QStringLiteral("detailNameEdit"))->text(),
             AppSettings::instance().servise.default_trace_file_name);
}

void ContourFormTest::toolBar()
{
    WorkspaceScene scene;
    auto* toolBar = scene.widget->findChild<QToolBar*>(QStringLiteral("toolBar"));
    QStringList names;
    for (const QAction* action : toolBar->actions())
        names.append(action->isSeparator() ? QStringLiteral("|") : action->objectName());
    QCOMPARE(names, QStringList({"|", "|", "actionScale", "actionLayFlat", "actionDistance", "actionAngle",
                                 "actionRadius", "actionErrors", "actionR", "|", "|", "actionLineAdditionalGeometry",
                                 "actionCircumferenceAdditionalGeometry", "actionDXF"}));
    QCOMPARE(scene.widget->toolBarArea(toolBar), Qt::LeftToolBarArea);
    QVERIFY(!toolBar->isMovable());
    QCOMPARE(toolBar->iconSize(), QSize(32, 32));
}

void ContourFormTest::spinBoxes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<double>("step");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("down tip") << "downHeadRadiusSpinBox" << 0 << 5.0 << 2000.0 << 1.0 << 22.0 << " мкм";
    QTest::newRow("upper tip") << "upperHeadRadiusSpinBox" << 0 << 5.0 << 2000.0 << 1.0 << 22.0 << " мкм";
    QTest::newRow("probe height") << "doubleSidedProbeHighSpinBox" << 3 << 5.0 << 99.99 << 0.001 << 30.0 << " мм";
    QTest::newRow("needle bias") << "needleBiasSpinBox" << 3 << -99.99 << 99.99 << 0.001 << 0.0 << " мм";
    QTest::newRow("rack") << "rackPerpendicularSpinBox" << 2 << -10.0 << 10.0 << 0.01 << 0.0 << " °";
    QTest::newRow("roughness") << "roughnessRatioSpinBox" << 3 << 0.1 << 99.99 << 0.001 << 0.1 << "";
    QTest::newRow("x compression") << "xAxisCompressionRatioSpinBox" << 5 << 0.95 << 1.05 << 0.00001 << 1.0 << "";
    QTest::newRow("y compression") << "yAxisCompressionRatioSpinBox" << 5 << 0.95 << 1.05 << 0.00001 << 1.0 << "";
    QTest::newRow("displacement") << "displacementCoefficientSpinBox" << 6 << -100.0 << 100.99 << 0.000001 << 0.0
                                  << "";
}

void ContourFormTest::spinBoxes()
{
    QFETCH(QString, name);
    QFETCH(int, decimals);
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    QFETCH(double, step);
    QFETCH(double, value);
    QFETCH(QString, suffix);
    WorkspaceScene scene;
    const auto* spinBox = scene.widget->findChild<QDoubleSpinBox*>(name);
    QVERIFY(spinBox);
    QCOMPARE(spinBox->decimals(), decimals);
    QCOMPARE(spinBox->minimum(), minimum);
    QCOMPARE(spinBox->maximum(), maximum);
    QCOMPARE(spinBox->singleStep(), step);
    QCOMPARE(spinBox->value(), value);
    QCOMPARE(spinBox->suffix(), suffix);
    QCOMPARE(spinBox->parentWidget(), scene.widget->findChild<QGroupBox*>(QStringLiteral("groupBox")));
}

// A measurement tab hides the calibration panel; the calibration screen
// shows it instead of the part name and comment.
void ContourFormTest::modes()
{
    for (const bool calibration : {false, true}) {
        WorkspaceScene scene({}, calibration);
        QCOMPARE(scene.widget->findChild<QGroupBox*>(QStringLiteral("groupBox"))->isVisible(), calibration);
        QCOMPARE(scene.button(QStringLiteral("savePushButton"))->isVisible(), calibration);
        QCOMPARE(scene.button(QStringLiteral("discardChangesPushButton"))->isVisible(), calibration);
        QCOMPARE(scene.widget->findChild<QLineEdit*>(QStringLiteral("detailNameEdit"))->isVisible(), !calibration);
        QCOMPARE(scene.widget->findChild<QTextEdit*>(QStringLiteral("commentTextEdit"))->isVisible(), !calibration);
        QCOMPARE(scene.widget->isCalibrationMode(), calibration);
    }
}

KALVORA_TEST_MAIN(ContourFormTest)
#include "ContourFormTest.moc"
