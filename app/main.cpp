#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "Logger.h"
#include "MainWindow.h"

namespace {

// The measurement library stands beside the program. Its file is read once at
// start and the bytes dropped: nothing is loaded, and a missing file is ignored.
void touchMeasurementLibrary()
{
    QFile library(QDir::currentPath() + QStringLiteral("/libKalvora.so"));
    if (library.open(QIODevice::ReadOnly))
        library.readAll();
}

} // namespace

int main(int argc, char** argv)
{
    Q_INIT_RESOURCE(icons);
    Logger::instance();
    QApplication application(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));

    QTranslator translator;
    if (translator.load(QStringLiteral("qtbase_ru"), QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
        application.installTranslator(&translator);

    MainWindow window;
    window.showMaximized();

    touchMeasurementLibrary();
    return application.exec();
}
