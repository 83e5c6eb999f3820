#ifndef PLOTVANE_CHART_XY_REGRESSION_P_H
#define PLOTVANE_CHART_XY_REGRESSION_P_H

// Least-squares polynomial fits, with what the trend layer reports of them: the fitted value, its
// standard error at any x, the standard error of estimate, the correlation and the coefficients.

#include <vector>

namespace plotvane {

class PolynomialFit {
public:
    // Fits y = c0 + c1 x + ... + cd x^d to the points (or, throughOrigin, c1 x + ... + cd x^d).
    // Returns false, leaving the fit undefined, when the points do not fix every coefficient
    // (fewer distinct x than coefficients).
    bool fit(const std::vector<double>& x, const std::vector<double>& y, int degree, bool throughOrigin);
    bool isDefined() const { return defined_; }
    int degree() const { return degree_; }
    int count() const { return n_; }
    // n less the number of coefficients; n when that is not above zero.
    int degreesOfFreedom() const;
    double value(double x) const;
    // The fitted value's standard error at x, in units of the standard error of estimate.
    double leverage(double x) const;
    double stdError() const { return stdError_; }
    // The correlation of a straight line (signed), the root of R squared for higher degrees; 0
    // when the data do not vary.
    double correlation() const { return correlation_; }
    // The coefficient of x^i (0 beyond the degree).
    double coefficient(int i) const;

private:
    // The scaled variable t = (x - centre) / scale that the fit works in, and its basis row.
    void basis(double x, std::vector<double>& row) const;

    bool defined_ = false;
    bool throughOrigin_ = false;
    int degree_ = 1;
    int n_ = 0;
    double centre_ = 0;
    double scale_ = 1;
    std::vector<double> beta_;  // coefficients of t^k, from k = 0 (or 1 through the origin)
    std::vector<double> r_;     // the triangular factor, column-major, m x m
    double stdError_ = 0;
    double correlation_ = 0;
};

}  // namespace plotvane

#endif
