#include "TraceFileSaving.h"

#include <QDir>
#include <QMessageBox>

#include "Logger.h"
#include "TraceFileWriter.h"

bool writeTraceFileOrWarn(QWidget* parent, const QString& path, AbstractTrace* trace)
{
    if (writeTraceFile(path, trace))
        return true;
    Logger::instance().log(ERROR, QStringLiteral("Error writing trace file ") + path);
    QMessageBox::warning(parent, QStringLiteral("Ошибка"),
                         QStringLiteral("Не удалось записать файл трассы\n") + QDir::toNativeSeparators(path));
    return false;
}
