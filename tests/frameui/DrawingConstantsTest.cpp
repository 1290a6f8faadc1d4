#include <QtTest>

#include "DrawingConstants.h"
#include "TestMain.h"

class DrawingConstantsTest : public QObject
{
    Q_OBJECT

private slots:
    void sharedPens()
    {
        QCOMPARE(kBlackPen.color(), QColor(Qt::black));
        QCOMPARE(kBlackPen.widthF(), 0.0);
        QCOMPARE(kMagentaDashPen.style(), Qt::DashLine);
        QCOMPARE(kMagentaDashPen.widthF(), 1.0);
        for (const QPen& pen : {kBlackPen, kGreenPen, kMagentaDashPen}) {
            QCOMPARE(pen.capStyle(), Qt::SquareCap);
            QCOMPARE(pen.joinStyle(), Qt::BevelJoin);
        }
        QCOMPARE(kMonospaceFont.family(), QStringLiteral("Monospace"));
    }
};

KALVORA_TEST_MAIN(DrawingConstantsTest)
#include "DrawingConstantsTest.moc"
