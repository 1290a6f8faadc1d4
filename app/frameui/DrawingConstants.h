#pragma once

#include <QFont>
#include <QPen>

// The font and pens every plot object and measurement draws with.
extern const QFont kMonospaceFont;

extern const QPen kBlackPen;
extern const QPen kGreenPen;
extern const QPen kMagentaDashPen;
