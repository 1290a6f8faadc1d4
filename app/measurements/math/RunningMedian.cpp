#include "RunningMedian.h"

#include "KeySlack.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace MeasurementMath {

namespace {

// Ascending with not-a-number last: a strict order even on gaps in the data.
bool ascending(double a, double b)
{
    return a < b || (!std::isnan(a) && std::isnan(b));
}

// The values held by the running median: first in, first out, with the same
// values kept in ascending order beside them, so that a median is a lookup
// and each step moves at most the window's length of doubles.
class MedianWindow
{
public:
    void push(double key, double value)
    {
        m_keys.push_back(key);
        m_values.push_back(value);
        m_sorted.insert(std::upper_bound(m_sorted.begin(), m_sorted.end(), value, ascending), value);
    }

    // popOldest() then push(), moving only the values between the place the
    // oldest leaves and the place the new one takes, not each of them to the
    // end of the window.
    void replaceOldest(double key, double value)
    {
        const auto begin = m_sorted.begin();
        const auto leaving = std::lower_bound(begin, m_sorted.end(), m_values[m_oldest], ascending);
        auto entering = std::upper_bound(begin, m_sorted.end(), value, ascending);
        // The place counted as if the leaving value were gone already.
        if (entering > leaving)
            --entering;
        if (entering >= leaving)
            std::move(leaving + 1, entering + 1, leaving);
        else
            std::move_backward(entering, leaving, leaving + 1);
        *entering = value;
        ++m_oldest;
        m_keys.push_back(key);
        m_values.push_back(value);
    }

    double oldestKey() const { return m_keys[m_oldest]; }
    double median() const { return m_sorted[m_sorted.size() / 2]; }

private:
    std::vector<double> m_keys;
    std::vector<double> m_values;
    std::size_t m_oldest = 0;
    std::vector<double> m_sorted;
};

} // namespace

QVector<double> runningMedian(const QVector<double>& keys, const QVector<double>& values, double window)
{
    const int count = std::min(keys.size(), values.size());
    QVector<double> medians;
    if (count == 0)
        return medians;

    const double lastKey = keys[count - 1];
    const double slack = Algos::keySlack(keys[0], lastKey);
    MedianWindow held;
    held.push(keys[0], values[0]);
    int i = 0;
    for (; i < count && keys[i] - keys[0] < window / 2 - slack; ++i)
        held.push(keys[i], values[i]);

    for (; i < count && lastKey - keys[i] >= window / 2 - slack; ++i) {
        if (keys[i] - held.oldestKey() > window + slack) {
            medians.append(held.median());
            held.replaceOldest(keys[i], values[i]);
        } else {
            held.push(keys[i], values[i]);
        }
    }
    return medians;
}

DeviationCurve runningMedianCurve(const DeviationCurve& curve, double window)
{
    DeviationCurve filtered;
    filtered.deviations = runningMedian(curve.keys, curve.deviations, window);
    filtered.keys.reserve(filtered.deviations.size());
    for (int k = 0; k < filtered.deviations.size(); ++k)
        filtered.keys.append(curve.keys[k] + window);
    return filtered;
}

} // namespace MeasurementMath
