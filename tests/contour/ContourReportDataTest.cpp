#include "contour/ContourReportData.h"
#include "MessageBoxAnswerer.h"
#include "PlainTrace.h"
#include "ReportRenderer.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <memory>
#include <vector>

namespace {

TreeGroupRecord group(const char* name, const std::vector<std::string>& values)
{
    TreeGroupRecord record{name, "", {}};
    int id = 0;
    for (const std::string& value : values)
        record.items.push_back({"row", value, nullptr, id++});
    return record;
}

ContourReportFields fields()
{
    return {QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)), QStringLiteral("Вал"), QStringLiteral("Иванов"),
            QStringLiteral("Завод"), QStringLiteral("строка 1\nстрока 2")};
}

nlohmann::json measurement(const std::string& name, const std::string& value)
{
    return {{"name", name}, {"value", value}};
}

} // namespace

// The contour report's JSON document and its plot labels, built from tree
// records and traces.
class ContourReportDataTest : public QObject
{
    Q_OBJECT

private slots:
    void theFields()
    {
        const nlohmann::json document = contourReportJson(fields(), {}, {});
        QCOMPARE(document["date"], nlohmann::json("04-03-2026 05:06:07"));
        QCOMPARE(document["part_name"], nlohmann::json("Вал"));
        QCOMPARE(document["controller_name"], nlohmann::json("Иванов"));
        QCOMPARE(document["factory_name"], nlohmann::json("Завод"));
        QCOMPARE(document["comment"], nlohmann::json("строка 1\nстрока 2"));
        QCOMPARE(document["traces"], nlohmann::json::array());
    }

    // Each trace object lists the traces so far, itself included.
    void theTraces()
    {
        std::vector<std::unique_ptr<PlainTrace>> owned;
        QVector<AbstractTrace*> traces;
        for (const char* author : {"Петров", "Сидоров"}) {
            owned.push_back(std::make_unique<PlainTrace>());
            owned.back()->controllerName = author;
            owned.back()->creationTime = QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5));
            traces.append(owned.back().get());
        }
        const nlohmann::json document = contourReportJson(fields(), traces, {});
        const auto entry = [&](int i) {
            return nlohmann::json{{"id", traces[i]->id + 1},
                                  {"trace_author", traces[i]->controllerName},
                                  {"creation_date", "02-01-2025 03:04:05"}};
        };
        nlohmann::json first = entry(0);
        first["traces"] = nlohmann::json::array({entry(0)});
        nlohmann::json second = entry(1);
        second["traces"] = nlohmann::json::array({entry(0), entry(1)});
        QCOMPARE(document["traces"], nlohmann::json::array({first, second}));
    }

    void theGroups()
    {
        const std::vector<TreeGroupRecord> groups{
            group("УГЛЫ", {"10.0000°", "20.0000°"}),
            group("ДОП. ГЕОМЕТРИИ", {"", ""}),
            group("ДЛИНЫ", {"1.5000мм"}),
        };
        const nlohmann::json document = contourReportJson(fields(), {}, groups);
        QCOMPARE(document["angles"],
                 nlohmann::json::array({{{"name", "УГЛЫ"},
                                         {"measurements", {measurement(" α_1", "10.0000°"),
                                                           measurement(" α_2", "20.0000°")}}}}));
        QCOMPARE(document["distances"],
                 nlohmann::json::array(
                     {{{"name", "ДЛИНЫ"}, {"measurements", {measurement(" L_1", "1.5000мм")}}}}));
        for (const char* absent : {"errors", "rads", "roughness"})
            QVERIFY2(!document.contains(absent), absent);
        QCOMPARE(document.size(), size_t(8));
    }

    void constructionGeometryAloneGivesNoGroup()
    {
        const nlohmann::json document = contourReportJson(fields(), {}, {group("ДОП. ГЕОМЕТРИИ", {"", ""})});
        QCOMPARE(document.size(), size_t(6));
    }

    void everyGroupOfResults_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("label");
        QTest::newRow("lengths") << "ДЛИНЫ" << "distances" << " L_2" << "L_2";
        QTest::newRow("deviations") << "ОТКЛОНЕНИЯ" << "errors" << " E_2" << "E_2";
        QTest::newRow("angles") << "УГЛЫ" << "angles" << " α_2" << "α_2";
        QTest::newRow("radii") << "РАДИУСЫ" << "rads" << " R_2" << "R_2";
        QTest::newRow("roughness") << "ШЕРОХОВАТОСТИ" << "roughness" << " r_2" << "r_2";
    }

    void everyGroupOfResults()
    {
        QFETCH(QString, group);
        QFETCH(QString, key);
        QFETCH(QString, name);
        QFETCH(QString, label);
        const std::string groupName = group.toStdString();
        const nlohmann::json document = contourReportJson(fields(), {}, {::group(groupName.c_str(), {"a", "b"})});
        const nlohmann::json& second = document[key.toStdString()][0]["measurements"][1];
        QCOMPARE(second, measurement(name.toStdString(), "b"));
        QCOMPARE(reportLabelText(groupName, 2), label);
    }

    // The report's template filled with a document and converted by pandoc.
    void theTemplate()
    {
        copyFolderFiles(QStringLiteral(KALVORA_REPORTS_DIR), QStringLiteral("reports"));
        PlainTrace trace;
        trace.controllerName = "Петров";
        const std::vector<TreeGroupRecord> groups{
            group("УГЛЫ", {"10.0000°", "20.0000°"}),
            group("ДОП. ГЕОМЕТРИИ", {""}),
            group("ДЛИНЫ", {"1.5000мм"}),
        };
        QPixmap plot(40, 30);
        plot.fill(Qt::red);
        MessageBoxAnswerer answerer;
        QVERIFY(generateReport(nullptr, QStringLiteral("reports/contour.md"), QStringLiteral("report.html"),
                               QStringLiteral("reports/contour_ref.odt"), {plot},
                               contourReportJson(fields(), {&trace}, groups)));
        QCOMPARE(answerer.titles(), QStringList{"Отчет сохранен"});
        const QString html = readText(QStringLiteral("report.html"));
        for (const char* text : {"<title>Протокол измерения контура", "Вал", "Иванов", "Завод", "строка 2",
                                 "Петров", "УГЛЫ", "α_1", "α_2", "20.0000°", "ДЛИНЫ", "L_1", "1.5000мм",
                                 "data:image/png;base64,", "border-collapse"}) {
            QVERIFY2(html.contains(QString::fromUtf8(text)), text);
        }
        for (const char* text : {"ОТКЛОНЕНИЯ", "ДОП. ГЕОМЕТРИИ", "{{", "{%"})
            QVERIFY2(!html.contains(QString::fromUtf8(text)), text);
    }

    void constructionRowsGetNoLabel()
    {
        QCOMPARE(reportLabelText("ДОП. ГЕОМЕТРИИ", 1), QString());
        QCOMPARE(reportLabelText("something else", 1), QString());
    }
};

KALVORA_TEST_MAIN(ContourReportDataTest)
#include "ContourReportDataTest.moc"
