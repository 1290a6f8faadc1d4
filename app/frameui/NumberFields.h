#pragma once

#include <Qt>

class QString;
class QWidget;

// The number fields of the program take "." as well as "," for the decimal
// comma of the Russian locale. A field that refuses what was typed says what
// it takes, in a tip below it; a field of whole numbers shows a typed
// fraction as unfinished input rather than dropping its separator.
namespace NumberFields {

// Prepares every spin box that the widget is or holds. A window calls it
// once, after its fields are built.
void prepare(QWidget* widget);

// QInputDialog::getDouble, its field prepared.
double askForDouble(QWidget* parent, const QString& title, const QString& label, double value, double minimum,
                    double maximum, int decimals, bool* ok, Qt::WindowFlags flags = {}, double step = 1);

} // namespace NumberFields
