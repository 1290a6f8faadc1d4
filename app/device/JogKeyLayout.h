#pragma once

#include <QMap>

// Which of the control panel's buttons each jog key works, and where the
// table (y) and arm (z) jog buttons stand in the panel's jog grid. The
// setting "device/alternative_managment" has the y and z buttons trade keys
// and places: the buttons of Up and Down always stand in column 1, those of
// Page Up and Page Down in column 5.
class JogKeyLayout
{
public:
    enum Button { XMinus, XPlus, YPlus, YMinus, ZPlus, ZMinus, StartTrace, StopTrace };

    struct Cell
    {
        int row = 0;
        int column = 0;
        bool operator==(const Cell& other) const { return row == other.row && column == other.column; }
    };

    // Qt::Key codes to buttons. The keypad's Enter is not a jog key.
    static QMap<int, Button> keyMap(bool alternative);
    // The grid cells of the four buttons that move; the others stay where the form puts them.
    static QMap<Button, Cell> movingCells(bool alternative);
};
