#include "ByteLineReader.h"

#include <QIODevice>
#include <QTextCodec>

#include <cstring>

#include "DecimalText.h"

namespace {

constexpr qint64 kChunkSize = 1 << 20;

bool startsWith(const QByteArray& bytes, const char* prefix, int size)
{
    return bytes.size() >= size && std::memcmp(bytes.constData(), prefix, size_t(size)) == 0;
}

} // namespace

ByteLine ByteLine::trimmed() const
{
    ByteLine line = *this;
    while (line.begin < line.end && DecimalText::isSpace(*line.begin))
        ++line.begin;
    while (line.end > line.begin && DecimalText::isSpace(line.end[-1]))
        --line.end;
    return line;
}

ByteLineReader::ByteLineReader(QIODevice& device) : m_device(device)
{
    m_buffer = m_device.read(4);
    if (startsWith(m_buffer, "\xEF\xBB\xBF", 3))
        m_position = 3;
    else if (startsWith(m_buffer, "\xFF\xFE", 2) || startsWith(m_buffer, "\xFE\xFF", 2)
             || startsWith(m_buffer, "\x00\x00\xFE\xFF", 4))
        decodeUnicodeText();
}

void ByteLineReader::decodeUnicodeText()
{
    m_buffer += m_device.readAll();
    QTextCodec* codec = QTextCodec::codecForUtfText(m_buffer, QTextCodec::codecForName("UTF-8"));
    QString text = codec->toUnicode(m_buffer);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    m_buffer = text.toUtf8();
    m_deviceDone = true;
}

bool ByteLineReader::fillBuffer()
{
    if (m_deviceDone)
        return false;
    m_buffer.remove(0, m_position);
    m_position = 0;
    const QByteArray chunk = m_device.read(kChunkSize);
    if (chunk.isEmpty()) {
        m_deviceDone = true;
        return false;
    }
    m_buffer += chunk;
    return true;
}

bool ByteLineReader::readLine(ByteLine& line)
{
    int searchFrom = m_position;
    for (;;) {
        const int newline = m_buffer.indexOf('\n', searchFrom);
        if (newline >= 0) {
            line.begin = m_buffer.constData() + m_position;
            line.end = m_buffer.constData() + newline;
            m_position = newline + 1;
            return true;
        }
        const int scanned = m_buffer.size() - m_position;
        if (!fillBuffer())
            break;
        searchFrom = scanned;
    }
    if (m_position >= m_buffer.size())
        return false;
    line.begin = m_buffer.constData() + m_position;
    line.end = m_buffer.constData() + m_buffer.size();
    m_position = m_buffer.size();
    return true;
}
