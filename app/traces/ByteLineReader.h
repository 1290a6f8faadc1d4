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

    // Hands the next line to `consume` in pieces as it is read, so that a
    // long line is never held whole; the reader stops inside the line after
    // a piece for which `consume` returns false. False at the end of the input.
    bool readLineInPieces(const std::function<bool(const ByteLine& piece)>& consume);

private:
    bool fillBuffer();
    bool appendChunk();
    const char* at(int index) const { return m_buffer.constData() + index; }

    QIODevice& m_device;
    std::unique_ptr<QTextDecoder> m_decoder;
    QByteArray m_buffer;
    int m_position = 0;
    bool m_deviceDone = false;
};
