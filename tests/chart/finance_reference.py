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

# Indicators written loop by loop from their textbook definitions.
hl, mid = h - l, (h + l) / 2

nvi, pvi, ratio = [1000.0], [1000.0], (c / c.shift(1)).tolist()
falls, rises = (v < v.shift(1)).tolist(), (v > v.shift(1)).tolist()
for i in range(1, len(c)):
    nvi.append(nvi[-1] * (ratio[i] if falls[i] else 1))
    pvi.append(pvi[-1] * (ratio[i] if rises[i] else 1))
out["nvi"], out["pvi"] = pd.Series(nvi), pd.Series(pvi)
out["nvi_sma25"], out["pvi_sma25"] = sma(out["nvi"], 25), sma(out["pvi"], 25)

up, down = h.diff(), -l.diff()
plus_dm = up.where((up > down) & (up > 0), 0).where(up.notna())
minus_dm = down.where((down > up) & (down > 0), 0).where(down.notna())
atr = ema(tr, 1 / 14)
plus_di, minus_di = 100 * ema(plus_dm, 1 / 14) / atr, 100 * ema(minus_dm, 1 / 14) / atr
dx = 100 * (plus_di - minus_di).abs() / (plus_di + minus_di)
# Before the first move outside an inside day both indexes are 0: no direction, so no trend (0),
# where the bare ratio would be 0/0 and leave the day out of the smoothing.
dx = dx.where(~((plus_di == 0) & (minus_di == 0)), 0)
out["plus_di"], out["minus_di"], out["adx"] = plus_di, minus_di, ema(dx, 1 / 14)


def days_since(x, better):
    # Bars since the window's extreme, the latest one when it repeats.
    latest = x[::-1]
    return int(np.flatnonzero(latest == better(latest))[0])


n = 25
aroon_up = 100 * (n - h.rolling(n + 1).apply(lambda x: days_since(x, np.max), raw=True)) / n
aroon_down = 100 * (n - l.rolling(n + 1).apply(lambda x: days_since(x, np.min), raw=True)) / n
out["aroon_up"], out["aroon_down"], out["aroon_osc"] = aroon_up, aroon_down, aroon_up - aroon_down

sar, hs, ls = [np.nan], h.tolist(), l.tolist()
rising, stop, extreme, acc = True, ls[0], hs[0], 0.02
for i in range(1, len(c)):
    stop = stop + acc * (extreme - stop)
    if rising:
        stop = min([stop] + ls[max(i - 2, 0):i])
        if ls[i] < stop:
            rising, stop, extreme, acc = False, extreme, ls[i], 0.02
        elif hs[i] > extreme:
            extreme, acc = hs[i], min(acc + 0.02, 0.2)
    else:
        stop = max([stop] + hs[max(i - 2, 0):i])
        if hs[i] > stop:
            rising, stop, extreme, acc = True, extreme, hs[i], 0.02
        elif ls[i] < extreme:
            extreme, acc = ls[i], min(acc + 0.02, 0.2)
    sar.append(stop)
out["sar"] = pd.Series(sar)

out["dpo20"] = c - sma(c, 20).shift(20 // 2 + 1)
e = ema(hl, 0.2)
out["mass"] = 25 * sma(e / ema(e, 0.2), 25)
ppo = 100 * (ema_n(c, 12) - ema_n(c, 26)) / ema_n(c, 26)
out["ppo"], out["ppo_signal"], out["ppo_div"] = ppo, ema_n(ppo, 9), ppo - ema_n(ppo, 9)
pvo = 100 * (ema_n(v, 12) - ema_n(v, 26)) / ema_n(v, 26)
out["pvo"], out["pvo_signal"], out["pvo_div"] = pvo, ema_n(pvo, 9), pvo - ema_n(pvo, 9)
adl = (clv * v).cumsum()
out["chaikin_osc"] = ema(adl, 0.5) - ema(adl, 2 / 11)
spread = ema_n(hl, 10)
out["chaikin_vol"] = 100 * (spread / spread.shift(10) - 1)
emv = mid.diff() * hl / v
out["emv"], out["emv_sma14"] = emv, sma(emv, 14)
rsi = out["rsi14"]
out["stoch_rsi14"] = 100 * (rsi - rsi.rolling(14).min()) / (rsi.rolling(14).max() - rsi.rolling(14).min())

for key, series in out.items():
    print(key, " ".join("%.17g" % x for x in series.iloc[-shown:]))
