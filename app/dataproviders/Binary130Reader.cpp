#include "Binary130Reader.h"

#include <QIODevice>
#include <QtEndian>

#include "AbstractTrace.h"
#include "ColumnReserve.h"

namespace {

bool readAt(QIODevice& device, qint64 offset, char* data, qint64 size)
{
    return device.seek(offset) && device.read(data, size) == size;
}

} // namespace

bool Binary130Reader::read(QIODevice& device, AbstractTrace& trace, const BatchedRowAppender::Handler& onBatch)
{
    const qint64 fileSize = device.size();
    if (fileSize < kHeaderSize)
        return false;

    char countBytes[4];
    char stepBytes[8];
    if (!readAt(device, kCountOffset, countBytes, sizeof countBytes)
        || !readAt(device, kStepOffset, stepBytes, sizeof stepBytes))
        return false;
    const qint32 count = qFromLittleEndian<qint32>(countBytes);
    const double step = qFromLittleEndian<double>(stepBytes);
    if (count <= 0)
        return true;

    const qint64 samplesSize = 2 * qint64(count);
    if (fileSize < kHeaderSize + samplesSize + kScaleSize)
        return false;
    char scaleBytes[kScaleSize];
    if (!readAt(device, kHeaderSize + samplesSize, scaleBytes, kScaleSize))
        return false;
    const double scale = qFromLittleEndian<double>(scaleBytes);
    if (!device.seek(kHeaderSize))
        return false;
    const QByteArray samples = device.read(samplesSize);
    if (samples.size() != samplesSize)
        return false;

    // The count is checked against the file's length, so it may size the
    // columns; sizing them leaves the console heights at 0.
    ProfileData rows(3);
    for (QVector<double>& column : rows) {
        reserveColumn(column, count);
        column.resize(count);
    }
    double* x = rows[0].data();
    double* height = rows[1].data();
    const char* sample = samples.constData();
    for (qint32 i = 0; i < count; ++i, sample += 2) {
        x[i] = i * step;
        height[i] = qFromLittleEndian<qint16>(sample) * scale;
    }
    BatchedRowAppender(trace, onBatch).addRows(rows);
    return true;
}
