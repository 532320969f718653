"""The whole program measured from outside, as a person would: exec to the first painted prompt,
key to screen change, key to the first sample of its sound at the audio server, memory, idle CPU
and a key storm. Run it through bench/run_e2e.sh, which starts the servers it needs.

Drawing is seen through the X DAMAGE extension: the server reports every rectangle drawn on the
screen, and the time a report arrives is the time the picture changed. Pixels are read only to
check that a report was the expected drawing (the prompt, a new picture), never polled.
"""

import argparse
import json
import os
import select
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

import numpy as np
from Xlib import X
from Xlib.ext import damage, xtest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e"))
import harness  # noqa: E402

LETTERS = "abcdefghijklmnopqrstuvwxyz"


def touches(a, rect):
    x, y, w, h = rect
    return a.x < x + w and x < a.x + a.width and a.y < y + h and y < a.y + a.height


class Damage:
    """The rectangles drawn anywhere on the screen, each with the time its report arrived."""

    def __init__(self, x11):
        self.d = x11.d
        # A client must agree on the version before the server takes any other damage request.
        self.d.damage_query_version()
        self.id = x11.root.damage_create(damage.DamageReportRawRectangles)
        self.d.sync()

    def close(self):
        self.d.damage_destroy(self.id)
        self.d.sync()

    def events(self, timeout):
        """The reports that arrive within timeout seconds (at least one unless it runs out), as
        (arrival time, area)."""
        out = []
        deadline = time.monotonic() + timeout
        while True:
            while self.d.pending_events():
                e = self.d.next_event()
                if e.__class__.__name__ == "DamageNotify":
                    out.append((time.monotonic(), e.area))
            if out:
                return out
            left = deadline - time.monotonic()
            if left <= 0:
                return out
            select.select([self.d.fileno()], [], [], left)

    def drain(self):
        self.d.sync()
        while self.d.pending_events():
            self.d.next_event()

    def wait(self, rect, timeout=2.0):
        """Arrival time of the first drawing that touches rect (x, y, w, h), or None."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            for t, a in self.events(deadline - time.monotonic()):
                if touches(a, rect):
                    return t
        return None

    def quiet_since(self, rect, quiet=0.3, timeout=20.0):
        """Arrival time of the last drawing touching rect, once nothing was drawn there for
        `quiet` seconds; and how many reports touched it."""
        last = time.monotonic()
        count = 0
        deadline = last + timeout
        while time.monotonic() < deadline:
            left = quiet - (time.monotonic() - last)
            if left <= 0:
                break
            for t, a in self.events(left):
                if touches(a, rect):
                    last = t
                    count += 1
        return last, count


def key(x11, name, down):
    """A key event through XTest, sent without waiting for a reply."""
    xtest.fake_input(x11.d, X.KeyPress if down else X.KeyRelease, x11.keycode(name))
    x11.d.flush()


def prompt_visible(x11, rect):
    """True when the middle of rect shows dark text on the light window colour."""
    x, y, w, h = rect
    band = (x + w // 4, y + h // 2 - 30, w // 2, 60)
    shot = x11.screenshot(band).astype(np.int32).sum(axis=2)
    return np.count_nonzero(shot < 200) > 50 and np.count_nonzero(shot > 600) > band[2] * 30


def measure_startup(x11, dmg, workdir):
    """Seconds from exec to the report of the drawing that put the prompt on the screen."""
    dmg.drain()
    prog = harness.Program(workdir)
    t0 = prog.started
    deadline = t0 + 10
    win = None
    while time.monotonic() < deadline:
        batch = dmg.events(deadline - time.monotonic())
        if not prog.alive():
            raise RuntimeError(f"the program ended at start: {prog.finish()}")
        if win is None:
            wins = x11.windows_of(prog.pid)
            if not wins:
                continue
            win = wins[0]
        rect = x11.geometry(win)
        hits = [t for t, a in batch if touches(a, rect)]
        if hits and rect[2] > 100 and rect[3] > 100 and prompt_visible(x11, rect):
            return prog, hits[-1] - t0, win
    prog.close()
    raise RuntimeError("no prompt painted within 10 s")


def centre_patch(x11, rect):
    x, y, w, h = rect
    return x11.screenshot((x + w // 2 - 16, y + h // 2 - 16, 32, 32))


def measure_key_to_screen(x11, dmg, win, presses=20, start=0):
    """Key press to the first drawing in the window, for presses that changed its middle."""
    rect = x11.geometry(win)
    out = []
    for i in range(presses):
        k = LETTERS[(start + i) % 26]
        time.sleep(0.15)
        before = centre_patch(x11, rect)
        dmg.drain()
        t0 = time.monotonic()
        key(x11, k, True)
        t1 = dmg.wait(rect)
        time.sleep(0.02)
        key(x11, k, False)
        if t1 is not None and not np.array_equal(before, centre_patch(x11, rect)):
            out.append(t1 - t0)
    return out


class Capture:
    """The null sink's monitor, recorded with 2 ms fragments; each read is stamped with the time
    it arrived, so that a sample's arrival time is known within about a fragment. The server
    hands a block to the monitor when the sink consumes it: the arrival of the block holding a
    sound's first sample is when that sample reached the server, plus at most a fragment."""

    def __init__(self):
        self.proc = subprocess.Popen(
            ["parec", "-d", "pibo.monitor", f"--rate={harness.RATE}", "--channels=1",
             "--format=s16le", "--raw", "--latency-msec=2"],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, bufsize=0)
        self.chunks = []   # (arrival time, bytes)
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()
        # The monitor's first second is not to be trusted: wait for two seconds of sound.
        deadline = time.monotonic() + 10
        while self.length() < 2 * harness.RATE and time.monotonic() < deadline:
            time.sleep(0.05)

    def _read(self):
        fd = self.proc.stdout.fileno()
        while True:
            data = os.read(fd, 65536)
            if not data:
                return
            self.chunks.append((time.monotonic(), data))

    def length(self):
        return sum(len(d) for _, d in list(self.chunks)) // 2

    def stop(self):
        self.proc.terminate()
        self.proc.wait(timeout=5)
        self.reader.join(timeout=5)
        raw = b"".join(d for _, d in self.chunks)
        self.samples = np.frombuffer(raw[:len(raw) // 2 * 2], dtype="<i2") / 32768.0
        ends, n = [], 0
        for t, d in self.chunks:
            n += len(d) // 2
            ends.append((n, t))
        self.ends = ends

    def arrival(self, index):
        for end, t in self.ends:
            if end > index:
                return t
        return None

    def onset_after(self, t0, threshold=0.05):
        """Arrival time of the first loud sample that arrived after t0."""
        start = next((end for end, t in self.ends if t >= t0), None)
        if start is None:
            return None
        # The block that arrived first after t0 may hold samples from before it: look from its start.
        prev = max([end for end, t in self.ends if end < start] or [0])
        loud = np.flatnonzero(np.abs(self.samples[prev:]) > threshold)
        return self.arrival(prev + loud[0]) if len(loud) else None


def measure_key_to_sound(x11, presses=8, gap=0.6):
    """Key press to the first sample of its sound at the server, read from the sink's monitor."""
    cap = Capture()
    sent = []
    for i in range(presses):
        k = LETTERS[i]
        time.sleep(gap)
        t0 = time.monotonic()
        key(x11, k, True)
        sent.append(t0)
        time.sleep(0.05)
        key(x11, k, False)
    time.sleep(0.6)
    cap.stop()
    out = []
    for t0 in sent:
        t1 = cap.onset_after(t0)
        if t1 is not None and t1 - t0 < gap:
            out.append(t1 - t0)
    if os.environ.get("PIBO_BENCH_VERBOSE"):
        print("key to sound:", [round((cap.onset_after(t) or 0) - t, 4) for t in sent],
              file=sys.stderr)
    return out


def measure_startup_sound(x11, dmg, workdir):
    """Seconds from exec to the first sample of the start-up sound at the server, and to the
    prompt, for one more start of the program."""
    cap = Capture()
    prog = None
    try:
        prog, t_prompt, _ = measure_startup(x11, dmg, workdir)
        time.sleep(1.0)
    finally:
        if prog:
            prog.close()
        cap.stop()
    t_sound = cap.onset_after(prog.started)
    return (t_sound - prog.started if t_sound else None), t_prompt


def measure_storm(x11, dmg, win, keys=2000):
    """2,000 presses and releases as fast as XTest takes them: seconds from the last key to the
    last drawing, the seconds the keys took to send, and the drawings reported."""
    rect = x11.geometry(win)
    dmg.drain()
    codes = [x11.keycode(LETTERS[i % 26]) for i in range(keys)]
    t_first = time.monotonic()
    for i, code in enumerate(codes):
        xtest.fake_input(x11.d, X.KeyPress, code)
        xtest.fake_input(x11.d, X.KeyRelease, code)
        if i % 8 == 7:
            x11.d.flush()
    x11.d.flush()
    t_last = time.monotonic()
    settled, count = dmg.quiet_since(rect)
    return max(0.0, settled - t_last), t_last - t_first, count


def idle_cpu(prog, seconds=10.0):
    """CPU seconds the whole process uses in `seconds` with no input, from now. perf counts every
    thread to the nanosecond, including threads that end meanwhile; without perf the kernel's
    per-process figures are read, which count in ticks of 10 ms."""
    if shutil.which("perf"):
        out = subprocess.run(["perf", "stat", "-x,", "-e", "task-clock", "-p", str(prog.pid),
                              "--", "sleep", str(seconds)],
                             capture_output=True, text=True).stderr
        for line in out.splitlines():
            fields = line.split(",")
            if len(fields) > 2 and fields[2] == "task-clock":
                try:
                    return float(fields[0]) / 1000.0
                except ValueError:
                    break
    c0 = prog.cpu_seconds()
    time.sleep(seconds)
    return prog.cpu_seconds() - c0


def summary(values, scale=1000.0, digits=1):
    v = sorted(x * scale for x in values)
    if not v:
        return "no data"
    p90 = v[min(len(v) - 1, int(round(0.9 * (len(v) - 1))))]
    f = f"{{:.{digits}f}}"
    return (f"{f.format(statistics.median(v))} | {f.format(p90)} | "
            f"{f.format(v[0])}-{f.format(v[-1])} | {len(v)}")


MEASURES = ("startup", "screen", "sound", "memory", "idle", "storm", "startsound")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--json", help="also write every figure measured to this file")
    ap.add_argument("--measures", default=",".join(MEASURES),
                    help="comma-separated subset of " + ",".join(MEASURES)
                    + " (start-up is always measured)")
    args = ap.parse_args()
    wanted = set(args.measures.split(","))

    x11 = harness.X11()
    dmg = Damage(x11)
    res = {k: [] for k in ("startup", "screen", "sound", "rss_start", "rss_500", "idle_cpu",
                           "storm", "storm_send", "storm_draws", "startsound")}
    for run in range(args.runs):
        workdir = tempfile.mkdtemp(prefix="pibo-bench-")
        prog = None
        try:
            prog, t_start, win = measure_startup(x11, dmg, workdir)
            res["startup"].append(t_start)
            time.sleep(1.0)
            res["rss_start"].append(prog.rss_kib() / 1024)
            if "screen" in wanted:
                res["screen"] += measure_key_to_screen(x11, dmg, win, start=run)
            if "sound" in wanted:
                res["sound"] += measure_key_to_sound(x11)
            if "memory" in wanted or "idle" in wanted:
                for i in range(500):
                    x11.tap(LETTERS[i % 26], hold=0.002, gap=0.004)
                time.sleep(0.5)
                res["rss_500"].append(prog.rss_kib() / 1024)
            if "idle" in wanted:
                res["idle_cpu"].append(idle_cpu(prog))
            if "storm" in wanted:
                settle, send, draws = measure_storm(x11, dmg, win)
                res["storm"].append(settle)
                res["storm_send"].append(send)
                res["storm_draws"].append(draws)
            if not prog.alive():
                raise RuntimeError("the program ended during the measures")
        finally:
            if prog:
                prog.close()
            shutil.rmtree(workdir, ignore_errors=True)
        if "startsound" in wanted:
            workdir = tempfile.mkdtemp(prefix="pibo-bench-")
            try:
                t_sound, _ = measure_startup_sound(x11, dmg, workdir)
                if t_sound is not None:
                    res["startsound"].append(t_sound)
            finally:
                shutil.rmtree(workdir, ignore_errors=True)
        print(f"run {run + 1}/{args.runs} done", file=sys.stderr)

    g = x11.root.get_geometry()
    print(f"screen {g.width}x{g.height}, {args.runs} runs, load average at the end "
          f"{os.getloadavg()[0]:.2f}")
    print("| measure | median | p90 | range | n |\n|---|---|---|---|---|")
    rows = [
        ("exec to first painted prompt (ms)", "startup", 1000.0, 1),
        ("key to screen change (ms)", "screen", 1000.0, 1),
        ("key to first sound sample at the server (ms)", "sound", 1000.0, 1),
        ("exec to the start-up sound's first sample at the server (ms)", "startsound", 1000.0, 1),
        ("RSS after start (MB)", "rss_start", 1, 1),
        ("RSS after 500 more keys (MB)", "rss_500", 1, 1),
        ("CPU over 10 s with no input (s)", "idle_cpu", 1, 3),
        ("storm of 2000 keys: last key to settled screen (ms)", "storm", 1000.0, 1),
        ("storm: time to send the 2000 keys (ms)", "storm_send", 1000.0, 1),
        ("storm: drawings reported in the window", "storm_draws", 1, 0),
    ]
    for label, name, scale, digits in rows:
        if res[name]:
            print(f"| {label} | {summary(res[name], scale, digits)} |")
    if args.json:
        with open(args.json, "w") as f:
            json.dump(res, f)


if __name__ == "__main__":
    main()
