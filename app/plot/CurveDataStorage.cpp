#include "CurveDataStorage.h"

#include "ColumnReserve.h"

namespace {

// Smaller blocks stay on ordinary pages, as the trace's columns do.
constexpr std::size_t kHugePageAdviceBytes = std::size_t(1) << 20;

// Reaches the container's protected storage through member pointers, which
// the language allows from a derived class. The points of the container are
// the storage's values after the first `preallocated` ones.
struct ContainerStorage : QCPCurveDataContainer
{
    static QVector<QCPCurveData>& of(QCPCurveDataContainer& data) { return data.*(&ContainerStorage::mData); }
    static int preallocatedOf(const QCPCurveDataContainer& data) { return data.*(&ContainerStorage::mPreallocSize); }
};

} // namespace

void reserveCurveData(QCPCurveDataContainer& data, int points)
{
    QVector<QCPCurveData>& storage = ContainerStorage::of(data);
    const int needed = points + ContainerStorage::preallocatedOf(data);
    if (needed <= storage.capacity())
        return;
    storage.reserve(needed);
    const std::size_t bytes = std::size_t(storage.capacity()) * sizeof(QCPCurveData);
    if (bytes >= kHugePageAdviceBytes)
        adviseHugePages(storage.constData(), bytes);
}

void appendCurvePoints(QCPCurveDataContainer& data, const double* keys, const double* values, int count,
                       double factor)
{
    if (count <= 0)
        return;
    const double tStart = data.isEmpty() ? 0 : (data.constEnd() - 1)->t + 1.0;
    QVector<QCPCurveData>& storage = ContainerStorage::of(data);
    const int oldSize = storage.size();
    storage.resize(oldSize + count);
    QCPCurveData* point = storage.data() + oldSize;
    for (int i = 0; i < count; ++i)
        point[i] = QCPCurveData(tStart + i, keys[i] * factor, values[i] * factor);
}
