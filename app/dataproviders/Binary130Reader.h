#pragma once

#include <QtGlobal>

#include "BatchedRowAppender.h"

class AbstractTrace;
class QIODevice;

// Reads a ".130" file: a 700-byte header holding the point count n (int32
// at offset 440) and the x step (double at 520), n int16 height samples,
// then a trailer whose first 8 bytes hold the height scale (a double); all
// little-endian. Point i becomes the row (i * step, sample i * scale, 0).
class Binary130Reader
{
public:
    static constexpr qint64 kHeaderSize = 700;
    static constexpr qint64 kCountOffset = 440;
    static constexpr qint64 kStepOffset = 520;
    static constexpr qint64 kScaleSize = 8;

    // False, with no point added, for a file shorter than its header,
    // samples and scale; n <= 0 reads as a file without points.
    static bool read(QIODevice& device, AbstractTrace& trace, const BatchedRowAppender::Handler& onBatch);
};
