#include "DxfLineReader.h"

#include <QIODevice>

namespace MeasurementMath {

namespace {

constexpr qint64 kBlockSize = 1 << 16;

} // namespace

DxfLineReader::DxfLineReader(QIODevice* device)
    : m_device(device)
{
}

QByteArray DxfLineReader::peek(int count)
{
    while (m_buffer.size() - m_pos < count && fill()) {
    }
    return m_buffer.mid(m_pos, count);
}

// Appends the next block; false when the file has no more.
bool DxfLineReader::fill()
{
    if (!m_device)
        return false;
    if (m_pos > 0) {
        m_buffer.remove(0, m_pos);
        m_pos = 0;
    }
    const QByteArray block = m_device->read(kBlockSize);
    if (block.isEmpty())
        return false;
    m_buffer.append(block);
    return true;
}

bool DxfLineReader::next(QByteArray& line)
{
    if (m_pushedBack) {
        m_pushedBack = false;
        line = m_last;
        ++m_lineNumber;
        return true;
    }
    int end = m_pos;
    for (;;) {
        const char* data = m_buffer.constData();
        const int size = m_buffer.size();
        while (end < size && data[end] != '\n' && data[end] != '\r')
            ++end;
        if (end < size)
            break;
        const int scanned = end - m_pos;
        if (!fill()) {
            if (m_pos >= m_buffer.size())
                return false;
            line = m_buffer.mid(m_pos);
            m_pos = m_buffer.size();
            m_last = line;
            ++m_lineNumber;
            return true;
        }
        end = m_pos + scanned;
    }
    line = m_buffer.mid(m_pos, end - m_pos);
    const bool carriageReturn = m_buffer.at(end) == '\r';
    m_pos = end + 1;
    if (carriageReturn) {
        if (m_pos >= m_buffer.size())
            fill();
        if (m_pos < m_buffer.size() && m_buffer.at(m_pos) == '\n')
            ++m_pos;
    }
    m_last = line;
    ++m_lineNumber;
    return true;
}

void DxfLineReader::pushBack()
{
    m_pushedBack = true;
    --m_lineNumber;
}

} // namespace MeasurementMath
