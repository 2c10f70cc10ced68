#include "common/peak_picking.h"

#include <cmath>

namespace {

// The apex search over five-point windows, starting at centre `m`.
int32_t FindApex(const Peak* p, int32_t n, int32_t m) {
    for (;;) {
        const double y0 = p[m - 2].intensity;
        const double y1 = p[m - 1].intensity;
        const double y2 = p[m].intensity;
        const double y3 = p[m + 1].intensity;
        const double y4 = p[m + 2].intensity;
        const bool strictMaximum = y1 < y2 && y2 > y3;
        const bool flatTopEndingHere = y0 < y2 && y1 == y2 && y2 > y3;
        const bool flatTopStartingHere = y1 < y2 && y3 == y2 && y4 < y2;
        if (strictMaximum || flatTopEndingHere || flatTopStartingHere) return m;
        if (m + 2 >= n - 1) return m;
        ++m;
    }
}

// The last point of the falling side that starts at the apex.
int32_t Descend(const Peak* p, int32_t n, int32_t k) {
    while (k < n - 1 && p[k].intensity >= p[k + 1].intensity && p[k + 1].intensity != 0.0) ++k;
    return k;
}

// A weighted mean with no positive weight (zero-intensity points at the end
// of the data) falls back to the plain mean, so the m/z stays finite.
double WeightedMean(const Peak& a, const Peak& b) {
    const double weight = a.intensity + b.intensity;
    if (!(weight > 0.0)) return 0.5 * (a.mz + b.mz);
    return (a.mz * a.intensity + b.mz * b.intensity) / weight;
}

}  // namespace

double GaussianApex(const Peak& p0, const Peak& p1, const Peak& p2) {
    const double x0 = p0.mz, x1 = p1.mz, x2 = p2.mz;
    const double l0 = std::log(p0.intensity), l1 = std::log(p1.intensity), l2 = std::log(p2.intensity);
    const double numerator = (x2 * x2 - x0 * x0) * (l0 - l1) - (x1 * x1 - x0 * x0) * (l0 - l2);
    const double denominator = (x2 - x0) * (l0 - l1) - (x1 - x0) * (l0 - l2);
    return 0.5 * numerator / denominator;
}

Peak ComputePeak(int32_t left, int32_t apex, int32_t right, const Peak* p) {
    Peak peak{};
    for (int32_t i = left; i <= right; ++i) {
        if (p[i].intensity > peak.intensity) peak.intensity = p[i].intensity;
    }
    if (left == right) {
        peak.mz = p[left].mz;
    } else if (left == apex) {
        peak.mz = WeightedMean(p[apex], p[apex + 1]);
    } else if (right == apex) {
        peak.mz = WeightedMean(p[apex - 1], p[apex]);
    } else {
        peak.mz = GaussianApex(p[apex - 1], p[apex], p[apex + 1]);
        // Zero or equal intensities leave the Gaussian undefined: take the
        // apex point itself.
        if (!std::isfinite(peak.mz)) peak.mz = p[apex].mz;
    }
    return peak;
}

void PickPeaks(Peak* out, int32_t& count, const Peak* p, int32_t n, int edgeShift) {
    count = 0;
    if (n <= 5) {
        for (int32_t i = 0; i < n; ++i) out[i] = p[i];
        count = n < 0 ? 0 : n;
        return;
    }
    int32_t c = 0;
    while (c < n) {
        if (c + 4 >= n - 1) return;
        if (p[c].intensity == 0.0) {
            ++c;
            continue;
        }
        const int32_t s = c;
        const int32_t a = FindApex(p, n, c >= 2 ? c : c + edgeShift);
        const int32_t k = Descend(p, n, a);
        if (k - s > 2) {
            int32_t left = a - 1, right = a;
            if (k > a && s < a) {
                left = s + 1;
                right = k - 1;
            } else if (k > a) {
                left = a;
                right = a + 1;
            }
            out[count++] = ComputePeak(left, a, right, p);
        }
        if (k >= n - 1) return;
        c = p[k + 1].intensity == 0.0 ? k + 2 : k;
    }
}
