#include <QtTest>

#include <QFileDialog>
#include <QImage>
#include <QTreeWidget>

#include "ContourTrace.h"
#include "DesktopOpenRecorder.h"
#include "ExtraArgs.h"
#include "LinkTestSupport.h"
#include "MessageBoxAnswerer.h"
#include "ProfileReport.h"
#include "ReportFiles.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "WorkspaceFixture.h"
#include "plot/TraceGraphsHolder.h"

using namespace workspace;

namespace {

QMap<int, bool> holderVisibility(const ProfileAnalisisWidget& ws)
{
    QMap<int, bool> visible;
    for (const AbstractTrace* trace : ws.traces())
        visible.insert(trace->id, ws.holder(trace->id)->isVisible());
    return visible;
}

QImage decodedImage(const QString& base64)
{
    QImage image;
    image.loadFromData(QByteArray::fromBase64(base64.toLatin1()), "PNG");
    return image.convertToFormat(QImage::Format_ARGB32);
}

// The main plot as it looks with only these traces shown.
QImage plotWithOnly(ProfileAnalisisWidget& ws, const QList<const AbstractTrace*>& shown)
{
    const QMap<int, bool> before = holderVisibility(ws);
    for (const AbstractTrace* trace : ws.traces())
        ws.holder(trace->id)->setVisible(shown.contains(trace));
    PlotWidget* main = plotOf(ws, "plotMain");
    const QImage image = main->toPixmap(main->width(), main->height(), 1.0).toImage();
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        ws.holder(it.key())->setVisible(it.value());
    return image.convertToFormat(QImage::Format_ARGB32);
}

// Answers the report's file dialogs with the paths in turn, an empty path
// cancelling; records each dialog's caption and what `onEach` saw.
class ReportDialogs
{
public:
    ReportDialogs(MessageBoxAnswerer& answerer, const QStringList& paths, std::function<void()> onEach = {})
    {
        answerer.onDialog([this, paths, onEach](QWidget* dialog) {
            auto* fileDialog = qobject_cast<QFileDialog*>(dialog);
            if (!fileDialog)
                return;
            captions << fileDialog->windowTitle();
            proposals << QFileInfo(fileDialog->selectedFiles().value(0)).fileName();
            if (onEach)
                onEach();
            const QString path = paths.value(captions.size() - 1);
            if (path.isEmpty())
                fileDialog->reject();
            else
                QVERIFY(MessageBoxAnswerer::chooseFile(fileDialog, path));
        });
    }

    QStringList captions;
    QStringList proposals;
};

} // namespace

// The profile report: its data, one report per visible trace written
// through the templates and the real pandoc, and what is opened afterwards.
class ProfileReportTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::C));
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pandoc")).isEmpty(), "pandoc is not installed");
    }

    void init()
    {
        resetSettings();
        copyReportFiles();
    }

    void theParameterRecords_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::newRow("three") << QStringList{"Ra", "Rz", "Rmax"};
        QTest::newRow("none") << QStringList();
    }

    // The shown parameters in their order with the trace's texts; with none
    // shown the outer list holds a single null.
    void theParameterRecords()
    {
        QFETCH(QStringList, names);
        useParameters(names);
        ProfileTrace trace(wavyProfile(8000));
        trace.setType(PROFILE);
        trace.filterCutOff = 800;
        ExtraArgs args;

        const nlohmann::json data = ProfileReport::data(&trace, args);

        const nlohmann::json& params = data.at("params");
        QCOMPARE(int(params.size()), 1);
        if (names.isEmpty()) {
            QVERIFY(params.at(0).is_null());
            return;
        }
        const nlohmann::json& records = params.at(0).at("params");
        QCOMPARE(int(records.size()), names.size());
        for (int i = 0; i < names.size(); ++i) {
            QCOMPARE(QString::fromStdString(records.at(i).at("name").get<std::string>()), names[i]);
            const QString value = QString::fromStdString(records.at(i).at("value").get<std::string>());
            QVERIFY(!value.isEmpty());
            QCOMPARE(value, trace.parameterResults.value(names[i]));
        }
    }

    // Every record names its own trace's cut-off, whatever the setting; an
    // additional trace is reported with its main trace's data; a contour
    // trace has none.
    void theTraceRecords()
    {
        changeSettings([](AppSettings& s) {
            s.device.spinbox_filter_length_index = 0;
            s.servise.factory_name = QStringLiteral("Завод №1");
            s.servise.default_trace_file_name = QStringLiteral("Вал");
        });
        useParameters({QStringLiteral("Ra")});
        ProfileTrace main(wavyProfile(6000));
        main.setType(PROFILE);
        main.filterCutOff = 800;
        main.speed = 0.5;
        main.controllerName = "Иванов";
        main.creationTime = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7));
        ProfileTrace additional(wavyProfile(4000, 0.5, 1));
        additional.setType(ADDITIONAL_TRACE);
        additional.filterCutOff = 250;
        main.addAdditionalTrace(&additional);
        ExtraArgs args;

        const nlohmann::json data = ProfileReport::data(&main, args);

        QCOMPARE(data.at("factory_name").get<std::string>(), std::string("Завод №1"));
        QCOMPARE(data.at("detail_name").get<std::string>(), std::string("Вал"));
        const nlohmann::json& records = data.at("traces_data").at(0).at("trace_data");
        QCOMPARE(int(records.size()), 2);
        const nlohmann::json expectedMain = {{"controler_name", "Иванов"},
                                             {"filter", "0.8 мм"},
                                             {"trace_length", "2.9995 мм"},
                                             {"speed", "0.5 мм/с"},
                                             {"creation_date", "04-03-2026 05:06:07"}};
        QCOMPARE(records.at(0), expectedMain);
        QCOMPARE(records.at(1).at("filter").get<std::string>(), std::string("0.25 мм"));
        QCOMPARE(records.at(1).at("trace_length").get<std::string>(), std::string("1.9995 мм"));

        QCOMPARE(ProfileReport::data(&additional, args), data);

        ContourTrace contour;
        contour.setType(CONTOUR);
        QVERIFY(ProfileReport::data(&contour, args).is_null());
    }

    void theFileNames_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("output");
        QTest::newRow("no extension") << "/r/x" << "/r/x.html";
        QTest::newRow("html") << "/r/x.html" << "/r/x.html";
        QTest::newRow("html in capitals") << "/r/x.HTML" << "/r/x.HTML";
        QTest::newRow("another extension") << "/r/x.htm" << "/r/x.htm.html";
    }

    void theFileNames()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, output);
        QCOMPARE(ProfileReport::outputPath(chosen), output);
        QCOMPARE(ProfileReport::proposedName(QStringLiteral("Деталь"), QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5))),
                 QStringLiteral("Деталь_2026_01_02_03_04_05"));
    }

    void noTraceNoReport()
    {
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        MessageBoxAnswerer answerer;
        DesktopOpenRecorder opened;
        ws.printReport(&ws);
        QCOMPARE(answerer.titles(), QStringList{"Ошибка печати отчёта"});
        QCOMPARE(answerer.texts(), QStringList{"Нет трасс для сохранения отчёта"});
        QVERIFY(opened.urls().isEmpty());
    }

    // One dialog and one report per visible trace, each opened once written,
    // each carrying its style rules; the traces' visibility is back after
    // every image.
    void oneReportPerVisibleTrace()
    {
        useParameters({QStringLiteral("Ra"), QStringLiteral("Rz")});
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        QVERIFY(showWorkspace(ws));
        QVERIFY(writeProfileFile(workFile("a.txt"), wavyProfile(6000), 800, {wavyProfile(6000, 0.5, 1)}));
        QVERIFY(writeProfileFile(workFile("b.txt"), wavyProfile(6000, 0.5, 2), 2500));
        AbstractTrace* a = openFile(ws, workFile("a.txt"), PROFILE);
        AbstractTrace* b = openFile(ws, workFile("b.txt"), PROFILE);
        QVERIFY(a && b);
        tickRow(ws, a, true);
        const QMap<int, bool> visible = holderVisibility(ws);
        QVERIFY(QDir().mkpath(QStringLiteral("out")));

        MessageBoxAnswerer answerer;
        DesktopOpenRecorder opened;
        bool restored = true;
        ReportDialogs dialogs(answerer, {workFile("out/first"), workFile("out/second.html")},
                              [&] { restored = restored && holderVisibility(ws) == visible; });
        ws.printReport(&ws);

        QCOMPARE(dialogs.captions, (QStringList{"Сохранить отчет", "Сохранить отчет"}));
        for (const QString& proposal : dialogs.proposals)
            QVERIFY2(proposal.startsWith(QStringLiteral("Деталь_20")), qPrintable(proposal));
        QVERIFY(restored);
        QCOMPARE(holderVisibility(ws), visible);
        QCOMPARE(answerer.texts(), (QStringList{"Отчёт сохранён успешно!", "Отчёт сохранён успешно!"}));
        const QStringList outputs{workFile("out/first.html"), workFile("out/second.html")};
        QCOMPARE(opened.urls(), (QList<QUrl>{QUrl::fromLocalFile(outputs[0]), QUrl::fromLocalFile(outputs[1])}));
        QVERIFY(!QFile::exists(workFile("out/second.html.html")));

        // The report of a, moved away from the working directory, keeps its look.
        const QString moved = QDir::temp().filePath(QStringLiteral("moved-report.html"));
        QFile::remove(moved);
        QVERIFY(QFile::rename(outputs[0], moved));
        const QString html = readText(moved);
        QFile::remove(moved);
        QVERIFY(html.contains(QStringLiteral("<title>Протокол измерения шероховатости</title>")));
        QVERIFY(html.contains(QStringLiteral("<style>")));
        QVERIFY(html.contains(QStringLiteral("border-collapse: collapse;")));
        QVERIFY(html.contains(QStringLiteral("<td>0.8 мм</td>")));
        QVERIFY(html.contains(QStringLiteral("<td>Ra</td>")));
        QCOMPARE(embeddedImages(html).size(), 1);
        QVERIFY(readText(outputs[1]).contains(QStringLiteral("<td>2.5 мм</td>")));
    }

    // What the settings and the trace file hold reads in the report as it
    // was typed; each parameter shows its own unit, once, beside a value
    // that carries none.
    void typedTextsAndUnitsReadAsShown()
    {
        const QStringList& typed = typedTexts();
        changeSettings([&](AppSettings& s) {
            s.servise.factory_name = typed[0];
            s.servise.default_trace_file_name = typed[1];
        });
        const QStringList names{"Ra", "Rsk", "Dp", "RΔq(Δq)", "tp"};
        const QStringList units{"мкм", "", "%", "°", "%"};
        useParameters(names);
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        QVERIFY(showWorkspace(ws));
        QVERIFY(writeProfileFile(workFile("a.txt"), wavyProfile(6000), 800, {wavyProfile(6000, 0.5, 1)}, typed[2]));
        AbstractTrace* trace = openFile(ws, workFile("a.txt"), PROFILE);
        QVERIFY(trace);

        MessageBoxAnswerer answerer;
        DesktopOpenRecorder opened;
        ReportDialogs dialogs(answerer, {workFile("typed")});
        ws.printReport(&ws);

        QCOMPARE(answerer.texts(), QStringList{"Отчёт сохранён успешно!"});
        const QStringList lines = visibleLines(readText(workFile("typed.html")));
        QVERIFY2(lines.contains(QStringLiteral("Предприятие: ") + typed[0]), qPrintable(lines.join('\n')));
        QVERIFY2(lines.contains(QStringLiteral("Деталь: ") + typed[1]), qPrintable(lines.join('\n')));
        QVERIFY(lines.contains(typed[2]));
        const auto* profile = static_cast<const ProfileTrace*>(trace);
        for (int i = 0; i < names.size(); ++i) {
            const int at = lines.indexOf(names[i]);
            QVERIFY2(at >= 0, qPrintable(names[i]));
            const QString value = lines.value(at + 1);
            QCOMPARE(value, profile->parameterResults.value(names[i]));
            QVERIFY2(value.contains(QStringLiteral("±")) && !value.contains(QStringLiteral("мкм")), qPrintable(value));
            QCOMPARE(lines.value(at + 2), units[i]);
        }
    }

    void cancellingTheFirstDialogWritesNothing()
    {
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        QVERIFY(writeProfileFile(workFile("a.txt"), wavyProfile(3000)));
        QVERIFY(writeProfileFile(workFile("b.txt"), wavyProfile(3000, 0.5, 2)));
        AbstractTrace* a = openFile(ws, workFile("a.txt"), PROFILE);
        QVERIFY(a && openFile(ws, workFile("b.txt"), PROFILE));
        tickRow(ws, a, true);

        MessageBoxAnswerer answerer;
        DesktopOpenRecorder opened;
        ReportDialogs dialogs(answerer, {QString(), workFile("second")});
        ws.printReport(&ws);

        QCOMPARE(dialogs.captions.size(), 1);
        QVERIFY(answerer.texts().isEmpty());
        QVERIFY(opened.urls().isEmpty());
        QVERIFY(!QFile::exists(workFile("second.html")));
    }

    // A shown additional trace whose main trace is hidden is reported with
    // the main trace's data and a picture of itself alone.
    void anAdditionalTraceWithItsMainHidden()
    {
        useParameters({QStringLiteral("Ra")});
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        QVERIFY(showWorkspace(ws));
        QVERIFY(writeProfileFile(workFile("a.txt"), wavyProfile(6000), 800, {wavyProfile(4000, 0.5, 1)}));
        AbstractTrace* main = openFile(ws, workFile("a.txt"), PROFILE);
        QVERIFY(main);
        AbstractTrace* additional = ws.traces().last();
        tickRow(ws, main, false);
        tickRow(ws, additional, true);
        const QImage expected = plotWithOnly(ws, {additional});

        MessageBoxAnswerer answerer;
        DesktopOpenRecorder opened;
        ReportDialogs dialogs(answerer, {workFile("extra")});
        ws.printReport(&ws);

        QCOMPARE(dialogs.captions.size(), 1);
        const QString html = readText(workFile("extra.html"));
        QVERIFY(html.contains(QStringLiteral("<title>Протокол измерения шероховатости</title>")));
        QVERIFY(html.contains(QStringLiteral("<td>2.9995 мм</td>")));
        QVERIFY(html.contains(QStringLiteral("<td>1.9995 мм</td>")));
        const QStringList images = embeddedImages(html);
        QCOMPARE(images.size(), 1);
        QVERIFY(decodedImage(images[0]) == expected);
        QVERIFY(!(expected == plotWithOnly(ws, {main, additional})));
    }

    void aContourTraceHasOnlyItsPicture()
    {
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        QVERIFY(showWorkspace(ws));
        ws.addJoinedTrace({{0, 1000, 2000, 3000}, {1000, 3000, 2000, 2500}});

        MessageBoxAnswerer answerer;
        DesktopOpenRecorder opened;
        ReportDialogs dialogs(answerer, {workFile("contour")});
        ws.printReport(&ws);

        const QString html = readText(workFile("contour.html"));
        QVERIFY(html.contains(QStringLiteral("<title>Протокол измерения контура</title>")));
        QVERIFY(html.contains(QStringLiteral("border-collapse: collapse;")));
        QVERIFY(!html.contains(QStringLiteral("<table")));
        QCOMPARE(embeddedImages(html).size(), 1);
        QCOMPARE(opened.urls().size(), 1);
    }

    void aFailedConversionOpensNothing()
    {
        ScopedPortList ports;
        ProfileAnalisisWidget ws;
        QVERIFY(writeProfileFile(workFile("a.txt"), wavyProfile(3000)));
        QVERIFY(openFile(ws, workFile("a.txt"), PROFILE));
        writeFakePandoc(QStringLiteral("exit 3"));
        PathOverride path(pathWithFakePandoc());

        MessageBoxAnswerer answerer;
        DesktopOpenRecorder opened;
        ReportDialogs dialogs(answerer, {workFile("failed")});
        ws.printReport(&ws);

        QCOMPARE(answerer.titles(), QStringList{"Ошибка"});
        QVERIFY(opened.urls().isEmpty());
    }
};

KALVORA_TEST_MAIN(ProfileReportTest)
#include "ProfileReportTest.moc"
