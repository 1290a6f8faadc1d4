#include <QtTest>

#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <memory>

#include "DebugCapture.h"
#include "Logger.h"
#include "MessageBoxAnswerer.h"
#include "ReportFiles.h"
#include "ReportRenderer.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "TestWorkDir.h"

namespace {

const QString kGenerationPrefix = QStringLiteral("Что-то пошло не так при генерации отчета. Что именно:\n");
const QString kTemplateHint = QStringLiteral("\n Проверьте шаблон отчета ");
const QString kConversionText = QStringLiteral("Что-то пошло не так при конвертации отчета\nПроверьте, что установлен pandoc ");
const QString kArgumentsFile = QStringLiteral("pandoc-arguments.txt");
const QString kSeenMarkdownFile = QStringLiteral("pandoc-input.md");

// A pandoc that records its arguments and the Markdown it is given, then
// runs `then`.
void writeRecordingPandoc(const QString& then)
{
    const QString dir = QDir::currentPath();
    writeFakePandoc(QStringLiteral("printf '%s\\n' \"$@\" > '%1/%2'\n"
                                   "cp \"$1\" '%1/%3'\n"
                                   "%4")
                        .arg(dir, kArgumentsFile, kSeenMarkdownFile, then));
}

QStringList recordedArguments()
{
    return readText(kArgumentsFile).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList leftoverTemporaryFiles()
{
    return QDir::current().entryList({QStringLiteral("Протокол*")}, QDir::Files);
}

QPixmap filledPixmap(const QColor& color)
{
    QPixmap pixmap(6, 4);
    pixmap.fill(color);
    return pixmap;
}

// A Base64 text that decodes strictly to a PNG image of `color`.
void verifyPngOf(const QString& base64, const QColor& color)
{
    const auto decoded =
        QByteArray::fromBase64Encoding(base64.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    QVERIFY2(decoded, qPrintable(base64.left(40)));
    QVERIFY(decoded.decoded.startsWith("\x89PNG\r\n\x1a\n"));
    QImage image;
    QVERIFY(image.loadFromData(decoded.decoded, "PNG"));
    QCOMPARE(image.size(), QSize(6, 4));
    QCOMPARE(image.pixelColor(3, 2), color);
}

} // namespace

class ReportRendererTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestWorkDir> m_workDir;
    QString m_logFile;

    int logCount(const QString& line) const { return readText(m_logFile).count(QStringLiteral("CRITICAL: ") + line); }

private slots:
    void initTestCase()
    {
        m_logFile = QFileInfo(Logger::instance().fileName()).absoluteFilePath();
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pandoc")).isEmpty(), "pandoc is not installed");
    }

    // Every case runs in a working directory of its own that holds the
    // program's report files.
    void init()
    {
        m_workDir = std::make_unique<TestWorkDir>();
        copyReportFiles();
    }

    void cleanup() { m_workDir.reset(); }

    void convertsWithTheExactArguments_data()
    {
        QTest::addColumn<QString>("referenceDoc");
        QTest::addColumn<QStringList>("expectedTail");
        QTest::newRow("without reference document")
            << QString() << QStringList{"-o", "report.html", "--css", "reports/style.css", "-s"};
        QTest::newRow("with reference document")
            << "reports/profile.odt"
            << QStringList{"-o", "report.html", "--reference-doc", "reports/profile.odt", "--css", "reports/style.css", "-s"};
    }

    void convertsWithTheExactArguments()
    {
        QFETCH(QString, referenceDoc);
        QFETCH(QStringList, expectedTail);
        writeText(QStringLiteral("reports/t.md"), QStringLiteral("---\ntitle: Протокол\n---\n\nRa = {{ ra }}\n"));
        writeRecordingPandoc(QStringLiteral("exec '%1' \"$@\"").arg(QStandardPaths::findExecutable(QStringLiteral("pandoc"))));
        PathOverride path(pathWithFakePandoc());
        MessageBoxAnswerer answerer;
        DebugCapture debug;

        QVERIFY(generateReport(nullptr, QStringLiteral("reports/t.md"), QStringLiteral("report.html"), referenceDoc, {},
                               nlohmann::json{{"ra", 0.8}}));

        const QStringList arguments = recordedArguments();
        QCOMPARE(arguments.mid(1), expectedTail);
        const QFileInfo markdownFile(arguments.value(0));
        QVERIFY2(markdownFile.fileName().startsWith(QStringLiteral("Протокол")), qPrintable(arguments.value(0)));
        QCOMPARE(markdownFile.absolutePath(), QDir::currentPath());
        QVERIFY(!markdownFile.exists());
        QVERIFY(leftoverTemporaryFiles().isEmpty());
        QCOMPARE(readText(kSeenMarkdownFile), QStringLiteral("---\ntitle: Протокол\n---\n\nRa = 0\\.8\n"));
        QVERIFY(debug.contains(QStringLiteral("reports/style.css")));

        const QString html = readText(QStringLiteral("report.html"));
        QVERIFY2(html.startsWith(QStringLiteral("<!DOCTYPE html>")), qPrintable(html.left(200)));
        QVERIFY(html.contains(QStringLiteral("Ra = 0.8")));
        QCOMPARE(answerer.titles(), QStringList{"Отчет сохранен"});
        QCOMPARE(answerer.texts(), QStringList{"Отчёт сохранён успешно!"});
    }

    void addsTheImagesToTheData_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<int>("imageCount");
        QTest::addColumn<QString>("expectedCount");
        QTest::addColumn<QStringList>("callersItems");
        // "|" when there is no "imgs" at all: the length of nothing is empty.
        QTest::newRow("no images, no key") << QByteArray("{}") << 0 << QString() << QStringList();
        QTest::newRow("no images, the caller's array")
            << QByteArray(R"({"imgs": ["a", "b"]})") << 0 << "2" << QStringList{"a", "b"};
        QTest::newRow("two images after the caller's two")
            << QByteArray(R"({"imgs": ["a", "b"]})") << 2 << "4" << QStringList{"a", "b"};
        QTest::newRow("two images, no key") << QByteArray("{}") << 2 << "2" << QStringList();
        QTest::newRow("one image, key holding null") << QByteArray(R"({"imgs": null})") << 1 << "1" << QStringList();
    }

    void addsTheImagesToTheData()
    {
        QFETCH(QByteArray, json);
        QFETCH(int, imageCount);
        QFETCH(QString, expectedCount);
        QFETCH(QStringList, callersItems);
        const QVector<QColor> colors{Qt::red, Qt::blue};
        QVector<QPixmap> images;
        for (int i = 0; i < imageCount; ++i)
            images << filledPixmap(colors.at(i));
        writeText(QStringLiteral("reports/t.md"),
                  QStringLiteral("{{ imgs|length }}|{% for img in imgs %}{{ img|safe }};{% endfor %}"));
        writeRecordingPandoc(QStringLiteral("exit 0"));
        PathOverride path(pathWithFakePandoc());
        MessageBoxAnswerer answerer;

        QVERIFY(generateReport(nullptr, QStringLiteral("reports/t.md"), QStringLiteral("report.html"), {}, images,
                               nlohmann::json::parse(json.toStdString())));

        const QStringList parts = readText(kSeenMarkdownFile).split(QLatin1Char('|'));
        QCOMPARE(parts.size(), 2);
        QCOMPARE(parts.at(0), expectedCount);
        const QStringList items = parts.at(1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        QCOMPARE(items.size(), callersItems.size() + imageCount);
        QCOMPARE(items.mid(0, callersItems.size()), callersItems);
        for (int i = 0; i < imageCount; ++i)
            verifyPngOf(items.at(callersItems.size() + i), colors.at(i));
    }

    void imgsHeldAsTextIsRefused()
    {
        writeText(QStringLiteral("reports/t.md"), QStringLiteral("{{ imgs }}"));
        writeRecordingPandoc(QStringLiteral("exit 0"));
        PathOverride path(pathWithFakePandoc());
        MessageBoxAnswerer answerer;
        const int logged = logCount(QStringLiteral("Error std"));

        QVERIFY(!generateReport(nullptr, QStringLiteral("reports/t.md"), QStringLiteral("report.html"), {},
                                {filledPixmap(Qt::red)}, nlohmann::json{{"imgs", "plot"}}));

        QCOMPARE(answerer.titles(), QStringList{"Ошибка"});
        const QString text = answerer.texts().value(0);
        QVERIFY2(text.startsWith(kGenerationPrefix), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("cannot use push_back() with ")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("string")), qPrintable(text));
        QVERIFY(text.endsWith(kTemplateHint + QStringLiteral("reports/t.md")));
        QCOMPARE(logCount(QStringLiteral("Error std")), logged + 1);
        QVERIFY(!QFile::exists(kArgumentsFile));
        QVERIFY(!QFile::exists(QStringLiteral("report.html")));
    }

    void templateFailuresStopBeforePandoc_data()
    {
        QTest::addColumn<QString>("templatePath");
        QTest::addColumn<QString>("templateText");
        QTest::addColumn<QString>("engineText");
        QTest::newRow("unclosed block tag")
            << "reports/t.md" << "{% for row in rows %}{{ row }}" << "Unclosed tag in template reports/t.md";
        QTest::newRow("unknown filter") << "reports/t.md" << "{{ ra|nosuch }}" << "Unknown filter: nosuch";
        QTest::newRow("missing included file")
            << "reports/t.md" << "{% include \"reports/none.md\" %}" << "Template not found, reports/none.md";
        QTest::newRow("missing template") << "reports/missing.md" << QString()
                                          << "Cannot read the template file reports/missing.md";
        QTest::newRow("template is a folder") << "reports" << QString() << "Cannot read the template file reports";
    }

    void templateFailuresStopBeforePandoc()
    {
        QFETCH(QString, templatePath);
        QFETCH(QString, templateText);
        QFETCH(QString, engineText);
        if (!templateText.isEmpty())
            writeText(templatePath, templateText);
        writeRecordingPandoc(QStringLiteral("exit 0"));
        PathOverride path(pathWithFakePandoc());
        MessageBoxAnswerer answerer;
        DebugCapture debug;
        const int logged = logCount(QStringLiteral("Error in inja"));

        QVERIFY(!generateReport(nullptr, templatePath, QStringLiteral("report.html"), {}, {filledPixmap(Qt::red)},
                                nlohmann::json{{"ra", 1}}));

        QCOMPARE(answerer.titles(), QStringList{"Ошибка"});
        const QString text = answerer.texts().value(0);
        QVERIFY2(text.startsWith(kGenerationPrefix + engineText), qPrintable(text));
        QVERIFY2(text.endsWith(kTemplateHint + templatePath), qPrintable(text));
        QCOMPARE(logCount(QStringLiteral("Error in inja")), logged + 1);
        QVERIFY(debug.contains(engineText));
        QVERIFY(!QFile::exists(kArgumentsFile));
        QVERIFY(!QFile::exists(QStringLiteral("report.html")));
        QVERIFY(leftoverTemporaryFiles().isEmpty());
    }

    void failedConversionKeepsTheMarkdown_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::newRow("pandoc not on PATH") << false;
        QTest::newRow("pandoc exits with an error") << true;
    }

    void failedConversionKeepsTheMarkdown()
    {
        QFETCH(bool, installed);
        writeText(QStringLiteral("reports/t.md"), QStringLiteral("# {{ title }}\n\nRa = {{ ra }}\n"));
        writeRecordingPandoc(QStringLiteral("echo 'pandoc: failure' >&2\nexit 3"));
        QVERIFY(QDir().mkpath(QStringLiteral("empty")));
        PathOverride path(installed ? pathWithFakePandoc() : QDir::current().absoluteFilePath(QStringLiteral("empty")));
        MessageBoxAnswerer answerer;
        const int logged = logCount(QStringLiteral("Error in pandoc"));
        QElapsedTimer timer;
        timer.start();

        QVERIFY(!generateReport(nullptr, QStringLiteral("reports/t.md"), QStringLiteral("report.html"), {}, {},
                                nlohmann::json{{"title", "Протокол"}, {"ra", 0.5}}));

        QVERIFY2(timer.elapsed() < 20000, "the renderer waited for a pandoc that had ended");
        QCOMPARE(answerer.titles(), QStringList{"Ошибка"});
        QCOMPARE(answerer.texts(), QStringList{kConversionText});
        QCOMPARE(readText(QStringLiteral("report.html")), QStringLiteral("# Протокол\n\nRa = 0\\.5\n"));
        QCOMPARE(QFile::exists(kArgumentsFile), installed);
        QCOMPARE(logCount(QStringLiteral("Error in pandoc")), logged + 1);
        QVERIFY(leftoverTemporaryFiles().isEmpty());
    }

    void rendersAnHtmlReportWithItsImages()
    {
        writeText(QStringLiteral("reports/t.md"),
                  QStringLiteral("---\ntitle: {{ title }}\n---\n\n"
                                 "| Параметр | Значение |\n|---|---|\n"
                                 "{% for row in rows %}| {{ row.name }} | {{ row.value }} |\n{% endfor %}\n"
                                 "{% include \"reports/images.md\" %}"));
        const nlohmann::json data = {{"title", "Протокол измерений"},
                                     {"rows", {{{"name", "Ra"}, {"value", 0.812}}, {{"name", "Rz"}, {"value", 5.25}}}}};
        MessageBoxAnswerer answerer;

        QVERIFY(generateReport(nullptr, QStringLiteral("reports/t.md"), QStringLiteral("report.html"), {},
                               {filledPixmap(Qt::green), filledPixmap(Qt::magenta)}, data));

        QCOMPARE(answerer.texts(), QStringList{"Отчёт сохранён успешно!"});
        const QString html = readText(QStringLiteral("report.html"));
        QVERIFY(html.contains(QStringLiteral("<title>Протокол измерений</title>")));
        QVERIFY(html.contains(QStringLiteral("reports/style.css")));
        for (const char* cell : {"Параметр", "Ra", "0.812", "Rz", "5.25"})
            QVERIFY2(html.contains(QStringLiteral("<td>%1</td>").arg(cell)) || html.contains(QStringLiteral("<th>%1</th>").arg(cell)),
                     qPrintable(cell));

        const QStringList images = embeddedImages(html);
        QCOMPARE(images.size(), 2);
        verifyPngOf(images.at(0), Qt::green);
        verifyPngOf(images.at(1), Qt::magenta);
    }

    void typedTextsReadAsTyped_data()
    {
        QTest::addColumn<QString>("text");
        for (const QString& text : typedTexts())
            QTest::newRow(qPrintable(text)) << text;
        QTest::newRow("two lines") << QStringLiteral("первая | строка\nвторая *строка*");
    }

    // Whatever a user typed reads the same in the HTML, wherever the
    // template places it: title lines, a heading, a table cell, a paragraph.
    void typedTextsReadAsTyped()
    {
        QFETCH(QString, text);
        writeText(QStringLiteral("reports/t.md"),
                  QStringLiteral("% {{ t }}\n% {{ t }}\n\n## {{ t }}\n\n| А | Б |\n|:--|:--|\n| {{ t }} | 1 |\n\n"
                                 "**Комментарий:** {{ t }}\n"));
        MessageBoxAnswerer answerer;

        QVERIFY(generateReport(nullptr, QStringLiteral("reports/t.md"), QStringLiteral("report.html"), {}, {},
                               {{"t", text.toStdString()}}));

        const QString shown = visibleLines(readText(QStringLiteral("report.html"))).join(QLatin1Char('\n'));
        const QString cell = text + QStringLiteral("\n1");
        const QString paragraph = QStringLiteral("Комментарий: ") + text;
        QCOMPARE(shown.count(text + QLatin1Char('\n')), 4); // title, author line, heading, cell
        QVERIFY2(shown.contains(cell), qPrintable(shown));
        QVERIFY2(shown.contains(paragraph), qPrintable(shown));
    }
};

KALVORA_TEST_MAIN(ReportRendererTest)
#include "ReportRendererTest.moc"
