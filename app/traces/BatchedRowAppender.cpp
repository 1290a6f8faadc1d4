#include "BatchedRowAppender.h"

#include "AbstractTrace.h"

BatchedRowAppender::BatchedRowAppender(AbstractTrace& trace, Handler onBatch)
    : m_trace(trace), m_onBatch(std::move(onBatch)), m_pending(trace.dimension())
{
    for (QVector<double>& column : m_pending)
        column.reserve(kBatchSize);
}

BatchedRowAppender::~BatchedRowAppender()
{
    flush();
}

void BatchedRowAppender::addRow(const double* values)
{
    for (int i = 0; i < m_pending.size(); ++i)
        m_pending[i].append(values[i]);
    ++m_rows;
    if (m_rows % kBatchSize != 0)
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
    if (m_pending.isEmpty() || m_pending[0].isEmpty())
        return;
    m_trace.addPoints(m_pending);
    for (QVector<double>& column : m_pending)
        column.resize(0);
}
