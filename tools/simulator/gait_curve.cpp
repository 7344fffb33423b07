#include "tools/simulator/gait_curve.h"

#include <cmath>

double GaitCurve::At(double phase) const
{
    double p = phase - std::floor(phase);
    // Key k of the endless sequence: phases shift by whole cycles.
    auto key = [this](int k, double* keyPhase) {
        int cycle = int(std::floor(double(k) / count));
        const GaitKey& entry = keys[k - cycle * count];
        *keyPhase = entry.phase + cycle;
        return entry.degrees;
    };
    int i = count - 1;
    while (i > 0 && keys[i].phase > p)
        i--;
    if (keys[0].phase > p)
        i = -1;
    double p0, p1, pBefore, pAfter;
    double v0 = key(i, &p0), v1 = key(i + 1, &p1);
    double vBefore = key(i - 1, &pBefore), vAfter = key(i + 2, &pAfter);
    // Cubic Hermite with Catmull-Rom slopes: smooth through every key.
    double h = p1 - p0;
    double m0 = (v1 - vBefore) / (p1 - pBefore) * h;
    double m1 = (vAfter - v0) / (pAfter - p0) * h;
    double s = (p - p0) / h;
    double s2 = s * s, s3 = s2 * s;
    return (2 * s3 - 3 * s2 + 1) * v0 + (s3 - 2 * s2 + s) * m0 + (-2 * s3 + 3 * s2) * v1 +
           (s3 - s2) * m1;
}
