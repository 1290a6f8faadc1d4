#include "AppSettings.h"
#include "MessageBoxAnswerer.h"
#include "SettingsSaving.h"
#include "TestMain.h"

#include <QDir>
#include <QMutexLocker>

// A folder in the place of "settings.ini" makes every save fail.
class SettingsSavingTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QDir().rmdir(QLatin1String(AppSettings::kFileName)); }

    void warnsOnceUntilASaveSucceeds()
    {
        MessageBoxAnswerer answerer;
        setFileName(QStringLiteral("first"));
        QVERIFY(saveSettingsOrWarn(nullptr));
        QCOMPARE(answerer.count(), 0);

        QVERIFY(QFile::remove(QLatin1String(AppSettings::kFileName)));
        QVERIFY(QDir().mkdir(QLatin1String(AppSettings::kFileName)));
        setFileName(QStringLiteral("second"));
        QVERIFY(!saveSettingsOrWarn(nullptr));
        QVERIFY(!saveSettingsOrWarn(nullptr));
        QVERIFY(!saveSettingsOrWarn(nullptr));
        QCOMPARE(answerer.texts(), QStringList{QStringLiteral("Не удалось сохранить настройки")});
        QCOMPARE(answerer.titles(), QStringList{QStringLiteral("Ошибка")});

        // The change stayed in the record and goes out with the next save.
        QVERIFY(QDir().rmdir(QLatin1String(AppSettings::kFileName)));
        QVERIFY(saveSettingsOrWarn(nullptr));
        QCOMPARE(AppSettings::load(QLatin1String(AppSettings::kFileName)).servise.default_trace_file_name,
                 QStringLiteral("second"));
        QCOMPARE(answerer.count(), 1);

        // After a success the next failure is told again.
        QVERIFY(QFile::remove(QLatin1String(AppSettings::kFileName)));
        QVERIFY(QDir().mkdir(QLatin1String(AppSettings::kFileName)));
        QVERIFY(!saveSettingsOrWarn(nullptr));
        QCOMPARE(answerer.count(), 2);
    }

private:
    static void setFileName(const QString& name)
    {
        AppSettings& settings = AppSettings::instance();
        QMutexLocker lock(&settings.mutex());
        settings.servise.default_trace_file_name = name;
    }
};

KALVORA_TEST_MAIN(SettingsSavingTest)
#include "SettingsSavingTest.moc"
