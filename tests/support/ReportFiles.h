#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Report files for tests: the program's templates in the working directory,
// a stand-in for pandoc found first on PATH, and reading a report back.

// Copies the program's "reports/" files into "reports/" of the working
// directory; fails the running test when one cannot be copied.
void copyReportFiles();

// Writes the shell script "bin/pandoc" in the working directory with the
// commands of `body`.
void writeFakePandoc(const QString& body);

// PATH with the working directory's "bin" first, where writeFakePandoc puts
// its script.
QString pathWithFakePandoc();

// The Base64 texts of the PNG images embedded in an HTML report, in order.
QStringList embeddedImages(const QString& html);

// The lines a reader sees in an HTML report: its text as a browser shows
// it, one line per paragraph, heading or table cell.
QStringList visibleLines(const QString& html);

// Texts as a user may type them, each with characters that Markdown or HTML
// would otherwise read as markup.
const QStringList& typedTexts();

// Sets PATH for the object's lifetime, for the renderer's search of "pandoc".
class PathOverride
{
public:
    explicit PathOverride(const QString& path);
    ~PathOverride();

    PathOverride(const PathOverride&) = delete;
    PathOverride& operator=(const PathOverride&) = delete;

private:
    QByteArray m_previous;
};
