# Technical indicators computed with pandas from a CSV of t,high,low,open,close,volume; prints one
# line per indicator: its key, then the values of the last `shown` rows ("nan" where undefined).
import sys

import numpy as np
import pandas as pd

path, shown = sys.argv[1], int(sys.argv[2])
d = pd.read_csv(path, names=["t", "h", "l", "o", "c", "v"])
h, l, c, v = d.h, d.l, d.c, d.v


def ema(x, alpha):
    return x.ewm(alpha=alpha, adjust=False, ignore_na=True).mean().where(x.notna())


def ema_n(x, n):
    return ema(x, 2.0 / (n + 1))


def sma(x, n):
    return x.rolling(n).mean()


def position(value, high, low, n):
    hh, ll = high.rolling(n).max(), low.rolling(n).min()
    return 100 * (value - ll) / (hh - ll)


prev = c.shift(1)
tr = np.maximum(h, prev).where(prev.notna()) - np.minimum(l, prev).where(prev.notna())
clv = (2 * c - l - h) / (h - l)
tp = (h + l + c) / 3
dc = c.diff()

out = {}
out["sma20"] = sma(c, 20)
out["ema12"] = ema_n(c, 12)
out["tma10"] = sma(sma(c, 6), 6)
w = np.arange(1, 10)
out["wma9"] = c.rolling(9).apply(lambda x: (x * w).sum() / 45.0, raw=True)
sd = c.rolling(20).std(ddof=0)
out["bb_upper"] = sma(c, 20) + 2 * sd
out["bb_lower"] = (sma(c, 20) - 2 * sd).clip(lower=0)
out["donchian_upper"] = h.rolling(20).max()
out["donchian_lower"] = l.rolling(20).min()
macd = ema_n(c, 12) - ema_n(c, 26)
signal = ema_n(macd, 9)
out["macd"], out["macd_signal"], out["macd_div"] = macd, signal, macd - signal
gains, moves = dc.clip(lower=0), dc.abs()
out["rsi14"] = 100 * ema(gains, 1 / 14) / ema(moves, 1 / 14)
k = position(c, h, l, 14)
out["fast_k"], out["fast_d"] = k, sma(k, 3)
slow = sma(k, 3)
out["slow_k"], out["slow_d"] = slow, sma(slow, 3)
out["williams"] = k - 100
out["tr"], out["atr14"] = tr, ema_n(tr, 14)
out["obv"] = (v * np.sign(dc)).cumsum()
out["roc10"] = 100 * (c / c.shift(10) - 1)
out["momentum10"] = c - c.shift(10)
mad = tp.rolling(20).apply(lambda x: np.abs(x - x.mean()).mean(), raw=True)
out["cci20"] = (tp - sma(tp, 20)) / (0.015 * mad)
mf, dtp = tp * v, tp.diff()
pos = mf.where(dtp > 0, 0).where(dtp.notna())
neg = mf.where(dtp < 0, 0).where(dtp.notna())
out["mfi14"] = 100 * sma(pos, 14) / (sma(pos, 14) + sma(neg, 14))
out["cmf20"] = sma(clv * v, 20) / sma(v, 20)
out["accdist"] = (clv * v).cumsum()
e3 = ema_n(ema_n(ema_n(c, 9), 9), 9)
out["trix9"] = 100 * (e3 / e3.shift(1) - 1)
out["stddev20"] = sd
bp = c - np.minimum(l, prev).where(prev.notna())
out["ultimate"] = sum(wt * sma(bp, n) / sma(tr, n) for wt, n in ((4, 7), (2, 14), (1, 28))) * 100 / 7

for key, series in out.items():
    print(key, " ".join("%.17g" % x for x in series.iloc[-shown:]))
