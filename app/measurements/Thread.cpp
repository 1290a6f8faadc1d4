#include "Thread.h"

#include "CurveAccess.h"
#include "math/LineFit.h"
#include "math/SinglePrecision.h"
#include "math/ThreadMeanLine.h"

#include "plot/PlotWidget.h"

using namespace MeasurementMath;

namespace {

constexpr int kFewestProfilePoints = 3;

QVector<QPointF> curvePoints(const QCPCurve* curve)
{
    QVector<QPointF> points;
    points.reserve(curve->dataCount());
    for (auto it = curve->data()->constBegin(); it != curve->data()->constEnd(); ++it)
        points.append(QPointF(it->key, it->value));
    return points;
}

QPointF inSinglePrecision(double x, double y)
{
    return QPointF(toSinglePrecision(x), toSinglePrecision(y));
}

} // namespace

Thread::Thread(PlotWidget* plot, int traceCount)
    : ClickDistaceMeasurement(THREAD_MEAN_DIAMETER, plot, traceCount)
    , m_threadLine(adoptItem(new QCPItemLine(plot)))
{
    hideLine();
    onLeftRelease([this] { onRelease(); });
}

Thread::~Thread()
{
    if (PlotWidget* p = plot())
        p->removeItem(m_threadLine);
}

void Thread::onRelease()
{
    const QCPCurve* curve = plot()->selectionMarkerCurve();
    if (!curve || curve->dataCount() < kFewestProfilePoints)
        return;
    const QVector<QPointF> points = curvePoints(curve);
    const SlopedLine first = fitLine(points.cbegin(), points.cend());
    if (!isFinite(first))
        return;
    const SlopedLine line = ThreadMeanLine(points).search(first);
    setCoordinates({line.k, line.b});
    const double xf = points.constFirst().x();
    const double xl = points.constLast().x();
    m_threadLine->start->setCoords(inSinglePrecision(xf, line.b + line.k * xf));
    m_threadLine->end->setCoords(inSinglePrecision(xl, line.b + line.k * xl));
    finishAndAnnounce();
}

void Thread::scaleGeometry(double ratio)
{
    ClickDistaceMeasurement::scaleGeometry(ratio);
    for (QCPItemPosition* end : {m_threadLine->start, m_threadLine->end})
        end->setCoords(end->coords() * ratio);
}
