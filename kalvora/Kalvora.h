#ifndef KALVORA_H
#define KALVORA_H

/*
 * Profile mathematics on caller-owned arrays of doubles.
 *
 * Every function checks its arguments first; on bad input it returns without
 * touching the caller's arrays (_KalvoraDLLCalculateLine still writes its
 * "no value" marks into res).
 */

#if defined(KALVORA_BUILDING_LIBRARY)
#define KALVORA_EXPORT __attribute__((visibility("default")))
#else
#define KALVORA_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Removes the least-squares parabola over the sample index from z[0..n-1]
 * and returns 1000 * b * b / |c2 * a| for its quadratic coefficient c2, or
 * -1e-9 when there is no curvature (or on bad input). Needs n >= 3. */
KALVORA_EXPORT double _KalvoraDLLExcludeRound(double* z, double a, double b, int n);

/* Gaussian profile filter: z[0..*n-1], sampled every *step, is smoothed with
 * the short cut-off lambdaS and replaced by its roughness (smoothed profile
 * minus the mean line of the long cut-off lambdaC); meanLine, when not null,
 * receives the mean line. */
KALVORA_EXPORT void _KalvoraDLLFilterLine(double* z, double* step, int* n, double* meanLine, double lambdaS,
                                          double lambdaC);

/* Roughness parameters of the profile (x, z) into res[0..39]; res[12] keeps
 * the caller's value, every entry without a value reads -1e9. */
KALVORA_EXPORT void _KalvoraDLLCalculateLine(double* res, double* x, double* z, int n, double step);

/* Amplitude density and material ratio at level b - c (0..100) and the core
 * of the material-ratio curve into res[18], res[19], res[24..29]; a sets the
 * width of the density window (51 - a percent of the height range). */
KALVORA_EXPORT void _KalvoraDLLComputeDpTp(double* res, double* x, double* z, int n, int a, int b, int c);

/* Waviness parameters of the profile (x, z) into res[20..23]. */
KALVORA_EXPORT void _KalvoraDLLCalculateLineW(double* res, double* x, double* z, int n);

#ifdef __cplusplus
}
#endif

#endif
