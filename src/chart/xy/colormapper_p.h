#ifndef PLOTVANE_CHART_XY_COLORMAPPER_P_H
#define PLOTVANE_CHART_XY_COLORMAPPER_P_H

// Values to colours: ascending thresholds t0 ... tB and B + 2 band colours, slot 0 below t0 (the
// underflow colour), slots 1 ... B between consecutive thresholds, slot B + 1 at or above tB (the
// overflow colour).

#include <vector>

namespace plotvane {

class ColorMapper {
public:
    // From scale values v0 < ... < vn-1 and gradient colours. A continuous gradient splits the
    // intervals into fine bands, so the colours run smoothly; -1 under- and overflow colours take
    // the first and last gradient colours.
    static ColorMapper fromGradient(const std::vector<double>& values, const std::vector<int>& gradient,
                                    bool continuous, int underflowColor, int overflowColor);
    // From (value, colour) stops: band [vi, vi+1) in colour ci, or, continuously, the colours
    // blended between the stops. -1 under- and overflow colours take the first and last stop.
    static ColorMapper fromStops(const std::vector<double>& values, const std::vector<int>& colors,
                                 bool continuous, int underflowColor, int overflowColor);

    int getColor(double z) const;
    const std::vector<double>& thresholds() const { return thresholds_; }
    const std::vector<int>& colors() const { return colors_; }

    // The colour at position p of a gradient (p = 1 is the second colour); Transparent ends fade.
    static int gradientAt(const std::vector<int>& gradient, double p);

private:
    // Buckets over [t0, tB] that hold where the search for a value in them starts, so a fine
    // gradient costs a step or two per value instead of a binary search.
    void buildBuckets();

    std::vector<double> thresholds_;
    std::vector<int> colors_;
    std::vector<int> buckets_;
    double bucketScale_ = 0;
};

// The blue-through-red gradient used when none is given.
const std::vector<int>& defaultColorGradient();

}  // namespace plotvane

#endif
