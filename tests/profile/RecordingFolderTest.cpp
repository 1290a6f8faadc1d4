#include <QtTest>

#include "RecordingFolder.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "WorkspaceFixture.h"

// Where recordings are saved: the first folder that takes files, and a file
// name of its own for every recording.
class RecordingFolderTest : public QObject
{
    Q_OBJECT

private slots:
    void theFirstFolderThatTakesFiles()
    {
        workspace::RecordingFolders folders;
        QCOMPARE(RecordingFolder::prepare(), folders.programFolder());
        QVERIFY(QFileInfo(folders.programFolder()).isDir());
        QVERIFY(QDir(folders.programFolder()).entryList(QDir::Files | QDir::Hidden).isEmpty());

        folders.blockProgramDirectory();
        QCOMPARE(RecordingFolder::prepare(), folders.documentsFolder());
        QVERIFY(QFileInfo(folders.documentsFolder()).isDir());

        // With neither, the program's folder is named, for the failure to tell.
        folders.blockBothDirectories();
        const QString folder = RecordingFolder::prepare();
        QVERIFY(folder.endsWith(QStringLiteral("program/Профили")));
        QVERIFY(!QFileInfo::exists(folder));
    }

    void theProgramAndDocumentsFolders()
    {
        RecordingFolder::setBaseDirectories({});
        const QString folder = RecordingFolder::prepare();
        QVERIFY(folder == QCoreApplication::applicationDirPath() + QStringLiteral("/Профили")
                || folder == QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                                 + QStringLiteral("/Профили"));
        QDir(folder).rmdir(folder);
    }

    void aNameOfItsOwn()
    {
        const QDateTime time(QDate(2024, 1, 31), QTime(14, 5, 9));
        const QString folder = QDir::currentPath();
        const QString first = folder + QStringLiteral("/Деталь_2024_01_31_14_05_09.txt");
        QCOMPARE(RecordingFolder::filePath(folder, QStringLiteral("Деталь"), time), first);

        writeText(first, QStringLiteral("a recording"));
        const QString second = folder + QStringLiteral("/Деталь_2024_01_31_14_05_09_2.txt");
        QCOMPARE(RecordingFolder::filePath(folder, QStringLiteral("Деталь"), time), second);
        QCOMPARE(RecordingFolder::filePath(folder, QStringLiteral("Деталь"), time, {second}),
                 folder + QStringLiteral("/Деталь_2024_01_31_14_05_09_3.txt"));
        QCOMPARE(RecordingFolder::filePath(folder, QStringLiteral("%1 %2"), time),
                 folder + QStringLiteral("/%1 %2_2024_01_31_14_05_09.txt"));
        QCOMPARE(RecordingFolder::filePath(folder, QStringLiteral("Вал 3/4"), time),
                 folder + QStringLiteral("/Вал 34_2024_01_31_14_05_09.txt"));
    }
};

KALVORA_TEST_MAIN(RecordingFolderTest)
#include "RecordingFolderTest.moc"
