#include "DotToCommaFilter.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace {

bool meansDecimalPoint(const QString& text)
{
    static const QString keys = QStringLiteral(".?/юЮбБ<>");
    return text.size() == 1 && keys.contains(text.at(0));
}

} // namespace

// The comma sent in place of the key passes this filter again and, being no
// decimal-point key, reaches the watched object.
bool DotToCommaFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (meansDecimalPoint(key->text())) {
            QKeyEvent comma(QEvent::KeyPress, Qt::Key_Comma, key->modifiers(), QStringLiteral(","), false, 1);
            QCoreApplication::sendEvent(watched, &comma);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
