#include <QDir>
#include <QPixmap>
#include <QtTest>

#include "TestMain.h"

// The icons in the program's resource.
class IconsTest : public QObject
{
    Q_OBJECT

private slots:
    void everyIconFileIsInTheResource()
    {
        const QStringList files = QDir(QStringLiteral(KALVORA_ICONS_DIR)).entryList({"*.png"}, QDir::Files, QDir::Name);
        const QStringList resources = QDir(QStringLiteral(":/icons/icons")).entryList(QDir::Files, QDir::Name);
        QVERIFY(!files.isEmpty());
        QCOMPARE(resources, files);
    }

    void everyIconLoads()
    {
        const QDir icons(QStringLiteral(":/icons/icons"));
        for (const QString& name : icons.entryList(QDir::Files)) {
            const QPixmap pixmap(icons.filePath(name));
            QVERIFY2(!pixmap.isNull() && pixmap.width() > 0, qPrintable(name));
        }
    }
};

KALVORA_TEST_MAIN(IconsTest)
#include "IconsTest.moc"
