#include "WorkspaceScene.h"

#include "ContourTrace.h"
#include "DeviceControlWidget.h"
#include "LinkTestSupport.h"
#include "MessageBoxAnswerer.h"
#include "ProcessingOptionsPanel.h"
#include "RecordingLauncher.h"
#include "ReferenceRaPrompt.h"
#include "SettingsDialog.h"
#include "SettingsFixture.h"
#include "ShownTraceList.h"
#include "TestMain.h"
#include "TextInput.h"
#include "TraceJoining.h"
#include "TraceList.h"
#include "TraceTypes.h"

#include <QDoubleSpinBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolBox>
#include <QToolTip>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>

namespace {

constexpr double kNotTaken = std::numeric_limits<double>::quiet_NaN();

// What became of a number typed into a field: the number the program took
// (kNotTaken when the entry could not be finished), whether the field said
// what it takes, and the field's text right after the typing.
struct Outcome
{
    double value = kNotTaken;
    bool refusalShown = false;
    QString shown;
};

// Types into a field the way the operator enters a number somewhere in the
// program, and finishes the entry.
using Entry = std::function<Outcome(const QString& typed)>;

double valueOf(const QAbstractSpinBox* field)
{
    if (const auto* box = qobject_cast<const QDoubleSpinBox*>(field))
        return box->value();
    if (const auto* box = qobject_cast<const QSpinBox*>(field))
        return box->value();
    return kNotTaken;
}

// Types into the named field (the only one when no name is given) and
// finishes with Return, as in a panel or a window.
Outcome typeIntoField(QWidget* window, const QString& name, const QString& typed)
{
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        qWarning("window not exposed");
    auto* field = name.isEmpty() ? window->findChild<QAbstractSpinBox*>()
                                 : window->findChild<QAbstractSpinBox*>(name);
    if (!field || !field->isVisible() || !field->isEnabled()) {
        qWarning("no field %s to type into", qPrintable(name));
        return {};
    }
    typeNumber(field, typed);
    Outcome outcome;
    outcome.refusalShown = QToolTip::isVisible();
    outcome.shown = field->findChild<QLineEdit*>()->text();
    QTest::keyClick(window->windowHandle(), Qt::Key_Return);
    outcome.value = valueOf(field);
    return outcome;
}

// Types into the number field of the modal dialog that opens when `open`
// runs (through the menu entry, when one is given), and clicks OK; a dialog
// whose OK stays disabled is cancelled. The value is the dialog's number when
// it was accepted: a caller that can reads what the program took instead.
// Any other dialog on the way is answered by `other`, or cancelled.
Outcome typeIntoDialog(const std::function<void()>& open, const QString& typed,
                       const QString& menuEntry = QString(), const std::function<void(QWidget*)>& other = {})
{
    Outcome outcome;
    bool answered = false;
    MessageBoxAnswerer answerer;
    answerer.chooseMenuEntry(menuEntry);
    answerer.onDialog([&](QWidget* dialog) {
        auto* input = qobject_cast<QInputDialog*>(dialog);
        if (!input) {
            if (other)
                other(dialog);
            else
                static_cast<QDialog*>(dialog)->reject();
            return;
        }
        if (answered)
            return;
        answered = true;
        const bool accepted = MessageBoxAnswerer::enterNumber(input, typed);
        outcome.refusalShown = QToolTip::isVisible();
        for (QAbstractSpinBox* field : input->findChildren<QAbstractSpinBox*>()) {
            if (field->isVisible())
                outcome.shown = field->findChild<QLineEdit*>()->text();
        }
        if (accepted)
            outcome.value = input->doubleValue();
        else
            input->reject();
    });
    open();
    if (!answered)
        qWarning("no number dialog opened");
    return outcome;
}

// Two contour traces in a shown trace list, joined from the context menu of
// the first: the number typed is the overlap.
Outcome joinOverlap(const QString& typed)
{
    ProfileData columns(3);
    for (int i = 0; i <= 3000; ++i) {
        columns[0].append(10.0 * i);
        columns[1].append(0.01 * i);
        columns[2].append(0);
    }
    ContourTrace left(columns);
    ContourTrace right(columns);
    for (ContourTrace* trace : {&left, &right}) {
        trace->setType(CONTOUR);
        trace->setName(QStringLiteral("trace.txt"));
    }
    ShownList shown;
    shown.list.addTrace(&left);
    shown.list.addTrace(&right);
    QSignalSpy created(&shown.list, &TraceList::createTrace);
    Outcome outcome = typeIntoDialog(
        [&] {
            shown.rightClick(left.id);
            QTest::qWait(50);
        },
        typed, QStringLiteral("Соединить трассы"),
        // The join's dialog: the first trace offered, and "Соединить".
        [](QWidget* dialog) {
            const QList<QRadioButton*> choices = dialog->findChildren<QRadioButton*>();
            if (!choices.isEmpty())
                choose(choices.first());
            if (!MessageBoxAnswerer::clickButton(dialog, QStringLiteral("Соединить")))
                static_cast<QDialog*>(dialog)->reject();
        });
    // The joined trace is made with the overlap the dialog handed on.
    if (created.size() != 1 || created.first().first().value<ProfileData>() != joinTraces(&left, &right, outcome.value))
        outcome.value = kNotTaken;
    return outcome;
}

// A contour tab with a vertical line; the number typed into its row's
// "Эквидистанта" is the distance of the parallel line.
Outcome equidistant(const QString& typed)
{
    QVector<QPointF> points;
    for (int i = 0; i <= 200; ++i)
        points.append(QPointF(20.0 * i, 500 + 100 * std::sin(i / 10.0)));
    WorkspaceScene scene({traceThrough(points)});
    scene.choose(QStringLiteral("actionLineAdditionalGeometry"), QStringLiteral("pushButtonAddGeomVerticlaLine"));
    scene.clickAt(2, 0.8);
    const Measurement* line = scene.manager()->measurements().value(0);
    if (!line)
        return {};
    QSignalSpy parallels(scene.tree(), &MeasurementTreeWidget::equidistant);
    Outcome outcome = typeIntoDialog([&] { scene.rightClick(scene.row(line->id())); }, typed,
                                     QStringLiteral("Эквидистанта"));
    outcome.value = parallels.size() == 1 ? parallels.first().at(2).toDouble() : kNotTaken;
    return outcome;
}

// A button of the deviation frame of a contour tab that asks for a number.
Outcome deviationParameter(const QString& button, const QString& typed)
{
    WorkspaceScene scene({traceThrough({{0, 0}, {50, 10}, {100, 20}})});
    Outcome outcome = typeIntoDialog([&] { scene.choose(QStringLiteral("actionErrors"), button); }, typed);
    if (!std::isnan(outcome.value))
        outcome.value = scene.manager()->parameter().toDouble();
    return outcome;
}

Outcome inProcessingOptions(const QString& name, const QString& typed)
{
    loadSettingsFile(QStringLiteral("[device]\ndevice_type=0\n[preferenses]\nthread_angle_compensation=true\n"
                                    "meadian_filter=true\n"));
    ProcessingOptionsPanel panel;
    return typeIntoField(&panel, name, typed);
}

// The calibration panel of a contour tab in developer mode, on a contour
// trace with profile taken with the needle down and one taken with the
// needle up: every field of the panel is shown.
Outcome inCalibration(const QString& name, const QString& typed)
{
    loadSettingsFile(QStringLiteral("[servise]\nis_developer_mode=true\n"));
    std::vector<std::unique_ptr<ContourTrace>> traces;
    QVector<AbstractTrace*> list;
    for (const auto needle : {MovementSettings::NEEDLE_DOWN, MovementSettings::NEEDLE_UP}) {
        ProfileData columns(3);
        for (int x = 0; x <= 2000; x += 20) {
            columns[0].append(x);
            columns[1].append(100 + x / 10.0);
            columns[2].append(0);
        }
        traces.push_back(std::make_unique<ContourTrace>(columns));
        traces.back()->needle_pressing = needle;
        traces.back()->setType(needle == MovementSettings::NEEDLE_DOWN ? CONTOUR_PROFILE : CONTOUR);
        list.append(traces.back().get());
    }
    WorkspaceScene scene(WorkspaceScene::SharedTraces{list}, true);
    return typeIntoField(scene.widget.get(), name, typed);
}

Outcome inReferenceRaPrompt(const QString& typed)
{
    ReferenceRaPrompt prompt(nullptr);
    return typeIntoField(&prompt, QString(), typed);
}

Outcome inControlPanel(const QString& name, const QString& typed)
{
    ScopedPortList noPorts;
    DeviceControlWidget panel;
    return typeIntoField(&panel, name, typed);
}

// The service page of the settings dialog in developer mode, which shows the
// resolutions.
Outcome inSettingsDialog(const QString& name, const QString& typed)
{
    loadSettingsFile(QStringLiteral("[servise]\nfactory_name=846\nis_developer_mode=true\n"));
    Device device;
    RecordingLauncher launcher;
    SettingsDialog dialog(nullptr, {}, device, launcher.launcher());
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog))
        qWarning("settings dialog not exposed");
    for (QAbstractButton* tab : dialog.findChild<QToolBox*>()->findChildren<QAbstractButton*>()) {
        if (tab->text() == QStringLiteral("Сервис"))
            QTest::mouseClick(tab, Qt::LeftButton);
    }
    QCoreApplication::processEvents();
    return typeIntoField(&dialog, name, typed);
}

Entry fieldOf(Outcome (*enter)(const QString&, const QString&), const QString& name)
{
    return [enter, name](const QString& typed) { return enter(name, typed); };
}

} // namespace

Q_DECLARE_METATYPE(Entry)

// Every number field of the program, entered as the operator enters it:
// real clicks and keys through the window system on the real windows.
class NumberFieldWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void init()
    {
        loadSettingsFile();
        QToolTip::hideText();
    }

    void decimalPointOrComma_data()
    {
        QTest::addColumn<Entry>("entry");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("expected");

        struct Field
        {
            const char* title;
            Entry entry;
            // Where 2.5, 0.75 and 1.5 lie outside the field's range, three
            // numbers that it takes.
            QStringList typed = {"2.5", "0.75", "1,5"};
            QList<double> expected = {2.5, 0.75, 1.5};
        };
        const QList<Field> fields = {
            {"thread angle", fieldOf(inProcessingOptions, "threadAngleSpinBox")},
            {"reference Ra", [](const QString& typed) { return inReferenceRaPrompt(typed); }},
            {"equidistant", equidistant},
            {"overlap of joined traces", joinOverlap},
            {"inscribed radius", [](const QString& typed) { return deviationParameter("pushButtonRDESpecified", typed); }},
            {"probe height", fieldOf(inCalibration, "doubleSidedProbeHighSpinBox"), {"12.5", "30.75", "7,5"},
             {12.5, 30.75, 7.5}},
            {"needle bias", fieldOf(inCalibration, "needleBiasSpinBox")},
            {"rack perpendicular", fieldOf(inCalibration, "rackPerpendicularSpinBox")},
            {"roughness ratio", fieldOf(inCalibration, "roughnessRatioSpinBox")},
            {"x compression", fieldOf(inCalibration, "xAxisCompressionRatioSpinBox"), {"1.01", "0.99875", "1,02"},
             {1.01, 0.99875, 1.02}},
            {"y compression", fieldOf(inCalibration, "yAxisCompressionRatioSpinBox"), {"1.01", "0.99875", "1,02"},
             {1.01, 0.99875, 1.02}},
            {"displacement", fieldOf(inCalibration, "displacementCoefficientSpinBox")},
        };
        for (const Field& field : fields) {
            for (int i = 0; i < field.typed.size(); ++i) {
                QTest::addRow("%s: %s", field.title, qPrintable(field.typed[i]))
                    << field.entry << field.typed[i] << field.expected[i];
            }
        }
    }

    // The decimal point and the comma give the same number in every field.
    void decimalPointOrComma()
    {
        QFETCH(Entry, entry);
        QFETCH(QString, typed);
        QFETCH(double, expected);
        const Outcome outcome = entry(typed);
        QCOMPARE(outcome.value, expected);
        QVERIFY(!outcome.refusalShown);
    }

    void wholeNumberFields_data()
    {
        QTest::addColumn<Entry>("entry");
        QTest::addColumn<double>("finished");
        QTest::addRow("median window") << fieldOf(inProcessingOptions, "medianSpinBox") << 12.0;
        QTest::addRow("histogram density") << fieldOf(inProcessingOptions, "histogramDensitySpinBox") << 12.0;
        QTest::addRow("trace length") << fieldOf(inControlPanel, "traceLengthSpinBox") << 12.0;
        QTest::addRow("scale resolution") << fieldOf(inSettingsDialog, "scaleXResolutionSpinBox") << 12.0;
        QTest::addRow("lower tip radius") << fieldOf(inCalibration, "downHeadRadiusSpinBox") << 12.0;
        QTest::addRow("count of stretches")
            << Entry([](const QString& typed) {
                   return deviationParameter("pushButtonRadiusErrorByTwoSegment", typed);
               })
            << kNotTaken;
    }

    // "12.5" in a field of whole numbers never becomes 125: the field shows
    // the fraction as unfinished and says what it takes; finished, it keeps
    // the last whole number it could take, and a dialog cannot be accepted.
    void wholeNumberFields()
    {
        QFETCH(Entry, entry);
        QFETCH(double, finished);
        const Outcome outcome = entry(QStringLiteral("12.5"));
        QVERIFY(outcome.refusalShown);
        QVERIFY2(outcome.shown.startsWith(QStringLiteral("12,5")), qPrintable(outcome.shown));
        if (std::isnan(finished))
            QVERIFY(std::isnan(outcome.value));
        else
            QCOMPARE(outcome.value, finished);
    }
};

KALVORA_TEST_MAIN(NumberFieldWindowsTest)
#include "NumberFieldWindowsTest.moc"
