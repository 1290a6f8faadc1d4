#include "JogKeyContext.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

bool isInDialog(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (qobject_cast<const QDialog*>(w))
            return true;
    }
    return false;
}

bool isEditableComboBox(const QWidget* widget)
{
    const auto* comboBox = qobject_cast<const QComboBox*>(widget);
    return comboBox && comboBox->isEditable();
}

} // namespace

JogKeyContext::Scene JogKeyContext::current()
{
    return {QApplication::activeWindow(), QApplication::activeModalWidget(), QApplication::activePopupWidget(),
            QApplication::focusWidget()};
}

bool JogKeyContext::drivesPanel(const Scene& scene)
{
    return scene.activeWindow && scene.activeWindow->objectName() == QLatin1String(kMainWindowName)
        && !scene.modal && !scene.popup && !takesKeys(scene.focus);
}

bool JogKeyContext::takesKeys(const QWidget* focus)
{
    if (!focus)
        return false;
    return qobject_cast<const QLineEdit*>(focus) || qobject_cast<const QAbstractSpinBox*>(focus)
        || isEditableComboBox(focus) || qobject_cast<const QTextEdit*>(focus)
        || qobject_cast<const QPlainTextEdit*>(focus)
        || (qobject_cast<const QAbstractItemView*>(focus) && isInDialog(focus));
}
