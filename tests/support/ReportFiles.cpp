#include "ReportFiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextDocument>
#include <QtTest>

#include "TestFiles.h"

void copyReportFiles()
{
    const QDir reports(QStringLiteral(KALVORA_REPORTS_DIR));
    QVERIFY(QDir().mkpath(QStringLiteral("reports")));
    for (const QString& name : reports.entryList(QDir::Files)) {
        const QString target = QStringLiteral("reports/") + name;
        QFile::remove(target);
        QVERIFY2(QFile::copy(reports.filePath(name), target), qPrintable(name));
    }
}

void writeFakePandoc(const QString& body)
{
    const QString script = QStringLiteral("bin/pandoc");
    writeText(script, QStringLiteral("#!/bin/sh\n") + body + QLatin1Char('\n'));
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QString pathWithFakePandoc()
{
    return QDir::currentPath() + QStringLiteral("/bin:") + QString::fromLocal8Bit(qgetenv("PATH"));
}

QStringList embeddedImages(const QString& html)
{
    QStringList images;
    const QRegularExpression source(QStringLiteral("src=\"data:image/png;base64,([^\"]+)\""));
    auto matches = source.globalMatch(html);
    while (matches.hasNext())
        images << matches.next().captured(1);
    return images;
}

QStringList visibleLines(const QString& html)
{
    QTextDocument document;
    document.setHtml(html);
    return document.toPlainText().split(QLatin1Char('\n'));
}

const QStringList& typedTexts()
{
    static const QStringList texts{
        QStringLiteral("Вал | 20"),          QStringLiteral("*звезда* и _черта_"), QStringLiteral("<b>жирный</b>"),
        QStringLiteral("# 5 \\ C:\\путь"), QStringLiteral("[ссылка](x) `код` 1. -- \"q\""),
    };
    return texts;
}

PathOverride::PathOverride(const QString& path) : m_previous(qgetenv("PATH"))
{
    qputenv("PATH", QFile::encodeName(path));
}

PathOverride::~PathOverride()
{
    qputenv("PATH", m_previous);
}
