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
        if (!DecimalText::readNumbers(line.begin, line.end, point.data(), columns))
            return false;
        if (point[0] == lastX)
            continue;
        lastX = point[0];
        rows.addRow(point.constData());
    }
    return true;
}
