#pragma once

#include "algos/PointRotation.h"

#include <QPointF>

#include <vector>

// The levelling in force on a measurement tab: the rotations that lay-flat
// measurements turned the trace curves by, in the order they came. Each
// remembers the display unit it was made in and turns a trace point in that
// unit, exactly as the curves were turned then, so that curves filled again
// from the traces in any display unit come out levelled as they were (and
// levelled twice when they were levelled twice).
class ContourLevelling
{
public:
    // A rotation by the angle (radians, counter-clockwise) about the centre,
    // both as a lay-flat measurement reported them: the centre in plot
    // coordinates of a display unit worth unitsPerMicrometre plot units per
    // micrometre; centre and angle pass through single precision.
    void add(double angle, const QPointF& centre, double unitsPerMicrometre);
    void clear() { m_rotations.clear(); }
    bool isEmpty() const { return m_rotations.empty(); }

    // A trace point (micrometres) turned by every rotation in turn.
    QPointF operator()(QPointF micrometres) const
    {
        for (const Rotation& rotation : m_rotations)
            micrometres = rotation.turn(micrometres * rotation.unitsPerMicrometre) / rotation.unitsPerMicrometre;
        return micrometres;
    }

private:
    struct Rotation
    {
        Algos::PointRotation turn;
        double unitsPerMicrometre;
    };

    std::vector<Rotation> m_rotations;
};
