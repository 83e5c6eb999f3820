#!/usr/bin/env python3
"""Loads pages in headless Chromium and reports every picture that did not decode and every
console error.

The browser is driven over --remote-debugging-pipe: one message of JSON per NUL-terminated chunk,
requests on fd 3, replies and events on fd 4. That needs nothing but the Python standard library
and no network port, and it sees what a person opening the page would see: script exceptions,
console.error calls and the browser's own complaints (a missing file is logged as "Failed to load
resource"). A picture counts as decoded when its naturalWidth is above zero after the load event.

Usage: browser_check.py [--must-fail PAGE]... PAGE...
Each --must-fail page is a control that has to show a problem, proving the check can fail.
Exit 0 when every page is clean and every control is caught, 1 otherwise, 77 without Chromium.
"""
import fcntl
import json
import os
import pathlib
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

BROWSER_FLAGS = [
    "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--disable-default-apps", "--disable-extensions", "--no-default-browser-check",
    "--remote-debugging-pipe",
]
STEP_SECONDS = 90  # one reply or page load, long enough for a loaded 2-core machine
PICTURE_STATE = """Array.from(document.images, i => ({src: i.getAttribute('src'),
    complete: i.complete, width: i.naturalWidth}))"""


def moveAbove(fd, lowest):
    moved = fcntl.fcntl(fd, fcntl.F_DUPFD_CLOEXEC, lowest)
    os.close(fd)
    return moved


class Browser:
    def __init__(self, executable, profile, log):
        # The browser's ends are moved above 3 and 4 first, so wiring them up cannot clobber each other.
        to_browser_r, self.to_browser = os.pipe()
        self.from_browser, from_browser_w = os.pipe()
        to_browser_r, from_browser_w = (moveAbove(fd, 10) for fd in (to_browser_r, from_browser_w))

        def wire_pipes():
            os.dup2(to_browser_r, 3)
            os.dup2(from_browser_w, 4)

        # A fresh session keeps the browser and its helpers in one group we can end as a whole.
        self.proc = subprocess.Popen(
            [executable, *BROWSER_FLAGS, f"--user-data-dir={profile}", "about:blank"],
            stdin=subprocess.DEVNULL, stdout=log, stderr=log,
            pass_fds=(3, 4), preexec_fn=wire_pipes, start_new_session=True)
        os.close(to_browser_r)
        os.close(from_browser_w)
        self.buffer = b""
        self.next_id = 0
        self.events = []

    def send(self, method, params=None, session=None):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = session
        os.write(self.to_browser, json.dumps(message).encode() + b"\0")
        return self.next_id

    def receive(self, deadline):
        while b"\0" not in self.buffer:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([self.from_browser], [], [], left)[0]:
                raise TimeoutError("the browser stopped answering")
            chunk = os.read(self.from_browser, 1 << 16)
            if not chunk:
                raise ConnectionError("the browser closed its pipe")
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(message)

    def call(self, method, params=None, session=None):
        request = self.send(method, params, session)
        deadline = time.monotonic() + STEP_SECONDS
        while True:
            message = self.receive(deadline)
            if message.get("id") == request:
                if "error" in message:
                    raise RuntimeError(f"{method}: {message['error'].get('message')}")
                return message.get("result", {})
            self.events.append(message)

    def waitFor(self, method, session):
        deadline = time.monotonic() + STEP_SECONDS
        while not any(e.get("method") == method and e.get("sessionId") == session for e in self.events):
            self.events.append(self.receive(deadline))

    def close(self):
        try:
            self.send("Browser.close")
            self.proc.wait(timeout=5)
        except (OSError, subprocess.TimeoutExpired):
            pass
        if self.proc.poll() is None:
            os.killpg(self.proc.pid, signal.SIGKILL)
            self.proc.wait()
        os.close(self.to_browser)
        os.close(self.from_browser)


def consoleErrors(events, session):
    errors = []
    for event in events:
        if event.get("sessionId") != session:
            continue
        method, params = event.get("method"), event.get("params", {})
        if method == "Runtime.exceptionThrown":
            details = params["exceptionDetails"]
            errors.append(details.get("exception", {}).get("description") or details.get("text"))
        elif method == "Runtime.consoleAPICalled" and params.get("type") in ("error", "assert"):
            errors.append(" ".join(str(a.get("value", a.get("description", ""))) for a in params["args"]))
        elif method == "Log.entryAdded" and params["entry"].get("level") == "error":
            entry = params["entry"]
            errors.append(f"{entry.get('text')} {entry.get('url', '')}".strip())
    return errors


def checkPage(browser, session, page):
    """Loads one page and returns its problems, an empty list when it is clean."""
    browser.events.clear()
    browser.call("Page.navigate", {"url": page.as_uri()}, session)
    browser.waitFor("Page.loadEventFired", session)
    pictures = browser.call("Runtime.evaluate", {"expression": PICTURE_STATE, "returnByValue": True},
                            session)["result"]["value"]
    problems = [f"picture not decoded: {p['src']}" for p in pictures if not (p["complete"] and p["width"] > 0)]
    if not pictures:
        problems.append("no pictures on the page")
    problems += [f"console error: {text}" for text in consoleErrors(browser.events, session)]
    return len(pictures), problems


def main(argv):
    controls, pages = [], []
    args = iter(argv)
    for arg in args:
        if arg == "--must-fail":
            controls.append(pathlib.Path(next(args, "")).resolve())
        else:
            pages.append(pathlib.Path(arg).resolve())
    executable = shutil.which("chromium")
    if executable is None:
        print("SKIP: chromium is not installed")
        return 77

    profile = tempfile.mkdtemp(prefix="plotvane-chromium-")
    log = tempfile.TemporaryFile()
    browser = Browser(executable, profile, log)
    failed = False
    try:
        target = next(t for t in browser.call("Target.getTargets")["targetInfos"] if t["type"] == "page")
        session = browser.call("Target.attachToTarget", {"targetId": target["targetId"], "flatten": True})["sessionId"]
        for domain in ("Page", "Runtime", "Log"):
            browser.call(f"{domain}.enable", session=session)
        for page in pages:
            count, problems = checkPage(browser, session, page)
            print(f"{page}: {count} pictures, {len(problems)} problems")
            for problem in problems:
                print(f"  {problem}")
            failed |= bool(problems)
        for page in controls:
            _, problems = checkPage(browser, session, page)
            print(f"control {page.name}: {'caught: ' + problems[0] if problems else 'NOT caught'}")
            failed |= not problems
    except (RuntimeError, TimeoutError, ConnectionError, StopIteration, KeyError) as error:
        # The browser's own output is mostly noise about the missing desktop bus, so it is shown
        # only when the browser itself let us down.
        log.seek(0)
        print(f"browser check failed: {error!r}", "the browser's last words:",
              *log.read().decode(errors="replace").splitlines()[-15:], sep="\n  ")
        failed = True
    finally:
        browser.close()
        shutil.rmtree(profile, ignore_errors=True)
        log.close()
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
