#include <plotvane/chart.h>

#include <algorithm>

namespace plotvane {
namespace Chart {

double bSearch(DoubleArray values, double v) {
    if (values.len <= 0 || !values.data) return -1;
    const double* begin = values.data;
    const double* end = values.data + values.len;
    int i = static_cast<int>(std::lower_bound(begin, end, v) - begin);
    if (i == values.len) return values.len - 1;
    if (i == 0 || values[i] == v) return i;
    return i - (values[i] - v) / (values[i] - values[i - 1]);
}

}  // namespace Chart
}  // namespace plotvane
