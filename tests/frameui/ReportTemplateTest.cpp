#include <QtTest>

#include "ReportTemplate.h"
#include "TestFiles.h"
#include "TestMain.h"

class ReportTemplateTest : public QObject
{
    Q_OBJECT

private slots:
    void fillsInTheData_data()
    {
        QTest::addColumn<QString>("templateText");
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("expected");

        QTest::newRow("values and Cyrillic text")
            << "{{ name }}: {{ value }} мкм" << QByteArray(R"({"name": "Шероховатость", "value": 0.25})")
            << "Шероховатость: 0\\.25 мкм";
        QTest::newRow("nested objects and array indices")
            << "{{ trace.kind }} {{ trace.points.1 }}" << QByteArray(R"({"trace": {"kind": "P", "points": [3, 4]}})")
            << "P 4";
        // Escaped like any value: a reader sees -7, 1.5e-07 and so on.
        QTest::newRow("numbers keep their C-locale form")
            << "{{ a }} {{ b }} {{ c }} {{ d }} {{ e }}"
            << QByteArray(R"({"a": -7, "b": 18446744073709551615, "c": 1.5e-7, "d": 1234.5, "e": 0.1})")
            << "\\-7 18446744073709551615 1\\.5e\\-07 1234\\.5 0\\.1";
        QTest::newRow("booleans decide conditions")
            << "{% if yes %}Y{% endif %}{% if not no %}N{% endif %}" << QByteArray(R"({"yes": true, "no": false})")
            << "YN";
        QTest::newRow("Markdown and HTML in values are escaped")
            << "| {{ cell }} |" << QByteArray("{\"cell\": \"<b>a & b</b> *x* \\\"q\\\" 'r' | # _u_ \\\\ ~\"}")
            << "| \\<b\\>a \\& b\\<\\/b\\> \\*x\\* \\\"q\\\" \\'r\\' \\| \\# \\_u\\_ \\\\ \\~ |";
        QTest::newRow("line breaks in values become HTML breaks")
            << "{{ text }}" << QByteArray(R"({"text": "a\nb\r\nc\rd"})") << "a<br />b<br />c<br />d";
        QTest::newRow("the template's own text and safe values stay as they are")
            << "**{{ img|safe }}** <br>" << QByteArray(R"({"img": "iVBOR+/="})") << "**iVBOR+/=** <br>";
        QTest::newRow("table rows from an array of objects")
            << "{% for row in rows %}|{{ row.name }}|{{ row.value }}|\n{% endfor %}"
            << QByteArray(R"({"rows": [{"name": "Ra", "value": 1.2}, {"name": "Rz", "value": 8}]})")
            << "|Ra|1\\.2|\n|Rz|8|\n";
        QTest::newRow("null and missing values are empty")
            << "[{{ nothing }}][{{ absent }}]" << QByteArray(R"({"nothing": null})") << "[][]";
        QTest::newRow("data that is no object gives no names")
            << "[{{ 0 }}{{ a }}]" << QByteArray("[1, 2]") << "[0]";
    }

    void fillsInTheData()
    {
        QFETCH(QString, templateText);
        QFETCH(QByteArray, json);
        QFETCH(QString, expected);
        const ReportTemplate::Result result =
            ReportTemplate::render(templateText, QStringLiteral("t.md"), nlohmann::json::parse(json.toStdString()));
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.text, expected);
    }

    void includesResolveInTheWorkingDirectory()
    {
        writeText(QStringLiteral("reports/part.md"), QStringLiteral("{{ name }}!"));
        const ReportTemplate::Result result =
            ReportTemplate::render(QStringLiteral("<{% include \"reports/part.md\" %}>"), QStringLiteral("elsewhere/t.md"),
                                   nlohmann::json{{"name", "Ra"}});
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.text, QStringLiteral("<Ra!>"));
    }

    void includesStayInsideTheWorkingDirectory()
    {
        writeText(QStringLiteral("outside.md"), QStringLiteral("outside"));
        QVERIFY(QDir().mkpath(QStringLiteral("root")));
        const QString previous = QDir::currentPath();
        QDir::setCurrent(QStringLiteral("root"));
        const ReportTemplate::Result result =
            ReportTemplate::render(QStringLiteral("{% include \"../outside.md\" %}"), QStringLiteral("t.md"), {});
        QDir::setCurrent(previous);
        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(QStringLiteral("../outside.md")), qPrintable(result.error));
    }

    void reportsTheEnginesErrors_data()
    {
        QTest::addColumn<QString>("templateText");
        QTest::addColumn<QStringList>("fragments");
        QTest::newRow("unclosed block tag")
            << "{% for row in rows %}{{ row }}" << QStringList{"Unclosed tag", "reports/t.md"};
        QTest::newRow("unknown tag") << "{% nosuch %}" << QStringList{"nosuch"};
        QTest::newRow("unknown filter") << "{{ value|nosuch }}" << QStringList{"Unknown filter", "nosuch"};
        QTest::newRow("missing included file, found while rendering")
            << "text {% include \"reports/none.md\" %}" << QStringList{"reports/none.md"};
    }

    void reportsTheEnginesErrors()
    {
        QFETCH(QString, templateText);
        QFETCH(QStringList, fragments);
        const ReportTemplate::Result result =
            ReportTemplate::render(templateText, QStringLiteral("reports/t.md"), nlohmann::json{{"value", 1}});
        QVERIFY(!result.ok);
        for (const QString& fragment : fragments)
            QVERIFY2(result.error.contains(fragment), qPrintable(result.error));
    }
};

KALVORA_TEST_MAIN(ReportTemplateTest)
#include "ReportTemplateTest.moc"
