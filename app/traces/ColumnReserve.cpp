#include "ColumnReserve.h"

#include <cstddef>
#include <cstdint>
#include <limits>

#if defined(__linux__)
#include <linux/mman.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

constexpr std::size_t kHugePageBytes = std::size_t(2) << 20;
// What the vector's and the allocator's headers add to a block; a block
// that stays a whole number of huge pages with them gets its own mapping
// aligned to huge pages.
constexpr std::size_t kHeaderAllowance = 128;
constexpr int kValuesPerHugePage = int(kHugePageBytes / sizeof(double));

// `capacity` rounded up to fill whole huge pages, headers included.
int hugePageCapacity(int capacity)
{
    const int pages = capacity / kValuesPerHugePage + 1;
    const std::int64_t rounded = std::int64_t(pages) * kValuesPerHugePage - int(kHeaderAllowance / sizeof(double));
    return rounded >= capacity && rounded <= std::numeric_limits<int>::max() ? int(rounded) : capacity;
}

} // namespace

void adviseHugePages(const void* data, std::size_t bytes)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    const std::uintptr_t pageBytes = std::uintptr_t(sysconf(_SC_PAGESIZE));
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t firstPage = begin & ~(pageBytes - 1);
    const std::uintptr_t end = begin + bytes;
    // Only advice: a refusal leaves the column on ordinary pages.
    madvise(reinterpret_cast<void*>(firstPage), end - firstPage, MADV_HUGEPAGE);
#if defined(MADV_COLLAPSE)
    // The allocator has written its header into the first page already,
    // which keeps the huge page around it from forming at the next faults:
    // that one is formed now. The rest stays untouched until filled.
    const std::uintptr_t firstHugePage = begin & ~std::uintptr_t(kHugePageBytes - 1);
    madvise(reinterpret_cast<void*>(firstHugePage), kHugePageBytes, MADV_COLLAPSE);
#endif
#else
    Q_UNUSED(data);
    Q_UNUSED(bytes);
#endif
}

void reserveColumn(QVector<double>& column, int capacity)
{
    if (capacity <= column.capacity())
        return;
    if (std::size_t(capacity) * sizeof(double) < kHugePageBytes / 2) {
        column.reserve(capacity);
        return;
    }
    column.reserve(hugePageCapacity(capacity));
    adviseHugePages(column.constData(), std::size_t(column.capacity()) * sizeof(double));
}
