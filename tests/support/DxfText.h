#pragma once

#include <QByteArray>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

// DXF text for tests, written as its group code / value pairs in one string:
// "0 LINE 10 0 20 0 11 10 21 0", each code and each value one word.

// The pairs one to a line, as a DXF file holds them.
inline QByteArray dxfPairs(const QString& pairs)
{
    const QStringList words = pairs.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    return (words.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

inline QByteArray dxfSection(const QString& name, const QString& pairs)
{
    return dxfPairs(QStringLiteral("0 SECTION 2 ") + name + QLatin1Char(' ') + pairs + QStringLiteral(" 0 ENDSEC"));
}

// A whole file of the given sections.
inline QByteArray dxfFile(const QByteArray& sections)
{
    return sections + dxfPairs(QStringLiteral("0 EOF"));
}

// A file of an ENTITIES section alone.
inline QByteArray dxfEntities(const QString& pairs)
{
    return dxfFile(dxfSection(QStringLiteral("ENTITIES"), pairs));
}

// A file whose header gives the drawing unit ($INSUNITS).
inline QByteArray dxfInUnits(int insunits, const QString& entityPairs)
{
    return dxfFile(dxfSection(QStringLiteral("HEADER"), QStringLiteral("9 $INSUNITS 70 %1").arg(insunits))
                   + dxfSection(QStringLiteral("ENTITIES"), entityPairs));
}
