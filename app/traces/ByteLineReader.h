#pragma once

#include <QByteArray>

class QIODevice;

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

// Reads a device line by line in large chunks, as UTF-8 bytes: a UTF-8
// byte-order mark is skipped, and text that starts with a UTF-16 or UTF-32
// byte-order mark is decoded and read as UTF-8. The same rule serves every
// reader of trace files, so they all agree on what a file's lines are.
class ByteLineReader
{
public:
    explicit ByteLineReader(QIODevice& device);

    ByteLineReader(const ByteLineReader&) = delete;
    ByteLineReader& operator=(const ByteLineReader&) = delete;

    // The next line; false at the end of the input. The line stays valid
    // until the next call.
    bool readLine(ByteLine& line);

private:
    void decodeUnicodeText();
    bool fillBuffer();

    QIODevice& m_device;
    QByteArray m_buffer;
    int m_position = 0;
    bool m_deviceDone = false;
};
