#include "SpanFingerprint.h"

#include <cstring>

SpanFingerprint::SpanFingerprint(const QVector<CurveSpan>& spans)
{
    m_entries.reserve(spans.size());
    for (const CurveSpan& span : spans) {
        Entry entry;
        entry.first = span.first;
        entry.last = span.last;
        entry.revision = span.revision;
        if (!span.isEmpty()) {
            entry.firstKey = span.first->key;
            entry.firstValue = span.first->value;
            entry.lastKey = (span.last - 1)->key;
            entry.lastValue = (span.last - 1)->value;
        }
        m_entries.append(entry);
    }
}

// Coordinates compare bit for bit, so that a gap (not a number) equals itself.
bool SpanFingerprint::Entry::operator==(const Entry& other) const
{
    const auto same = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    return first == other.first && last == other.last && revision == other.revision && same(firstKey, other.firstKey)
        && same(firstValue, other.firstValue) && same(lastKey, other.lastKey) && same(lastValue, other.lastValue);
}
