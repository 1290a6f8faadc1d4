#pragma once

#include <QPointer>
#include <QValidator>

class QAbstractSpinBox;

// Stands in front of the validator of a spin box that takes whole numbers
// only. A number with a decimal separator ("2,5", "2.") is left standing as
// unfinished input instead of losing its separator, so that the field shows
// what was typed and never takes it as another number ("25"): the field
// keeps its value, a dialog's OK stays disabled, and finishing the edit puts
// the field's value back.
class WholeNumberValidator : public QValidator
{
public:
    // A child of the field; the field's own validator stays the field's.
    WholeNumberValidator(QAbstractSpinBox* field, const QValidator* fieldValidator);

    State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

    // Whether the field's text, prefix and suffix aside, is a number with a
    // decimal separator: digits, a point or comma, digits, with a sign.
    static bool holdsFraction(const QAbstractSpinBox* field, const QString& text);

private:
    const QAbstractSpinBox* m_field;
    QPointer<const QValidator> m_fieldValidator;
};
