#include "WorkspaceScene.h"

#include "LabelChecks.h"

#include "contour/ContourReport.h"

#include "DesktopOpenRecorder.h"
#include "MessageBoxAnswerer.h"
#include "ReportFiles.h"
#include "SettingsFixture.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "TextInput.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QTextEdit>
#include <QRegularExpression>

namespace {

// Up at 45° to x = 100 µm, flat to 200, down at 45° to 300.
ProfileData roof()
{
    ProfileData columns(2);
    for (int x = 0; x <= 300; ++x) {
        columns[0].append(x);
        columns[1].append(x < 100 ? x : x <= 200 ? 100 : 300 - x);
    }
    return columns;
}

struct PlotLabel
{
    QString text;
    QFont font;
};

QVector<PlotLabel> plotLabels(PlotWidget* plot)
{
    QVector<PlotLabel> labels;
    for (int i = 0; i < plot->itemCount(); ++i) {
        if (auto* text = qobject_cast<QCPItemText*>(plot->item(i)))
            labels.append({text->text(), text->font()});
    }
    return labels;
}

QStringList rowNames(MeasurementTreeWidget* tree)
{
    QStringList names;
    for (const TreeGroupRecord& group : tree->collectItems()) {
        for (const TreeItemRecord& record : group.items)
            names.append(QString::fromStdString(record.name));
    }
    return names;
}

// A tab with two angles and a horizontal distance placed with the mouse.
struct ReportScene
{
    ReportScene() : scene({roof()})
    {
        scene.choose(QStringLiteral("actionAngle"), QStringLiteral("pushButtonHHorizonAngle"));
        scene.drag({10, 10}, {80, 80});
        scene.clickAt(90, 70);
        scene.choose(QStringLiteral("actionAngle"), QStringLiteral("pushButtonHHorizonAngle"));
        scene.drag({220, 80}, {290, 10});
        scene.clickAt(210, 70);
        scene.placeDistance(QStringLiteral("pushButtonHorisontalDistance"), {50, 50}, {250, 50}, {150, 20});
        names = rowNames(scene.tree());
    }

    WorkspaceScene scene;
    QStringList names;
};

// Micrometres: a level with a roughness of 1 either way to x = 3000, a V
// groove 1300 deep to x = 4500, the level again, a groove of radius 2000 from
// 6300 to 8700 (centre 1600 above the level), the level to 10000; points 10
// apart.
ProfileData grooves()
{
    ProfileData columns(2);
    for (int i = 0; i <= 1000; ++i) {
        const double x = 10.0 * i;
        double y = std::sin(7.3 * i);
        if (x > 3000 && x < 4500)
            y = -1300 + std::abs(x - 3750) * 1300 / 750;
        else if (x > 6300 && x < 8700)
            y = 1600 - std::sqrt(2000.0 * 2000 - (x - 7500) * (x - 7500));
        columns[0].append(x);
        columns[1].append(y);
    }
    return columns;
}

// The visible texts of the plot but the deviation scale's own labels.
QVector<const QCPItemText*> otherLabels(PlotWidget* plot, const ErrorMeasurement& deviation)
{
    const QVector<const QCPItemText*> own = deviation.deviationGraph().tickLabels();
    QVector<const QCPItemText*> others;
    for (int i = 0; i < plot->itemCount(); ++i) {
        const auto* text = qobject_cast<const QCPItemText*>(plot->item(i));
        if (text && text->realVisibility() && !text->text().trimmed().isEmpty() && !own.contains(text))
            others.append(text);
    }
    return others;
}

QString pngOf(const QString& html)
{
    const QRegularExpression png(QStringLiteral("data:image/png;base64,([A-Za-z0-9+/=]+)"));
    QStringList found;
    for (auto match = png.globalMatch(html); match.hasNext();)
        found.append(match.next().captured(1));
    return found.size() == 1 ? found.first() : QString();
}

} // namespace

// Printing a contour tab: the file dialog, the labels while the plot image is
// taken, the report written by pandoc and opened.
class ContourReportTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        copyReportFiles();
    }

    void init()
    {
        loadSettingsFile();
        changeSettings([](AppSettings& s) {
            s.view.axis_unit = 1;
            s.view.angles_in_deg = true;
            s.current_controller_name = QStringLiteral("Иванов");
        });
    }

    void printing()
    {
        ReportScene report;
        WorkspaceScene& scene = report.scene;
        QCOMPARE(report.names.size(), 3);
        auto* comment = scene.widget->findChild<QTextEdit*>(QStringLiteral("commentTextEdit"));
        typeText(comment, QStringLiteral("Партия 12"));
        const QVector<PlotLabel> normal = plotLabels(scene.plot());

        DesktopOpenRecorder opener;
        MessageBoxAnswerer answerer(QMessageBox::Ok);
        const QString chosen = QDir::current().filePath(QStringLiteral("Деталь_1"));
        answerer.onDialog([&](QWidget* dialog) { QVERIFY(MessageBoxAnswerer::chooseFile(dialog, chosen)); });
        QVector<PlotLabel> whilePrinting;
        QStringList rowsWhilePrinting;
        answerer.onMessageBox([&](QMessageBox*) {
            whilePrinting = plotLabels(scene.plot());
            rowsWhilePrinting = rowNames(scene.tree());
        });
        scene.widget->printReport(scene.widget.get());

        QCOMPARE(answerer.titles(), QStringList{"Отчет сохранен"});
        const QString path = chosen + QStringLiteral(".html");
        QCOMPARE(opener.urls(), QList<QUrl>{QUrl::fromLocalFile(path)});
        const QString html = readText(path);
        for (const char* text : {"Деталь", "Партия 12", "Иванов", "УГЛЫ", "α_1", "α_2", "ДЛИНЫ", "L_1"})
            QVERIFY2(html.contains(QString::fromUtf8(text)), text);
        QImage image;
        QVERIFY(image.loadFromData(QByteArray::fromBase64(pngOf(html).toLatin1()), "PNG"));
        QCOMPARE(image.size(), scene.plot()->size());

        QStringList labelTexts;
        double enlargedSize = 1000;
        for (const PlotLabel& label : whilePrinting) {
            if (label.text.contains(QLatin1Char('_'))) {
                labelTexts.append(label.text);
                QVERIFY(label.font.pointSizeF() > normal.first().font.pointSizeF());
                enlargedSize = std::min(enlargedSize, label.font.pointSizeF());
            }
        }
        labelTexts.sort();
        QCOMPARE(labelTexts, (QStringList{"L_1", "α_1", "α_2"}));
        QCOMPARE(rowsWhilePrinting.size(), 3);
        QVERIFY(rowsWhilePrinting.first().startsWith(QStringLiteral("1 ")));

        QCOMPARE(rowNames(scene.tree()), report.names);
        const QVector<PlotLabel> after = plotLabels(scene.plot());
        QCOMPARE(after.size(), normal.size());
        for (int i = 0; i < after.size(); ++i) {
            QCOMPARE(after[i].text, normal[i].text);
            QCOMPARE(after[i].font, normal[i].font);
            QVERIFY(after[i].font.pointSizeF() < enlargedSize);
        }
    }

    void labelsReadableInImage();

    // The part name, the comment, the inspector and the organisation read in
    // the report as they were typed, line breaks of the comment included.
    void typedTextsReadAsTyped()
    {
        const QStringList& typed = typedTexts();
        changeSettings([&](AppSettings& s) {
            s.current_controller_name = typed[2];
            s.servise.factory_name = typed[4];
        });
        ReportScene report;
        QWidget* widget = report.scene.widget.get();
        auto* partName = widget->findChild<QLineEdit*>(QStringLiteral("detailNameEdit"));
        QTest::keyClick(partName, Qt::Key_A, Qt::ControlModifier);
        typeText(partName, typed[0]);
        auto* comment = widget->findChild<QTextEdit*>(QStringLiteral("commentTextEdit"));
        typeText(comment, typed[1]);
        QTest::keyClick(comment, Qt::Key_Return);
        typeText(comment, typed[3]);

        DesktopOpenRecorder opener;
        MessageBoxAnswerer answerer(QMessageBox::Ok);
        const QString chosen = QDir::current().filePath(QStringLiteral("typed"));
        answerer.onDialog([&](QWidget* dialog) { QVERIFY(MessageBoxAnswerer::chooseFile(dialog, chosen)); });
        report.scene.widget->printReport(widget);

        QCOMPARE(answerer.titles(), QStringList{"Отчет сохранен"});
        const QStringList lines = visibleLines(readText(chosen + QStringLiteral(".html")));
        const auto cellAfter = [&lines](const char* header) {
            return lines.value(lines.indexOf(QString::fromUtf8(header)) + 1);
        };
        QCOMPARE(cellAfter("Предприятие"), typed[4]);
        QCOMPARE(cellAfter("Деталь"), typed[0]);
        QCOMPARE(cellAfter("Контролёр"), typed[2]);
        QCOMPARE(cellAfter("Протокол измерения контура"), typed[2]); // the title block's author line
        QCOMPARE(cellAfter(qPrintable(QStringLiteral("Комментарий: ") + typed[1])), typed[3]);
    }

    void withoutTraces()
    {
        WorkspaceScene scene;
        DesktopOpenRecorder opener;
        MessageBoxAnswerer answerer(QMessageBox::Ok);
        scene.widget->printReport(scene.widget.get());
        QCOMPARE(answerer.titles(), QStringList{"Ошибка печати отчёта"});
        QCOMPARE(answerer.texts(), QStringList{"Нет трасс для сохранения отчёта"});
        QVERIFY(opener.urls().isEmpty());
    }

    // Cancelled in the file dialog: no label and no row is touched.
    void cancelled()
    {
        ReportScene report;
        const QVector<PlotLabel> normal = plotLabels(report.scene.plot());
        DesktopOpenRecorder opener;
        MessageBoxAnswerer answerer;
        bool askedForFile = false;
        answerer.onDialog([&](QWidget* dialog) {
            askedForFile = qobject_cast<QFileDialog*>(dialog) != nullptr;
            qobject_cast<QDialog*>(dialog)->reject();
        });
        report.scene.widget->printReport(report.scene.widget.get());
        QVERIFY(askedForFile);
        QCOMPARE(answerer.count(), 0);
        QVERIFY(opener.urls().isEmpty());
        QCOMPARE(rowNames(report.scene.tree()), report.names);
        QCOMPARE(plotLabels(report.scene.plot()).size(), normal.size());
        for (Measurement* m : report.scene.manager()->measurements())
            QCOMPARE(m->labelText(), QString());
    }

    // pandoc missing: the renderer's warning, the labels gone again, nothing
    // opened.
    void withoutPandoc()
    {
        ReportScene report;
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QDir::current().absolutePath().toLocal8Bit());
        DesktopOpenRecorder opener;
        MessageBoxAnswerer answerer(QMessageBox::Ok);
        answerer.onDialog([&](QWidget* dialog) {
            QVERIFY(MessageBoxAnswerer::chooseFile(dialog, QDir::current().filePath(QStringLiteral("r"))));
        });
        report.scene.widget->printReport(report.scene.widget.get());
        qputenv("PATH", path);
        QCOMPARE(answerer.titles(), QStringList{"Ошибка"});
        QVERIFY(answerer.texts().first().startsWith(QStringLiteral("Что-то пошло не так при конвертации отчета")));
        QVERIFY(opener.urls().isEmpty());
        QCOMPARE(rowNames(report.scene.tree()), report.names);
        for (Measurement* m : report.scene.manager()->measurements())
            QCOMPARE(m->labelText(), QString());
    }
};

// A line deviation on the level beside a V groove with its angle, and the
// radius of a groove labelled from inside: on screen and in the report's
// image, where the labels are enlarged, the scale's values overlap neither
// each other nor the trace nor the angle's label, and the radius's arrow
// does not run through its label.
void ContourReportTest::labelsReadableInImage()
{
    WorkspaceScene scene({grooves()});
    scene.choose(QStringLiteral("actionAngle"), QStringLiteral("pushButtonDirectAngle"));
    scene.drag({3100, -1100}, {3600, -260});
    scene.drag({3900, -260}, {4400, -1170});
    scene.clickAt(3750, -700);
    scene.choose(QStringLiteral("actionErrors"), QStringLiteral("pushButtonRMSE"));
    scene.drag({800, std::sin(7.3 * 80)}, {2980, std::sin(7.3 * 298)});
    scene.clickAt(2000, -250);
    scene.choose(QStringLiteral("actionRadius"), QStringLiteral("pushButtonRadius"));
    const double grooveSide = 1600 - std::sqrt(2000.0 * 2000 - 900 * 900);
    scene.drag({6600, grooveSide}, {8400, grooveSide});
    scene.clickAt(7500, 1000);
    const QList<Measurement*> placed = scene.manager()->measurements();
    QCOMPARE(placed.size(), 3);
    QVERIFY(placed.last()->isFinished());
    const auto* deviation = dynamic_cast<const ErrorMeasurement*>(placed.at(1));
    const auto* radius = dynamic_cast<const CurvatureMeasurement*>(placed.at(2));
    QVERIFY(deviation && radius);
    PlotWidget* plot = scene.plot();
    const QCPCurve* trace = plot->curve(0);

    plot->replot();
    QCOMPARE(scaleProblems(*deviation, {trace}, otherLabels(plot, *deviation)), QString());
    QVERIFY(!arrowCrossesLabel(*radius));

    QString scaleInImage = QStringLiteral("not laid out");
    bool arrowInImage = true;
    QStringList labelTexts;
    const QMetaObject::Connection check = QObject::connect(plot, &QCustomPlot::afterLayout, plot, [&] {
        scaleInImage = scaleProblems(*deviation, {trace}, otherLabels(plot, *deviation));
        arrowInImage = arrowCrossesLabel(*radius);
        labelTexts.clear();
        for (const QCPItemText* label : otherLabels(plot, *deviation))
            labelTexts.append(label->text());
    });
    scene.widget->prepareForReport();
    renderPlotImages(scene.widget.get());
    QObject::disconnect(check);
    scene.widget->restoreAfterReport();
    labelTexts.sort();
    QCOMPARE(labelTexts, (QStringList{"E_1", "R_1", "α_1"}));
    QCOMPARE(scaleInImage, QString());
    QVERIFY(!arrowInImage);
}

KALVORA_TEST_MAIN(ContourReportTest)
#include "ContourReportTest.moc"
