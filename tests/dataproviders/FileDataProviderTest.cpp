#include <QFile>
#include <QTextCodec>
#include <QtEndian>
#include <QtTest>

#include <memory>

#include "AppSettings.h"
#include "ContourTrace.h"
#include "FileDataProvider.h"
#include "Logger.h"
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

// The text in a Unicode encoding after `marks` byte-order marks (Qt's codec
// writes the first).
QByteArray withUtfMark(const QByteArray& text, const char* encoding, int marks = 1)
{
    const QString extraMarks(marks - 1, QChar(QChar::ByteOrderMark));
    return QTextCodec::codecForName(encoding)->fromUnicode(extraMarks + QString::fromUtf8(text));
}

QString errorIn(const QString& path)
{
    return "error Error in " + path;
}

// The lines the log file gains from now on, without their time stamps.
class LogTail
{
public:
    LogTail() : m_start(QFileInfo(Logger::instance().fileName()).size()) {}

    QStringList lines(const QString& level) const
    {
        QFile file(Logger::instance().fileName());
        if (!file.open(QIODevice::ReadOnly) || !file.seek(m_start))
            return {};
        QStringList found;
        for (const QByteArray& line : file.readAll().split('\n')) {
            const QByteArray marker = "] " + level.toUtf8() + ": ";
            const int at = line.indexOf(marker);
            if (at >= 0)
                found.append(QString::fromUtf8(line.mid(at + marker.size())));
        }
        return found;
    }

private:
    qint64 m_start;
};

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
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("rows");

        const QByteArray profileRest = "speed:1\npoint_count:1\n1\t2\t\n";
        const QByteArray contourRest = "point_count:1\n1\t2\t3000\t\n";
        const QByteArray profile = "trace_type:PROFILE\n" + profileRest;
        const QByteArray binary = binary130File(3, 2.5, {10, -20, 30}, 0.5);
        // Rows 0: the read fails with "Error in" and the path (the plain
        // reader at the type line, the text reader at a type or a point).
        QTest::newRow("profile, LF") << "trace.txt" << profile << int(PROFILE) << 1;
        QTest::newRow("profile, CRLF") << "trace.txt" << "trace_type:PROFILE\r\n" + profileRest << int(PROFILE) << 1;
        QTest::newRow("profile, UTF-8 mark") << "trace.txt" << "\xEF\xBB\xBF" + profile << int(PROFILE) << 1;
        QTest::newRow("contour, CRLF") << "trace.txt" << "trace_type:CONTOUR\r\n" + contourRest << int(CONTOUR) << 1;
        QTest::newRow("contour with profile")
            << "trace.txt" << "trace_type:CNTPROF\n" + contourRest << int(CONTOUR_PROFILE) << 1;
        QTest::newRow("leading blank") << "trace.txt" << " " + profile << int(CONTOUR) << 0;
        QTest::newRow("lower case") << "trace.txt" << "trace_type:profile\n" + profileRest << int(CONTOUR) << 0;
        QTest::newRow("additional trace")
            << "trace.txt" << "trace_type:ADDITIONAL_TRACE\n" + profileRest << int(ADDITIONAL_TRACE) << 0;
        QTest::newRow("two UTF-8 marks") << "trace.txt" << "\xEF\xBB\xBF\xEF\xBB\xBF" + profile << int(CONTOUR) << 0;
        QTest::newRow("NUL after the word")
            << "trace.txt" << "trace_type:PROFILE" + QByteArray(1, '\0') + "\n" + profileRest << int(CONTOUR) << 0;
        QTest::newRow("CR alone ends no line")
            << "trace.txt" << QByteArray(profile).replace('\n', '\r') << int(CONTOUR) << 0;
        QTest::newRow("CR inside the word")
            << "trace.txt" << "trace_type:PRO\rFILE\n" + profileRest << int(PROFILE) << 0;
        QTest::newRow("UTF-16 LE") << "trace.txt" << withUtfMark(profile, "UTF-16LE") << int(PROFILE) << 1;
        QTest::newRow("UTF-16 BE")
            << "trace.txt" << withUtfMark("trace_type:CONTOUR\r\n" + contourRest, "UTF-16BE") << int(CONTOUR) << 1;
        QTest::newRow("two UTF-16 marks")
            << "trace.txt" << withUtfMark(profile, "UTF-16LE", 2) << int(CONTOUR) << 0;
        QTest::newRow("UTF-32 LE") << "trace.txt" << withUtfMark(profile, "UTF-32LE") << int(PROFILE) << 1;
        QTest::newRow("UTF-32 BE")
            << "trace.txt" << withUtfMark("trace_type:CNTPROF\n" + contourRest, "UTF-32BE") << int(CONTOUR_PROFILE)
            << 1;
        QTest::newRow(".130 starting with PROFILE and NUL")
            << "trace.130" << QByteArray("PROFILE", 8) + binary.mid(8) << int(CONTOUR) << 3;
        QTest::newRow(".130 starting with CNTPROF and NUL")
            << "trace.130" << QByteArray("CNTPROF\0\n", 9) + binary.mid(9) << int(CONTOUR) << 3;
        QTest::newRow(".130 starting with two marks and PROFILE")
            << "trace.130" << "\xEF\xBB\xBF\xEF\xBB\xBFPROFILE\n" + binary.mid(14) << int(CONTOUR) << 3;
        QTest::newRow(".130 starting with PROFILE alone")
            << "trace.130" << "PROFILE\n" + binary.mid(8) << int(PROFILE) << 0;
    }

    // The trace class comes from typeOfFile, the reader from the provider's
    // own look at the first line: both must read the line alike.
    void firstLineChoosesTraceClassAndReader()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, bytes);
        QFETCH(int, type);
        QFETCH(int, rows);
        writeBytes(path, bytes);

        FileRead read(path);
        QCOMPARE(TraceFileType::typeOfFile(path), type);
        if (rows != 0) {
            QCOMPARE(read.log.errors(), QStringList());
            QVERIFY(read.provider.result());
            QCOMPARE(read.trace->type, type);
            QCOMPARE(read.raw()[0].size(), rows);
        } else {
            QCOMPARE(read.log.errors(), QStringList{errorIn(path)});
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

    void malformedAndTruncatedTextFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("additionalRows");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("warnings");

        QTest::newRow("garbage instead of the points of a contour")
            << QByteArray("trace_type:CONTOUR\npoint_count:3\n\x01\x02\xFE\n\x80\x81\n\xFF\xFF\xFF\n") << 0 << -1 << false
            << QStringList();
        QTest::newRow("0xFF bytes after a profile type line")
            << QByteArray("trace_type:PROFILE\n\xFF\xFF\xFF\xFF") << 0 << -1 << false << QStringList();
        QTest::newRow("rows before a malformed number stay")
            << QByteArray("trace_type:PROFILE\npoint_count:4\n1 2\n3 4\n5 x\n7 8\n") << 2 << -1 << false
            << QStringList();
        QTest::newRow("malformed number in an additional trace")
            << QByteArray("trace_type:PROFILE\naddittional_trace_count:2\npoint_count:1\n1 2\n"
                          "trace_type:ADDITIONAL_TRACE\npoint_count:2\n3 4\n5 -\n"
                          "trace_type:ADDITIONAL_TRACE\npoint_count:1\n6 7\n")
            << 1 << 1 << false << QStringList();
        QTest::newRow("truncated copy")
            << QByteArray("trace_type:PROFILE\npoint_count:5\n1 2\n3 4\n") << 2 << -1 << true
            << QStringList{"Fewer points than announced in trace.txt: 2 of 5"};
        QTest::newRow("truncated in an additional trace")
            << QByteArray("trace_type:PROFILE\naddittional_trace_count:2\npoint_count:1\n1 2\n"
                          "trace_type:ADDITIONAL_TRACE\npoint_count:3\n3 4")
            << 1 << 1 << true
            << QStringList{"Fewer points of additional trace 1 than announced in trace.txt: 1 of 3",
                           "Fewer additional traces than announced in trace.txt: 1 of 2"};
        QTest::newRow("whole file") << QByteArray("trace_type:PROFILE\npoint_count:2\n1 2\n3 4\n") << 2 << -1 << true
                                    << QStringList();
    }

    void malformedAndTruncatedTextFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, rows);
        QFETCH(int, additionalRows);
        QFETCH(bool, ok);
        QFETCH(QStringList, warnings);
        writeBytes("trace.txt", bytes);
        const LogTail log;

        FileRead read("trace.txt");
        QCOMPARE(read.raw()[0].size(), rows);
        QCOMPARE(read.provider.result(), ok);
        QCOMPARE(read.log.errors(), ok ? QStringList() : QStringList{errorIn("trace.txt")});
        QCOMPARE(log.lines("ERROR"), ok ? QStringList() : QStringList{"Error in trace.txt"});
        QCOMPARE(log.lines("WARNING"), warnings);
        // Additional rows -1: no additional trace to look at.
        if (additionalRows >= 0) {
            const auto& additional = static_cast<ProfileTrace&>(*read.trace).additionalTraces;
            QCOMPARE(additional.size(), 1);
            QCOMPARE(additional.constFirst()->lockedRawData().data->at(0).size(), additionalRows);
        }
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
