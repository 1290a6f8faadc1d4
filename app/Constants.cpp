#include "Constants.h"

namespace {

QPen sharedPen(Qt::GlobalColor color, qreal width, Qt::PenStyle style)
{
    return QPen(QBrush(color, Qt::SolidPattern), width, style, Qt::SquareCap, Qt::BevelJoin);
}

} // namespace

const QString kUnknownText = QStringLiteral("неизвестно");

const QFont kMonospaceFont = QFont(QStringLiteral("Monospace"));

const QPen kBlackPen = sharedPen(Qt::black, 0, Qt::SolidLine);
const QPen kGreenPen = sharedPen(Qt::green, 0, Qt::SolidLine);
const QPen kMagentaDashPen = sharedPen(Qt::magenta, 1, Qt::DashLine);

const QVector<double> kCutOffValues = {8000, 2500, 800, 250, 80};

double cutOffForIndex(int index)
{
    const bool listed = index >= 0 && index < kCutOffValues.size();
    return kCutOffValues.at(listed ? index : kDefaultCutOffIndex);
}
