#pragma once

#include <QObject>

// Turns the keys that mean a decimal point on the Latin and Russian layouts
// (".", "/", "?", "<", ">", "ю", "Ю", "б", "Б") into a comma, the decimal
// separator of the program's Russian locale. Installed on a spin box, with
// the spin box as its parent.
class DotToCommaFilter : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override;
};
