#include <QtTest>

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include <memory>

#include "AppSettings.h"
#include "ContourTrace.h"
#include "DesktopOpenRecorder.h"
#include "ExtraArgs.h"
#include "Logger.h"
#include "MessageBoxAnswerer.h"
#include "ProfileTrace.h"
#include "ShownTraceList.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "TraceFileParser.h"
#include "TraceFileWriter.h"
#include "TraceJoining.h"
#include "TraceList.h"
#include "TraceTypes.h"

namespace {

ProfileData sampled(double length, double step, int columns, const std::function<double(double)>& height)
{
    ProfileData data(columns);
    for (double x = 0; x <= length + 1e-9; x += step) {
        data[0].append(x);
        data[1].append(height(x));
        for (int c = 2; c < columns; ++c)
            data[c].append(0);
    }
    return data;
}

std::unique_ptr<ProfileTrace> profileTrace(const QString& path, int type = PROFILE)
{
    auto trace = std::make_unique<ProfileTrace>(sampled(4000, 1, 2, [](double x) { return std::sin(x / 5); }));
    trace->setType(type);
    trace->setFilePath(path);
    trace->setName(QFileInfo(path).fileName());
    trace->filterCutOff = 2500;
    trace->speed = 0.5;
    return trace;
}

std::unique_ptr<ContourTrace> contourTrace(const QString& name, double offset = 0)
{
    auto trace = std::make_unique<ContourTrace>(sampled(30000, 10, 3, [=](double x) { return offset + x / 100; }));
    trace->setType(CONTOUR);
    trace->setName(name);
    trace->setFilePath(QDir::current().filePath(name));
    return trace;
}

QString logText()
{
    return readText(Logger::instance().fileName());
}

// A main profile trace with its file path and two additional traces, listed.
struct ListedFamily
{
    ListedFamily(TraceList& list, const QString& path)
        : main(profileTrace(path))
        , first(profileTrace("", ADDITIONAL_TRACE))
        , second(profileTrace("", ADDITIONAL_TRACE))
    {
        list.addTrace(main.get());
        list.addAdditionalTrace(first.get(), false);
        list.addAdditionalTrace(second.get(), false);
    }

    std::unique_ptr<ProfileTrace> main;
    std::unique_ptr<ProfileTrace> first;
    std::unique_ptr<ProfileTrace> second;
};

// The cut-offs of the traces of a profile file: the main trace's, then those
// of its additional traces.
QVector<double> cutOffsInFile(const QString& path)
{
    ProfileTrace reread;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    TraceFileParser(AppSettings::instance().snapshot(), {}).parse(file, path, reread);
    QVector<double> cutOffs{reread.filterCutOff};
    for (ProfileTrace* additional : qAsConst(reread.additionalTraces))
        cutOffs.append(additional->filterCutOff);
    qDeleteAll(reread.additionalTraces);
    return cutOffs;
}

QList<int> deletedIds(const QSignalSpy& spy)
{
    QList<int> ids;
    for (const QList<QVariant>& arguments : spy)
        ids.append(arguments.at(0).toInt());
    return ids;
}

// What the join dialog showed before it was answered.
struct JoinDialogSeen
{
    QString title;
    QStringList offered;
};

// Answers a join: the first trace offered, "Соединить", and an overlap of 2.
void joinWithTheFirstOffered(MessageBoxAnswerer& answerer, JoinDialogSeen& seen)
{
    answerer.onDialog([&seen](QWidget* dialog) {
        if (auto* overlap = qobject_cast<QInputDialog*>(dialog)) {
            overlap->setDoubleValue(2);
            overlap->accept();
            return;
        }
        seen.title = dialog->windowTitle();
        const QList<QRadioButton*> buttons = dialog->findChildren<QRadioButton*>();
        for (QRadioButton* button : buttons)
            seen.offered.append(button->text());
        choose(buttons.first());
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            if (button->text() == QStringLiteral("Соединить"))
                QTest::mouseClick(button, Qt::LeftButton);
    });
}

// A path under a file: no trace file can be written there.
QString unwritablePath()
{
    writeText(QStringLiteral("blocked"), QStringLiteral("not a folder"));
    return QDir::current().filePath(QStringLiteral("blocked/trace.txt"));
}

} // namespace

class TraceListTest : public QObject
{
    Q_OBJECT
private slots:
    void checkBoxesShowAndHideGraphs();
    void rowsOfTheTraceBeingRead();
    void traceBeingReadIsNotJoined();
    void contextMenu_data();
    void contextMenu();
    void additionalTraceRows();
    void removingAMainTraceRemovesItsChildrenFirst();
    void unknownCutOffShowsNoCurrentItem();
    void cutOffChangeRewritesTheFile_data();
    void cutOffChangeRewritesTheFile();
    void removingAnAdditionalTraceRewritesTheMainFile();
    void failedWritesWarnAndKeepTheChange_data();
    void failedWritesWarnAndKeepTheChange();
    void joinTakesTheChosenTraceOfTwoWithOneName();
    void joinDialogWarnsAndCancelKeepsBoth();
    void deleteKeyRemovesTheSelectedRow();
    void showInFileManagerOpensTheFolder();
    void detailsShowTheSelectedProfileTrace();
    void eachParameterShowsItsUnitOnce_data();
    void eachParameterShowsItsUnitOnce();
    void selectTraceSelectsItsRow();
    void parameterMenuOpensTheDialogAndRecalculates();
    void medianAndLevelReachEveryProfileTrace();
};

void TraceListTest::checkBoxesShowAndHideGraphs()
{
    ShownList shown;
    auto profile = profileTrace("p.txt");
    auto additional = profileTrace("p.txt", ADDITIONAL_TRACE);
    auto contour = contourTrace("c.txt");
    shown.list.addTrace(contour.get());
    shown.list.addTrace(profile.get());
    shown.list.addAdditionalTrace(additional.get(), false);
    QSignalSpy visible(&shown.list, &TraceList::setGraphVisible);

    shown.clickCheckBox(contour->id);
    QCOMPARE(visible.size(), 1);
    QCOMPARE(visible.takeFirst(), (QList<QVariant>{contour->id, false}));
    shown.clickCheckBox(contour->id);
    QCOMPARE(visible.takeFirst(), (QList<QVariant>{contour->id, true}));

    shown.list.uncheckProfileTraces();
    QCOMPARE(visible.size(), 2);
    QCOMPARE(visible.at(0), (QList<QVariant>{profile->id, false}));
    QCOMPARE(visible.at(1), (QList<QVariant>{additional->id, false}));
    QCOMPARE(shown.row(contour->id)->checkState(0), Qt::Checked);
}

// The row of an additional trace being read cannot be selected; the main row
// above it can, but neither the Delete key nor the menu removes it.
void TraceListTest::rowsOfTheTraceBeingRead()
{
    ShownList shown;
    auto contour = contourTrace("c.txt");
    auto profile = profileTrace("p.txt");
    auto additional = profileTrace("p.txt", ADDITIONAL_TRACE);
    shown.list.addTrace(contour.get());
    shown.list.addTrace(profile.get());
    shown.list.addAdditionalTrace(additional.get(), false);
    shown.list.setBusyTrace(additional.get());
    QSignalSpy selected(&shown.list, &TraceList::setGraphSelected);
    QSignalSpy deleted(&shown.list, &TraceList::traceDeleted);

    shown.click(additional->id);
    QVERIFY(shown.tree()->selectedItems().isEmpty());
    QCOMPARE(shown.list.shownTrace(), nullptr);
    QVERIFY(!selected.isEmpty());
    for (const QList<QVariant>& arguments : selected)
        QCOMPARE(arguments.at(1).toBool(), false);

    selected.clear();
    shown.click(profile->id);
    QCOMPARE(shown.list.shownTrace(), profile.get());
    QCOMPARE(selected.last(), (QList<QVariant>{profile->id, true}));
    QTest::keyClick(shown.tree(), Qt::Key_Delete);
    MessageBoxAnswerer answerer;
    answerer.chooseMenuEntry("Удалить трассу");
    shown.rightClick(profile->id);
    QTRY_COMPARE(answerer.menus().size(), 1);
    QCOMPARE(answerer.menus().first(), QStringList{"Перейти к файлу трассы"});
    QVERIFY(deleted.isEmpty());
    QVERIFY(shown.row(profile->id));
    QCOMPARE(shown.row(profile->id)->childCount(), 1);

    shown.list.setBusyTrace(nullptr);
    shown.rightClick(profile->id);
    QTRY_COMPARE(deletedIds(deleted), (QList<int>{additional->id, profile->id}));
}

// The trace being read is neither offered for joining nor joined: with one
// other contour trace there is nothing to join; with two, only the one that
// is not being read is offered.
void TraceListTest::traceBeingReadIsNotJoined()
{
    ShownList shown;
    auto clicked = contourTrace("clicked.txt");
    auto read = contourTrace("read.txt");
    shown.list.addTrace(clicked.get());
    shown.list.addTrace(read.get());
    shown.list.setBusyTrace(read.get());
    MessageBoxAnswerer answerer;
    shown.rightClick(clicked->id);
    QTRY_COMPARE(answerer.menus().size(), 1);
    QCOMPARE(answerer.menus().first(), (QStringList{"Удалить трассу", "Перейти к файлу трассы"}));

    auto other = contourTrace("other.txt");
    shown.list.addTrace(other.get());
    QSignalSpy created(&shown.list, &TraceList::createTrace);
    QSignalSpy deleted(&shown.list, &TraceList::traceDeleted);
    answerer.chooseMenuEntry("Соединить трассы");
    JoinDialogSeen seen;
    joinWithTheFirstOffered(answerer, seen);
    shown.rightClick(clicked->id);
    QTRY_COMPARE(created.size(), 1);
    QCOMPARE(seen.offered, QStringList{"other"});
    QCOMPARE(deletedIds(deleted), (QList<int>{clicked->id, other->id}));
    QCOMPARE(shown.list.traces().keys(), QList<int>{read->id});
}

void TraceListTest::contextMenu_data()
{
    QTest::addColumn<QString>("traces");
    QTest::addColumn<QStringList>("entries");
    const QStringList two{"Удалить трассу", "Перейти к файлу трассы"};
    QTest::newRow("one profile trace") << "p" << two;
    QTest::newRow("two contour traces") << "cc" << QStringList{two[0], two[1], "Соединить трассы"};
    QTest::newRow("a contour and a profile trace") << "cp" << two;
    QTest::newRow("one contour trace") << "c" << two;
}

void TraceListTest::contextMenu()
{
    QFETCH(QString, traces);
    QFETCH(QStringList, entries);
    ShownList shown;
    std::vector<std::unique_ptr<AbstractTrace>> kept;
    for (QChar kind : traces) {
        if (kind == 'p')
            kept.push_back(profileTrace("p.txt"));
        else
            kept.push_back(contourTrace("c.txt"));
        shown.list.addTrace(kept.back().get());
    }
    MessageBoxAnswerer answerer;
    shown.rightClick(kept.front()->id);
    QTRY_COMPARE(answerer.menus().size(), 1);
    QCOMPARE(answerer.menus().first(), entries);

    // No menu over the row of the trace being read.
    shown.list.setBusyTrace(kept.front().get());
    shown.rightClick(kept.front()->id);
    QTest::qWait(50);
    QCOMPARE(answerer.menus().size(), 1);
}

void TraceListTest::additionalTraceRows()
{
    ShownList shown;
    auto first = profileTrace(QDir::current().filePath("first.txt"));
    auto second = profileTrace(QDir::current().filePath("second.txt"));
    std::vector<std::unique_ptr<ProfileTrace>> additional;
    for (int i = 0; i < 4; ++i)
        additional.push_back(profileTrace("", ADDITIONAL_TRACE));
    shown.list.addAdditionalTrace(additional[3].get(), false);
    QCOMPARE(shown.tree()->topLevelItemCount(), 0);

    shown.list.addTrace(first.get());
    shown.list.addTrace(second.get());
    QCOMPARE(shown.row(second->id)->text(0), QStringLiteral("second"));
    QCOMPARE(shown.row(second->id)->text(1), QString::fromStdString(second->creationDateString()));
    for (int i = 0; i < 3; ++i)
        shown.list.addAdditionalTrace(additional[i].get(), i == 1);

    QTreeWidgetItem* secondRow = shown.row(second->id);
    QCOMPARE(secondRow->childCount(), 3);
    QCOMPARE(secondRow->child(2)->text(0), QStringLiteral("Доп. трасса 3"));
    QCOMPARE(secondRow->child(0)->checkState(0), Qt::Checked);
    QCOMPARE(secondRow->child(1)->checkState(0), Qt::Unchecked);
    QCOMPARE(second->additionalTraces, (QVector<ProfileTrace*>{additional[0].get(), additional[2].get()}));
    QCOMPARE(additional[2]->parentTrace, second.get());
    QCOMPARE(additional[2]->filePath(), second->filePath());
    QCOMPARE(additional[1]->parentTrace, nullptr);
    QCOMPARE(shown.list.traces().size(), 5);
    QVERIFY(logText().contains("End of adding new trace"));
}

void TraceListTest::removingAMainTraceRemovesItsChildrenFirst()
{
    ShownList shown;
    ListedFamily family(shown.list, QDir::current().filePath("main.txt"));
    const ProfileTrace* main = family.main.get();
    auto other = contourTrace("c.txt");
    shown.list.addTrace(other.get());
    QSignalSpy deleted(&shown.list, &TraceList::traceDeleted);

    MessageBoxAnswerer answerer;
    answerer.chooseMenuEntry("Удалить трассу");
    shown.rightClick(main->id);
    QTRY_COMPARE(deleted.size(), 3);
    QCOMPARE(deletedIds(deleted), (QList<int>{family.first->id, family.second->id, main->id}));
    QCOMPARE(shown.tree()->topLevelItemCount(), 1);
    QCOMPARE(shown.list.traces().keys(), QList<int>{other->id});
    QVERIFY(logText().contains(QStringLiteral("Remove main trace with ID %1").arg(main->id + 1)));
}

void TraceListTest::unknownCutOffShowsNoCurrentItem()
{
    ShownList shown;
    auto trace = profileTrace("p.txt");
    trace->filterCutOff = 1000;
    shown.list.addTrace(trace.get());
    shown.click(trace->id);
    QVERIFY(shown.filter()->isVisible());
    QCOMPARE(shown.filter()->currentIndex(), -1);
}

void TraceListTest::cutOffChangeRewritesTheFile_data()
{
    QTest::addColumn<bool>("ofAdditional");
    QTest::newRow("profile trace") << false;
    QTest::newRow("additional trace: the main file") << true;
}

void TraceListTest::cutOffChangeRewritesTheFile()
{
    QFETCH(bool, ofAdditional);
    ShownList shown;
    const QString path = QDir::current().filePath("cut.txt");
    ListedFamily family(shown.list, path);
    QVERIFY(writeTraceFile(path, family.main.get()));
    ProfileTrace* chosen = ofAdditional ? family.second.get() : family.main.get();
    QSignalSpy changed(&shown.list, &TraceList::fileterChanged);

    shown.click(chosen->id);
    QCOMPARE(shown.filter()->currentText(), QStringLiteral("2.5 мм"));
    shown.filter()->setFocus();
    QTest::keyClick(shown.filter(), Qt::Key_Down);
    QCOMPARE(shown.filter()->currentText(), QStringLiteral("0.8 мм"));

    QCOMPARE(chosen->filterCutOff, 800.0);
    QCOMPARE(changed.size(), 1);
    QVERIFY(chosen->parameterResults.contains("Ra"));
    QCOMPARE(shown.parameters()->topLevelItem(0)->text(1), chosen->parameterResults.value("Ra"));

    const QVector<double> expected{ofAdditional ? 2500.0 : 800.0, 2500, ofAdditional ? 800.0 : 2500.0};
    QCOMPARE(cutOffsInFile(path), expected);
}

void TraceListTest::removingAnAdditionalTraceRewritesTheMainFile()
{
    ShownList shown;
    const QString path = QDir::current().filePath("main.txt");
    ListedFamily family(shown.list, path);
    const ProfileTrace* main = family.main.get();
    const ProfileTrace* first = family.first.get();
    QSignalSpy deleted(&shown.list, &TraceList::traceDeleted);

    MessageBoxAnswerer answerer;
    answerer.chooseMenuEntry("Удалить трассу");
    shown.rightClick(first->id);
    QTRY_COMPARE(deletedIds(deleted), QList<int>{first->id});
    QCOMPARE(answerer.count(), 0);
    QCOMPARE(main->additionalTraces, QVector<ProfileTrace*>{family.second.get()});
    QCOMPARE(shown.row(main->id)->childCount(), 1);
    QVERIFY(logText().contains(QStringLiteral("Remove additional trace with ID %1").arg(first->id + 1)));

    QCOMPARE(cutOffsInFile(path).size(), 2);
}

void TraceListTest::failedWritesWarnAndKeepTheChange_data()
{
    QTest::addColumn<bool>("removal");
    QTest::newRow("cut-off change") << false;
    QTest::newRow("removal of an additional trace") << true;
}

void TraceListTest::failedWritesWarnAndKeepTheChange()
{
    QFETCH(bool, removal);
    ShownList shown;
    const QString path = unwritablePath();
    auto main = profileTrace(path);
    auto additional = profileTrace("", ADDITIONAL_TRACE);
    shown.list.addTrace(main.get());
    shown.list.addAdditionalTrace(additional.get(), false);

    MessageBoxAnswerer answerer;
    if (removal) {
        answerer.chooseMenuEntry("Удалить трассу");
        shown.rightClick(additional->id);
        QTRY_COMPARE(answerer.count(), 1);
        QVERIFY(main->additionalTraces.isEmpty());
    } else {
        shown.click(main->id);
        shown.filter()->setFocus();
        QTest::keyClick(shown.filter(), Qt::Key_Down);
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(main->filterCutOff, 800.0);
    }
    QCOMPARE(answerer.titles(), QStringList{"Ошибка"});
    QVERIFY(answerer.texts().first().contains(QDir::toNativeSeparators(path)));
    QVERIFY(logText().contains("ERROR") && logText().contains("Error writing trace file " + path));
    QVERIFY(!QFileInfo::exists(path));
}

void TraceListTest::joinTakesTheChosenTraceOfTwoWithOneName()
{
    ShownList shown;
    auto earlier = contourTrace("a.txt", 1);
    auto later = contourTrace("a.txt", 2);
    auto clicked = contourTrace("b.txt");
    for (AbstractTrace* trace : {earlier.get(), later.get(), clicked.get()})
        shown.list.addTrace(trace);
    QSignalSpy deleted(&shown.list, &TraceList::traceDeleted);
    QSignalSpy created(&shown.list, &TraceList::createTrace);

    MessageBoxAnswerer answerer;
    answerer.chooseMenuEntry("Соединить трассы");
    JoinDialogSeen seen;
    joinWithTheFirstOffered(answerer, seen);
    shown.rightClick(clicked->id);
    QTRY_COMPARE(created.size(), 1);

    QCOMPARE(seen.title, QStringLiteral("Соединение трассы"));
    QCOMPARE(seen.offered, (QStringList{"a", "a"}));
    QCOMPARE(deletedIds(deleted), (QList<int>{clicked->id, earlier->id}));
    QCOMPARE(created.first().first().value<ProfileData>(), joinTraces(clicked.get(), earlier.get(), 2));
    QCOMPARE(shown.list.traces().keys(), QList<int>{later->id});
}

void TraceListTest::joinDialogWarnsAndCancelKeepsBoth()
{
    ShownList shown;
    auto left = contourTrace("left.txt");
    auto right = contourTrace("right.txt");
    shown.list.addTrace(left.get());
    shown.list.addTrace(right.get());
    QSignalSpy deleted(&shown.list, &TraceList::traceDeleted);
    QSignalSpy created(&shown.list, &TraceList::createTrace);

    MessageBoxAnswerer answerer;
    answerer.chooseMenuEntry("Соединить трассы");
    int joinDialogVisits = 0;
    answerer.onDialog([&](QWidget* dialog) {
        if (auto* overlap = qobject_cast<QInputDialog*>(dialog)) {
            overlap->reject();
            return;
        }
        QPushButton* join = nullptr;
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            if (button->text() == QStringLiteral("Соединить"))
                join = button;
        switch (joinDialogVisits++) {
        case 0: // nothing chosen yet
            QTest::mouseClick(join, Qt::LeftButton);
            break;
        case 1: // chosen, then the overlap dialog is cancelled
            choose(dialog->findChild<QRadioButton*>());
            QTest::mouseClick(join, Qt::LeftButton);
            break;
        default:
            static_cast<QDialog*>(dialog)->reject();
        }
    });
    shown.rightClick(left->id);
    QTRY_VERIFY(joinDialogVisits >= 3);
    QTRY_VERIFY(!QApplication::activeModalWidget());

    QCOMPARE(answerer.texts(), QStringList{"Ни одна трасса не выбрана!"});
    QCOMPARE(answerer.titles(), QStringList{"Ошибка"});
    QVERIFY(deleted.isEmpty());
    QVERIFY(created.isEmpty());
    QCOMPARE(shown.list.traces().size(), 2);
}

void TraceListTest::deleteKeyRemovesTheSelectedRow()
{
    ShownList shown;
    auto first = contourTrace("first.txt");
    auto second = contourTrace("second.txt");
    shown.list.addTrace(first.get());
    shown.list.addTrace(second.get());
    QSignalSpy deleted(&shown.list, &TraceList::traceDeleted);

    shown.click(second->id);
    QTest::keyClick(shown.tree(), Qt::Key_Delete);
    QCOMPARE(deletedIds(deleted), QList<int>{second->id});
    QCOMPARE(shown.tree()->topLevelItemCount(), 1);

    shown.click(first->id);
    QTest::keyClick(shown.tree(), Qt::Key_Delete);
    QCOMPARE(deletedIds(deleted), (QList<int>{second->id, first->id}));
    QCOMPARE(shown.tree()->topLevelItemCount(), 0);
    QTest::keyClick(shown.tree(), Qt::Key_Delete);
    QCOMPARE(deleted.size(), 2);
}

void TraceListTest::showInFileManagerOpensTheFolder()
{
    ShownList shown;
    writeText("files/c.txt", "CONTOUR");
    auto present = contourTrace("files/c.txt");
    auto missing = contourTrace("files/missing.txt");
    shown.list.addTrace(present.get());
    shown.list.addTrace(missing.get());

    DesktopOpenRecorder desktop;
    MessageBoxAnswerer answerer;
    answerer.chooseMenuEntry("Перейти к файлу трассы");
    shown.rightClick(missing->id);
    QTRY_COMPARE(answerer.menus().size(), 1);
    shown.rightClick(present->id);
    QTRY_COMPARE(desktop.urls().size(), 1);
    QCOMPARE(desktop.urls().first(), QUrl::fromLocalFile(QDir::current().filePath("files")));
}

void TraceListTest::detailsShowTheSelectedProfileTrace()
{
    AppSettings& settings = AppSettings::instance();
    settings.view.axis_unit = 1;
    settings.preferenses.enabled_params = {{0, "Ra"}, {1, "Rz"}, {2, "Unknown"}};
    settings.preferenses.enabled_params_count = 3;
    ShownList shown;
    auto profile = profileTrace("p.txt");
    auto contour = contourTrace("c.txt");
    shown.list.addTrace(profile.get());
    shown.list.addTrace(contour.get());
    QVERIFY(!shown.parameters()->isVisible());

    shown.list.recalculateParameters();
    shown.click(profile->id);
    QVERIFY(shown.parameters()->isVisible());
    QCOMPARE(shown.list.findChild<QLabel*>("speedValueLable")->text(), QStringLiteral("0.5 мм/с"));
    QCOMPARE(shown.list.findChild<QLabel*>("traceLengthValuLabel")->text(), QStringLiteral("4000 мкм"));
    QTreeWidget* table = shown.parameters();
    QCOMPARE(table->topLevelItemCount(), 3);
    QCOMPARE(table->topLevelItem(0)->text(0), QStringLiteral("Ra"));
    QCOMPARE(table->topLevelItem(0)->text(1), profile->parameterResults.value("Ra"));
    QVERIFY(!table->topLevelItem(0)->text(1).isEmpty());
    // Too short for its cut-off: no value, so no unit either.
    QCOMPARE(table->topLevelItem(1)->text(1), ExtraArgs::kTooShortText);
    QCOMPARE(table->topLevelItem(1)->text(2), QString());
    QCOMPARE(table->topLevelItem(2)->text(1), QString());
    QCOMPARE(table->topLevelItem(2)->text(2), QString());

    // A contour trace leaves the details as they were; no row hides them.
    shown.click(contour->id);
    QVERIFY(shown.parameters()->isVisible());
    shown.tree()->clearSelection();
    QVERIFY(!shown.parameters()->isVisible());
    settings.view.axis_unit = 0;
    settings.preferenses.enabled_params = {{0, "Ra"}};
    settings.preferenses.enabled_params_count = 1;
}

void TraceListTest::eachParameterShowsItsUnitOnce_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("unit");
    QTest::newRow("height") << "Ra" << "мкм";
    QTest::newRow("length") << "RSm" << "мкм";
    QTest::newRow("waviness height") << "Wz" << "мкм";
    QTest::newRow("ratio from the distribution") << "Dp" << "%";
    QTest::newRow("ratio at the level") << "tp" << "%";
    QTest::newRow("ratio from the material curve") << "Mr1(tp1)" << "%";
    QTest::newRow("slope") << "RΔq(Δq)" << "°";
    QTest::newRow("peak density") << "D" << "1/см";
    QTest::newRow("dimensionless") << "Rsk" << "";
    QTest::newRow("dimensionless ratio of lengths") << "l0" << "";
}

// A main trace with a longer additional trace and one too short for the
// cut-off: the value column holds the spread of the two that have a value
// and no unit, the unit column the parameter's own unit; the short trace
// shows its parameter as not computed, with no unit.
void TraceListTest::eachParameterShowsItsUnitOnce()
{
    QFETCH(QString, name);
    QFETCH(QString, unit);
    AppSettings& settings = AppSettings::instance();
    settings.preferenses.enabled_params = {{0, name}};
    settings.preferenses.enabled_params_count = 1;
    const auto traceOf = [](double length, double phase, int type) {
        auto trace = std::make_unique<ProfileTrace>(
            sampled(length, 1, 2, [phase](double x) { return std::sin(x / 5 + phase) + 0.3 * std::sin(x / 37); }));
        trace->setType(type);
        trace->filterCutOff = 800;
        trace->level = 0.2;
        trace->heightDistribution = {{-1, 0, 1}, {20, 50, 30}};
        return trace;
    };
    auto main = traceOf(6000, 0, PROFILE);
    auto longer = traceOf(5000, 1, ADDITIONAL_TRACE);
    auto shorter = traceOf(1000, 2, ADDITIONAL_TRACE);
    ShownList shown;
    shown.list.addTrace(main.get());
    shown.list.addAdditionalTrace(longer.get(), false);
    shown.list.addAdditionalTrace(shorter.get(), false);
    shown.list.recalculateParameters();

    shown.click(main->id);
    QTreeWidgetItem* row = shown.parameters()->topLevelItem(0);
    QCOMPARE(row->text(0), name);
    QCOMPARE(row->text(2), unit);
    const QString value = row->text(1);
    QVERIFY2(value.contains(QStringLiteral("±")) && value.endsWith(QStringLiteral("%)")), qPrintable(value));
    auto withoutTheShort = traceOf(6000, 0, PROFILE);
    withoutTheShort->addAdditionalTrace(longer.get());
    ExtraArgs args;
    args.samplingLength = withoutTheShort->filterCutOff;
    args.setMaterialRatioCurve(withoutTheShort.get());
    QCOMPARE(value, args.resultText(withoutTheShort.get(), name));

    shown.click(shorter->id);
    row = shown.parameters()->topLevelItem(0);
    QCOMPARE(row->text(1), ExtraArgs::kTooShortText);
    QCOMPARE(row->text(2), QString());
    settings.preferenses.enabled_params = {{0, "Ra"}};
    settings.preferenses.enabled_params_count = 1;
}

void TraceListTest::selectTraceSelectsItsRow()
{
    ShownList shown;
    auto main = profileTrace("p.txt");
    auto additional = profileTrace("", ADDITIONAL_TRACE);
    shown.list.addTrace(main.get());
    shown.list.addAdditionalTrace(additional.get(), false);
    QSignalSpy selected(&shown.list, &TraceList::setGraphSelected);
    shown.list.selectTrace(additional->id);
    QCOMPARE(shown.tree()->currentItem(), shown.row(additional->id));
    QCOMPARE(shown.tree()->selectedItems(), QList<QTreeWidgetItem*>{shown.row(additional->id)});
    QCOMPARE(selected.last(), (QList<QVariant>{additional->id, true}));
    shown.list.selectTrace(12345);
    QCOMPARE(shown.tree()->currentItem(), shown.row(additional->id));
}

void TraceListTest::parameterMenuOpensTheDialogAndRecalculates()
{
    ShownList shown;
    auto trace = profileTrace("p.txt");
    shown.list.addTrace(trace.get());
    shown.list.recalculateParameters();
    shown.click(trace->id);
    QTreeWidget* table = shown.parameters();
    QVERIFY(table->topLevelItemCount() > 0);
    const QString ra = trace->parameterResults.value("Ra");
    trace->parameterResults.clear();

    MessageBoxAnswerer answerer;
    answerer.chooseMenuEntry("Отображённые параметры");
    QString dialogTitle;
    bool helpButton = true;
    answerer.onDialog([&](QWidget* dialog) {
        dialogTitle = dialog->windowTitle();
        helpButton = dialog->windowFlags().testFlag(Qt::WindowContextHelpButtonHint);
        static_cast<QDialog*>(dialog)->reject();
    });
    const QPoint pos = table->visualItemRect(table->topLevelItem(0)).center();
    QTest::mousePress(shown.list.windowHandle(), Qt::RightButton, {}, table->viewport()->mapTo(&shown.list, pos));
    QTest::mouseRelease(shown.list.windowHandle(), Qt::RightButton, {}, table->viewport()->mapTo(&shown.list, pos));
    QTRY_COMPARE(trace->parameterResults.value("Ra"), ra);
    QCOMPARE(answerer.menus(), QList<QStringList>{{"Отображённые параметры"}});
    QCOMPARE(dialogTitle, QStringLiteral("Настройки"));
    QVERIFY(!helpButton);
    QCOMPARE(table->topLevelItem(0)->text(1), ra);
}

void TraceListTest::medianAndLevelReachEveryProfileTrace()
{
    AppSettings::instance().preferenses.enabled_params = {{0, "Ra"}, {1, "Dp"}};
    AppSettings::instance().preferenses.enabled_params_count = 2;
    ShownList shown;
    auto main = profileTrace("p.txt");
    auto additional = profileTrace("", ADDITIONAL_TRACE);
    auto contour = contourTrace("c.txt");
    shown.list.addTrace(main.get());
    shown.list.addAdditionalTrace(additional.get(), false);
    shown.list.addTrace(contour.get());
    main->filterCutOff = additional->filterCutOff = 800;
    shown.list.recalculateParameters();
    shown.click(additional->id);
    const QString ra = additional->parameterResults.value("Ra");
    QVERIFY(ra.toDouble() > 0);

    shown.list.setMedianFilter(true, 31);
    for (ProfileTrace* trace : {main.get(), additional.get()}) {
        QVERIFY(trace->medianEnabled);
        QCOMPARE(trace->medianWindow, 31);
    }
    QVERIFY(additional->parameterResults.value("Ra") != ra);
    QCOMPARE(shown.parameters()->topLevelItem(0)->text(1), additional->parameterResults.value("Ra"));

    // A height distribution and a level give Dp a value of its own.
    for (ProfileTrace* trace : {main.get(), additional.get()}) {
        trace->heightDistribution = {{-1, 0, 1}, {10, 50, 90}};
        trace->level = -0.5;
    }
    shown.list.updateDpParameter();
    QCOMPARE(additional->parameterResults.value("Dp"), QStringLiteral("50.000"));
    QCOMPARE(shown.parameters()->topLevelItem(1)->text(1), QStringLiteral("50.000"));
    QVERIFY(main->parameterResults.value("Dp").startsWith("50.000±"));
    AppSettings::instance().preferenses.enabled_params = {{0, "Ra"}};
    AppSettings::instance().preferenses.enabled_params_count = 1;
}

KALVORA_TEST_MAIN(TraceListTest)
#include "TraceListTest.moc"
