#include <QtTest>

#include <QDir>
#include <QListWidget>
#include <QPushButton>

#include "AppSettings.h"
#include "MessageBoxAnswerer.h"
#include "ParamsDialog.h"
#include "TestFiles.h"
#include "TestMain.h"

namespace {

QMap<int, QString> positions(const QStringList& names)
{
    QMap<int, QString> map;
    for (int i = 0; i < names.size(); ++i)
        map.insert(i, names[i]);
    return map;
}

void setLists(const QStringList& enabled, const QStringList& disabled)
{
    AppSettings& settings = AppSettings::instance();
    settings.preferenses.enabled_params = positions(enabled);
    settings.preferenses.enabled_params_count = enabled.size();
    settings.preferenses.disabled_params = positions(disabled);
    settings.preferenses.disabled_params_count = disabled.size();
}

QStringList texts(const QListWidget* list)
{
    QStringList names;
    for (int row = 0; row < list->count(); ++row)
        names.append(list->item(row)->text());
    return names;
}

QStringList listed(const QMap<int, QString>& names, int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list.append(names.value(i));
    return list;
}

QPushButton* button(const ParamsDialog& dialog, const QString& text)
{
    for (QPushButton* candidate : dialog.findChildren<QPushButton*>())
        if (candidate->text() == text)
            return candidate;
    return nullptr;
}

// Clicks the entries in this order, the first plainly, the others with Ctrl.
void selectInOrder(QListWidget* list, const QStringList& names)
{
    for (int i = 0; i < names.size(); ++i) {
        QListWidgetItem* item = list->findItems(names[i], Qt::MatchExactly).value(0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, i == 0 ? Qt::NoModifier : Qt::ControlModifier,
                          list->visualItemRect(item).center());
    }
}

struct ShownDialog
{
    ShownDialog()
    {
        dialog.show();
        if (!QTest::qWaitForWindowExposed(&dialog))
            qWarning("dialog not exposed");
    }
    ParamsDialog dialog;
};

} // namespace

class ParamsDialogTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { setLists({"Ra", "Rz", "Rq", "Rmax"}, {"Rp", "Rv"}); }

    void listsComeFromTheSettings();
    void arrowsMoveTheSelectionInSelectionOrder();
    void cancelWritesNothing();
    void okSavesBothListsOnRelease();
    void emptyShownListIsSavedWithCountZero();
    void failedSaveWarnsOnce();
};

void ParamsDialogTest::listsComeFromTheSettings()
{
    AppSettings::instance().preferenses.enabled_params_count = 5;
    ParamsDialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Настройки"));
    QCOMPARE(texts(dialog.enabledList()), (QStringList{"Ra", "Rz", "Rq", "Rmax", ""}));
    QCOMPARE(texts(dialog.disabledList()), (QStringList{"Rp", "Rv"}));
    for (QListWidget* list : {dialog.enabledList(), dialog.disabledList()}) {
        QCOMPARE(list->dragDropMode(), QAbstractItemView::DragDrop);
        QCOMPARE(list->defaultDropAction(), Qt::MoveAction);
        QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
        QVERIFY(list->dragEnabled() && list->acceptDrops() && list->showDropIndicator());
    }
    for (const char* text : {"->", "<-", "Ок", "Отмена"})
        QVERIFY(button(dialog, text));
}

void ParamsDialogTest::arrowsMoveTheSelectionInSelectionOrder()
{
    ShownDialog shown;
    ParamsDialog& dialog = shown.dialog;
    selectInOrder(dialog.enabledList(), {"Rmax", "Ra", "Rq"});
    QTest::mouseClick(button(dialog, "->"), Qt::LeftButton);
    QCOMPARE(texts(dialog.enabledList()), QStringList{"Rz"});
    QCOMPARE(texts(dialog.disabledList()), (QStringList{"Rp", "Rv", "Rmax", "Ra", "Rq"}));

    selectInOrder(dialog.disabledList(), {"Rv", "Rmax"});
    QTest::mouseClick(button(dialog, "<-"), Qt::LeftButton);
    QCOMPARE(texts(dialog.enabledList()), (QStringList{"Rz", "Rv", "Rmax"}));
    QCOMPARE(texts(dialog.disabledList()), (QStringList{"Rp", "Ra", "Rq"}));
}

void ParamsDialogTest::cancelWritesNothing()
{
    QVERIFY(AppSettings::instance().save());
    const QByteArray before = fileBytes(AppSettings::kFileName);
    QVERIFY(!before.isEmpty());
    {
        ShownDialog shown;
        selectInOrder(shown.dialog.enabledList(), {"Rz"});
        QTest::mouseClick(button(shown.dialog, "->"), Qt::LeftButton);
        QTest::mouseClick(button(shown.dialog, "Отмена"), Qt::LeftButton);
        QCOMPARE(shown.dialog.result(), int(QDialog::Rejected));
        QVERIFY(!shown.dialog.isVisible());
    }
    QCOMPARE(fileBytes(AppSettings::kFileName), before);
    QCOMPARE(AppSettings::instance().preferenses.enabled_params_count, 4);
}

void ParamsDialogTest::okSavesBothListsOnRelease()
{
    ShownDialog shown;
    ParamsDialog& dialog = shown.dialog;
    selectInOrder(dialog.enabledList(), {"Rz", "Ra"});
    QTest::mouseClick(button(dialog, "->"), Qt::LeftButton);

    // The button acts when it lets go, not when pressed: also when the
    // pressed mouse leaves it.
    QPushButton* ok = button(dialog, "Ок");
    QWindow* window = dialog.windowHandle();
    QTest::mousePress(window, Qt::LeftButton, {}, ok->mapTo(&dialog, ok->rect().center()));
    QVERIFY(dialog.isVisible());
    QCOMPARE(AppSettings::instance().preferenses.enabled_params_count, 4);
    const QPoint away = ok->mapTo(&dialog, QPoint(-30, -30));
    QTest::mouseMove(window, away);
    QTest::mouseRelease(window, Qt::LeftButton, {}, away);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));

    const PreferenceSettings& record = AppSettings::instance().preferenses;
    QCOMPARE(listed(record.enabled_params, record.enabled_params_count), (QStringList{"Rq", "Rmax"}));
    QCOMPARE(listed(record.disabled_params, record.disabled_params_count), (QStringList{"Rp", "Rv", "Rz", "Ra"}));
    const AppSettingsData saved = AppSettings::load(AppSettings::kFileName);
    QCOMPARE(listed(saved.preferenses.enabled_params, saved.preferenses.enabled_params_count),
             (QStringList{"Rq", "Rmax"}));
    QCOMPARE(saved.preferenses.disabled_params.value(3), QStringLiteral("Ra"));
}

void ParamsDialogTest::emptyShownListIsSavedWithCountZero()
{
    ShownDialog shown;
    ParamsDialog& dialog = shown.dialog;
    selectInOrder(dialog.enabledList(), {"Ra", "Rz", "Rq", "Rmax"});
    QTest::mouseClick(button(dialog, "->"), Qt::LeftButton);
    QTest::mouseClick(button(dialog, "Ок"), Qt::LeftButton);

    QCOMPARE(AppSettings::instance().preferenses.enabled_params_count, 0);
    QVERIFY(AppSettings::instance().preferenses.enabled_params.isEmpty());
    const AppSettingsData saved = AppSettings::load(AppSettings::kFileName);
    QCOMPARE(saved.preferenses.enabled_params_count, 0);
    QVERIFY(readText(AppSettings::kFileName).contains("enabled_params_count=0"));
}

void ParamsDialogTest::failedSaveWarnsOnce()
{
    QFile::remove(AppSettings::kFileName);
    QVERIFY(QDir().mkdir(AppSettings::kFileName));
    MessageBoxAnswerer answerer;
    for (const char* moved : {"Rz", "Rq"}) {
        ShownDialog shown;
        selectInOrder(shown.dialog.enabledList(), {moved});
        QTest::mouseClick(button(shown.dialog, "->"), Qt::LeftButton);
        QTest::mouseClick(button(shown.dialog, "Ок"), Qt::LeftButton);
        QCOMPARE(shown.dialog.result(), int(QDialog::Accepted));
    }
    QCOMPARE(answerer.texts(), QStringList{"Не удалось сохранить настройки"});
    QCOMPARE(AppSettings::instance().preferenses.enabled_params_count, 2);

    // Once the file can be written, the kept values reach it; a later failure warns again.
    QVERIFY(QDir().rmdir(AppSettings::kFileName));
    {
        ShownDialog shown;
        QTest::mouseClick(button(shown.dialog, "Ок"), Qt::LeftButton);
    }
    QCOMPARE(AppSettings::load(AppSettings::kFileName).preferenses.enabled_params_count, 2);
    QFile::remove(AppSettings::kFileName);
    QVERIFY(QDir().mkdir(AppSettings::kFileName));
    {
        ShownDialog shown;
        QTest::mouseClick(button(shown.dialog, "Ок"), Qt::LeftButton);
    }
    QCOMPARE(answerer.count(), 2);
    QVERIFY(QDir().rmdir(AppSettings::kFileName));
}

KALVORA_TEST_MAIN(ParamsDialogTest)
#include "ParamsDialogTest.moc"
