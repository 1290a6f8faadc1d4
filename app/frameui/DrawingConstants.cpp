#include "DrawingConstants.h"

namespace {

QPen sharedPen(Qt::GlobalColor color, qreal width, Qt::PenStyle style)
{
    return QPen(QBrush(color, Qt::SolidPattern), width, style, Qt::SquareCap, Qt::BevelJoin);
}

} // namespace

const QFont kMonospaceFont = QFont(QStringLiteral("Monospace"));

const QPen kBlackPen = sharedPen(Qt::black, 0, Qt::SolidLine);
const QPen kGreenPen = sharedPen(Qt::green, 0, Qt::SolidLine);
const QPen kMagentaDashPen = sharedPen(Qt::magenta, 1, Qt::DashLine);
