#include "ReportTemplate.h"

#include <QDir>
#include <QSharedPointer>
#include <QTextStream>
#include <QVariantList>
#include <QVariantMap>

#include <grantlee/context.h>
#include <grantlee/engine.h>
#include <grantlee/template.h>
#include <grantlee/templateloader.h>

#include "MarkdownOutputStream.h"

namespace {

ReportTemplate::Result failure(const Grantlee::Template& compiled)
{
    ReportTemplate::Result result;
    result.error = compiled->errorString();
    return result;
}

QVariantHash topLevelNames(const nlohmann::json& data)
{
    QVariantHash names;
    if (!data.is_object())
        return names;
    for (auto it = data.begin(); it != data.end(); ++it)
        names.insert(QString::fromStdString(it.key()), ReportTemplate::toVariant(it.value()));
    return names;
}

} // namespace

ReportTemplate::Result ReportTemplate::render(const QString& templateText, const QString& name,
                                              const nlohmann::json& data)
{
    Grantlee::Engine engine;
    auto loader = QSharedPointer<Grantlee::FileSystemTemplateLoader>::create();
    loader->setTemplateDirs({QDir::currentPath()});
    engine.addTemplateLoader(loader);

    const Grantlee::Template compiled = engine.newTemplate(templateText, name);
    if (compiled->error() != Grantlee::NoError)
        return failure(compiled);

    Grantlee::Context context(topLevelNames(data));
    QString text;
    QTextStream textStream(&text);
    MarkdownOutputStream stream(&textStream);
    compiled->render(&stream, &context);
    textStream.flush();
    // Rendering resets the error state, so errors found while rendering
    // (a missing included file, for one) show up only now.
    if (compiled->error() != Grantlee::NoError)
        return failure(compiled);

    Result result;
    result.ok = true;
    result.text = text;
    return result;
}

QVariant ReportTemplate::toVariant(const nlohmann::json& value)
{
    using Type = nlohmann::json::value_t;
    switch (value.type()) {
    case Type::object: {
        QVariantMap map;
        for (auto it = value.begin(); it != value.end(); ++it)
            map.insert(QString::fromStdString(it.key()), toVariant(it.value()));
        return map;
    }
    case Type::array: {
        QVariantList list;
        list.reserve(static_cast<int>(value.size()));
        for (const nlohmann::json& element : value)
            list.append(toVariant(element));
        return list;
    }
    case Type::string:
        return QString::fromStdString(value.get_ref<const std::string&>());
    case Type::boolean:
        return value.get<bool>();
    case Type::number_integer:
        return static_cast<qlonglong>(value.get<std::int64_t>());
    case Type::number_unsigned:
        return static_cast<qulonglong>(value.get<std::uint64_t>());
    case Type::number_float:
        return value.get<double>();
    default:
        return {};
    }
}
