#include "AbstractTrace.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>

#include "ColumnReserve.h"

namespace {

std::atomic<int> traceCounter{0};

int rowCount(const ProfileData& store)
{
    return store.isEmpty() ? 0 : store.first().size();
}

// Appends to the columns the store has; a store reduced by a filter to fewer
// columns takes only those.
void appendPoint(ProfileData& store, const QVector<double>& point)
{
    const int columns = std::min(store.size(), point.size());
    for (int i = 0; i < columns; ++i)
        store[i].append(point[i]);
}

// QVector's += adopts `rows` when `column` is empty, dropping any room
// reserved in it; the rows are copied into that room instead.
void appendColumn(QVector<double>& column, const QVector<double>& rows)
{
    if (!column.isEmpty() || column.capacity() < rows.size()) {
        column += rows;
        return;
    }
    column.resize(rows.size());
    std::copy(rows.cbegin(), rows.cend(), column.begin());
}

void emptyStore(ProfileData& store, int dimension)
{
    store.resize(dimension);
    for (QVector<double>& column : store)
        column.clear();
}

} // namespace

AbstractTrace::AbstractTrace(int dimension)
    : id(traceCounter++)
    , creationTime(QDateTime::currentDateTime())
    , type(-1)
    , m_dimension(dimension)
    , m_raw(dimension)
    , m_processed(dimension)
    , m_display(dimension)
    , m_spares(2 * dimension)
{
}

AbstractTrace::~AbstractTrace() = default;

LockedTraceData AbstractTrace::lockedData() const
{
    auto locker = std::make_shared<QMutexLocker>(&m_mutex);
    return {&m_display, std::move(locker)};
}

LockedTraceData AbstractTrace::lockedRawData() const
{
    auto locker = std::make_shared<QMutexLocker>(&m_mutex);
    return {&m_raw, std::move(locker)};
}

bool AbstractTrace::tryReadRawData(int timeoutMs, const std::function<void(const ProfileData&)>& read) const
{
    const std::unique_lock<QMutex> lock(m_mutex, std::chrono::milliseconds(timeoutMs));
    if (!lock.owns_lock())
        return false;
    read(m_raw);
    return true;
}

QString AbstractTrace::name() const
{
    QMutexLocker lock(&m_textMutex);
    return m_name;
}

void AbstractTrace::setName(const QString& name)
{
    QMutexLocker lock(&m_textMutex);
    m_name = name;
}

QString AbstractTrace::filePath() const
{
    QMutexLocker lock(&m_textMutex);
    return m_filePath;
}

void AbstractTrace::setFilePath(const QString& path)
{
    QMutexLocker lock(&m_textMutex);
    m_filePath = path;
}

double AbstractTrace::length() const
{
    QMutexLocker lock(&m_mutex);
    if (rowCount(m_display) == 0)
        return 0;
    return m_display.first().last() - m_display.first().first();
}

void AbstractTrace::clearPoints()
{
    QMutexLocker rebuildLock(&m_rebuildMutex);
    QMutexLocker lock(&m_mutex);
    emptyStore(m_raw, m_dimension);
    emptyStore(m_processed, m_dimension);
    emptyStore(m_display, m_dimension);
    ++m_displayRevision;
}

void AbstractTrace::addPointProcessor(IDataSinglePointProcessor* processor)
{
    QMutexLocker lock(&m_processorMutex);
    m_pointProcessors.append(std::shared_ptr<IDataSinglePointProcessor>(processor));
}

void AbstractTrace::clearPointProcessors()
{
    QMutexLocker lock(&m_processorMutex);
    m_pointProcessors.clear();
}

void AbstractTrace::applyPointProcessors(QVector<double>& point) const
{
    QMutexLocker lock(&m_processorMutex);
    for (const auto& processor : m_pointProcessors)
        processor->process(point);
}

void AbstractTrace::addPoint(QVector<double> point)
{
    if (point.size() < m_dimension)
        return;
    point.resize(m_dimension);
    QVector<double> converted = point;
    applyPointProcessors(converted);

    QMutexLocker lock(&m_mutex);
    appendPoint(m_raw, point);
    appendPoint(m_processed, converted);
    appendPoint(m_display, converted);
    ++m_displayRevision;
}

void AbstractTrace::addPoints(const ProfileData& rows)
{
    if (rows.size() < m_dimension)
        return;
    int n = rowCount(rows);
    for (int i = 1; i < m_dimension; ++i)
        n = std::min(n, rows[i].size());

    ProfileData added(m_dimension);
    for (int i = 0; i < m_dimension; ++i)
        added[i] = rows[i].mid(0, n);
    // The columns that no point processor changes go to every store as they
    // are; the others are converted in new columns.
    SpareColumns fresh(0);
    const ProfileData converted = convertedRows(added, n, fresh, false);
    QMutexLocker lock(&m_mutex);
    for (int i = 0; i < m_dimension; ++i) {
        appendColumn(m_raw[i], added[i]);
        appendColumn(m_processed[i], converted[i]);
        if (i < m_display.size())
            appendColumn(m_display[i], converted[i]);
    }
    ++m_displayRevision;
}

// The room is made in new columns outside the lock: reserving long columns
// takes long enough to hold up the GUI drawing the trace meanwhile. Under the
// lock the columns only change places, with the rows they hold.
void AbstractTrace::reservePoints(int rows)
{
    if (rows <= 0)
        return;
    QVector<int> sizes;
    {
        QMutexLocker lock(&m_mutex);
        for (const ProfileData* store : {&m_raw, &m_processed, &m_display}) {
            for (const QVector<double>& column : *store)
                sizes.append(column.size());
        }
    }
    QVector<QVector<double>> room(sizes.size());
    for (int k = 0; k < sizes.size(); ++k)
        reserveColumn(room[k], sizes[k] + rows);
    QMutexLocker lock(&m_mutex);
    int k = 0;
    for (ProfileData* store : {&m_raw, &m_processed, &m_display}) {
        for (QVector<double>& column : *store) {
            // Rows added meanwhile may have taken up the room.
            if (k < room.size() && column.size() + rows <= room[k].capacity() && column.capacity() < room[k].capacity()) {
                appendColumn(room[k], column);
                column.swap(room[k]);
            }
            ++k;
        }
    }
}

void AbstractTrace::addPostProcessor(IDataPostProcessor* processor)
{
    QMutexLocker lock(&m_processorMutex);
    m_postProcessors.append(std::shared_ptr<IDataPostProcessor>(processor));
}

void AbstractTrace::clearPostProcessors()
{
    QMutexLocker lock(&m_processorMutex);
    m_postProcessors.clear();
}

void AbstractTrace::applyPostProcessors()
{
    QMutexLocker rebuildLock(&m_rebuildMutex);
    ProfileData display;
    {
        QMutexLocker lock(&m_mutex);
        display = m_processed;
    }
    const int covered = rowCount(display);
    for (const auto& processor : postProcessorsSnapshot())
        processor->process(display);
    installDisplay(display, covered);
    m_spares.keep(std::move(display));
}

void AbstractTrace::reprocess()
{
    QMutexLocker rebuildLock(&m_rebuildMutex);
    rebuild();
}

void AbstractTrace::crop(int from, int to)
{
    QMutexLocker rebuildLock(&m_rebuildMutex);
    {
        QMutexLocker lock(&m_mutex);
        if (from < 0 || to < from || rowCount(m_raw) < to)
            return;
        // The processed rows are cut alike, so that they stay row for row
        // with the raw ones for points arriving during the rebuild.
        for (QVector<double>& column : m_raw)
            column = column.mid(from, to - from);
        for (QVector<double>& column : m_processed)
            column = column.mid(from, to - from);
    }
    rebuild();
}

std::pair<int, int> AbstractTrace::rawRowsWithinDisplayX(double firstX, double lastX) const
{
    QVector<double> processedX;
    {
        QMutexLocker lock(&m_mutex);
        if (!m_processed.isEmpty())
            processedX = m_processed.first();
    }
    const PostProcessors postProcessors = postProcessorsSnapshot();
    for (double& x : processedX) {
        for (const auto& processor : postProcessors)
            x = processor->mapX(x);
    }
    processDisplayX(processedX);
    int from = -1;
    int to = 0;
    for (int row = 0; row < processedX.size(); ++row) {
        const double x = processedX.at(row);
        if (x >= firstX && x <= lastX) {
            if (from < 0)
                from = row;
            to = row + 1;
        }
    }
    return from < 0 ? std::make_pair(0, 0) : std::make_pair(from, to);
}

void AbstractTrace::processDisplayX(QVector<double>&) const {}

void AbstractTrace::processData()
{
    QMutexLocker rebuildLock(&m_rebuildMutex);
    ProfileData display;
    int covered = 0;
    {
        QMutexLocker lock(&m_mutex);
        display = m_display;
        covered = rowCount(m_processed);
    }
    processDisplay(display, m_spares);
    installDisplay(display, covered);
    m_spares.keep(std::move(display));
}

std::string AbstractTrace::creationDateString() const
{
    return creationTime.toLocalTime().toString(QStringLiteral("dd-MM-yyyy HH:mm:ss")).toStdString();
}

// Called with m_rebuildMutex held. The stores replaced become the spares of
// the next rebuild.
void AbstractTrace::rebuild()
{
    ProfileData raw;
    {
        QMutexLocker lock(&m_mutex);
        raw = m_raw;
    }
    const int n = rowCount(raw);
    ProfileData processed = convertedRows(raw, n, m_spares, true);
    raw = ProfileData();
    ProfileData display = processed;
    for (const auto& processor : postProcessorsSnapshot())
        processor->process(display);
    processDisplay(display, m_spares);
    installStores(processed, display, n);
    // The display store's columns first: those it shares with the processed
    // store are then no longer shared when that one is kept.
    m_spares.keep(std::move(display));
    m_spares.keep(std::move(processed));
}

// The first `count` rows of the first m_dimension columns of `rows` after
// the point processors, each converting the whole block in turn. The columns
// a processor changes are copied into columns taken from `spares`; the
// others are shared with `rows` unless `copyUnchanged`. A rebuild copies
// them: a store sharing the raw columns would copy them under the lock at
// the next appended point.
ProfileData AbstractTrace::convertedRows(const ProfileData& rows, int count, SpareColumns& spares,
                                         bool copyUnchanged) const
{
    const PointProcessors processors = pointProcessorsSnapshot();
    ProfileData converted(m_dimension);
    for (int i = 0; i < m_dimension; ++i) {
        const bool changed = std::any_of(processors.cbegin(), processors.cend(),
                                         [i](const auto& processor) { return processor->changesColumn(i); });
        if (!changed && !copyUnchanged) {
            converted[i] = rows[i].mid(0, count);
            continue;
        }
        converted[i] = spares.take(count);
        std::copy(rows[i].cbegin(), rows[i].cbegin() + count, converted[i].begin());
    }
    for (const auto& processor : processors)
        processor->processRows(converted, 0, count);
    return converted;
}

// Swaps the new stores in; the arguments get the stores they replace.
void AbstractTrace::installStores(ProfileData& processed, ProfileData& display, int coveredRows)
{
    QMutexLocker lock(&m_mutex);
    appendProcessedRowsFrom(processed, coveredRows);
    appendProcessedRowsFrom(display, coveredRows);
    m_processed.swap(processed);
    m_display.swap(display);
    ++m_displayRevision;
}

void AbstractTrace::installDisplay(ProfileData& display, int coveredRows)
{
    QMutexLocker lock(&m_mutex);
    appendProcessedRowsFrom(display, coveredRows);
    m_display.swap(display);
    ++m_displayRevision;
}

// Appends to the columns `store` has the rows that addPoint appended to the
// processed store while a rebuild computed `store`; called with m_mutex held.
void AbstractTrace::appendProcessedRowsFrom(ProfileData& store, int firstRow) const
{
    const int columns = std::min(store.size(), m_processed.size());
    for (int i = 0; i < columns; ++i) {
        // Appending nothing to a column shared with another store would
        // still copy it.
        if (firstRow < m_processed[i].size())
            store[i] += m_processed[i].mid(firstRow);
    }
}

AbstractTrace::PointProcessors AbstractTrace::pointProcessorsSnapshot() const
{
    QMutexLocker lock(&m_processorMutex);
    return m_pointProcessors;
}

QVector<std::shared_ptr<const IDataPostProcessor>> AbstractTrace::postProcessors() const
{
    QMutexLocker lock(&m_processorMutex);
    return {m_postProcessors.cbegin(), m_postProcessors.cend()};
}

AbstractTrace::PostProcessors AbstractTrace::postProcessorsSnapshot() const
{
    QMutexLocker lock(&m_processorMutex);
    return m_postProcessors;
}
