#include <QtTest>

#include "Constants.h"
#include "ProfileParamNames.h"
#include "TestMain.h"

class ConstantsTest : public QObject
{
    Q_OBJECT

private slots:
    void parameterNamesAreTheCatalogue()
    {
        QCOMPARE(profileParamNames.size(), 55);
        QCOMPARE(profileParamNames.firstKey(), 0);
        QCOMPARE(profileParamNames.lastKey(), 54);
        QCOMPARE(profileParamNames.value(0), QStringLiteral("Ra"));
        QCOMPARE(profileParamNames.value(13), QStringLiteral("RΔq(Δq)"));
        QCOMPARE(profileParamNames.value(20), QStringLiteral("λq"));
        QCOMPARE(profileParamNames.value(22), QStringLiteral("ηp"));
        QCOMPARE(profileParamNames.value(28), QStringLiteral("Mr2(tp2)"));
        QCOMPARE(profileParamNames.value(29), QStringLiteral("Wa"));
        QCOMPARE(profileParamNames.value(41), QStringLiteral("WΔa"));
        QCOMPARE(profileParamNames.value(42), QStringLiteral("Pa"));
        QCOMPARE(profileParamNames.value(54), QStringLiteral("PΔa"));
        QVERIFY(!profileParamNames.contains(55));
        QVERIFY(!profileParamNames.contains(-1));

        QSet<QString> unique;
        for (const QString& name : profileParamNames)
            unique.insert(name);
        QCOMPARE(unique.size(), 55);
    }

    void cutOffForIndex_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<double>("cutOff");
        QTest::newRow("0") << 0 << 8000.0;
        QTest::newRow("default") << 1 << 2500.0;
        QTest::newRow("2") << 2 << 800.0;
        QTest::newRow("3") << 3 << 250.0;
        QTest::newRow("last") << 4 << 80.0;
        QTest::newRow("past the end") << 5 << 2500.0;
        QTest::newRow("negative") << -1 << 2500.0;
    }

    void cutOffForIndex()
    {
        QFETCH(int, index);
        QFETCH(double, cutOff);
        QCOMPARE(::cutOffForIndex(index), cutOff);
    }

    void unknownText() { QCOMPARE(kUnknownText, QStringLiteral("неизвестно")); }
};

KALVORA_TEST_MAIN(ConstantsTest)
#include "ConstantsTest.moc"
