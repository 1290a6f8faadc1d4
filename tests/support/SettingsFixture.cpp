#include "SettingsFixture.h"

#include "TestFiles.h"

#include <QFile>
#include <QMutexLocker>
#include <QtTest>

namespace {

QString settingsPath()
{
    return QLatin1String(AppSettings::kFileName);
}

void loadFileIntoRecord()
{
    const AppSettingsData data = AppSettings::load(settingsPath());
    changeSettings([&data](AppSettings& settings) { static_cast<AppSettingsData&>(settings) = data; });
}

} // namespace

void loadSettingsFile(const QString& iniText)
{
    QFile::remove(settingsPath());
    if (!iniText.isEmpty())
        writeText(settingsPath(), iniText);
    loadFileIntoRecord();
}

void loadSettings(const AppSettingsData& data)
{
    QVERIFY2(AppSettings::write(data, settingsPath()), "settings.ini not written");
    loadFileIntoRecord();
}

void changeSettings(const std::function<void(AppSettings&)>& change)
{
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    change(settings);
}

AppSettingsData savedSettings()
{
    return AppSettings::load(settingsPath());
}
