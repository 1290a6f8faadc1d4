#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QMainWindow>
#include <QTranslator>

#include "Logger.h"

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

    Logger::instance().log(INFO, "Start Programm");
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Калвора 2.0.2"));
    window.resize(1021, 678);
    window.showMaximized();

    touchMeasurementLibrary();
    return application.exec();
}
