// Least-squares polynomials by Householder QR.
//
// The normal equations square the condition number of the problem; with chart times for x
// (values near 1e9 or 1e11 that differ in their last few digits) a polynomial of degree five
// would lose every digit there. So x is first centred and scaled, t = (x - centre) / scale with t
// in [-1, 1], and the least-squares problem in the powers of t is solved by Householder
// reflections, which keep the conditioning of the design matrix itself. A fit through the origin
// is only scaled, never centred, so its columns keep their meaning.
//
// The triangular factor R stays with the fit: the standard error of the fitted mean at x is
// s |R^-T phi(t)|, phi being the basis row, which is the textbook s sqrt(phi (X'X)^-1 phi') without
// ever forming X'X. For a straight line it equals s sqrt(1/n + (x - mean)^2 / Sxx).
//
// The residuals are summed from the data, not from the tail of Q'y, so a near-exact fit reports a
// near-zero standard error rather than rounding noise of the right-hand side's size.
#include "chart/xy/regression_p.h"

#include <plotvane/constants.h>

#include <algorithm>
#include <cmath>

namespace plotvane {

void PolynomialFit::basis(double x, std::vector<double>& row) const {
    int m = throughOrigin_ ? degree_ : degree_ + 1;
    row.resize(static_cast<size_t>(m));
    double t = (x - centre_) / scale_;
    double p = throughOrigin_ ? t : 1;
    for (int k = 0; k < m; ++k, p *= t) row[static_cast<size_t>(k)] = p;
}

bool PolynomialFit::fit(const std::vector<double>& x, const std::vector<double>& y, int degree, bool throughOrigin) {
    defined_ = false;
    throughOrigin_ = throughOrigin;
    degree_ = std::max(degree, 1);
    n_ = static_cast<int>(std::min(x.size(), y.size()));
    int n = n_, m = throughOrigin ? degree_ : degree_ + 1;
    if (n < m) return false;

    centre_ = 0;
    if (!throughOrigin) {
        double lo = *std::min_element(x.begin(), x.begin() + n), hi = *std::max_element(x.begin(), x.begin() + n);
        centre_ = lo + (hi - lo) / 2;
    }
    scale_ = 0;
    for (int i = 0; i < n; ++i) scale_ = std::max(scale_, std::fabs(x[static_cast<size_t>(i)] - centre_));
    if (!(scale_ > 0) || !std::isfinite(scale_)) return false;

    // The design matrix, column-major, and the right-hand side.
    std::vector<double> a(static_cast<size_t>(n) * m), row;
    std::vector<double> b(y.begin(), y.begin() + n);
    for (int i = 0; i < n; ++i) {
        basis(x[static_cast<size_t>(i)], row);
        for (int k = 0; k < m; ++k) a[static_cast<size_t>(k) * n + i] = row[static_cast<size_t>(k)];
    }
    auto at = [&a, n](int i, int k) -> double& { return a[static_cast<size_t>(k) * n + i]; };

    double largest = 0;
    for (int k = 0; k < m; ++k) {
        double norm = 0;
        for (int i = k; i < n; ++i) norm = std::hypot(norm, at(i, k));
        if (norm == 0) return false;
        double alpha = at(k, k) > 0 ? -norm : norm;
        // v = column - alpha e_k, kept in place below the diagonal.
        at(k, k) -= alpha;
        double vv = 0;
        for (int i = k; i < n; ++i) vv += at(i, k) * at(i, k);
        for (int j = k + 1; j < m; ++j) {
            double s = 0;
            for (int i = k; i < n; ++i) s += at(i, k) * at(i, j);
            s = 2 * s / vv;
            for (int i = k; i < n; ++i) at(i, j) -= s * at(i, k);
        }
        double s = 0;
        for (int i = k; i < n; ++i) s += at(i, k) * b[static_cast<size_t>(i)];
        s = 2 * s / vv;
        for (int i = k; i < n; ++i) b[static_cast<size_t>(i)] -= s * at(i, k);
        at(k, k) = alpha;
        largest = std::max(largest, norm);
    }

    r_.assign(static_cast<size_t>(m) * m, 0);
    for (int k = 0; k < m; ++k)
        for (int i = 0; i <= k; ++i) r_[static_cast<size_t>(k) * m + i] = at(i, k);
    // A diagonal this small against the largest column means the columns are dependent: too few
    // distinct x for the degree.
    for (int k = 0; k < m; ++k)
        if (std::fabs(r_[static_cast<size_t>(k) * m + k]) <= largest * 1e-12 * n) return false;

    beta_.assign(static_cast<size_t>(m), 0);
    for (int k = m - 1; k >= 0; --k) {
        double s = b[static_cast<size_t>(k)];
        for (int j = k + 1; j < m; ++j) s -= r_[static_cast<size_t>(j) * m + k] * beta_[static_cast<size_t>(j)];
        beta_[static_cast<size_t>(k)] = s / r_[static_cast<size_t>(k) * m + k];
    }
    defined_ = true;

    double meanY = 0;
    for (int i = 0; i < n; ++i) meanY += y[static_cast<size_t>(i)];
    meanY /= n;
    double sse = 0, sst = 0;
    for (int i = 0; i < n; ++i) {
        double e = y[static_cast<size_t>(i)] - value(x[static_cast<size_t>(i)]);
        double c = throughOrigin ? y[static_cast<size_t>(i)] : y[static_cast<size_t>(i)] - meanY;
        sse += e * e;
        sst += c * c;
    }
    stdError_ = std::sqrt(sse / degreesOfFreedom());
    if (!(sst > 0)) {
        correlation_ = 0;
    } else if (degree_ == 1) {
        // A straight line: r = Sxy / sqrt(Sxx Syy), in the scaled variable (r does not change),
        // about the means, or about the origin for a line through it.
        double meanT = 0;
        for (int i = 0; i < n && !throughOrigin; ++i) meanT += (x[static_cast<size_t>(i)] - centre_) / scale_ / n;
        double sxy = 0, sxx = 0;
        for (int i = 0; i < n; ++i) {
            double t = (x[static_cast<size_t>(i)] - centre_) / scale_ - meanT;
            double c = throughOrigin ? y[static_cast<size_t>(i)] : y[static_cast<size_t>(i)] - meanY;
            sxy += t * c;
            sxx += t * t;
        }
        correlation_ = sxx > 0 ? sxy / std::sqrt(sxx * sst) : 0;
    } else {
        correlation_ = std::sqrt(std::max(0.0, 1 - sse / sst));
    }
    return true;
}

int PolynomialFit::degreesOfFreedom() const {
    int dof = n_ - (throughOrigin_ ? degree_ : degree_ + 1);
    return dof > 0 ? dof : std::max(n_, 1);
}

double PolynomialFit::value(double x) const {
    if (!defined_) return Chart::NoValue;
    // Horner in t.
    double t = (x - centre_) / scale_, v = 0;
    for (size_t k = beta_.size(); k-- > 0;) v = v * t + beta_[k];
    return throughOrigin_ ? v * t : v;
}

double PolynomialFit::leverage(double x) const {
    if (!defined_) return Chart::NoValue;
    std::vector<double> z;
    basis(x, z);
    int m = static_cast<int>(z.size());
    // Solve R' z = phi in place, forward.
    double sum = 0;
    for (int k = 0; k < m; ++k) {
        double s = z[static_cast<size_t>(k)];
        for (int i = 0; i < k; ++i) s -= r_[static_cast<size_t>(k) * m + i] * z[static_cast<size_t>(i)];
        z[static_cast<size_t>(k)] = s / r_[static_cast<size_t>(k) * m + k];
        sum += z[static_cast<size_t>(k)] * z[static_cast<size_t>(k)];
    }
    return std::sqrt(sum);
}

double PolynomialFit::coefficient(int i) const {
    if (!defined_ || i < 0) return Chart::NoValue;
    if (i > degree_) return 0;
    // Expand sum_k b_k ((x - c) / s)^k: the coefficient of x^i is
    // sum_{k >= i} b_k s^-k C(k, i) (-c)^(k - i).
    double total = 0;
    int first = throughOrigin_ ? 1 : 0;
    for (int k = std::max(i, first); k <= degree_; ++k) {
        double binomial = 1;
        for (int j = 1; j <= i; ++j) binomial = binomial * (k - i + j) / j;
        total += beta_[static_cast<size_t>(k - first)] * std::pow(scale_, -k) * binomial * std::pow(-centre_, k - i);
    }
    return total;
}

}  // namespace plotvane
