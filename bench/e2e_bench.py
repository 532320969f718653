"""The whole program measured from outside, as a person would: exec to first painted prompt, key
to screen change, key to the first sample of its sound at the audio server, memory, idle CPU and a
key storm. Run it through bench/run_e2e.sh, which starts the servers it needs."""

import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time

import numpy as np
from Xlib.ext import damage

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e"))
import harness  # noqa: E402

LETTERS = "abcdefghijklmnopqrstuvwxyz"


class Damage:
    """Damage reports for everything drawn on the screen."""

    def __init__(self, x11):
        self.x11 = x11
        self.d = x11.d
        self.id = x11.root.damage_create(damage.DamageReportRawRectangles)
        self.d.sync()

    def drain(self):
        while self.d.pending_events():
            self.d.next_event()

    def wait(self, rect, timeout=2.0):
        """Time of the first drawing that touches rect (x, y, w, h), or None."""
        x, y, w, h = rect
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            while self.d.pending_events():
                e = self.d.next_event()
                if e.__class__.__name__ != "DamageNotify":
                    continue
                a = e.area
                if a.x < x + w and x < a.x + a.width and a.y < y + h and y < a.y + a.height:
                    return time.monotonic()
            time.sleep(0.0002)
        return None

    def quiet_since(self, rect, quiet=0.3, timeout=10.0):
        """Time of the last drawing touching rect, once nothing was drawn there for `quiet` s."""
        x, y, w, h = rect
        last = time.monotonic()
        deadline = last + timeout
        while time.monotonic() < deadline and time.monotonic() - last < quiet:
            while self.d.pending_events():
                e = self.d.next_event()
                if e.__class__.__name__ == "DamageNotify":
                    a = e.area
                    if a.x < x + w and x < a.x + a.width and a.y < y + h and y < a.y + a.height:
                        last = time.monotonic()
            time.sleep(0.001)
        return last


def client_rect(x11, win):
    return x11.geometry(win)


def measure_startup(x11, workdir):
    """Seconds from exec to the prompt painted in the program's window."""
    dmg = Damage(x11)
    dmg.drain()
    prog = harness.Program(workdir)
    t0 = prog.started
    deadline = t0 + 10
    while time.monotonic() < deadline:
        wins = x11.windows_of(prog.pid)
        if wins:
            rect = x11.geometry(wins[0])
            x, y, w, h = rect
            if w > 100 and h > 100:
                band = (x + w // 4, y + h // 2 - 30, w // 2, 60)
                shot = x11.screenshot(band)
                # The prompt is dark text on a light background in the middle of the window.
                if np.count_nonzero(shot.sum(axis=2) < 200) > 50:
                    return prog, time.monotonic() - t0, wins[0]
        dmg.wait((0, 0, 100000, 100000), timeout=0.01)
    raise RuntimeError("no prompt painted within 10 s")


def measure_key_to_screen(x11, prog, win, presses=10):
    rect = client_rect(x11, win)
    dmg = Damage(x11)
    out = []
    for i in range(presses):
        key = LETTERS[i % 26]
        time.sleep(0.15)
        dmg.drain()
        t0 = time.monotonic()
        x11.key(key, True)
        t1 = dmg.wait(rect)
        x11.key(key, False)
        if t1 is not None:
            out.append(t1 - t0)
    return out


def measure_key_to_sound(x11, presses=8):
    rec = harness.Recording()
    sent = []
    for i in range(presses):
        key = LETTERS[i]
        time.sleep(0.6)
        t0 = time.monotonic()
        x11.key(key, True)
        sent.append(t0)
        time.sleep(0.05)
        x11.key(key, False)
    time.sleep(0.6)
    rec.stop()
    s = rec.samples
    out = []
    for t0 in sent:
        a = max(0, int((rec.at(t0) - 0.005) * harness.RATE))
        loud = np.flatnonzero(np.abs(s[a:a + harness.RATE // 2]) > 0.05)
        if len(loud):
            out.append((a + loud[0]) / harness.RATE - rec.at(t0))
    return out


def measure_storm(x11, win, keys=2000):
    rect = client_rect(x11, win)
    dmg = Damage(x11)
    for i in range(keys):
        k = LETTERS[i % 26]
        x11.key(k, True)
        x11.key(k, False)
    t_last = time.monotonic()
    return dmg.quiet_since(rect) - t_last


def summary(values, scale=1000.0):
    v = sorted(x * scale for x in values)
    if not v:
        return "no data"
    p90 = v[min(len(v) - 1, int(round(0.9 * (len(v) - 1))))]
    return f"median {statistics.median(v):.2f}, p90 {p90:.2f}, range {v[0]:.2f}-{v[-1]:.2f}"


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--screen-only", action="store_true", help="only key to screen")
    args = ap.parse_args()

    x11 = harness.X11()
    res = {k: [] for k in ("startup", "screen", "sound", "rss_start", "rss_500", "idle_cpu",
                           "storm")}
    for run in range(args.runs):
        workdir = tempfile.mkdtemp(prefix="pibo-bench-")
        prog, t_start, win = measure_startup(x11, workdir)
        try:
            time.sleep(0.5)
            res["startup"].append(t_start)
            res["rss_start"].append(prog.rss_kib() / 1024)
            res["screen"] += measure_key_to_screen(x11, prog, win)
            if args.screen_only:
                continue
            res["sound"] += measure_key_to_sound(x11)
            for i in range(500):
                x11.tap(LETTERS[i % 26], hold=0.002, gap=0.004)
            time.sleep(0.5)
            res["rss_500"].append(prog.rss_kib() / 1024)
            c0 = prog.cpu_seconds()
            time.sleep(10)
            res["idle_cpu"].append(prog.cpu_seconds() - c0)
            res["storm"].append(measure_storm(x11, win))
            if not prog.alive():
                raise RuntimeError("the program died during the storm")
        finally:
            prog.close()
            subprocess.run(["rm", "-rf", workdir])
        print(f"run {run + 1}/{args.runs} done", file=sys.stderr)

    g = x11.root.get_geometry()
    print(f"screen {g.width}x{g.height}, {args.runs} runs")
    print(f"| measure | figures |\n|---|---|")
    print(f"| exec to first painted prompt (ms) | {summary(res['startup'])} |")
    print(f"| key to screen change (ms) | {summary(res['screen'])} |")
    if not args.screen_only:
        print(f"| key to first sound sample (ms) | {summary(res['sound'])} |")
        print(f"| RSS after start (MB) | {summary(res['rss_start'], 1)} |")
        print(f"| RSS after 500 keys (MB) | {summary(res['rss_500'], 1)} |")
        print(f"| CPU over 10 s idle (s) | {summary(res['idle_cpu'], 1)} |")
        print(f"| storm of 2000 keys: settled after last key (ms) | {summary(res['storm'])} |")


if __name__ == "__main__":
    main()
