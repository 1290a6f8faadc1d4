#pragma once

#include <QString>
#include <QVariant>

#include <nlohmann/json.hpp>

// A report template: Markdown with Grantlee markup, filled with JSON data.
// Every value the template places is escaped for Markdown
// (MarkdownOutputStream), so typed texts read as themselves; a value the
// template marks with the filter "safe" is placed as it is. Included
// templates are looked up as files relative to the working directory.
class ReportTemplate
{
public:
    struct Result
    {
        bool ok = false;
        QString text;  // the rendered Markdown when ok
        QString error; // the engine's own error text otherwise
    };

    // `name` identifies the template in the engine's error texts.
    static Result render(const QString& templateText, const QString& name, const nlohmann::json& data);

    // Objects become maps, arrays lists, strings (UTF-8) QStrings; null is an
    // invalid QVariant.
    static QVariant toVariant(const nlohmann::json& value);
};
