#include <QtTest>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include "AmplitudeParameters.h"
#include "FuzzyCompare.h"
#include "MaterialRatio.h"
#include "ProfileFixtures.h"
#include "SamplingLengths.h"
#include "SpacingParameters.h"
#include "TestFiles.h"
#include "TestMain.h"

using Parameter = std::function<double(const ProfileData&, double)>;
Q_DECLARE_METATYPE(Parameter)

namespace {

constexpr double kDegrees = 57.29577951308232;
constexpr double kWavelength = 100;
constexpr double kSamplingLength = 800;
constexpr double kStep = 0.5;
// Five sampling lengths and four gaps of one wavelength: every window starts
// and ends on a crest.
constexpr double kCosineSpan = 5 * kSamplingLength + 4 * kWavelength;

struct NamedParameter
{
    const char* name;
    Parameter compute;
};

// Every parameter that reads only the profile and the sampling length.
const QVector<NamedParameter>& profileParameters()
{
    static const QVector<NamedParameter> all = {
        {"Ra", [](const ProfileData& p, double l) { return Algos::Ra(p, l); }},
        {"Rq", [](const ProfileData& p, double l) { return Algos::Rq(p, l); }},
        {"Rsk", [](const ProfileData& p, double l) { return Algos::Rsk(p, l); }},
        {"Rku", [](const ProfileData& p, double l) { return Algos::Rku(p, l); }},
        {"Rmax", [](const ProfileData& p, double l) { return Algos::Rmax(p, l); }},
        {"Rz", [](const ProfileData& p, double l) { return Algos::Rz(p, l); }},
        {"Rm", [](const ProfileData& p, double l) { return Algos::Rm(p, l); }},
        {"Rp", [](const ProfileData& p, double l) { return Algos::Rp(p, l); }},
        {"Rv", [](const ProfileData& p, double l) { return Algos::Rv(p, l); }},
        {"R3z", [](const ProfileData& p, double l) { return Algos::R3z(p, l); }},
        {"RSm", [](const ProfileData& p, double l) { return Algos::RSm(p, l); }},
        {"Rc", [](const ProfileData& p, double l) { return Algos::Rc(p, l); }},
        {"D", [](const ProfileData& p, double l) { return Algos::D(p, l); }},
        {"RDq", [](const ProfileData& p, double l) { return Algos::RDq(p, l); }},
        {"RDa", [](const ProfileData& p, double l) { return Algos::RDa(p, l); }},
        {"lambdaQ", [](const ProfileData& p, double l) { return Algos::lambdaQ(p, l); }},
        {"lambdaA", [](const ProfileData& p, double l) { return Algos::lambdaA(p, l); }},
        {"L0", [](const ProfileData& p, double l) { return Algos::L0(p, l); }},
        {"l0", [](const ProfileData& p, double l) { return Algos::l0(p, l); }},
        {"etaP", [](const ProfileData& p, double l) { return Algos::etaP(p, l, 0.25); }},
        {"tp", [](const ProfileData& p, double l) { return Algos::tp(p, l, 0.25); }},
    };
    return all;
}

Parameter parameterNamed(const char* name)
{
    for (const NamedParameter& parameter : profileParameters()) {
        if (qstrcmp(parameter.name, name) == 0)
            return parameter.compute;
    }
    return {};
}

// The amplitude parameters as a plain reading of their definition: split,
// fit each segment's line, sort its deviations; the mean over the segments
// that have enough points.
struct ReferenceAmplitude
{
    double ra = 0, rq = 0, rz = 0, rp = 0, rv = 0, r3z = 0, rmax = 0;
};

ReferenceAmplitude referenceAmplitude(const ProfileData& profile, double samplingLength)
{
    ReferenceAmplitude result;
    if (Algos::samplingLengthCount(profile.at(0), samplingLength) == 0)
        return result;
    double sumAbs = 0, sumSquares = 0;
    int points = 0, lined = 0, withThree = 0, nonEmpty = 0;
    for (const ProfileData& segment : Algos::splitIntoSamplingLengths(profile, samplingLength)) {
        const QVector<double>& x = segment.at(0);
        const QVector<double>& h = segment.at(1);
        if (!h.isEmpty()) {
            result.rmax += *std::max_element(h.begin(), h.end()) - *std::min_element(h.begin(), h.end());
            ++nonEmpty;
        }
        if (h.size() < 2)
            continue;
        const Algos::RMS line = Algos::meanLine(segment);
        QVector<double> deviations;
        for (int i = 0; i < h.size(); ++i)
            deviations.append(h.at(i) - line.evaluate(x.at(i)));
        for (double d : deviations) {
            sumAbs += std::abs(d);
            sumSquares += d * d;
        }
        points += deviations.size();
        std::sort(deviations.begin(), deviations.end(), std::greater<double>());
        result.rz += deviations.first() - deviations.last();
        result.rp += deviations.first();
        result.rv += std::abs(deviations.last());
        ++lined;
        if (deviations.size() >= 3) {
            result.r3z += deviations.at(2) - deviations.at(deviations.size() - 3);
            ++withThree;
        }
    }
    result.ra = sumAbs / points;
    result.rq = std::sqrt(sumSquares / points);
    result.rz /= lined;
    result.rp /= lined;
    result.rv /= lined;
    result.r3z /= withThree;
    result.rmax /= nonEmpty;
    return result;
}

const QString kDataDir = QStringLiteral(KALVORA_TEST_DATA_DIR);

// "x z" lines in micrometres.
ProfileData readProfile(const QString& path)
{
    ProfileData profile(2);
    for (const QString& line : readText(path).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char(' '));
        profile[0].append(fields.at(0).toDouble());
        profile[1].append(fields.at(1).toDouble());
    }
    return profile;
}

// Name and value of each line that is no comment.
QMap<QString, double> readReferenceValues(const QString& path)
{
    QMap<QString, double> values;
    for (const QString& line : readText(path).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QLatin1Char(' '));
        values.insert(fields.at(0), fields.at(1).toDouble());
    }
    return values;
}

} // namespace

class ProfileParametersTest : public QObject
{
    Q_OBJECT

private slots:
    void cosineFixture_data()
    {
        QTest::addColumn<Parameter>("parameter");
        QTest::addColumn<double>("expected");
        QTest::addColumn<double>("tolerance");

        const double w = kWavelength;
        const double slopeAmplitude = 2 * fixtures::kPi / w;
        const double wavesOverSpan = kCosineSpan / w;
        auto row = [&](const char* name, double expected, double tolerance) {
            QTest::newRow(name) << parameterNamed(name) << expected << tolerance;
        };
        row("Ra", 2 / fixtures::kPi, 1e-3);
        row("Rq", 1 / std::sqrt(2.0), 1e-3);
        row("Rku", 1.5, 1e-3);
        row("Rsk", 0, 1e-3);
        row("Rz", 2, 1e-9);
        row("Rm", 2, 1e-9);
        row("R3z", 2, 1e-9);
        row("Rmax", 2, 1e-9);
        row("Rp", 1, 1e-3);
        row("Rv", 1, 1e-3);
        row("RSm", w - kStep, 1e-9);
        row("Rc", 2, 1e-9);
        row("D", 87.5, 1e-9);
        // Slopes between sample points fall short of the tangent by about 4e-5.
        row("RDq", kDegrees * std::sqrt(2.0) * fixtures::kPi / w, 1e-4 * kDegrees * 4 / w);
        row("RDa", kDegrees * 4 / w, 1e-4 * kDegrees * 4 / w);
        row("lambdaQ", w, 0.1);
        row("lambdaA", w, 0.1);
        row("l0", 1 + slopeAmplitude * slopeAmplitude / 4, 2e-6);
        row("L0", kSamplingLength * (1 + slopeAmplitude * slopeAmplitude / 4), 2e-3);
        QTest::newRow("S") << Parameter([](const ProfileData& p, double) { return Algos::S(p); })
                           << w * (wavesOverSpan - 2) / (wavesOverSpan - 1) << 1e-9;
        QTest::newRow("Rt") << Parameter([](const ProfileData& p, double) { return Algos::Rt(p); }) << 2.0 << 1e-9;
    }

    void cosineFixture()
    {
        QFETCH(Parameter, parameter);
        QFETCH(double, expected);
        QFETCH(double, tolerance);
        const ProfileData profile = fixtures::cosine(1, kWavelength, kCosineSpan, kStep);
        const double actual = parameter(profile, kSamplingLength);
        KALVORA_COMPARE_NEAR(actual, expected, tolerance);
    }

    void cosineMaterialRatio()
    {
        const ProfileData curve = Algos::materialRatioCurve(fixtures::cosine(1, kWavelength, kCosineSpan, kStep));
        // The core line lies along one flat end of the curve and ends below the
        // lowest level, so the curve meets it only at 100 %.
        QCOMPARE(Algos::Mr2(curve), 100.0);
        KALVORA_COMPARE_NEAR(Algos::Mr1(curve), 25.5, 0.1);
        QVERIFY(Algos::Rk(curve) > 0);
    }

    // No deviation, no slope, no element: every parameter 0, the developed
    // length is the x span.
    void horizontalLine_data()
    {
        QTest::addColumn<Parameter>("parameter");
        QTest::addColumn<double>("expected");
        for (const NamedParameter& parameter : profileParameters()) {
            const QByteArray name(parameter.name);
            const double expected = name == "l0" ? 1 : name == "L0" ? kSamplingLength : 0;
            QTest::newRow(parameter.name) << parameter.compute << expected;
        }
        QTest::newRow("S") << Parameter([](const ProfileData& p, double) { return Algos::S(p); }) << 0.0;
        QTest::newRow("Rt") << Parameter([](const ProfileData& p, double) { return Algos::Rt(p); }) << 0.0;
    }

    void horizontalLine()
    {
        QFETCH(Parameter, parameter);
        QFETCH(double, expected);
        QCOMPARE(parameter(fixtures::line(0, 0, 4500, kStep), kSamplingLength), expected);
    }

    void slopedLine()
    {
        const double slope = -0.01;
        const ProfileData profile = fixtures::line(slope, 2, 4500, kStep);
        KALVORA_COMPARE_NEAR(Algos::RDq(profile, kSamplingLength), std::abs(slope) * kDegrees, 1e-12);
        KALVORA_COMPARE_NEAR(Algos::RDa(profile, kSamplingLength), std::abs(slope) * kDegrees, 1e-12);
        KALVORA_COMPARE_NEAR(Algos::Rq(profile, kSamplingLength), 0, 1e-9);
        KALVORA_COMPARE_NEAR(Algos::Rz(profile, kSamplingLength), 0, 1e-9);
        KALVORA_COMPARE_NEAR(Algos::Rt(profile), 0, 1e-9);
        KALVORA_COMPARE_NEAR(Algos::Rmax(profile, kSamplingLength), std::abs(slope) * kSamplingLength, 1e-9);
        KALVORA_COMPARE_NEAR(Algos::lambdaQ(profile, kSamplingLength), 0, 1e-6);
    }

    // Where the stage stood still a trace holds several points of one x; such
    // a step has no slope and must not make the slope parameters infinite.
    void slopesLeaveOutRepeatedX()
    {
        const double slope = 0.02;
        ProfileData repeated(2);
        for (int i = 0; i <= 9000; ++i) {
            const double x = i * kStep;
            const int copies = i % 10 == 0 ? 2 : 1;
            for (int copy = 0; copy < copies; ++copy) {
                repeated[0].append(x);
                repeated[1].append(slope * x);
            }
        }
        KALVORA_COMPARE_NEAR(Algos::RDq(repeated, kSamplingLength), slope * kDegrees, 1e-12);
        KALVORA_COMPARE_NEAR(Algos::RDa(repeated, kSamplingLength), slope * kDegrees, 1e-12);

        ProfileData jumping = repeated;
        for (int i = 1; i < jumping[0].size(); ++i) {
            if (jumping[0][i] == jumping[0][i - 1])
                jumping[1][i] += 0.1;
        }
        QVERIFY(std::isfinite(Algos::RDq(jumping, kSamplingLength)));
        QVERIFY(std::isfinite(Algos::lambdaA(jumping, kSamplingLength)));
    }

    // A sampling length that is not a positive number has no windows: every
    // parameter is 0 instead of an integer made from an infinite count.
    void unusableSamplingLength_data()
    {
        QTest::addColumn<double>("samplingLength");
        QTest::newRow("zero") << 0.0;
        QTest::newRow("negative") << -800.0;
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity();
    }

    void unusableSamplingLength()
    {
        QFETCH(double, samplingLength);
        const ProfileData profile = fixtures::cosine(1, kWavelength, kCosineSpan, kStep);
        QCOMPARE(Algos::samplingLengthCount(profile.at(0), samplingLength), 0);
        QVERIFY(Algos::splitIntoSamplingLengths(profile, samplingLength).isEmpty());
        for (const NamedParameter& parameter : profileParameters())
            QVERIFY2(parameter.compute(profile, samplingLength) == 0, parameter.name);
    }

    void profileShorterThanOneSamplingLength()
    {
        const ProfileData justShort = fixtures::cosine(1, kWavelength, kSamplingLength - kStep, kStep);
        for (const NamedParameter& parameter : profileParameters())
            QVERIFY2(parameter.compute(justShort, kSamplingLength) == 0, parameter.name);
        const ProfileData exactlyOne = fixtures::cosine(1, kWavelength, kSamplingLength, kStep);
        KALVORA_COMPARE_NEAR(Algos::Rz(exactlyOne, kSamplingLength), 2, 1e-9);
    }

    // Windows without points (a sparse file) are left out of the mean instead
    // of taking part with a value they do not have.
    void emptyWindowsAreLeftOutOfTheMean()
    {
        // l = 100 over 1100: windows [0, 100], [250, 350], [500, 600],
        // [750, 850], [1000, 1100]; only the first and the last hold points.
        ProfileData profile(2);
        for (int i = 0; i <= 100; ++i) {
            profile[0].append(i);
            profile[1].append(std::cos(2 * fixtures::kPi * i / 20));
        }
        for (int i = 1000; i <= 1100; ++i) {
            profile[0].append(i);
            profile[1].append(2 * std::cos(2 * fixtures::kPi * i / 20));
        }
        KALVORA_COMPARE_NEAR(Algos::Rz(profile, 100), 3, 1e-9);
        KALVORA_COMPARE_NEAR(Algos::Rmax(profile, 100), 3, 1e-9);
        KALVORA_COMPARE_NEAR(Algos::R3z(profile, 100), 3, 1e-9);
        // Four downward crossings after the first point below the line in each.
        KALVORA_COMPARE_NEAR(Algos::D(profile, 100), 4 / (100 / 10000.0), 1e-9);
        const ProfileData firstWindow = {profile.at(0).mid(0, 101), profile.at(1).mid(0, 101)};
        KALVORA_COMPARE_NEAR(Algos::RDq(profile, 100), 1.5 * Algos::RDq(firstWindow, 100), 1e-9);
    }

    void relationsBetweenParameters()
    {
        const ProfileData profile = fixtures::randomProfile(6000, 7);
        const double l = 1000;
        QCOMPARE(Algos::Rm(profile, l), Algos::Rz(profile, l));
        KALVORA_COMPARE_NEAR(Algos::Rz(profile, l), Algos::Rp(profile, l) + Algos::Rv(profile, l), 1e-9);
    }

    void amplitudeEqualsPlainReading_data()
    {
        QTest::addColumn<ProfileData>("profile");
        QTest::addColumn<double>("samplingLength");
        QTest::newRow("rough, five lengths with gaps") << fixtures::randomProfile(20000, 1) << 2500.0;
        QTest::newRow("rough, touching windows") << fixtures::randomProfile(4001, 2) << 1000.0;
        QTest::newRow("rough, one length and a rest") << fixtures::randomProfile(1900, 3) << 1000.0;
        QTest::newRow("sparse, some windows nearly empty") << fixtures::randomProfile(60, 4, 97) << 800.0;
    }

    void amplitudeEqualsPlainReading()
    {
        QFETCH(ProfileData, profile);
        QFETCH(double, samplingLength);
        const ReferenceAmplitude reference = referenceAmplitude(profile, samplingLength);
        QCOMPARE(Algos::Rz(profile, samplingLength), reference.rz);
        QCOMPARE(Algos::Rp(profile, samplingLength), reference.rp);
        QCOMPARE(Algos::Rv(profile, samplingLength), reference.rv);
        QCOMPARE(Algos::R3z(profile, samplingLength), reference.r3z);
        QCOMPARE(Algos::Rmax(profile, samplingLength), reference.rmax);
        KALVORA_COMPARE_NEAR(Algos::Ra(profile, samplingLength), reference.ra, 1e-12 * std::abs(reference.ra));
        KALVORA_COMPARE_NEAR(Algos::Rq(profile, samplingLength), reference.rq, 1e-12 * std::abs(reference.rq));
    }

    // Values computed outside the project, on a stored profile (see data/README.md).
    void amplitudeMatchesAnIndependentReference_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : {"Ra", "Rq", "Rsk", "Rku", "Rp", "Rv", "Rz"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void amplitudeMatchesAnIndependentReference()
    {
        QFETCH(QString, name);
        const ProfileData profile = readProfile(kDataDir + QStringLiteral("/roughness_profile.txt"));
        QCOMPARE(profile.at(0).size(), 401);
        const QMap<QString, double> reference =
            readReferenceValues(kDataDir + QStringLiteral("/roughness_profile_reference.txt"));
        QVERIFY(reference.contains(name));
        const double expected = reference.value(name);
        const double actual = parameterNamed(qPrintable(name))(profile, 800);
        KALVORA_COMPARE_NEAR(actual, expected, 1e-10 * std::abs(expected));
    }
};

KALVORA_TEST_MAIN(ProfileParametersTest)
#include "ProfileParametersTest.moc"
