#include "PolylineClipping.h"

namespace PolylineClipping {

namespace {

// Liang-Barsky: narrows [t0, t1] to the part of the segment on the inner side of one border.
bool narrow(double p, double q, double& t0, double& t1)
{
    if (p == 0)
        return q >= 0;
    const double t = q / p;
    if (p < 0) {
        if (t > t1)
            return false;
        if (t > t0)
            t0 = t;
    } else {
        if (t < t0)
            return false;
        if (t < t1)
            t1 = t;
    }
    return true;
}

} // namespace

bool clipSegment(const QRectF& rect, const QPointF& a, const QPointF& b, QPointF& from, QPointF& to,
                 bool& reachesEnd)
{
    const QPointF d = b - a;
    double t0 = 0;
    double t1 = 1;
    if (!narrow(-d.x(), a.x() - rect.left(), t0, t1) || !narrow(d.x(), rect.right() - a.x(), t0, t1)
        || !narrow(-d.y(), a.y() - rect.top(), t0, t1) || !narrow(d.y(), rect.bottom() - a.y(), t0, t1))
        return false;
    from = t0 > 0 ? a + t0 * d : a;
    reachesEnd = t1 >= 1;
    to = reachesEnd ? b : a + t1 * d;
    return true;
}

} // namespace PolylineClipping
