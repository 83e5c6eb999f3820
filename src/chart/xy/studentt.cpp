// Student's t distribution: the upper tail and its inverse, to near double precision.
//
// The tail is half the regularised incomplete beta function: P(T > t) = I_x(dof/2, 1/2) / 2 with
// x = dof / (dof + t^2). I_x(a, b) comes from its continued fraction (modified Lentz), taken
// directly where it converges fast (x below (a + 1) / (a + b + 2)) and through the symmetry
// I_x(a, b) = 1 - I_(1-x)(b, a) elsewhere. Both x and 1 - x are formed from t without a
// subtraction, so neither a tiny tail nor t near 0 loses digits. The prefactor x^a (1-x)^b / B(a, b)
// is taken in logarithms; for large a the ratio Gamma(a) / Gamma(a + 1/2) inside B(a, 1/2) comes
// from the difference of two Stirling series, whose leading terms cancel on paper rather than in
// floating point, so many degrees of freedom do not cost accuracy.
//
// The quantile solves tail(t) = q by Newton's method on log tail(t), kept inside a bracket that
// halves whenever a step would leave it. One and two degrees of freedom have closed forms.
#include "chart/xy/studentt_p.h"

#include <plotvane/constants.h>

#include <algorithm>
#include <cmath>

namespace plotvane {

namespace {

constexpr double kPi = 3.14159265358979323846;

// ln Gamma(a + 1/2) - ln Gamma(a).
double lnGammaHalfStep(double a) {
    if (a < 30) return std::lgamma(a + 0.5) - std::lgamma(a);
    auto series = [](double z) {
        double z2 = z * z;
        return (1.0 / 12 - (1.0 / 360 - (1.0 / 1260 - 1.0 / (1680 * z2)) / z2) / z2) / z;
    };
    return 0.5 * std::log(a) + a * std::log1p(0.5 / a) - 0.5 + series(a + 0.5) - series(a);
}

// The continued fraction of I_x(a, b), without its prefactor.
double betaFraction(double x, double a, double b) {
    constexpr double kTiny = 1e-300;
    double qab = a + b, qap = a + 1, qam = a - 1;
    double c = 1, d = 1 - qab * x / qap;
    if (std::fabs(d) < kTiny) d = kTiny;
    d = 1 / d;
    double h = d;
    for (int m = 1; m <= 10000; ++m) {
        double m2 = 2.0 * m;
        double aa = m * (b - m) * x / ((qam + m2) * (a + m2));
        d = 1 + aa * d;
        if (std::fabs(d) < kTiny) d = kTiny;
        c = 1 + aa / c;
        if (std::fabs(c) < kTiny) c = kTiny;
        d = 1 / d;
        h *= d * c;
        aa = -(a + m) * (qab + m) * x / ((a + m2) * (qap + m2));
        d = 1 + aa * d;
        if (std::fabs(d) < kTiny) d = kTiny;
        c = 1 + aa / c;
        if (std::fabs(c) < kTiny) c = kTiny;
        d = 1 / d;
        double step = d * c;
        h *= step;
        if (std::fabs(step - 1) < 1e-16) break;
    }
    return h;
}

}  // namespace

double studentTUpperTail(double t, double dof) {
    if (!(dof > 0) || std::isnan(t)) return Chart::NoValue;
    if (t < 0) return 1 - studentTUpperTail(-t, dof);
    if (std::isinf(t)) return 0;
    double a = dof / 2, b = 0.5;
    double t2 = t * t;
    // x = dof / (dof + t^2) and its complement, each without cancellation.
    double x = dof / (dof + t2), y = t2 / (dof + t2);
    double lnX = -std::log1p(t2 / dof), lnY = std::log(y);
    double lnBeta = 0.5 * std::log(kPi) - lnGammaHalfStep(a);  // ln B(a, 1/2)
    double lnFront = a * lnX + b * lnY - lnBeta;
    if (x < (a + 1) / (a + b + 2)) return 0.5 * std::exp(lnFront) * betaFraction(x, a, b) / a;
    return 0.5 * (1 - std::exp(lnFront) * betaFraction(y, b, a) / b);
}

double studentTQuantileUpper(double q, double dof) {
    if (!(q > 0) || !(q <= 0.5) || !(dof > 0) || std::isinf(dof)) return Chart::NoValue;
    if (q == 0.5) return 0;
    if (dof == 1) return std::tan(kPi * (0.5 - q));
    if (dof == 2) return (1 - 2 * q) / std::sqrt(2 * q * (1 - q));
    double lo = 0, hi = 1;
    while (studentTUpperTail(hi, dof) > q && hi < 1e300) lo = hi, hi *= 2;
    double t = (lo + hi) / 2;
    double lnQ = std::log(q);
    for (int k = 0; k < 200; ++k) {
        double tail = studentTUpperTail(t, dof);
        if (tail > q)
            lo = t;
        else
            hi = t;
        // d ln tail / dt = -density / tail.
        double lnDensity = std::lgamma((dof + 1) / 2) - std::lgamma(dof / 2) - 0.5 * std::log(dof * kPi) -
                           (dof + 1) / 2 * std::log1p(t * t / dof);
        double slope = -std::exp(lnDensity) / tail;
        double next = t - (std::log(tail) - lnQ) / slope;
        if (!(next > lo && next < hi)) next = (lo + hi) / 2;
        if (std::fabs(next - t) <= 1e-15 * t) return next;
        t = next;
    }
    return t;
}

}  // namespace plotvane
