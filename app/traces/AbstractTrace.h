#pragma once

#include <QDateTime>
#include <QMutex>
#include <QString>
#include <QVector>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "IDataPostProcessor.h"
#include "IDataSinglePointProcessor.h"
#include "LockedTraceData.h"
#include "ProfileData.h"
#include "SpareColumns.h"

// One recorded pass of the probe, kept three times: as added (raw), after the
// point processors (processed) and after the processing chain (display).
//
// Points may be added on a reading thread while the GUI reads the display
// store through lockedData(). Every change of a store happens under the
// trace's mutex; rebuilds compute into local columns outside it and swap
// them in, so a holder of LockedTraceData never sees a store half built.
// Rebuilds, clearing and cropping are serialised among themselves; points
// that arrive while a rebuild computes are kept and appended unfiltered.
class AbstractTrace
{
public:
    explicit AbstractTrace(int dimension);
    virtual ~AbstractTrace();

    AbstractTrace(const AbstractTrace&) = delete;
    AbstractTrace& operator=(const AbstractTrace&) = delete;

    LockedTraceData lockedData() const;
    LockedTraceData lockedRawData() const;
    // Runs `read` on the raw store under the trace's lock when the lock comes
    // free within `timeoutMs`; false, without running it, otherwise. For the
    // GUI, which must not wait for a reading thread holding the lock.
    bool tryReadRawData(int timeoutMs, const std::function<void(const ProfileData&)>& read) const;
    int dimension() const { return m_dimension; }
    // Changes with every change of the display store, so that a view of it
    // can tell whether it has to copy it again.
    quint64 displayRevision() const { return m_displayRevision.load(); }

    QString name() const;
    void setName(const QString& name);
    QString filePath() const;
    void setFilePath(const QString& path);
    void setType(int type) { this->type = type; }

    // Last minus first x of the display store; 0 without points.
    double length() const;
    // Empties every column of the three stores, keeping their capacity.
    void clearPoints();

    void addPointProcessor(IDataSinglePointProcessor* processor);
    void clearPointProcessors();
    void applyPointProcessors(QVector<double>& point) const;
    // Appends the point (one value per column) to the raw store and, after
    // the point processors, to the processed and display stores. A point
    // with fewer values than the trace has columns is ignored.
    void addPoint(QVector<double> point);
    // addPoint for each row of `rows` (columns as in the stores), with one
    // lock for all of them; readers of long files append in batches this way.
    // Fewer columns than the trace has are ignored.
    void addPoints(const ProfileData& rows);
    // Makes room in every store for `rows` more rows, so that a reader that
    // knows about how many rows follow appends them without the stores
    // growing step by step.
    void reservePoints(int rows);

    void addPostProcessor(IDataPostProcessor* processor);
    void clearPostProcessors();
    // The processing chain in its order, to look at.
    QVector<std::shared_ptr<const IDataPostProcessor>> postProcessors() const;
    // Display store := processed store run through the post-processors.
    void applyPostProcessors();
    // Rebuilds the processed and display stores from the raw points.
    void reprocess();
    // Keeps the raw points from index `from` up to `to` - 1 and rebuilds;
    // does nothing for a range outside the raw points.
    void crop(int from, int to);
    // The raw rows [from, to) from the first to the last one whose x, as the
    // point processors, the post-processors and then the trace kind's own
    // processing map it, lies within [firstX, lastX]; {0, 0} when none does.
    std::pair<int, int> rawRowsWithinDisplayX(double firstX, double lastX) const;
    // The trace kind's own processing of the display store.
    void processData();

    // Creation time in local time as "dd-MM-yyyy HH:mm:ss", UTF-8.
    std::string creationDateString() const;

    std::string controllerName;
    const int id;
    QDateTime creationTime;
    int type;

protected:
    // `spares` gives columns to write new values into, so that a rebuild
    // reuses the memory of the stores it replaced.
    virtual void processDisplay(ProfileData& display, SpareColumns& spares) const = 0;
    // What processDisplay() does to the x column, given whole, apart from
    // dropping rows at its ends; nothing by default.
    virtual void processDisplayX(QVector<double>& x) const;

private:
    using PointProcessors = QVector<std::shared_ptr<IDataSinglePointProcessor>>;
    using PostProcessors = QVector<std::shared_ptr<IDataPostProcessor>>;

    void rebuild();
    void installStores(ProfileData processed, ProfileData display, int coveredRows);
    void installDisplay(ProfileData display, int coveredRows);
    ProfileData convertedRows(const ProfileData& rows, int count, SpareColumns& spares, bool copyUnchanged) const;
    void appendProcessedRowsFrom(ProfileData& store, int firstRow) const;
    PointProcessors pointProcessorsSnapshot() const;
    PostProcessors postProcessorsSnapshot() const;

    const int m_dimension;

    // Guards the three stores; the lock LockedTraceData holds.
    mutable QMutex m_mutex;
    // Serialises rebuilding, clearing and cropping; guards m_spares.
    QMutex m_rebuildMutex;
    // Guards the two processor lists.
    mutable QMutex m_processorMutex;
    mutable QMutex m_textMutex;

    ProfileData m_raw;
    ProfileData m_processed;
    ProfileData m_display;
    // What the last rebuild replaced of the processed and display stores.
    SpareColumns m_spares;
    std::atomic<quint64> m_displayRevision{0};
    QString m_name;
    QString m_filePath;
    PointProcessors m_pointProcessors;
    PostProcessors m_postProcessors;
};
