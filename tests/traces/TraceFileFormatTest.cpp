#include <QBuffer>
#include <QFile>
#include <QSaveFile>
#include <QTextCodec>
#include <QtTest>

#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>

#include "AppSettings.h"
#include "Constants.h"
#include "ContourTrace.h"
#include "DecimalText.h"
#include "ProfileTrace.h"
#include "TestMain.h"
#include "TraceFileParser.h"
#include "TraceFileType.h"
#include "TraceFileWriter.h"
#include "TraceTypes.h"

namespace {

using Batches = QVector<QPair<int, int>>;

QByteArray readAll(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

ProfileData rawPoints(const AbstractTrace& trace)
{
    return *trace.lockedRawData().data;
}

TraceFileParser::Result parseFile(const QString& path, AbstractTrace& trace, Batches* batches = nullptr)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    TraceFileParser parser(AppSettings::instance().snapshot(), [batches](int from, int count) {
        if (batches)
            batches->append({from, count});
    });
    return parser.parse(file, path, trace);
}

// A trace made for the type the file names, as the main window makes it.
std::unique_ptr<AbstractTrace> traceForType(int type)
{
    if (type == PROFILE || type == ADDITIONAL_TRACE)
        return std::make_unique<ProfileTrace>();
    return std::make_unique<ContourTrace>();
}

// Owns the additional traces a read created.
struct ReadProfile
{
    ProfileTrace trace;
    ~ReadProfile() { qDeleteAll(trace.additionalTraces); }
};

const QDateTime kCreation(QDate(2021, 3, 3), QTime(7, 5, 9));

// A number token read the way the reader always read one: one leading plus
// sign dropped, then std::from_chars over the whole token.
bool fromCharsToken(const QByteArray& token, double& value)
{
    const char* begin = token.constData();
    const char* end = begin + token.size();
    if (begin < end && *begin == '+') {
        ++begin;
        if (begin < end && (*begin == '+' || *begin == '-'))
            return false;
    }
    const std::from_chars_result result = std::from_chars(begin, end, value);
    return begin < end && result.ec == std::errc() && result.ptr == end;
}

// Numbers in the forms a trace file may hold: what "%g" writes at every
// precision, fixed and exponent forms, signs, leading zeros, bare points,
// long digit strings, the ends of the double range, infinities and NaN.
QVector<QByteArray> numberForms()
{
    QVector<QByteArray> forms{"0",      "-0",     "+0",      "0.0",       "-0.0e10",  ".5",       "-.5",     "5.",
                              "+7.25",  "000123.5", "1E5",   "1e+05",     "1e-5",     "1e22",     "1e23",    "1e-22",
                              "1e-23",  "123456789e-30",     "9007199254740992",      "9007199254740993",
                              "18014398509481985", "1234567890123456789", "12345678901234567890.5",
                              "0.000000000000000000000123", "4.9e-324", "2.2250738585072014e-308",
                              "1.7976931348623157e308", "inf", "-inf", "infinity", "nan", "-nan", "NaN",
                              "0.1",    "0.2",    "0.3",     "2.71828",   "-12.3457", "1.23457e-05"};
    std::mt19937_64 random(17);
    std::uniform_real_distribution<double> mantissa(-10, 10);
    std::uniform_int_distribution<int> exponent(-40, 40);
    std::uniform_int_distribution<int> precision(1, 17);
    char buffer[64];
    for (int i = 0; i < 3000; ++i) {
        const double value = mantissa(random) * std::pow(10.0, exponent(random));
        const std::chars_format format = i % 3 == 0 ? std::chars_format::scientific
                                         : i % 3 == 1 ? std::chars_format::fixed
                                                      : std::chars_format::general;
        const int digits = format == std::chars_format::fixed ? precision(random) % 8 : precision(random);
        const std::to_chars_result written = std::to_chars(buffer, buffer + sizeof buffer, value, format, digits);
        if (written.ec == std::errc())
            forms.append(QByteArray(buffer, int(written.ptr - buffer)));
    }
    return forms;
}

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

class TraceFileFormatTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        static_cast<AppSettingsData&>(AppSettings::instance()) = AppSettingsData();
    }

    void numbersKeepSixSignificantDigits_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("integer") << 20.0 << "20";
        QTest::newRow("small") << 0.001 << "0.001";
        QTest::newRow("smaller") << 0.00001 << "1e-05";
        QTest::newRow("million") << 1e6 << "1e+06";
        QTest::newRow("e") << 2.718281 << "2.71828";
        QTest::newRow("negative") << -0.5 << "-0.5";
        QTest::newRow("rounded up") << 999999.7 << "1e+06";
        QTest::newRow("large") << 123456789.0 << "1.23457e+08";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("tiny") << 1.5e-300 << "1.5e-300";
    }

    void numbersKeepSixSignificantDigits()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(DecimalText::number(value), text);
        QCOMPARE(DecimalText::number(value), QString::number(value, 'g', 6));
        double parsed = 0;
        QVERIFY(DecimalText::parseNumber(text, parsed));
        QCOMPARE(DecimalText::number(parsed), text);
    }

    void goldenContourFile()
    {
        ContourTrace trace;
        trace.needle_pressing = 1;
        trace.tool_head_radius_down = 20;
        trace.tool_head_radius_up = 25.5;
        trace.double_sided_probe_high = 22;
        trace.needle_bias = 0.001;
        trace.rack_perpendicular = 0.00001;
        trace.x_axis_compression_ratio = 1;
        trace.y_axis_compression_ratio = 1e6;
        trace.displacement_coefficient = 0;
        trace.roughness_ratio = 6.2;
        trace.measurement_mode = 1;
        trace.controllerName = "Иванов";
        trace.creationTime = kCreation;
        trace.addPoint({1.5, 2.718281, 3000});

        QVERIFY(writeTraceFile("contour.txt", &trace));
        const QByteArray golden = "trace_type:CONTOUR\n"
                                  "needle_pressing:d\n"
                                  "tool_head_radius_down:20\n"
                                  "tool_head_radius_up:25.5\n"
                                  "double_sided_probe_high:22\n"
                                  "needle_bias:0.001\n"
                                  "rack_perpendicular:1e-05\n"
                                  "x_axis_compression_ratio:1\n"
                                  "y_axis_compression_ratio:1e+06\n"
                                  "displacement_coefficient:0\n"
                                  "roughness_ratio:6.2\n"
                                  "measurement_mode:1\n"
                                  "controler_name:\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD\xD0\xBE\xD0\xB2\n"
                                  "creation_date:03-03-2021 07:05:09\n"
                                  "point_count:1\n"
                                  "1.5\t2.71828\t3000\t\n";
        QCOMPARE(readAll("contour.txt"), golden);

        ContourTrace read;
        read.needle_pressing = 0;
        QCOMPARE(parseFile("contour.txt", read), TraceFileParser::Result::Read);
        QCOMPARE(read.type, int(CONTOUR));
        QCOMPARE(read.needle_pressing, 1);
        QCOMPARE(read.tool_head_radius_down, 20.0);
        QCOMPARE(read.tool_head_radius_up, 25.5);
        QCOMPARE(read.double_sided_probe_high, 22.0);
        QCOMPARE(read.needle_bias, 0.001);
        QCOMPARE(read.rack_perpendicular, 0.00001);
        QCOMPARE(read.x_axis_compression_ratio, 1.0);
        QCOMPARE(read.y_axis_compression_ratio, 1e6);
        QCOMPARE(read.displacement_coefficient, 0.0);
        QCOMPARE(read.roughness_ratio, 6.2);
        QCOMPARE(read.measurement_mode, 1);
        QCOMPARE(QString::fromStdString(read.controllerName), QStringLiteral("Иванов"));
        QCOMPARE(read.creationTime, kCreation);
        QCOMPARE(read.filePath(), QStringLiteral("contour.txt"));
        QCOMPARE(rawPoints(read), (ProfileData{{1.5}, {2.71828}, {3000}}));
    }

    void contourWithProfileKeepsItsWord()
    {
        ContourTrace trace;
        trace.setType(CONTOUR_PROFILE);
        trace.needle_pressing = 0;
        QVERIFY(writeTraceFile("cntprof.txt", &trace));
        QVERIFY(readAll("cntprof.txt").startsWith("trace_type:CNTPROF\nneedle_pressing:u\n"));
        ContourTrace read;
        QCOMPARE(parseFile("cntprof.txt", read), TraceFileParser::Result::Read);
        QCOMPARE(read.type, int(CONTOUR_PROFILE));
        QCOMPARE(read.needle_pressing, 0);
    }

    void profileWithAdditionalTracesReadsBackWhole()
    {
        AppSettings::instance().preferenses.meadian_filter = true;
        AppSettings::instance().preferenses.meadian_filter_value = 5;
        ProfileTrace main;
        main.speed = 0.75;
        main.filterCutOff = 800;
        main.controllerName = "Петров";
        main.creationTime = kCreation;
        for (int i = 0; i < 3; ++i)
            main.addPoint({i * 0.5, 1.0 + i});
        ProfileTrace first;
        first.setType(ADDITIONAL_TRACE);
        first.speed = 1.25;
        first.filterCutOff = 250;
        first.controllerName = "Сидоров";
        first.creationTime = kCreation.addDays(1);
        first.addPoint({10, -1});
        first.addPoint({11, 3});
        ProfileTrace second;
        second.setType(ADDITIONAL_TRACE);
        second.addPoint({20, 7});
        main.addAdditionalTrace(&first);
        main.addAdditionalTrace(&second);

        QVERIFY(writeTraceFile("profile.txt", &main));
        const QList<QByteArray> lines = readAll("profile.txt").split('\n');
        const int countLine = lines.indexOf("addittional_trace_count:2");
        QVERIFY(countLine > 0);
        QCOMPARE(lines.at(countLine + 1), QByteArray("point_count:3"));

        ReadProfile read;
        QCOMPARE(parseFile("profile.txt", read.trace), TraceFileParser::Result::Read);
        QCOMPARE(read.trace.type, int(PROFILE));
        QCOMPARE(read.trace.speed, 0.75);
        QCOMPARE(read.trace.filterCutOff, 800.0);
        QCOMPARE(read.trace.medianWindow, 5);
        QVERIFY(read.trace.medianEnabled);
        QCOMPARE(rawPoints(read.trace), (ProfileData{{0, 0.5, 1}, {1, 2, 3}}));
        QCOMPARE(read.trace.additionalTraces.size(), 2);

        const ProfileTrace* a = read.trace.additionalTraces[0];
        QCOMPARE(a->type, int(ADDITIONAL_TRACE));
        QCOMPARE(a->parentTrace, &read.trace);
        QCOMPARE(a->speed, 1.25);
        QCOMPARE(a->filterCutOff, 250.0);
        QCOMPARE(QString::fromStdString(a->controllerName), QStringLiteral("Сидоров"));
        QCOMPARE(a->creationTime, kCreation.addDays(1));
        QCOMPARE(a->filePath(), QStringLiteral("profile.txt"));
        QCOMPARE(a->name(), QStringLiteral("profile.txt"));
        QCOMPARE(rawPoints(*a), (ProfileData{{10, 11}, {-1, 3}}));
        QCOMPARE(rawPoints(*read.trace.additionalTraces[1]), (ProfileData{{20}, {7}}));
    }

    void additionalTracesGetProcessingFromTheSettings_data()
    {
        QTest::addColumn<bool>("median");
        QTest::addColumn<double>("angle");
        QTest::addColumn<QVector<double>>("x");
        QTest::addColumn<QVector<double>>("heights");
        const QVector<double> x{0, 1, 2, 3};
        QTest::newRow("zeroing only") << false << 0.0 << x << QVector<double>{10, 0, 10, 0};
        const double cos60 = std::cos(60 * 0.017453292519943295);
        QTest::newRow("thread angle") << false << 60.0 << QVector<double>{0, cos60, 2 * cos60, 3 * cos60}
                                      << QVector<double>{10, 0, 10, 0};
        QTest::newRow("median") << true << 0.0 << x << QVector<double>();
    }

    void additionalTracesGetProcessingFromTheSettings()
    {
        QFETCH(bool, median);
        QFETCH(double, angle);
        QFETCH(QVector<double>, x);
        QFETCH(QVector<double>, heights);
        PreferenceSettings& preferences = AppSettings::instance().preferenses;
        preferences.meadian_filter = median;
        preferences.meadian_filter_value = 3;
        preferences.thread_angle_compensation = angle != 0;
        preferences.thread_angle_compensation_value = angle;
        writeBytes("processed.txt", "trace_type:PROFILE\naddittional_trace_count:1\npoint_count:0\n"
                                    "trace_type:ADDITIONAL_TRACE\npoint_count:4\n0 5\n1 -5\n2 5\n3 -5\n");
        ReadProfile read;
        QCOMPARE(parseFile("processed.txt", read.trace), TraceFileParser::Result::Read);
        QCOMPARE(read.trace.additionalTraces.size(), 1);
        ProfileTrace* additional = read.trace.additionalTraces[0];
        additional->applyPostProcessors();
        const ProfileData display = *additional->lockedData().data;
        QCOMPARE(display[0], x);
        // The zeroing comes last, after the median too.
        QCOMPARE(*std::min_element(display[1].cbegin(), display[1].cend()), 0.0);
        if (median)
            QVERIFY(display[1] != (QVector<double>{10, 0, 10, 0}));
        else
            QCOMPARE(display[1], heights);
    }

    void mainTraceWithoutPointsKeepsItsAdditionalTraces()
    {
        ProfileTrace main;
        main.speed = 2;
        ProfileTrace additional;
        additional.setType(ADDITIONAL_TRACE);
        additional.controllerName = "Петров";
        additional.addPoint({1, 2});
        additional.addPoint({3, 4});
        main.addAdditionalTrace(&additional);
        QVERIFY(writeTraceFile("empty-main.txt", &main));

        ReadProfile read;
        QCOMPARE(parseFile("empty-main.txt", read.trace), TraceFileParser::Result::Read);
        QCOMPARE(read.trace.type, int(PROFILE));
        QCOMPARE(read.trace.speed, 2.0);
        QCOMPARE(rawPoints(read.trace), (ProfileData{{}, {}}));
        QCOMPARE(read.trace.additionalTraces.size(), 1);
        QCOMPARE(QString::fromStdString(read.trace.additionalTraces[0]->controllerName), QStringLiteral("Петров"));
        QCOMPARE(rawPoints(*read.trace.additionalTraces[0]), (ProfileData{{1, 3}, {2, 4}}));
    }

    void headerRules_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("needlePressing");
        QTest::addColumn<ProfileData>("points");
        QTest::addColumn<bool>("wellFormed");

        QTest::newRow("lower-case type word is contour")
            << QByteArray("trace_type:contour\npoint_count:1\n1 2 3\n") << int(CONTOUR) << 1
            << ProfileData{{1}, {2}, {3}} << true;
        QTest::newRow("capital U is needle down")
            << QByteArray("trace_type:CONTOUR\nneedle_pressing:U\npoint_count:0\n") << int(CONTOUR) << 1
            << ProfileData(3) << true;
        QTest::newRow("blanks around key and value")
            << QByteArray("  trace_type : CNTPROF \r\n needle_pressing:\tu\r\npoint_count :1\r\n1\t2\t3\t\r\n")
            << int(CONTOUR_PROFILE) << 0 << ProfileData{{1}, {2}, {3}} << true;
        QTest::newRow("later type line wins")
            << QByteArray("trace_type:CONTOUR\ntrace_type:CNTPROF\npoint_count:0\n") << int(CONTOUR_PROFILE) << 1
            << ProfileData(3) << true;
        QTest::newRow("blank line after the count is a point")
            << QByteArray("trace_type:CONTOUR\npoint_count:2\n\n1\t2\t3\t\n") << int(CONTOUR) << 1
            << ProfileData{{0, 1}, {0, 2}, {0, 3}} << true;
        // The key line after the blank one is read as a point line then.
        QTest::newRow("blank line ends the header")
            << QByteArray("trace_type:CONTOUR\n\nneedle_pressing:u\n") << int(CONTOUR) << 1 << ProfileData(3)
            << false;
        QTest::newRow("short point line")
            << QByteArray("trace_type:CONTOUR\npoint_count:1\n1.5\n") << int(CONTOUR) << 1
            << ProfileData{{1.5}, {0}, {0}} << true;
        QTest::newRow("extra values ignored, malformed value ends the points")
            << QByteArray("trace_type:CONTOUR\npoint_count:3\n1 2e1 3 abc\n2,5 1e2 -4\n7 8 9\n") << int(CONTOUR) << 1
            << ProfileData{{1}, {20}, {3}} << false;
        QTest::newRow("header to the end of the file")
            << QByteArray("trace_type:CNTPROF\nneedle_pressing:u") << int(CONTOUR_PROFILE) << 0 << ProfileData(3) << true;
        QTest::newRow("count above the lines")
            << QByteArray("trace_type:CONTOUR\npoint_count:1000000000\n1 2 3\n4 5 6") << int(CONTOUR) << 1
            << ProfileData{{1, 4}, {2, 5}, {3, 6}} << true;
        QTest::newRow("negative count")
            << QByteArray("trace_type:CONTOUR\npoint_count:-5\n1 2 3\n") << int(CONTOUR) << 1 << ProfileData(3) << true;
        QTest::newRow("count that is no number")
            << QByteArray("trace_type:CONTOUR\npoint_count:many\n1 2 3\n") << int(CONTOUR) << 1 << ProfileData(3) << true;
        QTest::newRow("no count: points up to an empty line")
            << QByteArray("trace_type:CONTOUR\n1 2 3\n4 5 6\n\n7 8 9\n") << int(CONTOUR) << 1
            << ProfileData{{1, 4}, {2, 5}, {3, 6}} << true;
        QTest::newRow("UTF-8 byte-order mark")
            << QByteArray("\xEF\xBB\xBFtrace_type:CNTPROF\npoint_count:1\n1 2 3\n") << int(CONTOUR_PROFILE) << 1
            << ProfileData{{1}, {2}, {3}} << true;
    }

    void headerRules()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, type);
        QFETCH(int, needlePressing);
        QFETCH(ProfileData, points);
        QFETCH(bool, wellFormed);
        writeBytes("header.txt", text);
        ContourTrace trace;
        QCOMPARE(parseFile("header.txt", trace),
                 wellFormed ? TraceFileParser::Result::Read : TraceFileParser::Result::MalformedNumber);
        QCOMPARE(trace.type, type);
        QCOMPARE(trace.needle_pressing, needlePressing);
        QCOMPARE(rawPoints(trace), points);
    }

    void pointValuesMatchFromChars()
    {
        const QVector<QByteArray> forms = numberForms();
        QByteArray text = "trace_type:PROFILE\npoint_count:" + QByteArray::number(forms.size()) + "\n";
        QVector<double> expected;
        for (int i = 0; i < forms.size(); ++i) {
            double value = 0;
            QVERIFY2(fromCharsToken(forms[i], value), forms[i].constData());
            expected.append(value);
            // Separated by blanks, TABs and CRs in turn, as files may hold them.
            text += forms[i] + (i % 2 ? " \t" : "\t") + forms[forms.size() - 1 - i] + (i % 3 ? "\r\n" : "\n");
        }
        writeBytes("forms.txt", text);
        ReadProfile read;
        QCOMPARE(parseFile("forms.txt", read.trace), TraceFileParser::Result::Read);
        const ProfileData points = rawPoints(read.trace);
        QCOMPARE(points[0].size(), forms.size());
        for (int i = 0; i < forms.size(); ++i) {
            QVERIFY2(sameBits(points[0][i], expected[i]), forms[i].constData());
            QVERIFY2(sameBits(points[1][i], expected[forms.size() - 1 - i]), forms[forms.size() - 1 - i].constData());
        }
    }

    // Several reader blocks, the lines growing longer further down than the
    // first block shows, the last one without LF.
    void longFilesReadWholeAcrossBlocks()
    {
        constexpr int kPoints = 60000;
        QByteArray text = "trace_type:PROFILE\npoint_count:" + QByteArray::number(kPoints) + "\n";
        ProfileData expected(2);
        for (int i = 0; i < kPoints; ++i) {
            const double x = i < kPoints / 2 ? i : i + 0.5;
            const double height = i < kPoints / 2 ? i % 10 : -x;
            expected[0].append(x);
            expected[1].append(height);
            text += DecimalText::number(x).toLatin1() + '\t' + DecimalText::number(height).toLatin1();
            if (i + 1 < kPoints)
                text += '\n';
        }
        QVERIFY(text.size() > 2 * (1 << 18));
        writeBytes("long.txt", text);
        ReadProfile read;
        QCOMPARE(parseFile("long.txt", read.trace), TraceFileParser::Result::Read);
        QCOMPARE(rawPoints(read.trace), expected);
        QCOMPARE(*read.trace.lockedData().data, expected);
    }

    void writtenFilesReadBackExactly()
    {
        std::mt19937_64 random(23);
        std::uniform_real_distribution<double> mantissa(-10, 10);
        std::uniform_int_distribution<int> exponent(-320, 300);
        QVector<double> values{0.0, -0.0, 1.5, -2.718281, 1e-5, 123456789, 1e300, -1e-300, 5e-324,
                               qInf(), -qInf(), qQNaN(), 999999.5, 0.1, 1e22, 1e-22};
        while (values.size() < 2000)
            values.append(mantissa(random) * std::pow(10.0, exponent(random)));

        ContourTrace contour;
        ProfileTrace profile;
        for (int i = 0; i < values.size(); ++i) {
            contour.addPoint({values[i], values[values.size() - 1 - i], values[(i * 7) % values.size()]});
            profile.addPoint({values[i], values[(i * 3) % values.size()]});
        }
        for (AbstractTrace* trace : {static_cast<AbstractTrace*>(&contour), static_cast<AbstractTrace*>(&profile)}) {
            QVERIFY(writeTraceFile("written.txt", trace));
            const QByteArray written = readAll("written.txt");
            const std::unique_ptr<AbstractTrace> read = traceForType(trace->type);
            QCOMPARE(parseFile("written.txt", *read), TraceFileParser::Result::Read);
            const ProfileData stored = rawPoints(*trace);
            const ProfileData readBack = rawPoints(*read);
            for (int c = 0; c < stored.size(); ++c) {
                for (int i = 0; i < stored[c].size(); ++i) {
                    double expected = 0;
                    QVERIFY(fromCharsToken(DecimalText::number(stored[c][i]).toLatin1(), expected));
                    QVERIFY2(sameBits(readBack[c][i], expected), qPrintable(DecimalText::number(stored[c][i])));
                }
            }
            QVERIFY(writeTraceFile("rewritten.txt", read.get()));
            QCOMPARE(readAll("rewritten.txt"), written);
        }
    }

    void firstLineWord_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("word");
        const QByteArray key = "trace_type:";
        QTest::newRow("empty file") << QByteArray() << QByteArray();
        QTest::newRow("CR LF") << QByteArray("trace_type:CNTPROF\r\npoint_count:0\n") << QByteArray("CNTPROF");
        QTest::newRow("key found again after the first") << "trace_type:" + key + "PROFILE\n" << QByteArray("PROFILE");
        QTest::newRow("key made by a removal stays") << QByteArray("trace_trace_type:type:PROFILE")
                                                     << QByteArray("trace_type:PROFILE");
        QTest::newRow("CR removed before the key") << QByteArray("trace_\rtype:PRO\rFILE\n") << QByteArray("PROFILE");
        QTest::newRow("NUL kept") << QByteArray("PROFILE\0\n", 9) << QByteArray("PROFILE\0", 8);
        QTest::newRow("second mark kept") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFPROFILE\n")
                                          << QByteArray("\xEF\xBB\xBFPROFILE");
        QTest::newRow("line longer than a read chunk")
            << key.repeated(200000) + "ADDITIONAL_TRACE" + QByteArray(3000000, '\r') + "\n1 2\n"
            << QByteArray("ADDITIONAL_TRACE");
    }

    void firstLineWord()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, word);
        QBuffer buffer(&bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        QCOMPARE(TraceFileType::firstLineWord(buffer), word);
    }

    void firstLineWordStopsWhenNoTypeWordCanFollow()
    {
        // A binary file without line ends: no more than a type word's length
        // of it is kept, and the word names no type.
        QByteArray bytes(3000000, 'x');
        QBuffer buffer(&bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        const QByteArray word = TraceFileType::firstLineWord(buffer);
        QVERIFY2(word.size() < 100, qPrintable(QString::number(word.size())));
        QCOMPARE(TraceFileType::typeNamedBy(word), -1);
        QVERIFY(buffer.pos() < bytes.size());
    }

    void unicodeFilesReadLikeUtf8_data()
    {
        QTest::addColumn<QByteArray>("encoding");
        QTest::addColumn<int>("points");
        QTest::newRow("UTF-16 LE, one point") << QByteArray("UTF-16LE") << 1;
        QTest::newRow("UTF-16 BE, one point") << QByteArray("UTF-16BE") << 1;
        QTest::newRow("UTF-32 LE, one point") << QByteArray("UTF-32LE") << 1;
        // Longer than several of the chunks the reader takes one by one.
        QTest::newRow("UTF-8, long") << QByteArray("UTF-8") << 40000;
        QTest::newRow("UTF-16 LE, long") << QByteArray("UTF-16LE") << 40000;
        QTest::newRow("UTF-32 BE, long") << QByteArray("UTF-32BE") << 40000;
    }

    void unicodeFilesReadLikeUtf8()
    {
        QFETCH(QByteArray, encoding);
        QFETCH(int, points);
        QString text = QStringLiteral("trace_type:CONTOUR\ncontroler_name:Иванов \U0001D11E\npoint_count:%1\n").arg(points);
        ProfileData expected(3);
        for (int i = 0; i < points; ++i) {
            text += QStringLiteral("%1 2.5 -%2\n").arg(i).arg(i % 10);
            expected[0].append(i);
            expected[1].append(2.5);
            expected[2].append(-(i % 10));
        }
        // Qt's codecs for UTF-16 and UTF-32 write the byte-order mark first.
        writeBytes("unicode.txt", QTextCodec::codecForName(encoding)->fromUnicode(text));
        ContourTrace trace;
        QCOMPARE(parseFile("unicode.txt", trace), TraceFileParser::Result::Read);
        QCOMPARE(QString::fromStdString(trace.controllerName), QStringLiteral("Иванов \U0001D11E"));
        QCOMPARE(rawPoints(trace), expected);
    }

    void defaultsComeFromTheSettings()
    {
        AppSettings& settings = AppSettings::instance();
        settings.movement.current_speed = 2;
        settings.device.spinbox_filter_length_index = 2;
        settings.movement.needle_pressing = MovementSettings::NEEDLE_UP;
        settings.calibration.tool_head_radius_down = 1.23456789;
        writeBytes("profile-defaults.txt", "trace_type:PROFILE\npoint_count:0\n");
        ReadProfile profile;
        QCOMPARE(parseFile("profile-defaults.txt", profile.trace), TraceFileParser::Result::Read);
        QCOMPARE(profile.trace.speed, 0.75);
        QCOMPARE(profile.trace.filterCutOff, 800.0);
        QCOMPARE(QString::fromStdString(profile.trace.controllerName), QStringLiteral("no name"));
        QCOMPARE(profile.trace.creationTime, QDateTime(QDate(1970, 1, 1), QTime(0, 0)));

        writeBytes("contour-defaults.txt", "trace_type:CONTOUR\npoint_count:0\n");
        ContourTrace contour;
        QCOMPARE(parseFile("contour-defaults.txt", contour), TraceFileParser::Result::Read);
        QCOMPARE(contour.needle_pressing, 0);
        QCOMPARE(contour.tool_head_radius_down, 1.23457);

        // A stored index outside the cut-off list is never used as an index.
        settings.device.spinbox_filter_length_index = 99;
        ReadProfile outOfRange;
        QCOMPARE(parseFile("profile-defaults.txt", outOfRange.trace), TraceFileParser::Result::Read);
        QCOMPARE(outOfRange.trace.filterCutOff, cutOffForIndex(kDefaultCutOffIndex));
    }

    void valuesMayHoldColonsAndBadDates()
    {
        writeBytes("colons.txt", "trace_type:CONTOUR\ncontroler_name:a:b\ncreation_date:31-02-2021 10:00:00\n"
                                 "point_count:0\n");
        ContourTrace trace;
        QCOMPARE(parseFile("colons.txt", trace), TraceFileParser::Result::Read);
        QCOMPARE(QString::fromStdString(trace.controllerName), QStringLiteral("a:b"));
        QVERIFY(!trace.creationTime.isValid());
    }

    void additionalTraceCountIsOnlyAnUpperBound()
    {
        writeBytes("count.txt", "trace_type:PROFILE\naddittional_trace_count:100000\npoint_count:1\n1 2\n"
                                "trace_type:ADDITIONAL_TRACE\npoint_count:1\n3 4\n");
        ReadProfile read;
        QCOMPARE(parseFile("count.txt", read.trace), TraceFileParser::Result::Read);
        QCOMPARE(read.trace.additionalTraces.size(), 1);
        QCOMPARE(rawPoints(*read.trace.additionalTraces[0]), (ProfileData{{3}, {4}}));
    }

    void typeOfTheOtherTraceClassLeavesTheTraceUntouched_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("traceType");
        QTest::newRow("profile file, contour trace") << QByteArray("trace_type:PROFILE\npoint_count:1\n1 2\n")
                                                     << int(CONTOUR);
        QTest::newRow("contour file, profile trace") << QByteArray("trace_type:CONTOUR\npoint_count:1\n1 2 3\n")
                                                     << int(PROFILE);
        QTest::newRow("second type line names a contour")
            << QByteArray("trace_type:PROFILE\nspeed:5\ntrace_type:CONTOUR\npoint_count:1\n1 2 3\n") << int(PROFILE);
    }

    void typeOfTheOtherTraceClassLeavesTheTraceUntouched()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, traceType);
        writeBytes("wrong.txt", text);
        const std::unique_ptr<AbstractTrace> trace = traceForType(traceType);
        trace->setType(traceType);
        QCOMPARE(parseFile("wrong.txt", *trace), TraceFileParser::Result::WrongTraceClass);
        QCOMPARE(trace->type, traceType);
        QCOMPARE(trace->filePath(), QString());
        QCOMPARE(rawPoints(*trace).value(0).size(), 0);
        if (auto* profile = dynamic_cast<ProfileTrace*>(trace.get()))
            QCOMPARE(profile->speed, 0.0);
    }

    void pointsAreAnnouncedInBatchesOf500()
    {
        QByteArray text = "trace_type:PROFILE\npoint_count:1200\n";
        for (int i = 0; i < 1200; ++i)
            text += QByteArray::number(i) + "\t1\t\n";
        writeBytes("batches.txt", text);
        ReadProfile read;
        Batches batches;
        QCOMPARE(parseFile("batches.txt", read.trace, &batches), TraceFileParser::Result::Read);
        QCOMPARE(batches, (Batches{{0, 500}, {500, 500}}));
        QCOMPARE(rawPoints(read.trace)[0].size(), 1200);
    }

    void failedWriteIsReported()
    {
        ContourTrace trace;
        trace.addPoint({1, 2, 3});
        QVERIFY(!writeTraceFile("missing-folder/trace.txt", &trace));
        QVERIFY(!QFile::exists("missing-folder/trace.txt"));
        QVERIFY(QDir().mkdir("folder.txt"));
        QVERIFY(!writeTraceFile("folder.txt", &trace));
        QVERIFY(QFileInfo("folder.txt").isDir());
    }
};

KALVORA_TEST_MAIN(TraceFileFormatTest)
#include "TraceFileFormatTest.moc"
