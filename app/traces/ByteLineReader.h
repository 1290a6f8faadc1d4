#pragma once

#include <QByteArray>

#include <functional>
#include <memory>

class QIODevice;
class QTextDecoder;

// A line of bytes inside the reader's buffer, without its LF.
struct ByteLine
{
    const char* begin = nullptr;
    const char* end = nullptr;

    bool isEmpty() const { return begin == end; }
    // Without the white space (blank, TAB, CR, ...) at both ends.
    ByteLine trimmed() const;
    QByteArray toByteArray() const { return QByteArray(begin, int(end - begin)); }
};

// Reads a device line by line in large chunks, as UTF-8 bytes: one UTF-8
// byte-order mark at the start is skipped, and text that starts with a UTF-16
// or UTF-32 byte-order mark is decoded (without that mark) and read as UTF-8.
// The same rule serves every reader of trace files, so they all agree on
// what a file's lines are.
class ByteLineReader
{
public:
    explicit ByteLineReader(QIODevice& device);
    ~ByteLineReader();

    ByteLineReader(const ByteLineReader&) = delete;
    ByteLineReader& operator=(const ByteLineReader&) = delete;

    // The next line; false at the end of the input. The line stays valid
    // until the next call.
    bool readLine(ByteLine& line);

    // Every whole line the reader holds at once, for readers of many short
    // lines: the bytes from the next line up to and with the last LF read so
    // far, or to the end of the input for a last line without LF. The block
    // stays valid until the next call; unread() gives back its bytes from a
    // position on. False at the end of the input.
    bool readLines(ByteLine& block);
    void unread(const char* position) { m_position = int(position - m_buffer.constData()); }
    // The bytes not read yet, those of the device counted as they stand in
    // it (before any decoding).
    qint64 bytesLeft() const;

    // Hands the next line to `consume` in pieces as it is read, so that a
    // long line is never held whole; the reader stops inside the line after
    // a piece for which `consume` returns false. False at the end of the input.
    bool readLineInPieces(const std::function<bool(const ByteLine& piece)>& consume);

private:
    bool fillBuffer();
    bool appendChunk();
    const char* at(int index) const { return m_buffer.constData() + index; }
    // The first or last LF of the buffer from `from` on; -1 for none.
    int indexOfNewline(int from) const;
    int indexOfLastNewline(int from) const;
    int searchFilling(int (ByteLineReader::*find)(int from) const);
    ByteLine take(int end, int next);
    bool takeRest(ByteLine& line);

    QIODevice& m_device;
    std::unique_ptr<QTextDecoder> m_decoder;
    QByteArray m_buffer;
    int m_position = 0;
    bool m_deviceDone = false;
};
