#include "JogKeyLayout.h"

#include <Qt>

QMap<int, JogKeyLayout::Button> JogKeyLayout::keyMap(bool alternative)
{
    return {
        {Qt::Key_Left, XMinus},
        {Qt::Key_Right, XPlus},
        {Qt::Key_Space, StopTrace},
        {Qt::Key_Return, StartTrace},
        {Qt::Key_Up, alternative ? YPlus : ZPlus},
        {Qt::Key_Down, alternative ? YMinus : ZMinus},
        {Qt::Key_PageUp, alternative ? ZPlus : YPlus},
        {Qt::Key_PageDown, alternative ? ZMinus : YMinus},
    };
}

QMap<JogKeyLayout::Button, JogKeyLayout::Cell> JogKeyLayout::movingCells(bool alternative)
{
    const int yColumn = alternative ? 1 : 5;
    const int zColumn = alternative ? 5 : 1;
    return {
        {YPlus, {1, yColumn}},
        {YMinus, {3, yColumn}},
        {ZPlus, {1, zColumn}},
        {ZMinus, {3, zColumn}},
    };
}
