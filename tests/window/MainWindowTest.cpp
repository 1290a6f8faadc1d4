#include "ComboBoxInput.h"
#include "ContourTrace.h"
#include "DeviceControlWidget.h"
#include "KeyReceiver.h"
#include "LinkTestSupport.h"
#include "LogTexts.h"
#include "MainWindow.h"
#include "MessageBoxAnswerer.h"
#include "DesktopOpenRecorder.h"
#include "ReportFiles.h"
#include "SettingsFixture.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "TraceFileWriter.h"
#include "WorkspaceFixture.h"
#include "contour/ContourAnalisisWidget.h"
#include "contour/MeasurementTreeWidget.h"
#include "contour/MeasurementsManager.h"
#include "measurements/Measurement.h"
#include "plot/PlotAxisTicker.h"
#include "plot/PlotWidget.h"
#include "plot/TraceGraphsHolder.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QHelpEvent>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolTip>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <cmath>
#include <memory>

namespace {

QString workFile(const QString& name)
{
    return QDir::current().filePath(name);
}

// What the user types into a file dialog, which opens in the working
// directory: the name of a file there, a whole path elsewhere. (Typing a
// path through a crowded folder makes the dialog's completer crawl.)
QString typedName(const QString& path)
{
    const QString relative = QDir::current().relativeFilePath(path);
    return relative.startsWith(QLatin1String("..")) ? path : relative;
}

// Ctrl and the key, through the window system as the keyboard sends them,
// so that the window's shortcuts see them; the window is active again once
// the dialog before has gone, as it is for the user.
void pressShortcut(MainWindow& window, Qt::Key key)
{
    QApplication::setActiveWindow(&window);
    if (!QTest::qWaitForWindowActive(&window))
        qWarning("main window not active");
    QTest::keyClick(window.windowHandle(), key, Qt::ControlModifier);
}

QTabWidget* tabs(const MainWindow& window)
{
    return window.findChild<QTabWidget*>(QStringLiteral("tabWidget"));
}

// The entries of a menu as the user sees them, separators left out.
QStringList entries(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator())
            texts << action->text();
    }
    return texts;
}

// Clicks the menu's title in the menu bar; the answerer picks the entry.
void openMenu(MainWindow& window, const QString& title)
{
    QMenuBar* bar = window.menuBar();
    for (QAction* action : bar->actions()) {
        if (action->text() == title) {
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(action).center());
            return;
        }
    }
    QFAIL("no such menu");
}

// The parameter rows the trace list shows: "name value" per row.
QStringList shownParameters(const MainWindow& window)
{
    QStringList rows;
    auto* tree = window.profileWidget()->findChild<QTreeWidget*>(QStringLiteral("paramsListTreeWidget"));
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        rows << tree->topLevelItem(i)->text(0) + QLatin1Char(' ') + tree->topLevelItem(i)->text(1);
    return rows;
}

bool isProfileTraceFile(const QString& path)
{
    return workspace::writeProfileFile(path, workspace::wavyProfile(4000));
}

bool isContourProfileFile(const QString& path)
{
    ProfileData rows = workspace::wavyProfile(300);
    rows.append(QVector<double>(300, 0.0));
    ContourTrace trace(rows);
    trace.setType(CONTOUR_PROFILE);
    return writeTraceFile(path, &trace);
}

// A contour trace file of a slope: 200 points 10 µm apart.
bool isContourFile(const QString& path)
{
    ProfileData rows(3);
    for (int i = 0; i < 200; ++i) {
        rows[0].append(i * 10.0);
        rows[1].append(i * 2.0);
        rows[2].append(0.0);
    }
    ContourTrace trace(rows);
    trace.setType(CONTOUR);
    return writeTraceFile(path, &trace);
}

// The value texts in the measurement tree's value column.
QStringList treeValues(ContourAnalisisWidget* tab)
{
    QStringList values;
    auto* tree = tab->findChild<MeasurementTreeWidget*>(QStringLiteral("measurementTree"));
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if (!(*it)->text(1).isEmpty())
            values << (*it)->text(1);
    }
    return values;
}

// The tick labels of every shown axis of the window's plots, by axis: "plot
// axis: label | label | ...".
QStringList tickLabelsOfEveryAxis(const MainWindow& window)
{
    QStringList axes;
    for (PlotWidget* plot : window.findChildren<PlotWidget*>()) {
        for (QCPAxis* axis : plot->axisRect()->axes()) {
            if (axis->visible() && axis->tickLabels()) {
                const QString name = plot->objectName() + QLatin1Char(' ') + QString::number(axis->axisType());
                axes << name + QStringLiteral(": ") + axis->tickVectorLabels().toList().join(QStringLiteral(" | "));
            }
        }
    }
    return axes;
}

// Where two tick labels read the same number, the two; empty when none do.
// Labels are read back as the user reads them: the number before the unit.
QString repeatedTickLabel(const QStringList& labels, const QString& suffix, const QLocale& locale)
{
    QMap<double, QString> read;
    for (const QString& label : labels) {
        if (label.isEmpty())
            continue;
        bool isNumber = false;
        const double number = locale.toDouble(label.chopped(suffix.size()), &isNumber) + 0.0;
        if (!isNumber)
            return QStringLiteral("unreadable \"%1\"").arg(label);
        if (read.contains(number))
            return read.value(number) + QStringLiteral(" and ") + label;
        read.insert(number, label);
    }
    return QString();
}

// A shown tick label whose number is not its tick's, with the tick; empty
// when every label reads its tick to a millionth of the tick step.
QString tickMisreadByItsLabel(const QCPAxis& axis, const QString& suffix)
{
    const QVector<double> ticks = axis.tickVector();
    const QVector<QString> labels = axis.tickVectorLabels();
    if (ticks.size() < 2)
        return QString();
    const double tolerance = std::abs(ticks[1] - ticks[0]) * 1e-6;
    for (int i = 0; i < ticks.size(); ++i) {
        if (labels[i].isEmpty())
            continue;
        bool isNumber = false;
        const double number = axis.parentPlot()->locale().toDouble(labels[i].chopped(suffix.size()), &isNumber);
        if (!isNumber || std::abs(number - ticks[i]) > tolerance)
            return labels[i] + QStringLiteral(" at ") + QString::number(ticks[i], 'g', 17);
    }
    return QString();
}

// The window as main() makes it, shown, with no instrument to find.
struct ShownWindow
{
    ShownWindow()
    {
        window.show();
        QApplication::setActiveWindow(&window);
        if (!QTest::qWaitForWindowActive(&window))
            qWarning("main window not active");
    }

    ProfileAnalisisWidget* profile() const { return window.profileWidget(); }
    ContourAnalisisWidget* currentTab() const { return qobject_cast<ContourAnalisisWidget*>(tabs(window)->currentWidget()); }

    // The profile workspace's tool button that hands the shown traces over.
    void handOver()
    {
        tabs(window)->setCurrentIndex(0);
        auto* toolBar = profile()->findChild<QToolBar*>(QStringLiteral("toolBar"));
        QTest::mouseClick(toolBar->widgetForAction(profile()->findChild<QAction*>(QStringLiteral("actionToMeasurement"))),
                          Qt::LeftButton);
    }

    // A left click on the current measurement tab's plot at plot coordinates,
    // through the window system.
    void clickPlotAt(double x, double y)
    {
        auto* plot = currentTab()->findChild<PlotWidget*>(QStringLiteral("plot"));
        const QPoint inPlot = QPointF(plot->xAxis->coordToPixel(x), plot->yAxis->coordToPixel(y)).toPoint();
        const QPoint inWindow = plot->mapTo(&window, inPlot);
        QTest::mouseMove(window.windowHandle(), inWindow);
        QTest::mousePress(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, inWindow);
        QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, inWindow);
    }

    void closeTab(int index)
    {
        QTest::mouseClick(tabs(window)->tabBar()->tabButton(index, QTabBar::RightSide), Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    QObject* jogKeys() const { return profile()->keyReceiver(); }

    // Chooses the entry of the menu with the mouse and answers the file
    // dialog that it opens with `path` (an empty path cancels it).
    void openThroughMenu(const QString& path)
    {
        fileDialogTitle.clear();
        MessageBoxAnswerer answerer;
        answerer.chooseMenuEntry(QStringLiteral("Открыть трассу"));
        answerer.onDialog([this, path](QWidget* dialog) {
            fileDialogTitle = dialog->windowTitle();
            if (path.isEmpty())
                qobject_cast<QDialog*>(dialog)->reject();
            else
                MessageBoxAnswerer::chooseFile(dialog, typedName(path));
        });
        openMenu(window, QStringLiteral("Файл"));
        QTRY_VERIFY(!fileDialogTitle.isEmpty());
        messages = answerer.texts();
    }

    // Writes a profile trace file of the name in the working directory and
    // opens it; the trace, or null.
    AbstractTrace* openNewProfileFile(const QString& name)
    {
        return isProfileTraceFile(workFile(name)) ? open(workFile(name)) : nullptr;
    }

    // Opens the file and waits until its read has been handled; the trace.
    AbstractTrace* open(const QString& path)
    {
        QSignalSpy finished(profile(), &ProfileAnalisisWidget::unlockButtons);
        openThroughMenu(path);
        if (!QTest::qWaitFor([&] { return !finished.isEmpty(); }, 20000))
            return nullptr;
        return profile()->traces().value(0);
    }

    ScopedPortList ports;
    MainWindow window;
    QString fileDialogTitle;
    QStringList messages;
};

} // namespace

// The main window: its form and tabs, opening trace files through its menu,
// the save and print actions with their shortcuts and the inspector step,
// the settings dialog, and the jog keys switched off while the actions run.
class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void init() { loadSettingsFile(); }

    void theWindow()
    {
        {
            ShownWindow shown;
            MainWindow& window = shown.window;
            QCOMPARE(window.objectName(), QStringLiteral("MainWindow"));
            QCOMPARE(window.windowTitle(), QStringLiteral("Калвора 2.0.2"));
            QStringList menus;
            for (const QAction* action : window.menuBar()->actions())
                menus << action->text() + QStringLiteral(": ") + entries(action->menu()).join(QStringLiteral(", "));
            QCOMPARE(menus, (QStringList{"Файл: Открыть трассу, Сохранить трассы", "Настройки: Параметры",
                                         "Отчет: Сохранить"}));
            for (const char* name : {"actionOpenTrace", "actionSave", "actionSettings", "actionPrint"})
                QVERIFY2(!window.findChild<QAction*>(QLatin1String(name))->icon().isNull(), name);
            QVERIFY(!window.findChild<QToolBar*>(QString(), Qt::FindDirectChildrenOnly));
            QVERIFY(!window.findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly));

            QTabWidget* tabWidget = tabs(window);
            QCOMPARE(tabWidget->count(), 1);
            QCOMPARE(tabWidget->tabText(0), QStringLiteral("ПРОФИЛЬ"));
            QCOMPARE(tabWidget->widget(0), static_cast<QWidget*>(window.profileWidget()));
            QVERIFY(tabWidget->tabsClosable());
            QVERIFY(!tabWidget->tabBar()->tabButton(0, QTabBar::RightSide));
            QVERIFY(!tabWidget->tabBar()->tabButton(0, QTabBar::LeftSide));
            QVERIFY(logTexts().endsWith("INFO: Start Programm"));
        }
        QVERIFY(logTexts().endsWith("INFO: End programm"));
    }

    void fitsALaptopScreen_data()
    {
        QTest::addColumn<int>("controller");
        QTest::newRow("contour controller") << 0;
        QTest::newRow("contour with profile controller") << 1;
        QTest::newRow("profile controller") << 2;
    }

    // On a 1366 x 768 screen, less a task bar, the window fits, and every
    // control of the profile tab's tool bar is in sight, none in the tool
    // bar's overflow menu.
    void fitsALaptopScreen()
    {
        QFETCH(int, controller);
        changeSettings([controller](AppSettings& s) { s.device.device_type = controller; });
        ShownWindow shown;
        MainWindow& window = shown.window;
        const QSize least = window.minimumSizeHint().expandedTo(window.minimumSize());
        QVERIFY2(least.width() <= 1366 && least.height() <= 700,
                 qPrintable(QStringLiteral("%1 x %2").arg(least.width()).arg(least.height())));

        window.resize(1366, 700);
        QTRY_COMPARE(window.size(), QSize(1366, 700));
        auto* toolBar = shown.profile()->findChild<QToolBar*>(QStringLiteral("toolBar"));
        QCoreApplication::processEvents();
        const QWidget* overflow = toolBar->findChild<QWidget*>(QStringLiteral("qt_toolbarext_button"));
        QVERIFY(!overflow || !overflow->isVisible());
        QList<QWidget*> controls;
        for (QAction* action : toolBar->actions()) {
            if (!action->isSeparator())
                controls << toolBar->widgetForAction(action);
        }
        const bool threadAngle = controller != 2;
        for (const char* name : {"profileFilterComboBox", "threadAngleCheckBox", "threadAngleSpinBox", "medianCheckBox",
                                 "medianSpinBox", "histogramDensityLabel", "histogramDensitySpinBox"}) {
            auto* control = toolBar->findChild<QWidget*>(QLatin1String(name));
            QVERIFY2(control, name);
            if (threadAngle || !QByteArray(name).startsWith("threadAngle"))
                controls << control;
        }
        for (QWidget* control : controls) {
            const QRect inBar(control->mapTo(toolBar, QPoint()), control->size());
            QVERIFY2(control->isVisible() && toolBar->rect().contains(inBar),
                     qPrintable(control->objectName() + QLatin1Char(' ') + control->metaObject()->className()));
        }
    }

    // On a 1366 x 768 screen, with a profile trace read and selected, a
    // trace name of 20 characters reads whole beside the trace's details;
    // the user widens the list against the details by the border between
    // them, and a name longer than the list shows whole in its tooltip.
    void traceNamesReadWhole()
    {
        ShownWindow shown;
        shown.window.resize(1366, 768);
        QTRY_COMPARE(shown.window.size(), QSize(1366, 768));
        const QString name = QStringLiteral("Втулка_2024-03-15_01");
        const QString longName = QStringLiteral("Втулка_2024-03-15_01_после_шлифовки_и_полировки");
        QVERIFY(shown.openNewProfileFile(name + QStringLiteral(".txt")));
        QVERIFY(shown.openNewProfileFile(longName + QStringLiteral(".txt")));
        auto* list = shown.profile()->findChild<QTreeWidget*>(QStringLiteral("tracesListTreeWidget"));
        QTreeWidgetItem* row = list->topLevelItem(0);
        QCOMPARE(row->text(0), name);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(row).center());
        auto* details = shown.profile()->findChild<QWidget*>(QStringLiteral("paramsListTreeWidget"));
        QTRY_VERIFY(details->isVisible());

        // The list's one column spans its viewport; the row's whole text fits in it.
        const auto wholeRowWidth = [list](QTreeWidgetItem* item) {
            QStyleOptionViewItem option;
            option.initFrom(list);
            option.font = list->font();
            option.features |= QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
            const QModelIndex index = list->model()->index(list->indexOfTopLevelItem(item), 0);
            return list->visualItemRect(item).left() + list->itemDelegate()->sizeHint(option, index).width();
        };
        QVERIFY2(wholeRowWidth(row) <= list->viewport()->width(),
                 qPrintable(QStringLiteral("%1 > %2").arg(wholeRowWidth(row)).arg(list->viewport()->width())));

        // Dragged to the right, the border stops where the details reach
        // their least width.
        auto* splitter = shown.profile()->findChild<QSplitter*>(QStringLiteral("traceListSplitter"));
        QVERIFY(splitter);
        QWidget* detailsPanel = splitter->widget(1);
        const int listWidth = list->width();
        const int widening = qMin(60, detailsPanel->width() - detailsPanel->minimumSizeHint().width());
        QVERIFY2(widening >= 20, qPrintable(QString::number(widening)));
        QSplitterHandle* handle = splitter->handle(1);
        const QPoint from = handle->mapTo(&shown.window, handle->rect().center());
        const QPoint to = from + QPoint(60, 0);
        QTest::mousePress(shown.window.windowHandle(), Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(shown.window.windowHandle(), from + QPoint(30, 0));
        QTest::mouseMove(shown.window.windowHandle(), to);
        QTest::mouseRelease(shown.window.windowHandle(), Qt::LeftButton, Qt::NoModifier, to);
        QTRY_COMPARE(list->width(), listWidth + widening);
        QVERIFY(details->isVisible());

        QTreeWidgetItem* longRow = list->topLevelItem(1);
        QVERIFY(wholeRowWidth(longRow) > list->viewport()->width());
        const QPoint over = list->visualItemRect(longRow).center();
        QHelpEvent help(QEvent::ToolTip, over, list->viewport()->mapToGlobal(over));
        QApplication::sendEvent(list->viewport(), &help);
        QTRY_COMPARE(QToolTip::text(), longName);
        QToolTip::hideText();
    }

    void noTwoTickLabelsAlike_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<double>("lower");
        QTest::addColumn<double>("upper");
        QTest::newRow("a stretch of a ±2 µm profile zoomed, in millimetres") << 0 << -0.0012 << 0.0013;
        QTest::newRow("a micrometre zoomed, ticks a quarter micrometre apart, in millimetres")
            << 0 << 0.0014 << 0.0026;
        QTest::newRow("a micrometre at 5 mm, in millimetres") << 0 << 4.9995 << 5.0006;
        QTest::newRow("a few nanometres at 1 mm, in micrometres") << 1 << 1000.0012 << 1000.0041;
        QTest::newRow("a few nanometres at 12 mm, in nanometres") << 2 << 12345678.1 << 12345681.7;
        QTest::newRow("a whole trace, in millimetres") << 0 << -0.5 << 12.3;
        QTest::newRow("a whole trace, in nanometres") << 2 << -1500.0 << 9000000.0;
    }

    // Every axis the window shows, on the profile tab and on a measurement
    // tab, over ranges down to a few nanometres in each unit: no two ticks
    // read the same number. Where the axis's own precision tells the ticks
    // apart, the labels are those it gives; where it does not, every label
    // reads its tick's own number, not one rounded to tell it from the others.
    void noTwoTickLabelsAlike()
    {
        QFETCH(int, unit);
        QFETCH(double, lower);
        QFETCH(double, upper);
        changeSettings([unit](AppSettings& s) { s.view.axis_unit = unit; });
        ShownWindow shown;
        shown.window.resize(1366, 768);
        QVERIFY(shown.openNewProfileFile(QStringLiteral("axes.txt")));
        shown.handOver();
        QVERIFY(shown.currentTab());

        int axes = 0;
        for (PlotWidget* plot : shown.window.findChildren<PlotWidget*>()) {
            for (QCPAxis* axis : plot->axisRect()->axes())
                axis->setRange(lower, upper);
            plot->replot();
            for (QCPAxis* axis : plot->axisRect()->axes()) {
                if (!axis->visible() || !axis->tickLabels())
                    continue;
                ++axes;
                const QString where = plot->objectName() + QLatin1Char(' ') + QString::number(axis->axisType());
                const QString suffix = PlotAxisTicker::of(axis)->tickLabelSuffix();
                QStringList shownLabels = axis->tickVectorLabels().toList();
                const QString repeated = repeatedTickLabel(shownLabels, suffix, plot->locale());
                QVERIFY2(repeated.isEmpty(), qPrintable(where + QStringLiteral(": ") + repeated));

                QStringList asBuilt;
                for (double tick : axis->tickVector()) {
                    asBuilt << plot->locale().toString(tick, axis->numberFormat().at(0).toLatin1(),
                                                       axis->numberPrecision())
                            + suffix;
                }
                if (repeatedTickLabel(asBuilt, suffix, plot->locale()).isEmpty()) {
                    shownLabels.removeAll(QString());
                    for (const QString& label : shownLabels)
                        QVERIFY2(asBuilt.contains(label), qPrintable(where + QStringLiteral(": ") + label));
                } else {
                    const QString misread = tickMisreadByItsLabel(*axis, suffix);
                    QVERIFY2(misread.isEmpty(), qPrintable(where + QStringLiteral(": ") + misread));
                }
            }
        }
        QVERIFY2(axes >= 6, qPrintable(tickLabelsOfEveryAxis(shown.window).join(QLatin1Char('\n'))));
    }

    // The jog keys work the panel's buttons from the window: the receiver
    // is installed on the application and on while the profile tab shows.
    void theJogKeysActOnTheProfileTab()
    {
        ShownWindow shown;
        auto* down = shown.profile()->deviceControlWidget()->findChild<QPushButton*>(QStringLiteral("zminusButton"));
        QVERIFY(down);
        QVERIFY(!shown.jogKeys()->signalsBlocked());
        QTest::keyPress(&shown.window, Qt::Key_Down);
        QVERIFY(down->isDown());
        QTest::keyRelease(&shown.window, Qt::Key_Down);
        QVERIFY(!down->isDown());
    }

    void openingDetectsTheType_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("firstLineFrom");
        QTest::addColumn<QByteArray>("firstLineTo");
        QTest::addColumn<int>("type");
        QTest::newRow("profile") << "profile.txt" << QByteArray() << QByteArray() << int(PROFILE);
        QTest::newRow("profile, CRLF") << "crlf.txt" << QByteArray("\n") << QByteArray("\r\n") << int(PROFILE);
        QTest::newRow("contour with profile") << "cntprof.txt" << QByteArray() << QByteArray() << int(CONTOUR_PROFILE);
        // The window reads the first line as the file's reader does, byte
        // order mark and all.
        QTest::newRow("BOM") << "bom.txt" << QByteArray("trace_type:") << QByteArray("\xEF\xBB\xBFtrace_type:")
                             << int(PROFILE);
        QTest::newRow("number pairs") << "pairs.txt" << QByteArray() << QByteArray() << int(CONTOUR);
    }

    // The trace read is of the type the first line names; it is listed,
    // drawn and, for a profile, its parameters are shown.
    void openingDetectsTheType()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, firstLineFrom);
        QFETCH(QByteArray, firstLineTo);
        QFETCH(int, type);
        const QString path = workFile(name);
        if (name == "pairs.txt")
            writeText(path, QStringLiteral("0 1\n10 2\n20 1.5\n30 2.5\n"));
        else
            QVERIFY(name == "cntprof.txt" ? isContourProfileFile(path) : isProfileTraceFile(path));
        if (!firstLineFrom.isEmpty()) {
            QByteArray bytes = fileBytes(path);
            bytes.replace(firstLineFrom, firstLineTo);
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }

        ShownWindow shown;
        AbstractTrace* trace = shown.open(path);
        QVERIFY(trace);
        QCOMPARE(shown.fileDialogTitle, QStringLiteral("Открыть трассу"));
        QCOMPARE(trace->type, type);
        QCOMPARE(trace->filePath(), path);
        QVERIFY(!shown.profile()->holder(trace->id)->values().isEmpty());
        QVERIFY(shown.messages.isEmpty());
        if (type == PROFILE)
            QVERIFY(!shownParameters(shown.window).isEmpty());
    }

    void openingEndsQuietly_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("cancelled") << QString();
        // Even root may not read this one.
        QTest::newRow("unreadable") << QStringLiteral("/proc/sys/vm/drop_caches");
    }

    // A cancelled dialog or a file that cannot be read ends the action with
    // no message and no read.
    void openingEndsQuietly()
    {
        QFETCH(QString, path);
        if (!path.isEmpty() && QFile(path).open(QIODevice::ReadOnly))
            QSKIP("the file can be read here");
        ShownWindow shown;
        shown.openThroughMenu(path);
        QTest::qWait(100);
        QVERIFY(shown.messages.isEmpty());
        QVERIFY(!shown.profile()->dataProvider());
        QVERIFY(shown.profile()->traces().isEmpty());
        QVERIFY(shown.window.menuBar()->isEnabled());
    }

    // Ctrl+S saves the opened trace through the save dialog; the file reads
    // back the same, and the jog keys act again afterwards.
    void ctrlSSavesTheTrace()
    {
        ShownWindow shown;
        AbstractTrace* trace = shown.openNewProfileFile(QStringLiteral("source.txt"));
        QVERIFY(trace);

        const QString target = workFile("saved.txt");
        MessageBoxAnswerer answerer;
        bool blockedWhileSaving = false;
        answerer.onDialog([&](QWidget* dialog) {
            blockedWhileSaving = shown.jogKeys()->signalsBlocked();
            MessageBoxAnswerer::chooseFile(dialog, typedName(target));
        });
        pressShortcut(shown.window, Qt::Key_S);
        QTRY_VERIFY(QFileInfo::exists(target));
        QVERIFY(blockedWhileSaving);
        QVERIFY(!shown.jogKeys()->signalsBlocked());
        QCOMPARE(trace->filePath(), target);

        ProfileTrace readBack;
        FileDataProvider provider(target);
        QVERIFY(provider.start(&readBack));
        provider.stop();
        QVERIFY(provider.result());
        QCOMPARE(workspace::rawData(&readBack), workspace::rawData(trace));
    }

    // Nothing to save or print: the workspace's and the window's warnings,
    // and the jog keys on again.
    void nothingToSaveOrPrint()
    {
        ShownWindow shown;
        MessageBoxAnswerer answerer;
        pressShortcut(shown.window, Qt::Key_S);
        pressShortcut(shown.window, Qt::Key_P);
        QCOMPARE(answerer.titles(), (QStringList{"Ошибка сохранения трассы", "Ошибка печати отчёта"}));
        QCOMPARE(answerer.texts(), (QStringList{"Нет трассы для сохранения, для начала откройте или измерьте трассу",
                                                "Нет трасс для сохранения отчёта"}));
        QVERIFY(logTexts().endsWith("INFO: Saving report"));
        QVERIFY(!shown.jogKeys()->signalsBlocked());
    }

    void theInspectorStep_data()
    {
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QStringList>("listedAfter");
        QTest::newRow("none listed, a name typed")
            << QStringList() << "Иванов" << true << "Иванов" << QStringList{"Иванов"};
        QTest::newRow("none listed, the name trimmed")
            << QStringList() << "  Петров " << true << "Петров" << QStringList{"Петров"};
        QTest::newRow("none listed, a blank name") << QStringList() << "   " << true << "No name" << QStringList();
        QTest::newRow("none listed, cancelled") << QStringList() << QString() << true << "No name" << QStringList();
        QTest::newRow("inspectors listed")
            << QStringList{"Сидоров", "Иванов"} << QString() << false << "Иванов" << QStringList{"Сидоров", "Иванов"};
    }

    // With no inspector listed the chooser takes a typed name, which becomes
    // the current inspector and is saved; a blank name or a cancel is no
    // report. With inspectors listed nothing is asked. The jog keys act again
    // on every way out.
    void theInspectorStep()
    {
        QFETCH(QStringList, listed);
        QFETCH(QString, typed);
        QFETCH(bool, asked);
        QFETCH(QString, current);
        QFETCH(QStringList, listedAfter);
        AppSettingsData data;
        data.controllers = listed;
        if (!listed.isEmpty())
            data.current_controller_name = listed.last();
        loadSettings(data);
        ShownWindow shown;
        QVERIFY(shown.openNewProfileFile(QStringLiteral("inspector.txt")));

        MessageBoxAnswerer answerer;
        QStringList chooser;
        answerer.onDialog([&](QWidget* dialog) {
            auto* input = qobject_cast<QInputDialog*>(dialog);
            if (!input) {
                qobject_cast<QDialog*>(dialog)->reject();
                return;
            }
            chooser << input->windowTitle() << input->labelText()
                    << (input->isComboBoxEditable() ? QStringLiteral("editable") : QStringLiteral("fixed"));
            if (typed.isNull())
                input->reject();
            else
                MessageBoxAnswerer::enterText(dialog, typed);
        });
        pressShortcut(shown.window, Qt::Key_P);
        QTest::qWait(200);
        const QStringList expectedChooser{"Контроллер", "Имя контролёра", "editable"};
        QCOMPARE(chooser, asked ? expectedChooser : QStringList());
        QCOMPARE(AppSettings::instance().snapshot().current_controller_name, current);
        QCOMPARE(AppSettings::instance().snapshot().controllers, listedAfter);
        QCOMPARE(savedSettings().controllers, listed.isEmpty() ? listedAfter : listed);
        QVERIFY(!shown.jogKeys()->signalsBlocked());
    }

    // Ctrl+P on an opened profile trace with no inspector listed: the typed
    // name is kept, the report is written through pandoc with the values the
    // table shows, and the report is opened on the desktop.
    void ctrlPWritesTheReport()
    {
        copyReportFiles();
        ShownWindow shown;
        QVERIFY(shown.openNewProfileFile(QStringLiteral("report-source.txt")));
        const QStringList parameters = shownParameters(shown.window);
        QVERIFY(!parameters.isEmpty());

        MessageBoxAnswerer answerer;
        DesktopOpenRecorder opened;
        QStringList dialogs;
        answerer.onDialog([&](QWidget* dialog) {
            dialogs << dialog->windowTitle();
            if (qobject_cast<QInputDialog*>(dialog))
                MessageBoxAnswerer::enterText(dialog, QStringLiteral("Иванов"));
            else
                MessageBoxAnswerer::chooseFile(dialog, QStringLiteral("report"));
        });
        pressShortcut(shown.window, Qt::Key_P);
        QTRY_COMPARE_WITH_TIMEOUT(opened.urls().size(), 1, 20000);
        const QString report = workFile("report.html");
        QCOMPARE(opened.urls(), QList<QUrl>{QUrl::fromLocalFile(report)});
        QCOMPARE(dialogs, (QStringList{"Контроллер", "Сохранить отчет"}));
        QCOMPARE(answerer.texts(), QStringList{"Отчёт сохранён успешно!"});
        QCOMPARE(AppSettings::instance().snapshot().current_controller_name, QStringLiteral("Иванов"));
        const QString html = readText(report);
        for (const QString& row : parameters) {
            const QString value = row.section(QLatin1Char(' '), 1);
            QVERIFY2(html.contains(QStringLiteral("<td>") + value + QStringLiteral("</td>")), qPrintable(row));
        }
        QVERIFY(!shown.jogKeys()->signalsBlocked());
    }

    // Ctrl+P belongs to the window: it prints while a read has the menu bar
    // disabled.
    void ctrlPWhileAReadRuns()
    {
        // Long enough that the read still runs once the menu's and the file
        // dialog's event loops have ended, however fast the machine.
        const QString source = workFile("long.txt");
        QVERIFY(workspace::writeProfileFile(source, workspace::wavyProfile(2000000)));
        ShownWindow shown;
        QSignalSpy finished(shown.profile(), &ProfileAnalisisWidget::unlockButtons);
        MessageBoxAnswerer answerer;
        answerer.chooseMenuEntry(QStringLiteral("Открыть трассу"));
        answerer.onDialog([&](QWidget* dialog) {
            if (qobject_cast<QFileDialog*>(dialog))
                MessageBoxAnswerer::chooseFile(dialog, typedName(source));
            else
                qobject_cast<QDialog*>(dialog)->reject();
        });
        openMenu(shown.window, QStringLiteral("Файл"));
        QTRY_VERIFY(!shown.window.menuBar()->isEnabled());
        QVERIFY(finished.isEmpty());
        pressShortcut(shown.window, Qt::Key_P);
        QVERIFY(logTexts().endsWith("INFO: Saving report"));
        QTRY_VERIFY_WITH_TIMEOUT(!finished.isEmpty(), 20000);
        QVERIFY(shown.window.menuBar()->isEnabled());
    }

    // A contour trace handed over to measurement: the new tab is current and
    // the jog keys rest; a distance placed with the mouse shows its value in
    // the tree; a new display unit recalculates it, and the keys stay off
    // while the tab shows. A closed tab goes, and the next tab's number is
    // the tab count.
    void theMeasurementRoad()
    {
        const QString source = workFile("contour.txt");
        QVERIFY(isContourFile(source));
        ShownWindow shown;
        shown.window.resize(1600, 1000);
        AbstractTrace* trace = shown.open(source);
        QVERIFY(trace);
        QCOMPARE(trace->type, int(CONTOUR));

        shown.handOver();
        QTabWidget* tabWidget = tabs(shown.window);
        QCOMPARE(tabWidget->count(), 2);
        QCOMPARE(tabWidget->tabText(1), QStringLiteral("ИЗМЕРЕНИЯ #1"));
        QCOMPARE(tabWidget->currentIndex(), 1);
        QVERIFY(tabWidget->tabBar()->tabButton(1, QTabBar::RightSide));
        QVERIFY(logTexts().contains("INFO: Create measurment #1"));
        QVERIFY(shown.jogKeys()->signalsBlocked());
        auto* down = shown.profile()->deviceControlWidget()->findChild<QPushButton*>(QStringLiteral("zminusButton"));
        QTest::keyPress(&shown.window, Qt::Key_Down);
        QVERIFY(!down->isDown());
        QTest::keyRelease(&shown.window, Qt::Key_Down);

        ContourAnalisisWidget* tab = shown.currentTab();
        QVERIFY(tab);
        QTest::qWait(100);
        const ProfileData shownRows = *trace->lockedData().data;
        const double factor = 0.001;
        const auto at = [&](int i) { return QPointF(shownRows[0][i] * factor, shownRows[1][i] * factor); };
        auto* toolBar = tab->findChild<QToolBar*>(QStringLiteral("toolBar"));
        QTest::mouseClick(toolBar->widgetForAction(tab->findChild<QAction*>(QStringLiteral("actionDistance"))),
                          Qt::LeftButton);
        // Through the window system, which gives the clicked button the
        // focus; the tool's panel then closes with it, and the focus goes to
        // no field, the part's name least of all.
        auto* horizontal = tab->findChild<QPushButton*>(QStringLiteral("pushButtonHorisontalDistance"));
        QApplication::setActiveWindow(&shown.window);
        QVERIFY(QTest::qWaitForWindowActive(&shown.window));
        QTest::mouseClick(shown.window.windowHandle(), Qt::LeftButton, {},
                          horizontal->mapTo(&shown.window, horizontal->rect().center()));
        QVERIFY(!horizontal->isVisible());
        const QWidget* focus = QApplication::focusWidget();
        QVERIFY2(!focus, qPrintable(focus ? focus->objectName() : QString()));
        shown.clickPlotAt(at(20).x(), at(20).y());
        shown.clickPlotAt(at(120).x(), at(120).y());
        shown.clickPlotAt(at(70).x(), at(70).y() + 0.05);
        Measurement* distance = tab->measurementsManager()->currentMeasurement();
        QVERIFY(distance && distance->isFinished());
        const QString before = distance->valueText();
        QVERIFY2(treeValues(tab).contains(before), qPrintable(treeValues(tab).join("|")));

        MessageBoxAnswerer answerer;
        answerer.chooseMenuEntry(QStringLiteral("Параметры"));
        answerer.onDialog([&](QWidget* dialog) {
            QVERIFY(chooseItem(dialog->findChild<QComboBox*>(QStringLiteral("axisUnit")), 1));
            QVERIFY(MessageBoxAnswerer::clickStandardButton(dialog, QDialogButtonBox::Ok));
        });
        openMenu(shown.window, QStringLiteral("Настройки"));
        QTRY_COMPARE(AppSettings::instance().snapshot().view.axis_unit, 1);
        QTRY_VERIFY(distance->valueText() != before);
        QVERIFY2(treeValues(tab).contains(distance->valueText()), qPrintable(treeValues(tab).join("|")));
        QVERIFY(shown.jogKeys()->signalsBlocked());

        shown.handOver();
        QCOMPARE(tabWidget->tabText(2), QStringLiteral("ИЗМЕРЕНИЯ #2"));
        const QPointer<QWidget> first = tabWidget->widget(1);
        shown.closeTab(1);
        QTRY_VERIFY(first.isNull());
        QVERIFY(logTexts().contains("INFO: Delete tab measurmen #1"));
        QCOMPARE(tabWidget->count(), 2);
        shown.handOver();
        QCOMPARE(tabWidget->tabText(2), QStringLiteral("ИЗМЕРЕНИЯ #2"));
        QVERIFY(logTexts().endsWith("INFO: Create measurment #2"));

        tabWidget->tabBar()->setCurrentIndex(0);
        QVERIFY(!shown.jogKeys()->signalsBlocked());
    }

    // The settings dialog from the menu: the jog keys are off while it
    // shows; a new display unit reaches the profile workspace, which redraws
    // its traces in it.
    void theSettingsDialogChangesTheUnit()
    {
        ShownWindow shown;
        AbstractTrace* trace = shown.openNewProfileFile(QStringLiteral("unit.txt"));
        QVERIFY(trace);
        const double lastKey = shown.profile()->holder(trace->id)->keys().last();
        QSignalSpy changed(&shown.window, &MainWindow::settingsChanged);

        MessageBoxAnswerer answerer;
        answerer.chooseMenuEntry(QStringLiteral("Параметры"));
        QString title;
        bool blocked = false;
        bool helpButton = true;
        answerer.onDialog([&](QWidget* dialog) {
            title = dialog->windowTitle();
            blocked = shown.jogKeys()->signalsBlocked();
            helpButton = dialog->windowFlags().testFlag(Qt::WindowContextHelpButtonHint);
            QVERIFY(chooseItem(dialog->findChild<QComboBox*>(QStringLiteral("axisUnit")), 1));
            QVERIFY(MessageBoxAnswerer::clickStandardButton(dialog, QDialogButtonBox::Ok));
        });
        openMenu(shown.window, QStringLiteral("Настройки"));
        QTRY_COMPARE(changed.count(), 1);
        QCOMPARE(title, QStringLiteral("Параметры"));
        QVERIFY(blocked);
        QVERIFY(!helpButton);
        QVERIFY(!shown.jogKeys()->signalsBlocked());
        QCOMPARE(AppSettings::instance().snapshot().view.axis_unit, 1);
        QCOMPARE(savedSettings().view.axis_unit, 1);
        QCOMPARE(shown.profile()->holder(trace->id)->keys().last(), lastKey * 1000);
        const QStringList log = logTexts();
        const int opened = log.lastIndexOf("INFO: Open SettingsDialog");
        QVERIFY(opened >= 0);
        QCOMPARE(log.mid(opened).filter(QRegularExpression("SettingsDialog|Accept settings")),
                 (QStringList{"INFO: Open SettingsDialog", "INFO: Accept settings", "INFO: Close SettingsDialog"}));
    }
};

KALVORA_TEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
