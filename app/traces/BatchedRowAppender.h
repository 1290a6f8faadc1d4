#pragma once

#include <QVarLengthArray>

#include <functional>

#include "ProfileData.h"

class AbstractTrace;

// Appends a reader's rows to a trace in batches of 500 and announces each
// full batch: after the 500th row (0, 500), after the 1000th (500, 500), and
// so on. The rows after the last full batch are appended by flush() (or the
// destructor) and announced by no batch.
class BatchedRowAppender
{
public:
    using Handler = std::function<void(int from, int count)>;

    static constexpr int kBatchSize = 500;

    // `onBatch` may be empty: the rows are then only appended.
    BatchedRowAppender(AbstractTrace& trace, Handler onBatch);
    ~BatchedRowAppender();

    BatchedRowAppender(const BatchedRowAppender&) = delete;
    BatchedRowAppender& operator=(const BatchedRowAppender&) = delete;

    // One value per column of the trace.
    void addRow(const double* values);
    // Many rows (columns as in the trace's stores) at once: appended with
    // the rows held back, then every batch they complete is announced.
    void addRows(const ProfileData& rows);
    void flush();
    // Makes room in the trace for `rows` more rows than added so far.
    void reserve(int rows);

private:
    // Sizes the pending columns for a whole batch and takes their data.
    void startBatch();

    AbstractTrace& m_trace;
    Handler m_onBatch;
    ProfileData m_pending;
    // The data of the pending columns, written row by row.
    QVarLengthArray<double*, 3> m_columns;
    // Rows waiting in the pending columns.
    int m_filled = 0;
    int m_rows = 0;
};
