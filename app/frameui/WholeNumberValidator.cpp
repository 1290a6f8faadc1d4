#include "WholeNumberValidator.h"

#include <QDoubleSpinBox>
#include <QRegularExpression>
#include <QSpinBox>

namespace {

struct Affixes
{
    QString prefix;
    QString suffix;
};

Affixes affixesOf(const QAbstractSpinBox* field)
{
    if (const auto* box = qobject_cast<const QSpinBox*>(field))
        return {box->prefix(), box->suffix()};
    if (const auto* box = qobject_cast<const QDoubleSpinBox*>(field))
        return {box->prefix(), box->suffix()};
    return {};
}

QString numberPart(const QAbstractSpinBox* field, QString text)
{
    const Affixes affixes = affixesOf(field);
    if (!affixes.prefix.isEmpty() && text.startsWith(affixes.prefix))
        text.remove(0, affixes.prefix.size());
    if (!affixes.suffix.isEmpty() && text.endsWith(affixes.suffix))
        text.chop(affixes.suffix.size());
    return text.trimmed();
}

} // namespace

WholeNumberValidator::WholeNumberValidator(QAbstractSpinBox* field, const QValidator* fieldValidator)
    : QValidator(field)
    , m_field(field)
    , m_fieldValidator(fieldValidator)
{
}

QValidator::State WholeNumberValidator::validate(QString& input, int& pos) const
{
    const State state = m_fieldValidator ? m_fieldValidator->validate(input, pos) : Acceptable;
    if (state == Invalid && holdsFraction(m_field, input))
        return Intermediate;
    return state;
}

void WholeNumberValidator::fixup(QString& input) const
{
    if (m_fieldValidator)
        m_fieldValidator->fixup(input);
}

bool WholeNumberValidator::holdsFraction(const QAbstractSpinBox* field, const QString& text)
{
    static const QRegularExpression fraction(QStringLiteral("^[+-]?\\d*[.,]\\d*$"));
    return fraction.match(numberPart(field, text)).hasMatch();
}
