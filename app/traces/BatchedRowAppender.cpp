#include "BatchedRowAppender.h"

#include "AbstractTrace.h"

BatchedRowAppender::BatchedRowAppender(AbstractTrace& trace, Handler onBatch)
    : m_trace(trace), m_onBatch(std::move(onBatch)), m_pending(trace.dimension()), m_columns(trace.dimension())
{
    startBatch();
}

BatchedRowAppender::~BatchedRowAppender()
{
    flush();
}

void BatchedRowAppender::addRow(const double* values)
{
    for (int i = 0; i < m_columns.size(); ++i)
        m_columns[i][m_filled] = values[i];
    ++m_filled;
    ++m_rows;
    if (m_filled < kBatchSize)
        return;
    flush();
    if (m_onBatch)
        m_onBatch(m_rows - kBatchSize, kBatchSize);
}

void BatchedRowAppender::addRows(const ProfileData& rows)
{
    flush();
    m_trace.addPoints(rows);
    const int added = rows.isEmpty() ? 0 : rows[0].size();
    const int firstBatchEnd = (m_rows / kBatchSize + 1) * kBatchSize;
    m_rows += added;
    for (int batchEnd = firstBatchEnd; batchEnd <= m_rows; batchEnd += kBatchSize) {
        if (m_onBatch)
            m_onBatch(batchEnd - kBatchSize, kBatchSize);
    }
}

void BatchedRowAppender::flush()
{
    if (m_filled == 0)
        return;
    for (QVector<double>& column : m_pending)
        column.resize(m_filled);
    m_trace.addPoints(m_pending);
    m_filled = 0;
    startBatch();
}

void BatchedRowAppender::reserve(int rows)
{
    m_trace.reservePoints(m_filled + rows);
}

void BatchedRowAppender::startBatch()
{
    // The trace may share the columns it was given; data() then copies.
    for (int i = 0; i < m_pending.size(); ++i) {
        m_pending[i].resize(kBatchSize);
        m_columns[i] = m_pending[i].data();
    }
}
