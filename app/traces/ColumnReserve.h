#pragma once

#include <QVector>

#include <cstddef>

// Makes room in a column for `capacity` values. A column of a megabyte or
// more is reserved in whole huge pages and the kernel is asked to back it
// with them: filling tens of megabytes of fresh 4 KiB pages costs more than
// parsing the numbers that go into them (one page fault each, far dearer
// under a hypervisor); numpy advises its large arrays the same way. The
// values and the size of the column do not change; without the advice the
// column simply stays on ordinary pages.
void reserveColumn(QVector<double>& column, int capacity);

// Asks the kernel to back the `bytes` from `data` on, a block of their own
// that is mostly untouched yet, with huge pages, as reserveColumn does.
void adviseHugePages(const void* data, std::size_t bytes);
