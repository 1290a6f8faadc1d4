#include <QtTest>

#include <cmath>

#include "AppSettings.h"
#include "Constants.h"
#include "HolderFixture.h"
#include "MessageBoxAnswerer.h"
#include "TestMain.h"
#include "TraceTypes.h"

namespace {

using fixtures::kPi;

// A profile `length` micrometres long: waves 20 um long, whose Ra is about
// shortRa under every cut-off, and waves 300 um long of Ra longRa, which the
// cut-offs let through in part (250), mostly (800) or whole (2500, 8000).
ProfileData roughProfile(double length, double shortRa, double longRa)
{
    return fixtures::sampled(0, length, 0.5, [=](double x) {
        return shortRa * kPi / 2 * std::sin(2 * kPi * x / 20) + longRa * kPi / 2 * std::sin(2 * kPi * x / 300);
    });
}

void setStandardisation(int cutOffIndex, int standard, bool ask, bool accept)
{
    AppSettings& settings = AppSettings::instance();
    settings.device.spinbox_filter_length_index = cutOffIndex;
    settings.preferenses.standartisation_value = standard;
    settings.preferenses.is_ask_before_change_filter = ask;
    settings.preferenses.is_accept_filter = accept;
}

// A recorded trace: its cut-off is the instrument's at the start.
void prepareTrace(ProfileTrace& trace, int type, int cutOffIndex)
{
    trace.setType(type);
    trace.filterCutOff = kCutOffValues[cutOffIndex];
}

const QString kQuestion = QStringLiteral(
    "Согласно текущему стандарту выбранный фильтр не соответствует измерению. Сменить фильтр на 0.800 мм?");

} // namespace

Q_DECLARE_METATYPE(QMessageBox::StandardButton)

class CutOffStandardisationTest : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { setStandardisation(kDefaultCutOffIndex, 0, true, true); }

    void runs_data();
    void runs();
    void rememberedAnswer_data();
    void rememberedAnswer();
};

void CutOffStandardisationTest::runs_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("length");
    QTest::addColumn<double>("shortRa");
    QTest::addColumn<double>("longRa");
    QTest::addColumn<bool>("withAdditional");
    QTest::addColumn<int>("standard");
    QTest::addColumn<int>("startIndex");
    QTest::addColumn<bool>("ask");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<double>("cutOff");

    // Cut-off indices: 0 8000, 1 2500, 2 800, 3 250, 4 80. Unless asked, the
    // run applies or refuses silently by "is_accept_filter".
    QTest::newRow("4 mm at Ra 5: 2500 does not fit, 800 is proposed")
        << int(PROFILE) << 4000.0 << 5.0 << 0.0 << false << 0 << 3 << false << true
        << QStringList{"unblock", "select 2"} << 800.0;
    QTest::newRow("the proposal refused")
        << int(PROFILE) << 4000.0 << 5.0 << 0.0 << false << 0 << 3 << false << false << QStringList{} << 250.0;
    QTest::newRow("the standard cut-off fits")
        << int(PROFILE) << 6000.0 << 5.0 << 0.0 << false << 0 << 2 << false << true
        << QStringList{"unblock", "select 1"} << 2500.0;
    QTest::newRow("an additional trace takes part")
        << int(ADDITIONAL_TRACE) << 4000.0 << 5.0 << 0.0 << false << 0 << 3 << false << true
        << QStringList{"unblock", "select 2"} << 800.0;
    QTest::newRow("a contour trace does nothing")
        << int(CONTOUR) << 4000.0 << 5.0 << 0.0 << false << 0 << 3 << false << true << QStringList{} << 250.0;
    QTest::newRow("the current cut-off is the standard one: nothing asked")
        << int(PROFILE) << 4000.0 << 5.0 << 0.0 << false << 0 << 2 << true << true << QStringList{} << 800.0;
    QTest::newRow("standard 7: the shortest cut-off that fits")
        << int(PROFILE) << 4000.0 << 5.0 << 0.0 << false << 7 << 3 << false << true
        << QStringList{"unblock", "select 4"} << 80.0;
    QTest::newRow("Ra 0.2 under standard 0 keeps 250")
        << int(PROFILE) << 4000.0 << 0.2 << 0.0 << false << 0 << 3 << false << true << QStringList{} << 250.0;
    QTest::newRow("Ra 0.2 under standard 1 takes 800")
        << int(PROFILE) << 4000.0 << 0.2 << 0.0 << false << 1 << 3 << false << true
        << QStringList{"unblock", "select 2"} << 800.0;
    QTest::newRow("too short for its cut-off")
        << int(PROFILE) << 1000.0 << 5.0 << 0.0 << false << 0 << 1 << false << true << QStringList{} << 2500.0;
    QTest::newRow("a spread of Ra reads as 0")
        << int(PROFILE) << 4000.0 << 5.0 << 0.0 << true << 0 << 3 << false << true << QStringList{} << 250.0;
    QTest::newRow("each new cut-off lets longer waves in")
        << int(PROFILE) << 20000.0 << 0.2 << 8.0 << false << 0 << 4 << false << true
        << QStringList{"unblock", "select 3", "unblock", "select 2", "unblock", "select 1"} << 2500.0;
}

void CutOffStandardisationTest::runs()
{
    QFETCH(int, type);
    QFETCH(double, length);
    QFETCH(double, shortRa);
    QFETCH(double, longRa);
    QFETCH(bool, withAdditional);
    QFETCH(int, standard);
    QFETCH(int, startIndex);
    QFETCH(bool, ask);
    QFETCH(bool, accept);
    QFETCH(QStringList, events);
    QFETCH(double, cutOff);

    setStandardisation(startIndex, standard, ask, accept);
    HolderFixture f(roughProfile(length, shortRa, longRa));
    prepareTrace(f.trace, type, startIndex);
    ProfileTrace additional(roughProfile(length, shortRa * 1.2, longRa));
    if (withAdditional) {
        prepareTrace(additional, ADDITIONAL_TRACE, startIndex);
        f.trace.addAdditionalTrace(&additional);
    }

    MessageBoxAnswerer answerer(QMessageBox::Yes);
    f.holder->adjustFilterToStandard();
    QCOMPARE(f.host.events, events);
    QCOMPARE(f.trace.filterCutOff, cutOff);
    QCOMPARE(answerer.count(), 0);
}

void CutOffStandardisationTest::rememberedAnswer_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<QStringList>("firstEvents");
    QTest::addColumn<QStringList>("nextEvents");
    QTest::addColumn<double>("nextCutOff");

    QTest::newRow("Нет") << QMessageBox::No << QStringList{"block", "unblock"} << QStringList{} << 250.0;
    QTest::newRow("Да") << QMessageBox::Yes << QStringList{"block", "unblock", "unblock", "select 2"}
                        << QStringList{"unblock", "select 2"} << 800.0;
}

// The question box itself, answered with "Запомнить выбор" ticked; the next
// recording is then handled without a question.
void CutOffStandardisationTest::rememberedAnswer()
{
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(QStringList, firstEvents);
    QFETCH(QStringList, nextEvents);
    QFETCH(double, nextCutOff);

    setStandardisation(3, 0, true, true);
    QWidget workspace;
    MessageBoxAnswerer answerer(answer);
    answerer.setTickCheckBox(true);
    {
        HolderFixture f(roughProfile(4000, 5, 0));
        f.host.parent = &workspace;
        prepareTrace(f.trace, PROFILE, 3);
        f.holder->adjustFilterToStandard();
        QCOMPARE(f.host.events, firstEvents);
    }
    QCOMPARE(answerer.titles(), QStringList{"Изменение фильтра"});
    QCOMPARE(answerer.texts(), QStringList{kQuestion});
    QCOMPARE(answerer.checkBoxTexts(), QStringList{"Запомнить выбор"});
    const AppSettingsData saved = AppSettings::load(QString::fromLatin1(AppSettings::kFileName));
    QCOMPARE(saved.preferenses.is_ask_before_change_filter, false);
    QCOMPARE(saved.preferenses.is_accept_filter, answer == QMessageBox::Yes);

    HolderFixture next(roughProfile(4000, 5, 0));
    prepareTrace(next.trace, PROFILE, 3);
    next.holder->adjustFilterToStandard();
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(next.host.events, nextEvents);
    QCOMPARE(next.trace.filterCutOff, nextCutOff);
}

KALVORA_TEST_MAIN(CutOffStandardisationTest)
#include "CutOffStandardisationTest.moc"
