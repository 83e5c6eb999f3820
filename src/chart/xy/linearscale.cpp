// The linear auto-scaler, and the tick walkers that the date scaler shares with it.
//
// A range becomes a scale in four moves. Degenerate ranges are opened up first (a single value v
// spreads to v +- |v|/2, zero to 0..100). Zero affinity then pulls an end to zero when the range
// already reaches most of the way there, because a bar chart whose axis starts at 3 lies about
// its bars. The extensions leave head-room above and below the data; they are fractions of the
// final span, hence the division by 1 - t - b. Last, the step is the nice number (1, 2 or 5 times
// a power of ten) nearest above span / intervals. A range that crosses zero splits its intervals
// between the two sides in proportion, so that zero itself is a tick, and the step must cover the
// more demanding side.
//
// Ticks are computed as start + k * step rather than by repeated addition, so they do not drift;
// a tick within a hair of zero is written as zero so labels never read "-0" or "1e-17".
#include <algorithm>
#include <cmath>
#include <limits>

#include "chart/xy/scalemath_p.h"

namespace plotvane {

namespace {

// Open up a range with no width. Only ends that are free to move are moved, unless both are fixed.
void openEqualEnds(double& lo, double& hi, bool fixedLo, bool fixedHi) {
    if (lo != hi) return;
    double v = lo;
    bool bothFixed = fixedLo && fixedHi;
    if (v == 0) {
        if (!fixedHi || bothFixed)
            hi = 100;
        else
            lo = -100;
        return;
    }
    double half = std::fabs(v) / 2;
    if (!fixedLo || bothFixed) lo = v - half;
    if (!fixedHi || bothFixed) hi = v + half;
}

void applyMinTickInc(double inc, double& step, double& minor) {
    if (!(inc > 0)) return;
    auto whole = [](double x) { return std::fabs(x - std::round(x)) < 0.0001; };
    if (inc > step) {
        step = niceNumber(inc);
        minor = step;
    } else if (inc > minor) {
        if (whole(step / inc))
            minor = inc;
        else if (whole(step / niceNumber(inc)))
            minor = niceNumber(inc);
        else
            minor = step;
    }
}

}  // namespace

double niceNumber(double x) {
    if (!(x > 0)) return 1;
    if (!std::isfinite(x)) return x;
    double e = std::floor(std::log10(x));
    double p = std::pow(10.0, e);
    if (!(p > 0) || !std::isfinite(p)) return x;
    double m = x / p;
    double f = m <= 1.0000001 ? 1 : m <= 2.0000001 ? 2 : m <= 5.0000001 ? 5 : 10;
    double r = f * p;
    return std::isfinite(r) ? r : x;
}

double minorStepFor(double step, int minorPerMajor) {
    if (minorPerMajor < 2 || !(step > 0)) return step;
    double p = std::pow(10.0, std::floor(std::log10(step)));
    if (p > 0 && std::fabs(step / p - 5) < 1e-6 && minorPerMajor < 5) return step / 2;
    return niceNumber(step / minorPerMajor);
}

double addLinearStep(double base, double k, double step) {
    return base + k * step;
}

void majorTicks(double start, double lower, double upper, double step, StepFn advance,
                std::vector<double>& out) {
    out.clear();
    if (!(step > 0) || !std::isfinite(start)) return;
    double tol = rangeTolerance(lower, upper);
    // One tick may fall just below the lower bound; beyond that the cap bounds the walk.
    for (int k = 0; k <= kMaxTicks + 1 && static_cast<int>(out.size()) < kMaxTicks; ++k) {
        double v = advance(start, k, step);
        if (v > upper + tol || !std::isfinite(v)) break;
        if (v < lower - tol) continue;
        if (std::fabs(v) < tol * 0.001) v = 0;
        if (!out.empty() && v <= out.back()) continue;
        out.push_back(v);
    }
}

void minorTicks(const std::vector<double>& majors, double lower, double upper, double minor, StepFn advance,
                std::vector<double>& out) {
    out.clear();
    if (!(minor > 0)) return;
    double tol = rangeTolerance(lower, upper);
    auto full = [&out] { return static_cast<int>(out.size()) >= kMaxTicks; };
    double anchor = majors.empty() ? lower : majors.front();
    // Below the first major tick, walking down.
    std::vector<double> head;
    for (int k = 1; k <= kMaxTicks; ++k) {
        double v = advance(anchor, -k, minor);
        if (!(v >= lower - tol) || !(v < (head.empty() ? anchor : head.back()))) break;
        head.push_back(v);
    }
    out.assign(head.rbegin(), head.rend());
    size_t n = majors.size();
    for (size_t i = 0; i < std::max<size_t>(n, 1) && !full(); ++i) {
        double base = n ? majors[i] : anchor;
        double limit = i + 1 < n ? majors[i + 1] - tol : upper + tol;
        double last = base;
        for (int k = 1; k <= kMaxTicks && !full(); ++k) {
            double v = advance(base, k, minor);
            bool inside = i + 1 < n ? v < limit : v <= limit;
            if (!inside || !(v > last)) break;
            out.push_back(v);
            last = v;
        }
    }
    if (static_cast<int>(out.size()) > kMaxTicks) out.resize(kMaxTicks);
}

namespace {

ScaleResult scaleRange(const ScaleRequest& q) {
    ScaleResult r;
    double lo = q.lo;
    double hi = q.hi;
    openEqualEnds(lo, hi, q.fixedLo, q.fixedHi);

    double z = q.zeroAffinity;
    if (!q.fixedLo && lo > 0 && z * hi >= lo) lo = 0;
    if (!q.fixedHi && hi < 0 && hi >= z * lo) hi = 0;

    double t = q.extendHi && !q.fixedHi ? q.topExtension : 0;
    double b = q.extendLo && !q.fixedLo ? q.bottomExtension : 0;
    if ((t > 0 || b > 0) && t + b < 1) {
        double span = hi - lo;
        double d = 1 - t - b;
        double newHi = hi != 0 ? hi + t * span / d : hi;
        double newLo = lo != 0 ? lo - b * span / d : lo;
        if (lo >= 0) newLo = std::max(newLo, 0.0);
        if (hi <= 0) newHi = std::min(newHi, 0.0);
        lo = newLo;
        hi = newHi;
    }

    double step;
    double minor;
    if (q.majorInc > 0) {
        step = q.majorInc;
        minor = q.minorInc > 0 && q.minorInc < step ? q.minorInc : step;
    } else {
        int n = std::max(q.intervals, 1);
        if (lo < 0 && hi > 0 && (q.roundLo || q.roundHi) && n >= 2) {
            int k = static_cast<int>(std::lround(hi / (hi - lo) * n));
            k = std::clamp(k, 1, n - 1);
            step = niceNumber(std::max(-lo / (n - k), hi / k));
        } else {
            step = niceNumber((hi - lo) / n);
        }
        minor = q.minorInc > 0 && q.minorInc < step ? q.minorInc : minorStepFor(step, q.minorPerMajor);
        applyMinTickInc(q.minTickInc, step, minor);
    }

    double first = std::floor(lo / step) * step;
    r.lower = q.roundLo && !q.fixedLo ? first : lo;
    r.upper = hi;
    if (q.roundHi && !q.fixedHi) {
        double up = first + std::ceil((hi - first) / step - 1e-10) * step;
        if (std::isfinite(up)) r.upper = std::max(up, hi);
    }
    r.step = step;
    r.minorStep = minor;
    // Explicit increments count from a fixed lower bound; chosen steps from multiples of the step.
    double start = q.majorInc > 0 && q.fixedLo ? r.lower : std::floor(r.lower / step) * step;
    majorTicks(start, r.lower, r.upper, step, addLinearStep, r.majors);
    if (minor < step) minorTicks(r.majors, r.lower, r.upper, minor, addLinearStep, r.minors);
    return r;
}

}  // namespace

// Ranges near the end of the double range would overflow their span and head-room, so they are
// scaled in units of 1e10 and brought back; a bound that then overflows is cut to the largest
// double, which still holds the data, and ticks beyond it are dropped.
ScaleResult scaleLinear(const ScaleRequest& q) {
    constexpr double kSafe = 1e306, kUnit = 1e10, kMax = std::numeric_limits<double>::max();
    if (!(std::max(std::fabs(q.lo), std::fabs(q.hi)) > kSafe)) return scaleRange(q);
    ScaleRequest s = q;
    for (double* v : {&s.lo, &s.hi, &s.minTickInc, &s.majorInc, &s.minorInc}) *v /= kUnit;
    ScaleResult r = scaleRange(s);
    r.lower = std::max(r.lower * kUnit, -kMax);
    r.upper = std::min(r.upper * kUnit, kMax);
    r.step = std::min(r.step * kUnit, kMax);
    r.minorStep = std::min(r.minorStep * kUnit, kMax);
    for (std::vector<double>* ticks : {&r.majors, &r.minors}) {
        for (double& t : *ticks) t *= kUnit;
        ticks->erase(std::remove_if(ticks->begin(), ticks->end(), [](double t) { return !std::isfinite(t); }),
                     ticks->end());
    }
    return r;
}

}  // namespace plotvane
