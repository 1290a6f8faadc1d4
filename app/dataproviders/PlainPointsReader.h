#pragma once

#include "BatchedRowAppender.h"

class AbstractTrace;
class QIODevice;

// Reads plain number files: one point per line, its columns (x, height,
// console height) as numbers separated by white space; numbers a line lacks
// read as 0, numbers beyond the trace's columns are ignored. A row whose x
// equals the x of the row appended before it is dropped.
class PlainPointsReader
{
public:
    // False at the first malformed number; the rows before its line stay in
    // the trace.
    static bool read(QIODevice& device, AbstractTrace& trace, const BatchedRowAppender::Handler& onBatch);
};
