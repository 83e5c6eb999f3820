#!/usr/bin/env python3
"""Uses the two interactive examples in headless Chromium as a person would, with real mouse events.

The image-map page: hovering over a point shows that point's tool tip, and clicking it follows its
link (the page lists the link's parameters). The zoom page, served by zoom_scroll_chart --serve:
a wheel turn, a drag and a click each change the view port as the view-port arithmetic says, and
the chart drawn again for it spans exactly the visible part of the full range. Any console error
fails the check.

Usage: interactive_check.py EXAMPLES_BIN_DIR. Exit 0 when all holds, 1 otherwise, 77 without
Chromium.
"""
import json
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time

from browser_check import Browser, consoleErrors

failures = []


def check(condition, what):
    print(("ok: " if condition else "FAILED: ") + what)
    if not condition:
        failures.append(what)


def evaluate(browser, session, expression):
    reply = browser.call("Runtime.evaluate", {"expression": expression, "returnByValue": True}, session)
    return reply["result"].get("value")


def mouse(browser, session, kind, x, y, **more):
    params = {"type": kind, "x": x, "y": y, **more}
    if kind in ("mousePressed", "mouseReleased"):
        params.update(button="left", clickCount=1)
    browser.call("Input.dispatchMouseEvent", params, session)


def load(browser, session, url):
    browser.events.clear()
    browser.call("Page.navigate", {"url": url}, session)
    browser.waitFor("Page.loadEventFired", session)


def imageOrigin(browser, session, selector):
    return evaluate(browser, session, f"(() => {{ const r = document.querySelector('{selector}')"
                                      ".getBoundingClientRect(); return [r.left, r.top]; })()")


def hoverAndClick(browser, session, page):
    load(browser, session, page.as_uri())
    areas = evaluate(browser, session, """Array.from(document.querySelectorAll('map area'),
        a => ({coords: a.coords.split(',').map(Number), tip: a.dataset.tip, href: a.getAttribute('href')}))""")
    check(len(areas) > 10, f"the image map has {len(areas)} areas")
    left, top = imageOrigin(browser, session, "img")
    # A point of the line: the map lists the line layer first.
    area = areas[0]
    xs, ys = area["coords"][0::2], area["coords"][1::2]
    x, y = left + sum(xs) / len(xs), top + sum(ys) / len(ys)
    mouse(browser, session, "mouseMoved", x, y)
    tip = evaluate(browser, session, "(() => { const t = document.getElementById('tip'); "
                                     "return t.hidden ? null : t.textContent; })()")
    check(tip == area["tip"], f"hovering shows the point's tool tip {area['tip']!r} (shown: {tip!r})")
    mouse(browser, session, "mousePressed", x, y)
    mouse(browser, session, "mouseReleased", x, y)
    clicked = evaluate(browser, session, "document.getElementById('clicked').textContent")
    check(clicked.startswith("Clicked detail.html") and "xLabel = Jan" in clicked and "value = 28.6" in clicked,
          f"clicking follows the point's link {area['href']!r} (page shows {clicked!r})")


def waitForState(browser, session, op):
    deadline = time.monotonic() + 20
    while time.monotonic() < deadline:
        text = evaluate(browser, session, "document.getElementById('state').textContent")
        if text and json.loads(text)["op"] == op:
            return json.loads(text)
        time.sleep(0.05)
    raise TimeoutError(f"the page never showed the state after {op}")


def expectView(state, left, width, what):
    check(abs(state["left"] - left) < 1e-9 and abs(state["width"] - width) < 1e-9,
          f"{what}: view port left {state['left']:.6f}, width {state['width']:.6f} "
          f"(expected {left:.6f}, {width:.6f})")
    span = state["fullMax"] - state["fullMin"]
    low, high = state["fullMin"] + left * span, state["fullMin"] + (left + width) * span
    check(abs(state["axisMin"] - low) <= 1e-9 * span and abs(state["axisMax"] - high) <= 1e-9 * span,
          f"{what}: the chart drawn again spans the visible part of the full range")


def zoomAndScroll(browser, session, url):
    load(browser, session, url)
    state = waitForState(browser, session, "none")
    check(state["width"] == 1 and state["fullMax"] > state["fullMin"], "the chart starts at its full range")
    left, top = imageOrigin(browser, session, "#chart")
    plotLeft, plotWidth = state["plotLeft"], state["plotWidth"]

    # A wheel turn away from the reader zooms in by 1.25 around the point, which stays in place.
    x, y = plotLeft + 315, 150
    mouse(browser, session, "mouseWheel", left + x, top + y, deltaX=0, deltaY=-100)
    zoomed = waitForState(browser, session, "wheel")
    width = 1 / 1.25
    expected = (1 - width) * (x - plotLeft) / plotWidth
    expectView(zoomed, expected, width, "wheel zoom")

    # Dragging the content 63 pixels left moves the view right by 63 pixels' worth of data.
    mouse(browser, session, "mousePressed", left + x, top + y)
    mouse(browser, session, "mouseMoved", left + x - 63, top + y, button="left")
    mouse(browser, session, "mouseReleased", left + x - 63, top + y)
    dragged = waitForState(browser, session, "drag")
    expected += 63 * width / plotWidth
    expectView(dragged, expected, width, "drag")

    # A click zooms in twice, centred on the point clicked.
    x = plotLeft + 200
    mouse(browser, session, "mousePressed", left + x, top + y)
    mouse(browser, session, "mouseReleased", left + x, top + y)
    clicked = waitForState(browser, session, "click")
    expected += (x - plotLeft) * width / plotWidth - width / 4
    expectView(clicked, expected, width / 2, "click zoom")


def main(bin_dir):
    executable = shutil.which("chromium")
    if executable is None:
        print("SKIP: chromium is not installed")
        return 77
    bin_dir = pathlib.Path(bin_dir).resolve()
    work = pathlib.Path(tempfile.mkdtemp(prefix="plotvane-interactive-"))
    server = subprocess.Popen([bin_dir / "zoom_scroll_chart", "--serve", "0"], stdout=subprocess.PIPE, text=True)
    profile = tempfile.mkdtemp(prefix="plotvane-chromium-")
    log = tempfile.TemporaryFile()
    browser = None
    try:
        subprocess.run([bin_dir / "interactive_chart"], cwd=work, check=True)
        url = server.stdout.readline().strip()
        browser = Browser(executable, profile, log)
        target = next(t for t in browser.call("Target.getTargets")["targetInfos"] if t["type"] == "page")
        session = browser.call("Target.attachToTarget", {"targetId": target["targetId"], "flatten": True})["sessionId"]
        for domain in ("Page", "Runtime", "Log"):
            browser.call(f"{domain}.enable", session=session)
        hoverAndClick(browser, session, work / "interactive_chart.html")
        errors = consoleErrors(browser.events, session)
        zoomAndScroll(browser, session, url)
        errors += consoleErrors(browser.events, session)
        check(not errors, "no console errors" + "".join(f"\n  {e}" for e in errors))
    except (RuntimeError, TimeoutError, ConnectionError, StopIteration, KeyError, subprocess.CalledProcessError,
            json.JSONDecodeError) as error:
        log.seek(0)
        print(f"interactive check failed: {error!r}", "the browser's last words:",
              *log.read().decode(errors="replace").splitlines()[-15:], sep="\n  ")
        failures.append(repr(error))
    finally:
        if browser:
            browser.close()
        server.kill()
        server.wait()
        shutil.rmtree(profile, ignore_errors=True)
        shutil.rmtree(work, ignore_errors=True)
        log.close()
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: interactive_check.py EXAMPLES_BIN_DIR")
    sys.exit(main(sys.argv[1]))
