#include "ManagerScene.h"

#include "measurements/ComparePlaneDXF.h"
#include "measurements/DxfDrawing.h"
#include "measurements/ErrorPlane.h"

#include "SignalTexts.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QDir>

using Scene = ManagerScene<MeasurementsManager>;

// The manager's real factory for the drawing comparison and the deviation
// from the drawing.
class DrawingKindsFactoryTest : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { ComparePlaneDXF::setFileProvider(nullptr); }

    void comparisonReachesStatusLineAndButton();
    void failedImportKeepsKindChosen();
    void deviationFromDrawing();
};

// The comparison's prompt, posted from its constructor, reaches the manager's
// status line; removing the comparison takes its drawing away.
void DrawingKindsFactoryTest::comparisonReachesStatusLineAndButton()
{
    const QString path = QDir::current().filePath(QStringLiteral("drawing.dxf"));
    writeText(path, readText(QStringLiteral(KALVORA_DXF_DIR "/minimal.dxf")));
    ComparePlaneDXF::setFileProvider([path](QWidget*) { return path; });
    Scene s;
    QSignalSpy status(&s.manager, &MeasurementsManager::statusText);
    QSignalSpy button(&s.manager, &MeasurementsManager::enableButton);
    s.manager.setMeasurementType(DRAWING_COMPARISON, true, false, QString());
    s.clickAt(20, 50);

    auto* comparison = dynamic_cast<ComparePlaneDXF*>(s.manager.currentMeasurement());
    QVERIFY(comparison);
    QCOMPARE(button.count(), 1);
    QVERIFY(button.at(0).at(0).toBool());
    QTRY_VERIFY(signalTexts(status).contains(QStringLiteral("Выберите первую точку на трассе")));
    QCOMPARE(s.manager.drawing().entityCount(), 1);

    s.manager.removeMeasurement(comparison->id());
    QCOMPARE(button.count(), 2);
    QVERIFY(!button.at(1).at(0).toBool());
    QVERIFY(s.manager.drawing().isEmpty());
}

// A refused file creates no measurement and leaves the drawing kind chosen:
// the reason goes to the status line, and the next press asks for a file
// again.
void DrawingKindsFactoryTest::failedImportKeepsKindChosen()
{
    const QString refused = QDir::current().filePath(QStringLiteral("refused.dxf"));
    const QString good = QDir::current().filePath(QStringLiteral("drawing.dxf"));
    writeText(refused, QStringLiteral("ENTITIES\nAcDbLine\n10\n0\n20\n0\n11\n1\n21\n0\n"));
    writeText(good, readText(QStringLiteral(KALVORA_DXF_DIR "/minimal.dxf")));
    QString chosen = refused;
    ComparePlaneDXF::setFileProvider([&chosen](QWidget*) { return chosen; });
    Scene s;
    QSignalSpy status(&s.manager, &MeasurementsManager::statusText);
    QSignalSpy button(&s.manager, &MeasurementsManager::enableButton);
    QSignalSpy imported(&s.manager, &MeasurementsManager::drawingImported);
    s.manager.setMeasurementType(DRAWING_COMPARISON, true, false, QString());
    s.clickAt(20, 50);

    QVERIFY(!s.manager.currentMeasurement());
    QVERIFY(s.manager.measurements().isEmpty());
    QCOMPARE(button.count(), 0);
    QCOMPARE(imported.count(), 0);
    QCOMPARE(s.manager.measurementType(), int(DRAWING_COMPARISON));
    QCOMPARE(signalTexts(status).size(), 1);
    QVERIFY2(signalTexts(status).first().contains(QStringLiteral("обрывается")), qPrintable(signalTexts(status).first()));

    chosen = good;
    s.clickAt(20, 50);
    QVERIFY(dynamic_cast<ComparePlaneDXF*>(s.manager.currentMeasurement()));
    QCOMPARE(button.count(), 1);
    QCOMPARE(imported.count(), 1);
    QCOMPARE(s.manager.measurementType(), int(NO_MEASUREMENT));
}

void DrawingKindsFactoryTest::deviationFromDrawing()
{
    Scene s;
    s.manager.setMeasurementType(GRAPH_DEVIATION, true, false, QString());
    s.clickAt(20, 50);
    QVERIFY(dynamic_cast<ErrorPlane*>(s.manager.currentMeasurement()));
    QCOMPARE(s.manager.currentMeasurement()->type(), int(GRAPH_DEVIATION));
}

KALVORA_TEST_MAIN(DrawingKindsFactoryTest)
#include "DrawingKindsFactoryTest.moc"
