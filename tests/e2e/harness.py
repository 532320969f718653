"""End-to-end harness: runs the real pibo binary under the display and the PulseAudio server that
scripts/test started (DISPLAY, PULSE_SERVER), sends keys and clicks through XTest, records the null
sink's monitor and finds the test tones in it, and takes screenshots.

Every sound file a test installs is a pure tone of its own frequency, so that a recording tells
which file played; the desktop's default and exclamation sounds are tones of their own too (the
program finds them through XDG_DATA_DIRS).
"""

import os
import shutil
import signal
import subprocess
import tempfile
import time
import unittest
import wave

import numpy as np
from Xlib import X, XK, display as xdisplay
from Xlib.ext import xtest

RATE = 48000
BUILD = os.environ.get("PIBO_BUILD", os.path.join(os.path.dirname(__file__), "..", "..", "build"))

# Every sound name the program asks for, with the frequency of its test tone.
SOUND_NAMES = (["takeoff.wav"] + [f"{c}.wav" for c in "ABCDEFGHIJKLMNOPQRSTUVWXYZ"]
               + [f"{d}.wav" for d in "0123456789"] + [f"f{n}.wav" for n in range(1, 13)]
               + [f"{n}.wav" for n in ("back", "tab", "enter", "shift", "ctrl", "caps", "space")])
TONES = {name: 400.0 + 60.0 * i for i, name in enumerate(SOUND_NAMES)}
DEFAULT_TONE = 4200.0       # the theme's "bell": a missing or broken sound
EXCLAMATION_TONE = 4500.0   # the theme's "dialog-warning": MessageBeep
ALL_TONES = dict(TONES, default=DEFAULT_TONE, exclamation=EXCLAMATION_TONE)


def write_tone(path, freq, seconds=0.4, rate=RATE):
    t = np.arange(int(seconds * rate)) / rate
    ramp = np.minimum(1.0, np.minimum(t, seconds - t) / 0.005)
    samples = (0.5 * 32767 * np.sin(2 * np.pi * freq * t) * ramp).astype("<i2")
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(samples.tobytes())


def tone_level(samples, freq, rate=RATE):
    """Amplitude of one frequency in a block of samples (Goertzel), relative to full scale."""
    n = len(samples)
    if n == 0:
        return 0.0
    k = np.exp(-2j * np.pi * freq * np.arange(n) / rate)
    return float(2 * abs(np.dot(samples, k)) / n)


class Recording:
    """The null sink's monitor, mono 16-bit at 48 kHz, as float samples in [-1, 1].

    The monitor's first second reads wrong and its start is late by a varying amount, so times are
    mapped from the end: the last sample recorded was heard when the recording stopped.
    """

    WINDOW = 0.04  # seconds per analysis window
    HOP = 0.01

    def __init__(self):
        self._file = tempfile.NamedTemporaryFile(prefix="pibo-rec-", suffix=".raw", delete=False)
        self._proc = subprocess.Popen(
            ["parec", "-d", "pibo.monitor", f"--rate={RATE}", "--channels=1", "--format=s16le",
             "--raw", "--latency-msec=10"], stdout=self._file)
        time.sleep(2.0)
        self.samples = None
        self.stopped = None
        self._timeline = None

    def stop(self):
        if self._proc.poll() is None:
            self._proc.send_signal(signal.SIGINT)
            self._proc.wait(timeout=5)
        self.stopped = time.monotonic()
        self._file.close()
        self.samples = np.fromfile(self._file.name, dtype="<i2").astype(np.float64) / 32768.0
        os.unlink(self._file.name)
        return self.samples

    def at(self, t_monotonic):
        """The recording's time (seconds from its first sample) of a moment of the test."""
        return len(self.samples) / RATE - (self.stopped - t_monotonic)

    def timeline(self, threshold=0.05):
        """(times, names): for each analysis window, the test tone that dominates it, or None."""
        if self._timeline is None:
            names = list(ALL_TONES)
            freqs = np.array([ALL_TONES[n] for n in names])
            n = int(self.WINDOW * RATE)
            hop = int(self.HOP * RATE)
            win = np.hanning(n)
            basis = np.exp(-2j * np.pi * np.outer(freqs, np.arange(n)) / RATE) * win
            starts = np.arange(0, max(0, len(self.samples) - n), hop)
            times, labels = [], []
            for a in starts:
                lv = 4 * np.abs(basis @ self.samples[a:a + n]) / n
                i = int(np.argmax(lv))
                times.append(a / RATE)
                labels.append(names[i] if lv[i] > threshold else None)
            self._timeline = (np.array(times), labels)
        return self._timeline

    def heard(self, name, start=0.0, end=None):
        """Seconds of the recording (between start and end) dominated by the named tone."""
        times, labels = self.timeline()
        end = np.inf if end is None else end
        return sum(self.HOP for t, l in zip(times, labels) if l == name and start <= t < end)

    def tones_heard(self, start=0.0, end=None, min_seconds=0.05):
        """The names of the tones heard (for at least min_seconds), in order of first onset."""
        found = [(self.first_onset(n, start), n) for n in ALL_TONES
                 if self.heard(n, start, end) >= min_seconds]
        return [n for _, n in sorted(found)]

    def first_onset(self, name, start=0.0):
        times, labels = self.timeline()
        for t, l in zip(times, labels):
            if t >= start and l == name:
                return float(t)
        return None


class X11:
    """A connection to the test display: windows, XTest input and screenshots."""

    def __init__(self):
        self.d = xdisplay.Display(os.environ["DISPLAY"])
        self.root = self.d.screen().root
        if not self.d.has_extension("XTEST"):
            raise RuntimeError("the display has no XTEST extension")

    def close(self):
        self.d.close()

    def atom(self, name):
        return self.d.intern_atom(name)

    def client_windows(self):
        prop = self.root.get_full_property(self.atom("_NET_CLIENT_LIST"), X.AnyPropertyType)
        ids = prop.value if prop else []
        return [self.d.create_resource_object("window", w) for w in ids]

    def window_title(self, win):
        try:
            prop = win.get_full_property(self.atom("_NET_WM_NAME"), self.atom("UTF8_STRING"))
            if prop:
                return prop.value.decode("utf-8", "replace")
            name = win.get_wm_name()
            return name.decode() if isinstance(name, bytes) else (name or "")
        except Exception:
            return ""

    def window_pid(self, win):
        try:
            prop = win.get_full_property(self.atom("_NET_WM_PID"), X.AnyPropertyType)
            return int(prop.value[0]) if prop else None
        except Exception:
            return None

    def windows_of(self, pid):
        return [w for w in self.client_windows() if self.window_pid(w) == pid]

    def is_maximised(self, win):
        prop = win.get_full_property(self.atom("_NET_WM_STATE"), X.AnyPropertyType)
        states = set(prop.value) if prop else set()
        return {self.atom("_NET_WM_STATE_MAXIMIZED_VERT"),
                self.atom("_NET_WM_STATE_MAXIMIZED_HORZ")} <= states

    def focused_window(self):
        return self.d.get_input_focus().focus

    def geometry(self, win):
        """(x, y, width, height) of the window in root coordinates."""
        g = win.get_geometry()
        t = win.translate_coords(self.root, 0, 0)
        return (-t.x, -t.y, g.width, g.height)

    def screenshot(self, rect=None):
        """RGB pixels (height x width x 3) of a root-window rectangle, the whole screen by default."""
        if rect is None:
            g = self.root.get_geometry()
            rect = (0, 0, g.width, g.height)
        x, y, w, h = rect
        img = self.root.get_image(x, y, w, h, X.ZPixmap, 0xFFFFFFFF)
        a = np.frombuffer(img.data, dtype=np.uint8).reshape(h, w, 4)
        return a[:, :, 2::-1].copy()

    def keycode(self, keysym_name):
        sym = XK.string_to_keysym(keysym_name)
        code = self.d.keysym_to_keycode(sym)
        if not code:
            raise ValueError(f"no keycode for {keysym_name}")
        return code

    def key(self, name, down=True):
        code = name if isinstance(name, int) else self.keycode(name)
        xtest.fake_input(self.d, X.KeyPress if down else X.KeyRelease, code)
        self.d.sync()

    def tap(self, *names, hold=0.03, gap=0.05):
        """Press the keys in order, hold, release in reverse order."""
        for n in names:
            self.key(n, True)
        time.sleep(hold)
        for n in reversed(names):
            self.key(n, False)
        time.sleep(gap)

    def click(self, button=1, x=None, y=None, hold=0.05):
        if x is not None:
            xtest.fake_input(self.d, X.MotionNotify, x=x, y=y)
        xtest.fake_input(self.d, X.ButtonPress, button)
        self.d.sync()
        time.sleep(hold)
        xtest.fake_input(self.d, X.ButtonRelease, button)
        self.d.sync()


def make_run_folder(root, sounds=SOUND_NAMES, mypics=None):
    """A run folder with the given test tones in sounds/ and BMP files (name -> bytes) in mypics/."""
    os.makedirs(os.path.join(root, "sounds"), exist_ok=True)
    os.makedirs(os.path.join(root, "mypics"), exist_ok=True)
    for name in sounds:
        write_tone(os.path.join(root, "sounds", name), TONES[name])
    for name, data in (mypics or {}).items():
        with open(os.path.join(root, "mypics", name), "wb") as f:
            f.write(data)
    return root


def make_sound_theme(root):
    """A freedesktop sound theme whose bell and warning are tones the tests know."""
    folder = os.path.join(root, "sounds", "freedesktop", "stereo")
    os.makedirs(folder, exist_ok=True)
    write_tone(os.path.join(folder, "bell.wav"), DEFAULT_TONE)
    write_tone(os.path.join(folder, "dialog-warning.wav"), EXCLAMATION_TONE)
    return root


class Program:
    """The real program, started in a run folder with a private home and config folder."""

    def __init__(self, workdir, args=(), run_folder=None, env=None):
        self.workdir = workdir
        self.run_folder = run_folder or make_run_folder(os.path.join(workdir, "run"))
        self.home = os.path.join(workdir, "home")
        self.config = os.path.join(self.home, ".config")
        self.data = make_sound_theme(os.path.join(workdir, "share"))
        os.makedirs(self.config, exist_ok=True)
        runtime = os.path.join(workdir, "runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        e = dict(os.environ)
        e["XDG_RUNTIME_DIR"] = runtime
        e.update(HOME=self.home, XDG_CONFIG_HOME=self.config, XDG_DATA_DIRS=self.data,
                 XDG_DATA_HOME=os.path.join(self.home, ".local", "share"))
        e.pop("SESSION_MANAGER", None)
        e.update(env or {})
        self.binary = os.path.join(BUILD, "pibo")
        self.started = time.monotonic()
        self.proc = subprocess.Popen([self.binary, *args], cwd=self.run_folder, env=e,
                                     stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        self.output = None

    @property
    def pid(self):
        return self.proc.pid

    def alive(self):
        return self.proc.poll() is None

    def wait_window(self, x11, title=None, timeout=10.0):
        """The program's top-level window, once mapped (and titled, if a title is given)."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            for w in x11.windows_of(self.pid):
                if title is None or x11.window_title(w) == title:
                    return w
            if not self.alive():
                raise AssertionError(f"program ended early: {self.finish()}")
            time.sleep(0.02)
        raise AssertionError(f"no window titled {title!r} within {timeout} s")

    def rss_kib(self):
        with open(f"/proc/{self.pid}/status") as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
        return 0

    def cpu_seconds(self):
        with open(f"/proc/{self.pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")

    def finish(self, timeout=10.0):
        """Waits for the program to end; returns (exit status, stdout, stderr)."""
        try:
            out, err = self.proc.communicate(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            out, err = self.proc.communicate()
            raise AssertionError(f"program did not end within {timeout} s: {err}")
        self.output = (self.proc.returncode, out, err)
        return self.output

    def close(self):
        if self.alive():
            self.proc.terminate()
        try:
            self.proc.communicate(timeout=5)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.communicate()


class ProgramTestCase(unittest.TestCase):
    """Gives each test a temporary work folder, an X connection, and stops what it started."""

    def setUp(self):
        if "DISPLAY" not in os.environ or "PULSE_SERVER" not in os.environ:
            self.skipTest("needs the test display and audio server that scripts/test starts")
        self.workdir = tempfile.mkdtemp(prefix="pibo-e2e-")
        self.x11 = X11()
        self.programs = []

    def tearDown(self):
        for p in self.programs:
            p.close()
        self.x11.close()
        shutil.rmtree(self.workdir, ignore_errors=True)

    def start(self, args=(), run_folder=None, env=None, title="Untitled - Pibo"):
        p = Program(self.workdir, args, run_folder, env)
        self.programs.append(p)
        if title is not None:
            p.window = p.wait_window(self.x11, title)
        return p
