#pragma once

#include <grantlee/outputstream.h>

// The output of a report template: every value the template places is
// escaped so that Markdown and pandoc's raw HTML show it as the text it is.
// Each ASCII punctuation character gets a backslash, which pandoc reads as
// that character itself in a paragraph, a heading, a title line and a table
// cell alike; a line break becomes an HTML line break, which keeps a table
// row on its line. Values a template marks "safe" pass unchanged.
class MarkdownOutputStream : public Grantlee::OutputStream
{
public:
    explicit MarkdownOutputStream(QTextStream* stream);

    QString escape(const QString& input) const override;
    QSharedPointer<Grantlee::OutputStream> clone(QTextStream* stream) const override;
};
