#include "MarkdownOutputStream.h"

namespace {

const QString kLineBreak = QStringLiteral("<br />");

// Every character pandoc's Markdown lets a backslash escape.
bool isAsciiPunctuation(QChar c)
{
    static const QString punctuation = QStringLiteral("!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~");
    return punctuation.contains(c);
}

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator
           || c == QChar::ParagraphSeparator;
}

} // namespace

MarkdownOutputStream::MarkdownOutputStream(QTextStream* stream)
    : Grantlee::OutputStream(stream)
{
}

QSharedPointer<Grantlee::OutputStream> MarkdownOutputStream::clone(QTextStream* stream) const
{
    return QSharedPointer<MarkdownOutputStream>::create(stream);
}

QString MarkdownOutputStream::escape(const QString& text) const
{
    QString result;
    result.reserve(text.size() * 2);
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (isLineBreak(c)) {
            // "\r\n" is one break.
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            result += kLineBreak;
            continue;
        }
        if (isAsciiPunctuation(c))
            result += QLatin1Char('\\');
        result += c;
    }
    return result;
}
