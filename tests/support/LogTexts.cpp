#include "LogTexts.h"

#include "Logger.h"

#include <QFile>

QStringList logTexts()
{
    QFile file(Logger::instance().fileName());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList texts;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const int end = line.indexOf("] ");
        if (end >= 0)
            texts << QString::fromUtf8(line.mid(end + 2));
    }
    return texts;
}
