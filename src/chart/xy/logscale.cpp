// The logarithmic auto-scaler.
//
// A log axis can only show positive values, so the range is first made positive: a range that
// crosses zero keeps its larger side and lets the other end sit four decades below; a range with
// no positive side at all cannot be scaled and is reported empty. Extensions work on the
// logarithms, where head-room of ten percent means the same at every magnitude.
//
// Which ticks a log axis gets depends on how many decades one interval covers (d). Below 0.8
// decades in all, logarithmic ticks would be too few, and the linear scaler is used on the values.
// Otherwise the ticks come from one of three sequences: every integer mantissa (1, 2, ... 9 times
// a power of ten) for narrow intervals, 1-2-5 for middling ones, and whole decades, K at a time,
// for wide ones. Sequence members are kept as (mantissa, exponent) pairs and turned into doubles
// only at the end, so that 3e-7 is exactly the double that reads "3e-07" and not 2.9999999e-07.
//
// Explicit ratios (a major increment of 100 means one tick every two decades) and any ticks that
// are not sequence members are walked in log10 space with the linear walkers and cleaned to twelve
// significant digits when they come back.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "chart/xy/scalemath_p.h"

namespace plotvane {

namespace {

enum class Seq { Mantissa, OneTwoFive, Decades };

struct Sequence {
    Seq kind = Seq::Decades;
    long long decades = 1;  // step of a Decades sequence
    long long anchor = 0;   // an exponent that a Decades sequence passes through
};

struct LogPoint {
    int m = 1;  // 1..9
    long long e = 0;
};

double powerOfTen(long long e) {
    return e >= 0 ? std::pow(10.0, static_cast<double>(e)) : 1 / std::pow(10.0, static_cast<double>(-e));
}

double valueOf(LogPoint p) {
    return p.e >= 0 ? p.m * powerOfTen(p.e) : p.m / powerOfTen(-p.e);
}

long long floorDivide(long long a, long long b) {
    long long q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// Exponent and mantissa of a positive value, with the mantissa in [1, 10).
void split(double v, long long& e, double& m) {
    e = static_cast<long long>(std::floor(std::log10(v)));
    m = v / powerOfTen(e);
    if (m < 1) {
        --e;
        m *= 10;
    } else if (m >= 10) {
        ++e;
        m /= 10;
    }
}

// The largest member at or below v (tolerance 1e-6).
LogPoint seqFloor(const Sequence& s, double v) {
    long long e;
    double m;
    split(v, e, m);
    double mt = m * (1 + 1e-6);
    if (s.kind == Seq::Decades) {
        if (mt >= 10) ++e;
        return {1, s.anchor + floorDivide(e - s.anchor, s.decades) * s.decades};
    }
    int k = static_cast<int>(std::floor(mt));
    if (s.kind == Seq::OneTwoFive) k = k >= 10 ? 10 : k >= 5 ? 5 : k >= 2 ? 2 : 1;
    if (k >= 10) return {1, e + 1};
    return {std::max(k, 1), e};
}

LogPoint seqNext(const Sequence& s, LogPoint p) {
    switch (s.kind) {
        case Seq::Decades:
            return {1, p.e + s.decades};
        case Seq::OneTwoFive:
            return p.m == 1 ? LogPoint{2, p.e} : p.m == 2 ? LogPoint{5, p.e} : LogPoint{1, p.e + 1};
        case Seq::Mantissa:
            break;
    }
    return p.m >= 9 ? LogPoint{1, p.e + 1} : LogPoint{p.m + 1, p.e};
}

// The smallest member at or above v (tolerance 1e-6).
LogPoint seqCeil(const Sequence& s, double v) {
    LogPoint p = seqFloor(s, v);
    return valueOf(p) >= v * (1 - 1e-6) ? p : seqNext(s, p);
}

bool nearAny(double v, const std::vector<double>& sorted) {
    auto it = std::lower_bound(sorted.begin(), sorted.end(), v * (1 - 1e-9));
    return it != sorted.end() && *it <= v * (1 + 1e-9);
}

void walkSequence(const Sequence& s, double lower, double upper, const std::vector<double>& skip,
                  std::vector<double>& out) {
    out.clear();
    double lowTol = lower * (1 - 1e-9);
    double highTol = upper * (1 + 1e-9);
    LogPoint p = seqFloor(s, lower);
    for (int k = 0; k <= 10 * kMaxTicks && static_cast<int>(out.size()) < kMaxTicks; ++k, p = seqNext(s, p)) {
        double v = valueOf(p);
        if (v > highTol || !std::isfinite(v)) break;
        if (v < lowTol || nearAny(v, skip)) continue;
        out.push_back(v);
    }
}

double twelveDigits(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.12g", v);
    return std::strtod(buf, nullptr);
}

void fromLogSpace(std::vector<double>& ticks) {
    for (double& t : ticks) t = twelveDigits(std::pow(10.0, t));
}

// Ticks spaced by a ratio: the linear walkers applied to the logarithms.
void ratioTicks(const ScaleRequest& q, double lo, double hi, ScaleResult& r) {
    double lr = std::log10(q.majorInc);
    double lmin = std::log10(lo);
    double lmax = std::log10(hi);
    double first = q.fixedLo ? lmin : std::floor(lmin / lr + 1e-9) * lr;
    double lower = q.roundLo && !q.fixedLo ? first : lmin;
    double upper = q.roundHi && !q.fixedHi ? first + std::ceil((lmax - first) / lr - 1e-9) * lr : lmax;
    upper = std::max(upper, lmax);
    majorTicks(first, lower, upper, lr, addLinearStep, r.majors);
    if (q.minorInc > 1 && q.minorInc < q.majorInc)
        minorTicks(r.majors, lower, upper, std::log10(q.minorInc), addLinearStep, r.minors);
    fromLogSpace(r.majors);
    fromLogSpace(r.minors);
    r.lower = q.roundLo && !q.fixedLo ? twelveDigits(std::pow(10.0, lower)) : lo;
    r.upper = q.roundHi && !q.fixedHi ? twelveDigits(std::pow(10.0, upper)) : hi;
    r.step = q.majorInc;
    r.minorStep = q.minorInc > 1 && q.minorInc < q.majorInc ? q.minorInc : q.majorInc;
}

ScaleResult linearFallback(const ScaleRequest& q, double lo, double hi) {
    ScaleRequest lq = q;
    lq.lo = lo;
    lq.hi = hi;
    lq.topExtension = lq.bottomExtension = lq.zeroAffinity = 0;
    ScaleResult r = scaleLinear(lq);
    if (!(r.lower > 0)) {
        // Rounding down reached zero, which a log axis cannot show: keep the data's own end.
        r.lower = lo;
        auto nonPositive = [](double v) { return v <= 0; };
        r.majors.erase(std::remove_if(r.majors.begin(), r.majors.end(), nonPositive), r.majors.end());
        r.minors.erase(std::remove_if(r.minors.begin(), r.minors.end(), nonPositive), r.minors.end());
    }
    return r;
}

}  // namespace

ScaleResult scaleLog(const ScaleRequest& q) {
    ScaleResult r;
    double lo = q.lo;
    double hi = q.hi;
    if (lo < 0 && hi > 0) {
        if (-lo < hi)
            lo = hi / 10000;
        else
            hi = lo / 10000;
    }
    if (lo == hi) {
        bool bothFixed = q.fixedLo && q.fixedHi;
        double v = lo;
        if (!q.fixedLo || bothFixed) lo = v - std::fabs(v) / 2;
        if (!q.fixedHi || bothFixed) hi = v == 0 ? 100 : v + std::fabs(v) / 2;
    }
    if (!(hi > 0)) {
        r.empty = true;
        return r;
    }
    if (lo <= 0) lo = hi / 10000;
    // Below about 1e-300 the decades stop being representable.
    lo = std::max(lo, 1e-300);
    if (!(hi > lo)) hi = lo * 10;

    double t = q.extendHi && !q.fixedHi ? q.topExtension : 0;
    double b = q.extendLo && !q.fixedLo ? q.bottomExtension : 0;
    if ((t > 0 || b > 0) && t + b < 1) {
        double d = std::log(hi) - std::log(lo);
        double newHi = std::exp(std::log(hi) + t * d / (1 - t - b));
        double newLo = std::exp(std::log(lo) - b * d / (1 - t - b));
        if (std::isfinite(newHi)) hi = newHi;
        if (newLo > 0) lo = newLo;
    }

    int n = std::max(q.intervals, 1);
    double span = std::log10(hi) - std::log10(lo);
    double d = span / n;
    // logTicks: 0 automatic, 1 always logarithmic, 2 always linear.
    if (q.logTicks == 2 || (q.logTicks == 0 && q.majorInc <= 1 && span < 0.8))
        return linearFallback(q, lo, hi);
    if (q.majorInc > 1) {
        ratioTicks(q, lo, hi, r);
        return r;
    }

    int m = std::max(q.minorPerMajor, 1);
    Sequence major;
    Sequence minor;
    bool hasMinor = false;
    r.step = 0;
    if (d < 0.05) {
        major.kind = Seq::Mantissa;
    } else if (d < 0.3) {
        major.kind = Seq::OneTwoFive;
        minor.kind = Seq::Mantissa;
        hasMinor = m * 0.3 / d >= 6;
    } else {
        long long k = static_cast<long long>(std::ceil(d));
        long long e;
        double mant;
        split(lo * (1 + 1e-6), e, mant);
        major = {Seq::Decades, k, e};
        r.step = powerOfTen(k);
        if (k == 1) {
            if (m / d >= 20) {
                minor.kind = Seq::Mantissa;
                hasMinor = true;
            } else if (m / d >= 3 && m >= 2) {
                minor.kind = Seq::OneTwoFive;
                hasMinor = true;
            }
        } else {
            // The finest whole division of the K decades that still gives fewer than M minor intervals.
            for (long long j = 1; j < k / 2.0; ++j) {
                double parts = static_cast<double>(k) / j;
                if (std::fabs(parts - std::round(parts)) < 1e-5 && parts < m) {
                    minor = {Seq::Decades, j, e};
                    hasMinor = true;
                    break;
                }
            }
        }
    }

    LogPoint first = seqFloor(major, lo);
    if (q.minTickInc > valueOf(first)) first = seqCeil(major, q.minTickInc);
    r.lower = q.roundLo && !q.fixedLo ? valueOf(first) : lo;
    r.upper = q.roundHi && !q.fixedHi ? valueOf(seqCeil(major, hi)) : hi;
    if (!std::isfinite(r.upper)) r.upper = hi;
    walkSequence(major, std::max(r.lower, valueOf(first)), r.upper, {}, r.majors);
    if (hasMinor) walkSequence(minor, r.lower, r.upper, r.majors, r.minors);
    r.minorStep = hasMinor ? r.step : 0;
    return r;
}

}  // namespace plotvane
