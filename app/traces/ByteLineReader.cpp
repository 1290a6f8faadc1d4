#include "ByteLineReader.h"

#include <QIODevice>
#include <QTextCodec>
#include <QTextDecoder>

#include <algorithm>
#include <cstring>

#include "DecimalText.h"

namespace {

constexpr int kChunkSize = 1 << 18;
constexpr int kLongestByteOrderMark = 4;

bool startsWith(const QByteArray& bytes, const char* prefix, int size)
{
    return bytes.size() >= size && std::memcmp(bytes.constData(), prefix, size_t(size)) == 0;
}

bool startsWithWideByteOrderMark(const QByteArray& bytes)
{
    return startsWith(bytes, "\xFF\xFE", 2) || startsWith(bytes, "\xFE\xFF", 2)
           || startsWith(bytes, "\x00\x00\xFE\xFF", 4);
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
    const QByteArray head = m_device.read(kLongestByteOrderMark);
    if (startsWithWideByteOrderMark(head)) {
        // The decoder chooses the encoding by the mark and drops the mark.
        QTextCodec* codec = QTextCodec::codecForUtfText(head, QTextCodec::codecForName("UTF-8"));
        m_decoder.reset(codec->makeDecoder());
        m_buffer = m_decoder->toUnicode(head).toUtf8();
        return;
    }
    m_buffer.reserve(2 * kChunkSize);
    m_buffer.append(head);
    if (startsWith(head, "\xEF\xBB\xBF", 3))
        m_position = 3;
}

ByteLineReader::~ByteLineReader() = default;

// Moves the unread bytes to the front of the buffer and appends the next
// bytes of the device; false when the device has nothing more.
bool ByteLineReader::fillBuffer()
{
    if (m_deviceDone)
        return false;
    m_buffer.remove(0, m_position);
    m_position = 0;
    const int before = m_buffer.size();
    // A chunk may end inside a character that the decoder holds back.
    while (m_buffer.size() == before) {
        if (!appendChunk()) {
            m_deviceDone = true;
            return false;
        }
    }
    return true;
}

// False when the device gave no more bytes.
bool ByteLineReader::appendChunk()
{
    if (m_decoder) {
        const QByteArray chunk = m_device.read(kChunkSize);
        m_buffer += m_decoder->toUnicode(chunk).toUtf8();
        return !chunk.isEmpty();
    }
    const int before = m_buffer.size();
    m_buffer.resize(before + kChunkSize);
    const qint64 read = std::max<qint64>(m_device.read(m_buffer.data() + before, kChunkSize), 0);
    m_buffer.resize(before + int(read));
    return read > 0;
}

int ByteLineReader::indexOfNewline(int from) const
{
    const void* found = std::memchr(at(from), '\n', size_t(m_buffer.size() - from));
    return found ? int(static_cast<const char*>(found) - m_buffer.constData()) : -1;
}

int ByteLineReader::indexOfLastNewline(int from) const
{
    int last = m_buffer.size() - 1;
    while (last >= from && m_buffer.constData()[last] != '\n')
        --last;
    return last >= from ? last : -1;
}

// What `find` gives for the bytes from the next line on, reading more while
// it finds nothing; bytes already searched are not searched again. -1 when
// the input ends first.
int ByteLineReader::searchFilling(int (ByteLineReader::*find)(int from) const)
{
    int searchFrom = m_position;
    for (;;) {
        const int found = (this->*find)(searchFrom);
        if (found >= 0)
            return found;
        const int searched = m_buffer.size() - m_position;
        if (!fillBuffer())
            return -1;
        searchFrom = searched;
    }
}

// The bytes up to `end`; the reader goes on after `next`.
ByteLine ByteLineReader::take(int end, int next)
{
    const ByteLine taken{at(m_position), at(end)};
    m_position = next;
    return taken;
}

// The last line of an input that does not end with LF; false when nothing
// is left.
bool ByteLineReader::takeRest(ByteLine& line)
{
    if (m_position >= m_buffer.size())
        return false;
    line = take(m_buffer.size(), m_buffer.size());
    return true;
}

bool ByteLineReader::readLine(ByteLine& line)
{
    const int newline = searchFilling(&ByteLineReader::indexOfNewline);
    if (newline < 0)
        return takeRest(line);
    line = take(newline, newline + 1);
    return true;
}

bool ByteLineReader::readLines(ByteLine& block)
{
    const int last = searchFilling(&ByteLineReader::indexOfLastNewline);
    if (last < 0)
        return takeRest(block);
    block = take(last + 1, last + 1);
    return true;
}

qint64 ByteLineReader::bytesLeft() const
{
    return (m_buffer.size() - m_position) + m_device.bytesAvailable();
}

bool ByteLineReader::readLineInPieces(const std::function<bool(const ByteLine& piece)>& consume)
{
    if (m_position >= m_buffer.size() && !fillBuffer())
        return false;
    for (;;) {
        const int newline = indexOfNewline(m_position);
        const int pieceEnd = newline >= 0 ? newline : m_buffer.size();
        const bool more = consume(ByteLine{at(m_position), at(pieceEnd)});
        m_position = newline >= 0 ? newline + 1 : pieceEnd;
        if (newline >= 0 || !more || !fillBuffer())
            return true;
    }
}
