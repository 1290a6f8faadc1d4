#include <QProcess>
#include <QtTest>

#include <climits>
#include <cmath>
#include <limits>

#include "GuardedArray.h"
#include "KalvoraLibrary.h"
#include "ResultIndex.h"
#include "TestMain.h"

// The library's outside: which names it exports, and that every function
// refuses bad arguments without touching the caller's arrays.
class LibraryInterfaceTest : public QObject
{
    Q_OBJECT

private:
    static constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    static constexpr double kInf = std::numeric_limits<double>::infinity();

    KalvoraLibrary library;

    static std::vector<double> ramp(int count, double start)
    {
        std::vector<double> values(static_cast<std::size_t>(std::max(count, 0)));
        for (std::size_t i = 0; i < values.size(); ++i)
            values[i] = start + std::sin(0.3 * static_cast<double>(i)) + 0.01 * static_cast<double>(i);
        return values;
    }

    static std::vector<double> numberedResults()
    {
        std::vector<double> values(kalvora::kResultCount);
        for (int i = 0; i < kalvora::kResultCount; ++i)
            values[static_cast<std::size_t>(i)] = 100.0 + i;
        return values;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(library.isComplete(), qPrintable(library.error()));
    }

    void exportsExactlyTheFiveFunctions()
    {
        QProcess nm;
        nm.start(QStringLiteral("nm"), {QStringLiteral("-D"), QStringLiteral("--defined-only"), KalvoraLibrary::path()});
        QVERIFY(nm.waitForFinished());
        QCOMPARE(nm.exitCode(), 0);

        QStringList exported;
        const QStringList lines = QString::fromLocal8Bit(nm.readAllStandardOutput()).split(QLatin1Char('\n'));
        for (const QString& line : lines) {
            const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (fields.size() == 3) {
                QCOMPARE(fields[1], QStringLiteral("T"));
                exported << fields[2];
            }
        }
        exported.sort();
        const QStringList expected{"_KalvoraDLLCalculateLine", "_KalvoraDLLCalculateLineW", "_KalvoraDLLComputeDpTp",
                                   "_KalvoraDLLExcludeRound", "_KalvoraDLLFilterLine"};
        QCOMPARE(exported, expected);
    }

    void filterLineRefusesBadInput_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<double>("step");
        QTest::addColumn<double>("lambdaS");
        QTest::addColumn<double>("lambdaC");
        QTest::addColumn<bool>("nullHeights");
        QTest::addColumn<bool>("nullStep");
        QTest::addColumn<bool>("nullCount");

        QTest::newRow("null heights") << 64 << 0.5 << 2.5 << 8.0 << true << false << false;
        QTest::newRow("null step") << 64 << 0.5 << 2.5 << 8.0 << false << true << false;
        QTest::newRow("null count") << 64 << 0.5 << 2.5 << 8.0 << false << false << true;
        QTest::newRow("no samples") << 0 << 0.5 << 2.5 << 8.0 << false << false << false;
        QTest::newRow("one sample") << 1 << 0.5 << 2.5 << 8.0 << false << false << false;
        QTest::newRow("negative count") << -5 << 0.5 << 2.5 << 8.0 << false << false << false;
        QTest::newRow("zero step") << 64 << 0.0 << 2.5 << 8.0 << false << false << false;
        QTest::newRow("negative step") << 64 << -0.5 << 2.5 << 8.0 << false << false << false;
        QTest::newRow("NaN step") << 64 << kNaN << 2.5 << 8.0 << false << false << false;
        QTest::newRow("infinite step") << 64 << kInf << 2.5 << 8.0 << false << false << false;
        QTest::newRow("zero lambdaS") << 64 << 0.5 << 0.0 << 8.0 << false << false << false;
        QTest::newRow("negative lambdaS") << 64 << 0.5 << -2.5 << 8.0 << false << false << false;
        QTest::newRow("NaN lambdaS") << 64 << 0.5 << kNaN << 8.0 << false << false << false;
        QTest::newRow("infinite lambdaS") << 64 << 0.5 << kInf << 8.0 << false << false << false;
        QTest::newRow("lambdaS whose share underflows") << 64 << 0.5 << 5e-324 << 8.0 << false << false << false;
        QTest::newRow("zero lambdaC") << 64 << 0.5 << 2.5 << 0.0 << false << false << false;
        QTest::newRow("negative lambdaC") << 64 << 0.5 << 2.5 << -8.0 << false << false << false;
        QTest::newRow("NaN lambdaC") << 64 << 0.5 << 2.5 << kNaN << false << false << false;
        QTest::newRow("infinite lambdaC") << 64 << 0.5 << 2.5 << kInf << false << false << false;
        QTest::newRow("one mean-line point") << 159 << 0.5 << 2.5 << 800.0 << false << false << false;
        QTest::newRow("huge lambdaC") << 64 << 0.5 << 2.5 << 1e300 << false << false << false;
        QTest::newRow("tiny step") << 64 << 1e-300 << 1.0 << 1.0 << false << false << false;
    }

    void filterLineRefusesBadInput()
    {
        QFETCH(int, count);
        QFETCH(double, step);
        QFETCH(double, lambdaS);
        QFETCH(double, lambdaC);
        QFETCH(bool, nullHeights);
        QFETCH(bool, nullStep);
        QFETCH(bool, nullCount);

        const std::vector<double> heights = ramp(count, 3.0);
        const std::vector<double> previousMean = ramp(count, -40.0);
        GuardedArray z(heights);
        GuardedArray meanLine(previousMean);
        double stepValue = step;
        int countValue = count;

        library.filterLine(nullHeights ? nullptr : z.data(), nullStep ? nullptr : &stepValue,
                           nullCount ? nullptr : &countValue, meanLine.data(), lambdaS, lambdaC);

        QVERIFY(z.values() == heights);
        QVERIFY(meanLine.values() == previousMean);
        QVERIFY(z.guardsIntact());
        QVERIFY(meanLine.guardsIntact());
        QCOMPARE(countValue, count);
    }

    void excludeRoundRefusesBadInput_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("b");
        QTest::addColumn<bool>("nullHeights");

        QTest::newRow("null heights") << 16 << 1.0 << 1.0 << true;
        QTest::newRow("no samples") << 0 << 1.0 << 1.0 << false;
        QTest::newRow("one sample") << 1 << 1.0 << 1.0 << false;
        QTest::newRow("two samples") << 2 << 1.0 << 1.0 << false;
        QTest::newRow("negative count") << -3 << 1.0 << 1.0 << false;
        QTest::newRow("zero b") << 16 << 1.0 << 0.0 << false;
        QTest::newRow("infinite b") << 16 << 1.0 << kInf << false;
        QTest::newRow("NaN a") << 16 << kNaN << 1.0 << false;
        QTest::newRow("infinite a") << 16 << -kInf << 1.0 << false;
    }

    void excludeRoundRefusesBadInput()
    {
        QFETCH(int, count);
        QFETCH(double, a);
        QFETCH(double, b);
        QFETCH(bool, nullHeights);

        const std::vector<double> heights = ramp(count, 1.0);
        GuardedArray z(heights);

        QCOMPARE(library.excludeRound(nullHeights ? nullptr : z.data(), a, b, count), -1e-9);
        QVERIFY(z.values() == heights);
        QVERIFY(z.guardsIntact());
    }

    void calculateLineLeavesOnlyItsMarksOnBadInput_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<double>("step");
        QTest::addColumn<bool>("nullX");
        QTest::addColumn<bool>("nullZ");
        QTest::addColumn<bool>("zeroLength");

        QTest::newRow("null x") << 32 << 1.0 << true << false << false;
        QTest::newRow("null z") << 32 << 1.0 << false << true << false;
        QTest::newRow("no points") << 0 << 1.0 << false << false << false;
        QTest::newRow("one point") << 1 << 1.0 << false << false << false;
        QTest::newRow("negative count") << -7 << 1.0 << false << false << false;
        QTest::newRow("zero step") << 32 << 0.0 << false << false << false;
        QTest::newRow("negative step") << 32 << -1.0 << false << false << false;
        QTest::newRow("NaN step") << 32 << kNaN << false << false << false;
        QTest::newRow("infinite step") << 32 << kInf << false << false << false;
        QTest::newRow("zero profile length") << 32 << 1.0 << false << false << true;
    }

    void calculateLineLeavesOnlyItsMarksOnBadInput()
    {
        QFETCH(int, count);
        QFETCH(double, step);
        QFETCH(bool, nullX);
        QFETCH(bool, nullZ);
        QFETCH(bool, zeroLength);

        std::vector<double> positions = ramp(count, 0.0);
        for (std::size_t i = 0; i < positions.size(); ++i)
            positions[i] = zeroLength ? 0.0 : static_cast<double>(i);
        const std::vector<double> heights = ramp(count, 5.0);
        GuardedArray x(positions);
        GuardedArray z(heights);
        GuardedArray res(numberedResults());

        library.calculateLine(res.data(), nullX ? nullptr : x.data(), nullZ ? nullptr : z.data(), count, step);

        std::vector<double> marks(kalvora::kResultCount, kalvora::kNoValue);
        marks[kalvora::kCallerEntry] = 100.0 + kalvora::kCallerEntry;
        QVERIFY(res.values() == marks);
        QVERIFY(x.values() == positions);
        QVERIFY(z.values() == heights);
        QVERIFY(res.guardsIntact() && x.guardsIntact() && z.guardsIntact());
    }

    void calculateLineWRefusesBadInput_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("nullX");
        QTest::addColumn<bool>("nullZ");

        QTest::newRow("null x") << 32 << true << false;
        QTest::newRow("null z") << 32 << false << true;
        QTest::newRow("no points") << 0 << false << false;
        QTest::newRow("one point") << 1 << false << false;
        QTest::newRow("negative count") << -2 << false << false;
    }

    void calculateLineWRefusesBadInput()
    {
        QFETCH(int, count);
        QFETCH(bool, nullX);
        QFETCH(bool, nullZ);

        const std::vector<double> positions = ramp(count, 0.0);
        const std::vector<double> heights = ramp(count, 5.0);
        GuardedArray x(positions);
        GuardedArray z(heights);
        GuardedArray res(numberedResults());

        library.calculateLineW(res.data(), nullX ? nullptr : x.data(), nullZ ? nullptr : z.data(), count);

        QVERIFY(res.values() == numberedResults());
        QVERIFY(x.values() == positions);
        QVERIFY(z.values() == heights);
        QVERIFY(res.guardsIntact() && x.guardsIntact() && z.guardsIntact());
    }

    void computeDpTpRefusesBadInput_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("b");
        QTest::addColumn<int>("c");
        QTest::addColumn<bool>("nullZ");

        QTest::newRow("null z") << 32 << 50 << 0 << true;
        QTest::newRow("no points") << 0 << 50 << 0 << false;
        QTest::newRow("negative count") << -1 << 50 << 0 << false;
        QTest::newRow("level -1") << 32 << 10 << 11 << false;
        QTest::newRow("level 101") << 32 << 150 << 49 << false;
        QTest::newRow("level past int") << 32 << INT_MAX << -1 << false;
        QTest::newRow("level below int") << 32 << INT_MIN << 1 << false;
    }

    void computeDpTpRefusesBadInput()
    {
        QFETCH(int, count);
        QFETCH(int, b);
        QFETCH(int, c);
        QFETCH(bool, nullZ);

        const std::vector<double> heights = ramp(count, 5.0);
        GuardedArray z(heights);
        GuardedArray res(numberedResults());

        library.computeDpTp(res.data(), nullptr, nullZ ? nullptr : z.data(), count, 41, b, c);

        QVERIFY(res.values() == numberedResults());
        QVERIFY(z.values() == heights);
        QVERIFY(res.guardsIntact() && z.guardsIntact());
    }

    void parameterFunctionsWithoutResultArrayDoNothing()
    {
        const std::vector<double> positions{0, 1, 2, 3, 4, 5};
        const std::vector<double> heights{0, 2, 2, 0, 1, -1};
        GuardedArray x(positions);
        GuardedArray z(heights);

        library.calculateLine(nullptr, x.data(), z.data(), 6, 1.0);
        library.calculateLineW(nullptr, x.data(), z.data(), 6);
        library.computeDpTp(nullptr, x.data(), z.data(), 6, 41, 50, 0);

        QVERIFY(x.values() == positions);
        QVERIFY(z.values() == heights);
        QVERIFY(x.guardsIntact() && z.guardsIntact());
    }
};

KALVORA_TEST_MAIN(LibraryInterfaceTest)
#include "LibraryInterfaceTest.moc"
