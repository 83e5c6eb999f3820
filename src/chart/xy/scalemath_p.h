#ifndef PLOTVANE_CHART_XY_SCALEMATH_P_H
#define PLOTVANE_CHART_XY_SCALEMATH_P_H

#include <vector>

namespace plotvane {

// No scale ever carries more ticks of one kind than this.
constexpr int kMaxTicks = 10000;

// One range handed to an auto-scaler, with what each end is allowed to do. A fixed end stays
// where it is (it is neither extended, rounded nor pulled to zero).
struct ScaleRequest {
    double lo = 0;
    double hi = 0;
    bool fixedLo = false;
    bool fixedHi = false;
    bool extendLo = true;
    bool extendHi = true;
    bool roundLo = true;
    bool roundHi = true;
    double topExtension = 0;
    double bottomExtension = 0;
    double zeroAffinity = 0;
    int intervals = 1;      // wanted major intervals
    int minorPerMajor = 1;  // wanted minor intervals per major one
    double minTickInc = 0;
    double majorInc = 0;  // explicit increments (ratios on a log scale); 0 lets the scaler choose
    double minorInc = 0;
    int logTicks = 0;  // log scales: 0 automatic, 1 always logarithmic, 2 always linear
};

struct ScaleResult {
    bool empty = false;  // nothing can be scaled (a log range with no positive side)
    double lower = 0;
    double upper = 0;
    double step = 0;  // the major step, as the "tickInc" of labels
    double minorStep = 0;
    std::vector<double> majors;
    std::vector<double> minors;
};

double niceNumber(double x);
// How close two values on a scale from lower to upper count as the same; scaled before the
// subtraction so that a span wider than the largest double does not overflow.
inline double rangeTolerance(double lower, double upper) { return upper * 1e-7 - lower * 1e-7; }
double minorStepFor(double step, int minorPerMajor);

ScaleResult scaleLinear(const ScaleRequest& q);
ScaleResult scaleLog(const ScaleRequest& q);
ScaleResult scaleDate(const ScaleRequest& q);

// Steps of 29 days and more are added on the calendar, shorter ones as seconds.
double addDateStep(double t, double k, double step);
double alignDate(double t, double unit);

// Ticks of the step scales: `advance(base, k, step)` is the k-th step from base (k may be negative).
using StepFn = double (*)(double base, double k, double step);
double addLinearStep(double base, double k, double step);
void majorTicks(double start, double lower, double upper, double step, StepFn advance,
                std::vector<double>& out);
void minorTicks(const std::vector<double>& majors, double lower, double upper, double minor, StepFn advance,
                std::vector<double>& out);

}  // namespace plotvane

#endif
