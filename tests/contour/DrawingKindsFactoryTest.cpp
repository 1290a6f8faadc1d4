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
