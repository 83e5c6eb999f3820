#!/usr/bin/env python3
"""Independent reference for the trend layer's fits.

Reads a JSON list of cases (x, y, degree, origin, level, at) from the file named first and prints,
per case, lines "name key value": the straight models' slope and intercept and a polynomial's
coefficients from numpy.polyfit, the correlation and the standard error from a statsmodels OLS fit,
and at each x of `at` the fitted value with its confidence and prediction band edges from
get_prediction's mean and standard errors. Then, for each "t" entry (q, dof), Student's
upper-tail quantile.

scipy's quantile (1.10 and older) is only good to about 1e-8 for some degrees of freedom, so when
mpmath is there each quantile is polished by a root search on the 40-digit incomplete beta
function; the bands use the polished quantile too.

The OLS design is built in a centred and scaled x, as the fitted values, band edges, R squared and
standard error do not depend on the basis, while the raw powers of x near 1e9 would be singular
in double precision.
"""
import json
import sys

import numpy as np
import statsmodels.api as sm
from scipy import stats


def design(x, centre, scale, degree, origin):
    t = (np.asarray(x) - centre) / scale
    return np.column_stack([t**k for k in range(1 if origin else 0, degree + 1)])


def upper_quantile(q, dof):
    t = stats.t.isf(q, dof)
    try:
        import mpmath
    except ImportError:
        return t
    mpmath.mp.dps = 40

    def tail(x):
        return mpmath.betainc(mpmath.mpf(dof) / 2, mpmath.mpf(1) / 2, 0, dof / (dof + x * x), regularized=True) / 2 - q

    return float(mpmath.findroot(tail, mpmath.mpf(t)))


def main():
    request = json.load(open(sys.argv[1]))
    out = []
    for case in request["cases"]:
        name, degree, origin = case["name"], case["degree"], case["origin"]
        x, y = np.array(case["x"]), np.array(case["y"])
        centre = 0.0 if origin else (x.min() + x.max()) / 2
        scale = np.abs(x - centre).max()
        fit = sm.OLS(y, design(x, centre, scale, degree, origin)).fit()
        out.append((name, "stdError", np.sqrt(fit.scale)))
        if degree == 1 and not origin:
            out.append((name, "correlation", np.corrcoef(x, y)[0, 1]))
        else:
            out.append((name, "correlation", np.sign(fit.params[0]) * np.sqrt(fit.rsquared) if origin else np.sqrt(fit.rsquared)))
        if origin:
            out.append((name, "slope", np.dot(x, y) / np.dot(x, x)))
        elif case.get("coefficients", True):
            coefficients = np.polyfit(x, y, degree)[::-1]
            for k, c in enumerate(coefficients):
                out.append((name, "c%d" % k, c))
        frame = fit.get_prediction(design(case["at"], centre, scale, degree, origin)).summary_frame(
            alpha=1 - case["level"])
        t = upper_quantile((1 - case["level"]) / 2, fit.df_resid)
        for k, row in enumerate(frame.itertuples()):
            observation = np.sqrt(row.mean_se**2 + fit.scale)
            out.append((name, "fit%d" % k, row.mean))
            out.append((name, "confLower%d" % k, row.mean - t * row.mean_se))
            out.append((name, "confUpper%d" % k, row.mean + t * row.mean_se))
            out.append((name, "predLower%d" % k, row.mean - t * observation))
            out.append((name, "predUpper%d" % k, row.mean + t * observation))
    for q, dof in request["t"]:
        out.append(("t", "%r/%r" % (q, dof), upper_quantile(q, dof)))
    for name, key, value in out:
        print("%s %s %.17g" % (name, key, value))


if __name__ == "__main__":
    main()
