#include <QFile>
#include <QtEndian>
#include <QtTest>

#include <memory>

#include "AppSettings.h"
#include "ContourTrace.h"
#include "FileDataProvider.h"
#include "ProfileTrace.h"
#include "ProviderEventLog.h"
#include "TestMain.h"
#include "TraceFileType.h"
#include "TraceTypes.h"

namespace {

// A file read the way the program opens one: the trace class chosen from
// the file's first line, then the provider started on it and waited for.
struct FileRead
{
    explicit FileRead(const QString& path) : provider(path)
    {
        log.watch(provider);
        const int type = TraceFileType::typeOfFile(path);
        if (type == PROFILE || type == ADDITIONAL_TRACE)
            trace = std::make_unique<ProfileTrace>();
        else
            trace = std::make_unique<ContourTrace>();
        trace->setType(type);
        provider.start(trace.get());
        provider.stop();
    }

    ~FileRead()
    {
        if (auto* profile = dynamic_cast<ProfileTrace*>(trace.get()))
            qDeleteAll(profile->additionalTraces);
    }

    ProfileData raw() const { return *trace->lockedRawData().data; }
    ProfileData processed() const { return *trace->lockedData().data; }
    bool isProfile() const { return dynamic_cast<ProfileTrace*>(trace.get()) != nullptr; }

    std::unique_ptr<AbstractTrace> trace;
    FileDataProvider provider;
    ProviderEventLog log;
};

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

template <typename T>
void putLittleEndian(QByteArray& bytes, int offset, T value)
{
    qToLittleEndian(value, bytes.data() + offset);
}

QByteArray binary130File(qint32 count, double step, const QVector<qint16>& samples, double scale)
{
    QByteArray bytes(700, '\0');
    putLittleEndian(bytes, 440, count);
    putLittleEndian(bytes, 520, step);
    for (qint16 sample : samples) {
        bytes.append(2, '\0');
        putLittleEndian(bytes, bytes.size() - 2, sample);
    }
    QByteArray trailer(80, '\0');
    putLittleEndian(trailer, 0, scale);
    return bytes + trailer;
}

QString errorIn(const QString& path)
{
    return "error Error in " + path;
}

} // namespace

Q_DECLARE_METATYPE(ProfileData)

class FileDataProviderTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        static_cast<AppSettingsData&>(AppSettings::instance()) = AppSettingsData();
    }

    void firstLineChoosesTraceClassAndReader_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("readAsText");

        const QByteArray profileRest = "speed:1\npoint_count:1\n1\t2\t\n";
        const QByteArray contourRest = "point_count:1\n1\t2\t3000\t\n";
        QTest::newRow("profile, LF") << "trace_type:PROFILE\n" + profileRest << int(PROFILE) << true;
        QTest::newRow("profile, CRLF") << "trace_type:PROFILE\r\n" + profileRest << int(PROFILE) << true;
        QTest::newRow("profile, UTF-8 mark") << "\xEF\xBB\xBFtrace_type:PROFILE\n" + profileRest << int(PROFILE) << true;
        QTest::newRow("contour, CRLF") << "trace_type:CONTOUR\r\n" + contourRest << int(CONTOUR) << true;
        QTest::newRow("contour with profile") << "trace_type:CNTPROF\n" + contourRest << int(CONTOUR_PROFILE) << true;
        QTest::newRow("leading blank") << " trace_type:PROFILE\n" + profileRest << int(CONTOUR) << false;
        QTest::newRow("lower case") << "trace_type:profile\n" + profileRest << int(CONTOUR) << false;
        QTest::newRow("additional trace")
            << "trace_type:ADDITIONAL_TRACE\n" + profileRest << int(ADDITIONAL_TRACE) << false;
    }

    void firstLineChoosesTraceClassAndReader()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, type);
        QFETCH(bool, readAsText);
        writeBytes("trace.txt", text);

        FileRead read("trace.txt");
        QCOMPARE(TraceFileType::typeOfFile("trace.txt"), type);
        if (readAsText) {
            QCOMPARE(read.log.errors(), QStringList());
            QVERIFY(read.provider.result());
            QCOMPARE(read.trace->type, type);
            QCOMPARE(read.raw()[0], QVector<double>{1});
        } else {
            // The plain reader stops at the type line itself.
            QCOMPARE(read.log.errors(), QStringList{errorIn("trace.txt")});
            QVERIFY(!read.provider.result());
            QCOMPARE(read.raw()[0].size(), 0);
        }
    }

    void contourFilesGetTheCurrentConversion()
    {
        writeBytes("contour.txt", "trace_type:CNTPROF\nx_axis_compression_ratio:1\npoint_count:1\n10\t2\t3000\t\n");
        AppSettings::instance().calibration.x_axis_compression_ratio = 2;
        FileRead read("contour.txt");
        QCOMPARE(read.raw(), (ProfileData{{10}, {2}, {3000}}));
        // x scaled by the setting, not by the file's copy; the console
        // height's thousandth added to the height.
        QCOMPARE(read.trace->lockedData().data->at(1).size(), 1);
        const ContourTrace& contour = static_cast<ContourTrace&>(*read.trace);
        QCOMPARE(contour.x_axis_compression_ratio, 1.0);
        QVERIFY(read.provider.result());
    }

    void nameAndPathOfTheTrace()
    {
        QDir().mkdir("folder");
        writeBytes("folder/name.txt", "0 1\n");
        FileRead read("folder/name.txt");
        QCOMPARE(read.trace->name(), QStringLiteral("name.txt"));
    }

    void binary130_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<ProfileData>("rows");
        QTest::addColumn<bool>("ok");
        const QByteArray three = binary130File(3, 2.5, {10, -20, 30}, 0.5);
        QTest::newRow("three samples") << three << ProfileData{{0, 2.5, 5}, {5, -10, 15}, {0, 0, 0}} << true;
        QTest::newRow("no samples") << binary130File(0, 2.5, {}, 0.5) << ProfileData(3) << true;
        QTest::newRow("negative count") << binary130File(-4, 2.5, {}, 0.5) << ProfileData(3) << true;
        QTest::newRow("scale cut off") << three.left(700 + 6 + 7) << ProfileData(3) << false;
        QTest::newRow("sample missing") << binary130File(3, 2.5, {10, -20}, 0.5).left(700 + 4 + 7) << ProfileData(3)
                                        << false;
        QTest::newRow("huge count") << binary130File(0x7fffffff, 2.5, {10, -20, 30}, 0.5) << ProfileData(3) << false;
        QTest::newRow("header cut off") << three.left(500) << ProfileData(3) << false;
    }

    void binary130()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(ProfileData, rows);
        QFETCH(bool, ok);
        AppSettings::instance().movement.needle_pressing = MovementSettings::NEEDLE_UP;
        writeBytes("trace.130", bytes);
        FileRead read("trace.130");
        QCOMPARE(read.raw(), rows);
        QCOMPARE(read.provider.result(), ok);
        QCOMPARE(read.log.errors(), ok ? QStringList() : QStringList{errorIn("trace.130")});
        QCOMPARE(read.trace->type, int(CONTOUR));
        if (ok)
            QCOMPARE(static_cast<ContourTrace&>(*read.trace).needle_pressing, 0);
    }

    void plainPoints_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<ProfileData>("rows");
        QTest::addColumn<bool>("ok");
        QTest::newRow("repeated x dropped") << QByteArray("0 5\n0 6\n1 7\n") << ProfileData{{0, 1}, {5, 7}, {0, 0}}
                                            << true;
        QTest::newRow("three columns, exponent, CRLF")
            << QByteArray("1.5e1\t-2 300 99\r\n2 +3\r\n") << ProfileData{{15, 2}, {-2, 3}, {300, 0}} << true;
        QTest::newRow("blank line after x 0 dropped") << QByteArray("0 5\n\n1 2") << ProfileData{{0, 1}, {5, 2}, {0, 0}}
                                                     << true;
        QTest::newRow("blank line is a zero row")
            << QByteArray("3 5\n\n1 2\n") << ProfileData{{3, 0, 1}, {5, 0, 2}, {0, 0, 0}} << true;
        QTest::newRow("bad number keeps the rows before")
            << QByteArray("0 1\n2 3\n1.5 abc\n4 5\n") << ProfileData{{0, 2}, {1, 3}, {0, 0}} << false;
        QTest::newRow("decimal comma") << QByteArray("1,5 2\n") << ProfileData(3) << false;
        QTest::newRow("text after the columns ignored") << QByteArray("1 2 3 text\n") << ProfileData{{1}, {2}, {3}}
                                                        << true;
    }

    void plainPoints()
    {
        QFETCH(QByteArray, text);
        QFETCH(ProfileData, rows);
        QFETCH(bool, ok);
        writeBytes("points.dat", text);
        FileRead read("points.dat");
        QCOMPARE(read.raw(), rows);
        QCOMPARE(read.provider.result(), ok);
        QCOMPARE(read.log.errors(), ok ? QStringList() : QStringList{errorIn("points.dat")});
    }

    void readersAnnounceBatchesOf500_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("bytes");
        QByteArray plain;
        QByteArray text = "trace_type:CONTOUR\npoint_count:1200\n";
        for (int i = 0; i < 1200; ++i) {
            plain += QByteArray::number(i) + " 1\n";
            text += QByteArray::number(i) + "\t1\t0\t\n";
        }
        QTest::newRow("plain") << "points.dat" << plain;
        QTest::newRow(".130") << "trace.130" << binary130File(1200, 1, QVector<qint16>(1200, 7), 1);
        QTest::newRow("text") << "trace.txt" << text;
    }

    void readersAnnounceBatchesOf500()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, bytes);
        writeBytes(path, bytes);
        FileRead read(path);
        QCOMPARE(read.log.batches(), (QStringList{"batch 0 500", "batch 500 500"}));
        QCOMPARE(read.log.events().constFirst(), QStringLiteral("started"));
        QCOMPARE(read.log.events().constLast(), QStringLiteral("finished"));
        QCOMPARE(read.raw()[0].size(), 1200);
    }

    void missingFileIsReported()
    {
        FileRead read("missing.txt");
        QCOMPARE(read.log.events(), (QStringList{"started", "error Can't open file ", "finished"}));
        QVERIFY(!read.provider.result());
    }

    void wrongTraceClassIsAReadError()
    {
        // The first line says contour, a later type line profile.
        writeBytes("mixed.txt", "trace_type:CONTOUR\ntrace_type:PROFILE\npoint_count:1\n1 2\n");
        FileRead read("mixed.txt");
        QCOMPARE(read.log.errors(), QStringList{errorIn("mixed.txt")});
        QVERIFY(!read.provider.result());
        QCOMPARE(read.trace->type, int(CONTOUR));
        QCOMPARE(read.raw()[0].size(), 0);
    }

    void errorsGoToTheLog()
    {
        writeBytes("bad.dat", "x\n");
        FileRead read("bad.dat");
        QDir logs("logs");
        const QStringList files = logs.entryList(QDir::Files);
        QVERIFY(!files.isEmpty());
        QFile log(logs.filePath(files.constLast()));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QByteArray text = log.readAll();
        QVERIFY(text.contains("INFO: FileDataProvider obtain data from bad.dat"));
        QVERIFY(text.contains("ERROR: Error in bad.dat"));
    }
};

KALVORA_TEST_MAIN(FileDataProviderTest)
#include "FileDataProviderTest.moc"
