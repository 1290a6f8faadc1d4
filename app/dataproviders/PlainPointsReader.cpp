#include "PlainPointsReader.h"

#include <limits>

#include "AbstractTrace.h"
#include "ByteLineReader.h"
#include "DecimalText.h"

bool PlainPointsReader::read(QIODevice& device, AbstractTrace& trace, const BatchedRowAppender::Handler& onBatch)
{
    const int columns = trace.dimension();
    ByteLineReader reader(device);
    BatchedRowAppender rows(trace, onBatch);
    QVector<double> point(columns);
    double lastX = std::numeric_limits<double>::min();
    ByteLine line;
    while (reader.readLine(line)) {
        point.fill(0.0);
        const char* position = line.begin;
        for (int c = 0; c < columns; ++c) {
            const DecimalText::ReadStatus status = DecimalText::readNumber(position, line.end, point[c]);
            if (status == DecimalText::ReadStatus::Malformed)
                return false;
            if (status == DecimalText::ReadStatus::Missing)
                break;
        }
        if (point[0] == lastX)
            continue;
        lastX = point[0];
        rows.addRow(point.constData());
    }
    return true;
}
