#pragma once

#include "ProfileData.h"

class AbstractTrace;
class NearestPointSearch;

// Joining of two traces of one long part measured one after the other with
// an overlap: the right trace is shifted in x and height until the start of
// it lies on the end of the left trace, and the joined profile is the left
// trace up to where the shifted right trace begins, then the whole right one.
// Only the display stores' x and height columns are read.

struct OverlapSegments
{
    ProfileData tail; // the end of the left trace
    ProfileData head; // the start of the right trace
};

struct AxisShift
{
    double shift = 0;
    double error = 0;
};

struct SegmentShift
{
    double x = 0;
    double height = 0;
};

// The joined profile (x, height) for an overlap given in millimetres. When a
// trace is empty or the overlap holds no point of one of them, the traces are
// merged unshifted.
ProfileData joinTraces(AbstractTrace* left, AbstractTrace* right, double overlapMm);

// tail: the left points within `overlap` of the left trace's last x; head:
// the right points within `overlap` of the right trace's first x; both in
// their traces' order. Inputs are (x, height) columns.
OverlapSegments cutOverlapSegments(const ProfileData& left, const ProfileData& right, double overlap);

// The segment's first point and then the points about overlap / 100 apart.
ProfileData thinOut(const ProfileData& segment, double overlap);

// Step search for the shift of the moving segment's column (0 x, 1 height)
// that brings it nearest to the reference; the column is left shifted.
AxisShift searchShiftOnAxis(ProfileData& moving, const NearestPointSearch& reference, int column);

// Alternating x and height searches until the error stops changing in its
// third decimal; the moving segment is left shifted by the returned totals.
SegmentShift alignSegments(const ProfileData& reference, ProfileData& moving);

// The left points before the right data's first x, then all of the right data.
ProfileData mergeJoined(const ProfileData& left, const ProfileData& right);
