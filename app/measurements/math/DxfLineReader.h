#pragma once

#include <QByteArray>

class QIODevice;

namespace MeasurementMath {

// The lines of a text file read in blocks, with "\n", "\r\n" or a lone "\r"
// as the end of a line, counted from 1. One line can be handed back to be
// read again.
class DxfLineReader
{
public:
    explicit DxfLineReader(QIODevice* device);

    // The next line without its end; false at the end of the file.
    bool next(QByteArray& line);
    // The line last read is read again by the next call.
    void pushBack();
    // The number of the line last read; 0 before the first.
    int lineNumber() const { return m_lineNumber; }
    // The first bytes of the file, without reading past them.
    QByteArray peek(int count);

private:
    bool fill();

    QIODevice* m_device;
    QByteArray m_buffer;
    int m_pos = 0;
    QByteArray m_last;
    bool m_pushedBack = false;
    int m_lineNumber = 0;
};

} // namespace MeasurementMath
