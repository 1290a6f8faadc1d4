#include "WorkspaceScene.h"

#include "ContourTrace.h"
#include "MessageBoxAnswerer.h"
#include "ProfileTrace.h"
#include "SettingsFixture.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "contour/ConsoleSelectDialog.h"
#include "contour/DialogCalibration.h"
#include "plot/AdaptiveCurve.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QScreen>

#include <cmath>
#include <memory>
#include <vector>

namespace {

const QVector<double> kK1{21, 19, 22, 0.5, 7};

// Contour traces by letters: d taken with the needle down, u with the needle
// up, D a contour trace with profile; p a profile trace. Each runs along
// x = 0 ... 2000 µm at heights 100 + x / 10 µm.
struct Traces
{
    explicit Traces(const QString& letters)
    {
        for (const QChar letter : letters) {
            ProfileData columns(3);
            for (int x = 0; x <= 2000; x += 20) {
                columns[0].append(x);
                columns[1].append(100 + x / 10.0);
                columns[2].append(0);
            }
            if (letter == QLatin1Char('p')) {
                owned.push_back(std::make_unique<ProfileTrace>(ProfileData{columns[0], columns[1]}));
            } else {
                auto trace = std::make_unique<ContourTrace>(columns);
                trace->needle_pressing = letter == QLatin1Char('u') ? MovementSettings::NEEDLE_UP
                                                                    : MovementSettings::NEEDLE_DOWN;
                trace->double_sided_probe_high = 22;
                trace->tool_head_radius_down = 200;
                trace->tool_head_radius_up = 200;
                if (letter == QLatin1Char('D'))
                    trace->setType(CONTOUR_PROFILE);
                trace->reprocess();
                owned.push_back(std::move(trace));
            }
            list.append(owned.back().get());
        }
    }

    ContourTrace* contour(int i) const { return dynamic_cast<ContourTrace*>(list[i]); }

    std::vector<std::unique_ptr<AbstractTrace>> owned;
    QVector<AbstractTrace*> list;
};

AppSettingsData calibrationSettings(bool developer, const QStringList& consoles = {"K1"})
{
    AppSettingsData data;
    data.servise.is_developer_mode = developer;
    data.servise.is_disabled_gauss_filter = false;
    data.servise.is_disabled_radius_elimination = true;
    data.console_names = consoles;
    for (const QString& name : consoles)
        data.consoles.insert(name, kK1);
    data.current_console = consoles.value(0, QStringLiteral("No console"));
    return data;
}

// Loads the settings and saves them in the program's own form, so that a
// file written again from an unchanged record is byte for byte the same.
void loadCalibrationSettings(const AppSettingsData& data)
{
    loadSettings(data);
    QVERIFY(AppSettings::instance().save());
}

QVector<QPointF> curvePoints(const QCPCurve* curve)
{
    QVector<QPointF> points;
    for (const QCPCurveData& point : *curve->data())
        points.append(QPointF(point.key, point.value));
    return points;
}

QVector<QVector<QPointF>> allCurves(const ContourAnalisisWidget* widget)
{
    QVector<QVector<QPointF>> curves;
    auto* plot = widget->findChild<PlotWidget*>(QStringLiteral("plot"));
    for (int i = 0; i < plot->curveCount(); ++i)
        curves.append(curvePoints(plot->curve(i)));
    return curves;
}

QVector<double> copyOf(const ContourTrace* trace)
{
    return {trace->tool_head_radius_down, trace->tool_head_radius_up, trace->double_sided_probe_high,
            trace->rack_perpendicular,    trace->roughness_ratio,     trace->needle_bias,
            trace->x_axis_compression_ratio, trace->y_axis_compression_ratio, trace->displacement_coefficient};
}

// Types the text into the spin box as the user does, one key at a time.
void typeInto(QDoubleSpinBox* box, const QString& text)
{
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

QStringList shownInputs(const ContourAnalisisWidget* widget)
{
    QStringList shown;
    for (QWidget* input : widget->findChildren<QWidget*>()) {
        const QString name = input->objectName();
        const bool panelInput = name.endsWith(QLatin1String("SpinBox")) || name.endsWith(QLatin1String("CheckBox"))
                                || name.endsWith(QLatin1String("Label")) || name.endsWith(QLatin1String("Lable"));
        if (panelInput && input->parentWidget() && input->isVisibleTo(widget)
            && widget->findChild<QWidget*>(QStringLiteral("groupBox"))->isAncestorOf(input))
            shown.append(name);
    }
    shown.sort();
    return shown;
}

// Runs the calibration window through the launcher on the traces; `onScreen`
// acts on the screen once it is up, `onConsoleChoice` on each console
// dialog. Message boxes get `answer`.
struct CalibrationRun
{
    void run(const QVector<AbstractTrace*>& traces)
    {
        MessageBoxAnswerer answerer(answer);
        answerer.onDialog([this](QWidget* modal) {
            if (auto* choice = qobject_cast<ConsoleSelectDialog*>(modal)) {
                ++consoleChoices;
                onConsoleChoice(choice);
            } else if (auto* dialog = qobject_cast<DialogCalibration*>(modal)) {
                if (screensHandled++ == 0) {
                    screen = dialog;
                    size = dialog->size();
                    minimumSize = dialog->minimumSizeHint();
                    title = dialog->windowTitle();
                    onScreen(dialog->findChild<ContourAnalisisWidget*>());
                }
            }
        });
        openCalibrationWindow(nullptr, traces.toList());
        titles = answerer.titles();
        texts = answerer.texts();
    }

    QMessageBox::StandardButton answer = QMessageBox::Cancel;
    std::function<void(ContourAnalisisWidget*)> onScreen = [](ContourAnalisisWidget*) {};
    std::function<void(ConsoleSelectDialog*)> onConsoleChoice = [](ConsoleSelectDialog* d) { d->reject(); };
    QPointer<DialogCalibration> screen;
    QSize size;
    QSize minimumSize;
    QString title;
    int screensHandled = 0;
    int consoleChoices = 0;
    QStringList titles;
    QStringList texts;
};

QDoubleSpinBox* spinBox(ContourAnalisisWidget* widget, const char* name)
{
    return widget->findChild<QDoubleSpinBox*>(QLatin1String(name));
}

QPushButton* panelButton(ContourAnalisisWidget* widget, const char* name)
{
    return widget->findChild<QPushButton*>(QLatin1String(name));
}

} // namespace

// The probe calibration screen on fixture traces: the panel, the changes
// and what saving, discarding and closing leave behind.
class CalibrationScreenTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void cleanup() { QDir().rmdir(QLatin1String(AppSettings::kFileName)); }

    void thePanel_data()
    {
        QTest::addColumn<QString>("traces");
        QTest::addColumn<bool>("developer");
        QTest::addColumn<QStringList>("shown");
        const QStringList developerInputs{"displacementCoefficientLabel", "displacementCoefficientSpinBox",
                                          "enableGaussFilterCheckBox",    "enableRadiusEliminationCheckBox",
                                          "rackPerpendicularLabel",       "rackPerpendicularSpinBox",
                                          "xAxisCompressionRatioLabel",   "xAxisCompressionRatioSpinBox",
                                          "yAxisCompressionRatioLabel",   "yAxisCompressionRatioSpinBox"};
        QTest::newRow("needle down") << "d" << false << QStringList{"downHeadRadiusLable", "downHeadRadiusSpinBox"};
        QTest::newRow("both needles") << "ud" << false
                                      << QStringList{"doubleSidedProbeHighLabel", "doubleSidedProbeHighSpinBox",
                                                     "downHeadRadiusLable",       "downHeadRadiusSpinBox",
                                                     "needleBiasLabel",           "needleBiasSpinBox",
                                                     "upperHeadRadiusLable",      "upperHeadRadiusSpinBox"};
        QTest::newRow("with profile") << "D" << false
                                      << QStringList{"downHeadRadiusLable", "downHeadRadiusSpinBox",
                                                     "roughnessRatioLabel", "roughnessRatioSpinBox"};
        QTest::newRow("profile traces, developer") << "p" << true << developerInputs;
    }

    // The panel shows what the traces call for, with the current console's
    // probe values and the record's others.
    void thePanel()
    {
        QFETCH(QString, traces);
        QFETCH(bool, developer);
        QFETCH(QStringList, shown);
        AppSettingsData settings = calibrationSettings(developer);
        settings.calibration.x_axis_compression_ratio = 1.01;
        settings.servise.is_disabled_radius_elimination = false;
        loadCalibrationSettings(settings);
        const Traces fixture(traces);
        WorkspaceScene scene(WorkspaceScene::SharedTraces{fixture.list}, true);
        QCOMPARE(shownInputs(scene.widget.get()), shown);
        QCOMPARE(spinBox(scene.widget.get(), "downHeadRadiusSpinBox")->value(), 21.0);
        QCOMPARE(spinBox(scene.widget.get(), "needleBiasSpinBox")->value(), 0.5);
        QCOMPARE(spinBox(scene.widget.get(), "xAxisCompressionRatioSpinBox")->value(), 1.01);
        QVERIFY(!scene.widget->findChild<QCheckBox*>(QStringLiteral("enableGaussFilterCheckBox"))->isChecked());
        QVERIFY(!scene.widget->findChild<QCheckBox*>(QStringLiteral("enableRadiusEliminationCheckBox"))->isChecked());
        QVERIFY(scene.widget->isCalibrationSaved());
    }

    // One more millimetre of probe height lifts the curves of the traces
    // taken with the needle down by 1 mm; the record and the traces'
    // copies take it, the profile trace is left alone, the file is not
    // written.
    void aChangeIsAppliedAtOnce()
    {
        loadCalibrationSettings(calibrationSettings(false));
        const QByteArray file = fileBytes(QLatin1String(AppSettings::kFileName));
        const Traces fixture(QStringLiteral("dup"));
        auto* profile = dynamic_cast<ProfileTrace*>(fixture.list[2]);
        profile->speed = 0.5;
        WorkspaceScene scene(WorkspaceScene::SharedTraces{fixture.list}, true);
        const QVector<QVector<QPointF>> before = allCurves(scene.widget.get());
        typeInto(spinBox(scene.widget.get(), "doubleSidedProbeHighSpinBox"), QStringLiteral("23"));

        QVERIFY(!scene.widget->isCalibrationSaved());
        QCOMPARE(AppSettings::instance().snapshot().calibration.double_sided_probe_high, 23.0);
        QCOMPARE(fixture.contour(0)->double_sided_probe_high, 23.0);
        QCOMPARE(fixture.contour(1)->double_sided_probe_high, 23.0);
        QCOMPARE(profile->speed, 0.5);
        const QVector<QVector<QPointF>> after = allCurves(scene.widget.get());
        QCOMPARE(after[0].size(), before[0].size());
        for (int i = 0; i < before[0].size(); ++i) {
            QCOMPARE(after[0][i].x(), before[0][i].x());
            QVERIFY(std::abs(after[0][i].y() - before[0][i].y() - 1.0) < 1e-9);
        }
        QCOMPARE(after[1], before[1]);
        QCOMPARE(fileBytes(QLatin1String(AppSettings::kFileName)), file);
    }

    // A levelling in force stays applied when the curves are refilled: the
    // change of the upper tip leaves the needle-down trace as it was, turned.
    void aLevellingStaysApplied()
    {
        loadCalibrationSettings(calibrationSettings(false));
        const Traces fixture(QStringLiteral("du"));
        WorkspaceScene scene(WorkspaceScene::SharedTraces{fixture.list}, true);
        const QVector<QPointF> flat = allCurves(scene.widget.get())[0];
        const double angle = 0.1;
        const QPointF centre(1, 0.2);
        emit scene.manager()->setNewAngleAndCenterRot(angle, centre);
        typeInto(spinBox(scene.widget.get(), "upperHeadRadiusSpinBox"), QStringLiteral("30"));
        const QVector<QPointF> turned = allCurves(scene.widget.get())[0];
        QCOMPARE(turned.size(), flat.size());
        for (int i = 0; i < flat.size(); i += 10) {
            const double dx = flat[i].x() - centre.x();
            const double dy = flat[i].y() - centre.y();
            QVERIFY(std::abs(turned[i].x() - (centre.x() + dx * std::cos(angle) - dy * std::sin(angle))) < 1e-6);
            QVERIFY(std::abs(turned[i].y() - (centre.y() + dx * std::sin(angle) + dy * std::cos(angle))) < 1e-6);
        }
    }

    void ticking_aProcessingSwitch()
    {
        loadCalibrationSettings(calibrationSettings(true));
        const Traces fixture(QStringLiteral("d"));
        WorkspaceScene scene(WorkspaceScene::SharedTraces{fixture.list}, true);
        auto* box = scene.widget->findChild<QCheckBox*>(QStringLiteral("enableRadiusEliminationCheckBox"));
        const QVector<QPointF> before = allCurves(scene.widget.get())[0];
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
        QCOMPARE(AppSettings::instance().snapshot().servise.is_disabled_radius_elimination, false);
        QCOMPARE(AppSettings::instance().snapshot().servise.is_disabled_gauss_filter, false);
        QVERIFY(allCurves(scene.widget.get())[0] != before);
        QVERIFY(!scene.widget->isCalibrationSaved());
    }

    // The window the launcher opens: its title and size; Escape on a clean
    // screen closes it without a question.
    void escapeOnACleanScreen()
    {
        loadCalibrationSettings(calibrationSettings(false));
        const Traces fixture(QStringLiteral("d"));
        CalibrationRun run;
        run.onScreen = [&](ContourAnalisisWidget*) { QTest::keyClick(run.screen, Qt::Key_Escape); };
        run.run(fixture.list);
        QVERIFY(!run.screen);
        QCOMPARE(run.title, QStringLiteral("Калибровка"));
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        const QSize asked(int(std::lround(available.width() * 0.7)), int(std::lround(available.height() * 0.7)));
        QCOMPARE(run.size, asked.expandedTo(run.minimumSize));
        QCOMPARE(run.texts, QStringList());
    }

    // The screen leaves the plot narrower than it is tall; the fit still
    // shows every point of the long trace.
    void theWholeTraceIsInView()
    {
        loadCalibrationSettings(calibrationSettings(false));
        const Traces fixture(QStringLiteral("d"));
        CalibrationRun run;
        QSize rect;
        QVector<QPointF> outside;
        run.onScreen = [&](ContourAnalisisWidget* widget) {
            auto* plot = widget->findChild<PlotWidget*>(QStringLiteral("plot"));
            rect = plot->axisRect()->size();
            const QCPRange keys = plot->xAxis->range();
            const QCPRange values = plot->yAxis->range();
            for (const QPointF& point : curvePoints(plot->curve(0))) {
                if (!keys.contains(point.x()) || !values.contains(point.y()))
                    outside.append(point);
            }
            QTest::keyClick(run.screen, Qt::Key_Escape);
        };
        run.run(fixture.list);
        QVERIFY2(rect.width() < rect.height(), "the plot is to be narrower than tall");
        QCOMPARE(outside, QVector<QPointF>());
    }

    // "Не сохранять" after Escape, or "Отмена": the record, the traces'
    // copies and the curves as they were, the file untouched.
    void discarding_data()
    {
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("Escape, then \"Не сохранять\"") << true;
        QTest::newRow("\"Отмена\"") << false;
    }

    void discarding()
    {
        QFETCH(bool, byEscape);
        loadCalibrationSettings(calibrationSettings(true));
        const QByteArray file = fileBytes(QLatin1String(AppSettings::kFileName));
        const AppSettingsData record = AppSettings::instance().snapshot();
        const Traces fixture(QStringLiteral("du"));
        const QVector<double> copy = copyOf(fixture.contour(0));
        QVector<QVector<QPointF>> curvesBefore;
        QVector<QVector<QPointF>> curvesAfter;
        CalibrationRun run;
        run.onScreen = [&](ContourAnalisisWidget* widget) {
            curvesBefore = allCurves(widget);
            typeInto(spinBox(widget, "doubleSidedProbeHighSpinBox"), QStringLiteral("25"));
            typeInto(spinBox(widget, "xAxisCompressionRatioSpinBox"), QStringLiteral("1,02"));
            connect(widget, &ContourAnalisisWidget::closeDialogCalibration, widget,
                    [&, widget] { curvesAfter = allCurves(widget); });
            if (byEscape)
                QTest::keyClick(run.screen, Qt::Key_Escape);
            else
                QTest::mouseClick(panelButton(widget, "discardChangesPushButton"), Qt::LeftButton);
        };
        run.run(fixture.list);

        QVERIFY(!run.screen);
        QCOMPARE(run.titles, byEscape ? QStringList{"Несохранённые изменения"} : QStringList());
        QCOMPARE(run.texts, byEscape ? QStringList{"Данные калибровки не сохранены"} : QStringList());
        const AppSettingsData now = AppSettings::instance().snapshot();
        QCOMPARE(now.calibration.double_sided_probe_high, record.calibration.double_sided_probe_high);
        QCOMPARE(now.calibration.x_axis_compression_ratio, record.calibration.x_axis_compression_ratio);
        QCOMPARE(now.calibration.upload_device_settings, false);
        QCOMPARE(now.view.angles_in_deg, record.view.angles_in_deg);
        QCOMPARE(copyOf(fixture.contour(0)), copy);
        QCOMPARE(curvesAfter, curvesBefore);
        QCOMPARE(fileBytes(QLatin1String(AppSettings::kFileName)), file);
    }

    // "Сохранить" stores the record's probe values under the current
    // console; a new x ratio asks for the upload.
    void savingUnderTheCurrentConsole()
    {
        loadCalibrationSettings(calibrationSettings(true, {"K1", "K2"}));
        const Traces fixture(QStringLiteral("du"));
        CalibrationRun run;
        run.onScreen = [&](ContourAnalisisWidget* widget) {
            typeInto(spinBox(widget, "needleBiasSpinBox"), QStringLiteral("2"));
            typeInto(spinBox(widget, "xAxisCompressionRatioSpinBox"), QStringLiteral("1,02"));
            QTest::mouseClick(panelButton(widget, "savePushButton"), Qt::LeftButton);
        };
        run.run(fixture.list);
        QVERIFY(!run.screen);
        QCOMPARE(run.consoleChoices, 0);
        const AppSettingsData file = savedSettings();
        QCOMPARE(file.consoles.value("K1"), (QVector<double>{20, 20, 22, 2, 6.2}));
        QCOMPARE(file.consoles.value("K2"), kK1);
        QCOMPARE(file.calibration.x_axis_compression_ratio, 1.02);
        QVERIFY(file.calibration.upload_device_settings);
        QCOMPARE(fixture.contour(0)->needle_bias, 2.0);
    }

    // Without a console the save asks for one: cancelled, the screen stays
    // and nothing is written; chosen, the values go under it and the
    // screen closes. "Cохранить как" always asks.
    void savingAsksForAConsole_data()
    {
        QTest::addColumn<QStringList>("consoles");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("button");
        QTest::newRow("no console") << QStringList() << "No console" << "savePushButton";
        QTest::newRow("the current one not listed") << QStringList{"K1"} << "K9" << "savePushButton";
        QTest::newRow("save as") << QStringList{"K1"} << "K1" << "saveAsPushButton";
    }

    void savingAsksForAConsole()
    {
        QFETCH(QStringList, consoles);
        QFETCH(QString, current);
        QFETCH(QString, button);
        AppSettingsData settings = calibrationSettings(false, consoles);
        settings.current_console = current;
        loadCalibrationSettings(settings);
        const QByteArray file = fileBytes(QLatin1String(AppSettings::kFileName));
        const Traces fixture(QStringLiteral("d"));
        bool stayedOpen = false;
        QByteArray fileAfterCancel;
        CalibrationRun run;
        run.onConsoleChoice = [&](ConsoleSelectDialog* dialog) {
            if (run.consoleChoices == 1) {
                QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cancelPushButton")), Qt::LeftButton);
                return;
            }
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("addPushButton")), Qt::LeftButton);
            auto* list = dialog->findChild<QListWidget*>(QStringLiteral("consoleList"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            list->setCurrentRow(list->count() - 1);
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("selectPushButton")), Qt::LeftButton);
        };
        run.onScreen = [&](ContourAnalisisWidget* widget) {
            typeInto(spinBox(widget, "downHeadRadiusSpinBox"), QStringLiteral("30"));
            QPushButton* save = widget->findChild<QPushButton*>(button);
            QTest::mouseClick(save, Qt::LeftButton);
            stayedOpen = run.screen && run.screen->isVisible() && !widget->isCalibrationSaved();
            fileAfterCancel = fileBytes(QLatin1String(AppSettings::kFileName));
            QTest::mouseClick(save, Qt::LeftButton);
        };
        run.run(fixture.list);

        QVERIFY(stayedOpen);
        QCOMPARE(fileAfterCancel, file);
        QVERIFY(!run.screen);
        QCOMPARE(run.consoleChoices, 2);
        const AppSettingsData saved = savedSettings();
        const QString added = QStringLiteral("Новая консоль");
        QCOMPARE(saved.current_console, added);
        QCOMPARE(saved.console_names, consoles + QStringList{added});
        QCOMPARE(saved.consoles.value(added), (QVector<double>{30, 20, 22, 0, 6.2}));
    }

    // A save that cannot write the file warns and keeps the screen open with
    // the consoles and the upload request as they were; discarding then
    // leaves the record and the traces as they were.
    void aFailedSave()
    {
        loadCalibrationSettings(calibrationSettings(true));
        const AppSettingsData record = AppSettings::instance().snapshot();
        QVERIFY(QFile::remove(QLatin1String(AppSettings::kFileName)));
        QVERIFY(QDir().mkdir(QLatin1String(AppSettings::kFileName)));
        const Traces fixture(QStringLiteral("d"));
        const QVector<double> copy = copyOf(fixture.contour(0));
        bool stayedOpen = false;
        AppSettingsData afterFailure;
        CalibrationRun run;
        run.onScreen = [&](ContourAnalisisWidget* widget) {
            typeInto(spinBox(widget, "xAxisCompressionRatioSpinBox"), QStringLiteral("1,02"));
            QTest::mouseClick(panelButton(widget, "savePushButton"), Qt::LeftButton);
            stayedOpen = run.screen && run.screen->isVisible();
            afterFailure = AppSettings::instance().snapshot();
            QTest::keyClick(run.screen, Qt::Key_Escape);
        };
        run.run(fixture.list);

        QVERIFY(stayedOpen);
        QCOMPARE(run.texts.value(0), QStringLiteral("Не удалось сохранить настройки"));
        QCOMPARE(afterFailure.consoles, record.consoles);
        QCOMPARE(afterFailure.current_console, record.current_console);
        QCOMPARE(afterFailure.calibration.upload_device_settings, false);
        QVERIFY(!run.screen);
        const AppSettingsData now = AppSettings::instance().snapshot();
        QCOMPARE(now.calibration.x_axis_compression_ratio, 1.0);
        QCOMPARE(now.calibration.upload_device_settings, false);
        QCOMPARE(copyOf(fixture.contour(0)), copy);
        QVERIFY(QFileInfo(QLatin1String(AppSettings::kFileName)).isDir());
    }
};

KALVORA_TEST_MAIN(CalibrationScreenTest)
#include "CalibrationScreenTest.moc"
