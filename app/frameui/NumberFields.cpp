#include "NumberFields.h"

#include "DotToCommaFilter.h"
#include "WholeNumberValidator.h"

#include <QDoubleSpinBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QLocale>
#include <QSpinBox>
#include <QToolTip>

namespace {

bool takesWholeNumbers(const QAbstractSpinBox* field)
{
    if (qobject_cast<const QSpinBox*>(field))
        return true;
    const auto* box = qobject_cast<const QDoubleSpinBox*>(field);
    return box && box->decimals() == 0;
}

// What the field takes: its range as it writes its numbers, with its unit.
QString acceptedInputText(const QAbstractSpinBox* field)
{
    QLocale locale = field->locale();
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    const auto range = [&locale](double minimum, double maximum, int decimals, const QString& suffix) {
        return QStringLiteral("от %1 до %2%3")
            .arg(locale.toString(minimum, 'f', decimals), locale.toString(maximum, 'f', decimals), suffix);
    };
    const QString wholeNumbers = QStringLiteral("Допустимо целое число ");
    if (const auto* box = qobject_cast<const QSpinBox*>(field))
        return wholeNumbers + range(box->minimum(), box->maximum(), 0, box->suffix());
    const auto* box = qobject_cast<const QDoubleSpinBox*>(field);
    if (!box)
        return QString();
    const int decimals = box->decimals();
    const QString allowed = range(box->minimum(), box->maximum(), decimals, box->suffix());
    if (decimals == 0)
        return wholeNumbers + allowed;
    return QStringLiteral("Допустимо число %1, знаков после запятой: не более %2").arg(allowed).arg(decimals);
}

void showRefusal(QAbstractSpinBox* field)
{
    QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())), acceptedInputText(field), field);
}

void prepareField(QAbstractSpinBox* field)
{
    field->installEventFilter(new DotToCommaFilter(field));
    auto* edit = field->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
    if (!edit)
        return;
    QObject::connect(edit, &QLineEdit::inputRejected, field, [field] { showRefusal(field); });
    if (!takesWholeNumbers(field))
        return;
    edit->setValidator(new WholeNumberValidator(field, edit->validator()));
    QObject::connect(edit, &QLineEdit::textEdited, field, [field](const QString& text) {
        if (WholeNumberValidator::holdsFraction(field, text))
            showRefusal(field);
    });
}

} // namespace

void NumberFields::prepare(QWidget* widget)
{
    if (auto* field = qobject_cast<QAbstractSpinBox*>(widget))
        prepareField(field);
    for (QAbstractSpinBox* field : widget->findChildren<QAbstractSpinBox*>())
        prepareField(field);
}

double NumberFields::askForDouble(QWidget* parent, const QString& title, const QString& label, double value,
                                  double minimum, double maximum, int decimals, bool* ok, Qt::WindowFlags flags,
                                  double step)
{
    QInputDialog dialog(parent, flags);
    dialog.setWindowTitle(title);
    dialog.setLabelText(label);
    dialog.setInputMode(QInputDialog::DoubleInput);
    dialog.setDoubleDecimals(decimals);
    dialog.setDoubleRange(minimum, maximum);
    dialog.setDoubleValue(value);
    dialog.setDoubleStep(step);
    prepare(&dialog);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (ok)
        *ok = accepted;
    return accepted ? dialog.doubleValue() : value;
}
