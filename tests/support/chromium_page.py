"""Loads a local HTML page in headless Chromium, evaluates JavaScript in it and takes PNG
screenshots, over the DevTools protocol on a pipe (--remote-debugging-pipe: commands on fd 3,
replies on fd 4, each a JSON text ended by a NUL byte); it needs only the standard library.

    with ChromiumPage("/abs/path/page.html", width=1200, height=900) as page:
        value = page.evaluate("JS expression")  # the value as JSON; awaits a promise
        page.screenshot("/abs/out.png", full_page=False)

__enter__ returns once the load event has fired. Chart.js animates a chart's first drawing for
about a second after that, its points (and a screenshot) short of their values until it ends: so
the page builds its charts with `animation: false`; a caller holding a page that animates sets
`chart.options.animation = false; chart.update()` before reading.

Chromium runs in a process group of its own with a fresh profile in a temporary folder, both
removed on __exit__, at exit and on SIGTERM (made SystemExit when nothing else handles it).
PR_SET_PDEATHSIG kills it if the test dies; the next page removes that test's folder. Its stderr
goes to a file, whose tail shows only in the error raised when the browser fails.
"""
import atexit
import base64
import contextlib
import ctypes
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

CHROMIUM = "/usr/bin/chromium"
_open_pages = set()
_libc = ctypes.CDLL(None)


class ChromiumError(RuntimeError):
    pass


@atexit.register
def _close_all():
    for page in list(_open_pages):
        page.close()


def _remove_orphaned_profiles():
    """The folders of tests killed outright: their process is gone."""
    for folder in pathlib.Path(tempfile.gettempdir()).glob("chromium-page-*-*"):
        with contextlib.suppress(ValueError, PermissionError):
            try:
                os.kill(int(folder.name.split("-")[2]), 0)
            except ProcessLookupError:
                shutil.rmtree(folder, ignore_errors=True)


class ChromiumPage:
    def __init__(self, path, width=1200, height=900, timeout=30):
        self.url = pathlib.Path(path).resolve().as_uri()
        self.width = width
        self.height = height
        self.timeout = timeout
        self.process = None
        self.session = None
        self.pipes = []
        self.messages = []
        self.buffer = b""
        self.last_id = 0

    def __enter__(self):
        if signal.getsignal(signal.SIGTERM) == signal.SIG_DFL:
            with contextlib.suppress(ValueError):  # only the main thread may set it
                signal.signal(signal.SIGTERM, lambda *_: sys.exit("ended by SIGTERM"))
        _remove_orphaned_profiles()
        self.folder = tempfile.mkdtemp(prefix=f"chromium-page-{os.getpid()}-")
        _open_pages.add(self)
        try:
            self._start()
            targets = self._call("Target.getTargets")["targetInfos"]
            target = (next((t["targetId"] for t in targets if t["type"] == "page"), None)
                      or self._call("Target.createTarget", {"url": "about:blank"})["targetId"])
            self.session = self._call("Target.attachToTarget",
                                      {"targetId": target, "flatten": True})["sessionId"]
            # --window-size leaves a smaller viewport: size the viewport, 1 pixel a CSS pixel.
            self._call("Emulation.setDeviceMetricsOverride", {
                "width": self.width, "height": self.height, "deviceScaleFactor": 1,
                "mobile": False})
            self._call("Page.enable")
            error = self._call("Page.navigate", {"url": self.url}).get("errorText")
            if error:
                raise ChromiumError(f"cannot load {self.url}: {error}")
            self._wait(lambda m: m.get("method") == "Page.loadEventFired", "the load event")
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *_):
        self.close()

    def _start(self):
        commands, self.commands = os.pipe()
        self.replies, replies = os.pipe()
        self.pipes = [commands, self.commands, self.replies, replies]

        def in_child():
            # Above 10 first, so that moving one end to 3 or 4 cannot overwrite the other.
            high = [fcntl.fcntl(fd, fcntl.F_DUPFD_CLOEXEC, 10) for fd in (commands, replies)]
            os.dup2(high[0], 3)
            os.dup2(high[1], 4)
            _libc.prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG

        with open(os.path.join(self.folder, "stderr"), "wb") as log:
            self.process = subprocess.Popen(
                [CHROMIUM, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                 "--no-first-run", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", "--remote-debugging-pipe",
                 f"--user-data-dir={self.folder}/profile",
                 f"--window-size={self.width},{self.height}", "about:blank"],
                stdin=subprocess.DEVNULL, stdout=log, stderr=log, close_fds=False,
                process_group=0, preexec_fn=in_child)
        for fd in (commands, replies):  # the browser's ends: EOF once it has gone
            os.close(fd)
            self.pipes.remove(fd)

    def _call(self, method, params=None):
        self.last_id += 1
        number = self.last_id
        message = {"id": number, "method": method, "params": params or {}}
        if self.session:
            message["sessionId"] = self.session
        data = json.dumps(message).encode() + b"\0"
        try:
            while data:
                data = data[os.write(self.commands, data):]
        except BrokenPipeError:
            raise self._failure(f"Chromium ended before {method}") from None
        reply = self._wait(lambda m: m.get("id") == number, f"reply to {method}")
        if "error" in reply:
            raise ChromiumError(f"{method}: {reply['error'].get('message')}")
        return reply["result"]

    def _wait(self, wanted, what):
        """The first message `wanted` accepts; replies and load events are kept until taken."""
        deadline = time.monotonic() + self.timeout
        while not any(map(wanted, self.messages)):
            left = deadline - time.monotonic()
            if left <= 0:
                raise self._failure(f"no {what} within {self.timeout} s")
            if select.select([self.replies], [], [], left)[0]:
                chunk = os.read(self.replies, 1 << 20)
                if not chunk:
                    raise self._failure(f"Chromium ended before the {what}")
                *texts, self.buffer = (self.buffer + chunk).split(b"\0")
                self.messages += [m for m in map(json.loads, texts)
                                  if "id" in m or m.get("method") == "Page.loadEventFired"]
        found = next(filter(wanted, self.messages))
        self.messages.remove(found)
        return found

    def _failure(self, text):
        with contextlib.suppress(OSError):
            tail = pathlib.Path(self.folder, "stderr").read_text(errors="replace")[-2000:]
            text += f"; Chromium's stderr ends:\n{tail}"
        return ChromiumError(text)

    def evaluate(self, expression):
        """The expression's value as JSON (NaN and Infinity only at the top; null within)."""
        reply = self._call("Runtime.evaluate", {"expression": expression,
                                                "returnByValue": True, "awaitPromise": True})
        if "exceptionDetails" in reply:
            details = reply["exceptionDetails"]
            thrown = details.get("exception", {})
            text = thrown.get("description", thrown.get("value", details["text"]))
            raise ChromiumError(f"JavaScript: {text}")
        result = reply["result"]
        if "unserializableValue" in result:  # NaN, Infinity, -0 or a BigInt such as 10n
            return float(result["unserializableValue"].rstrip("n"))
        return result.get("value")

    def screenshot(self, path, full_page=False):
        options = {"format": "png"}
        if full_page:
            size = self._call("Page.getLayoutMetrics")["cssContentSize"]
            options.update(captureBeyondViewport=True,
                           clip={"x": 0, "y": 0, "scale": 1, "width": size["width"],
                                 "height": size["height"]})
        data = self._call("Page.captureScreenshot", options)["data"]
        pathlib.Path(path).write_bytes(base64.b64decode(data))

    def close(self):
        if self.process:
            # Asked to close, the browser ends most of its children itself (a kill leaves
            # them all as zombies for init to reap); the kill ends whatever remains.
            with contextlib.suppress(OSError, subprocess.TimeoutExpired):
                os.write(self.commands, b'{"id": 0, "method": "Browser.close"}\0')
                self.process.wait(5)
            with contextlib.suppress(ProcessLookupError):
                os.killpg(self.process.pid, signal.SIGKILL)
            self.process.wait()
            self.process = None
        for fd in self.pipes:
            os.close(fd)
        self.pipes = []
        shutil.rmtree(self.folder, ignore_errors=True)
        _open_pages.discard(self)
