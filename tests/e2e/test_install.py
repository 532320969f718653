"""The installed program: the file set of `cmake --install`, the desktop entry and the metainfo as
the desktop tools read them, the Debian package made by CPack, and the installed program started
the way the application menu starts it, playing the sounds that come with it."""

import configparser
import glob
import gzip
import os
import re
import shutil
import struct
import subprocess
import tempfile
import time
import unittest
import wave

import numpy as np

from tests.e2e import harness

BUILD = os.path.abspath(harness.BUILD)
ICON_SIZES = (16, 32, 48, 64, 128, 256)
PLACEHOLDER_LINE = b"the program window is not built yet"


def run(*args, **kwargs):
    return subprocess.run(list(args), capture_output=True, text=True, timeout=120, **kwargs)


def install_into(prefix):
    result = run("cmake", "--install", BUILD, "--prefix", prefix)
    if result.returncode != 0:
        raise AssertionError(f"cmake --install failed:\n{result.stdout}\n{result.stderr}")


def read_desktop_entry(path):
    parser = configparser.ConfigParser(interpolation=None, delimiters=("=",))
    parser.optionxform = str  # keys are case-sensitive
    parser.read(path, encoding="utf-8")
    return parser["Desktop Entry"]


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", head[16:24])


def is_placeholder(binary):
    with open(binary, "rb") as f:
        return PLACEHOLDER_LINE in f.read()


class InstallTreeTest(unittest.TestCase):
    """`cmake --install --prefix` into a temporary folder, once for the class."""

    @classmethod
    def setUpClass(cls):
        cls.prefix = tempfile.mkdtemp(prefix="pibo-prefix-")
        install_into(cls.prefix)
        cls.files = {os.path.relpath(os.path.join(d, f), cls.prefix)
                     for d, _, fs in os.walk(cls.prefix) for f in fs}

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.prefix, ignore_errors=True)

    def path(self, rel):
        return os.path.join(self.prefix, rel)

    def test_file_set(self):
        metainfo = [f for f in self.files
                    if re.fullmatch(r"share/metainfo/[\w.]+\.metainfo\.xml", f)]
        mypics = [f for f in self.files if f.startswith("share/pibo/mypics/")]
        expected = ({"bin/pibo", "share/applications/pibo.desktop", "share/man/man6/pibo.6.gz"}
                    | {f"share/pibo/sounds/{n}" for n in harness.SOUND_NAMES}
                    | {f"share/icons/hicolor/{s}x{s}/apps/pibo.png" for s in ICON_SIZES}
                    | set(metainfo) | set(mypics))
        self.assertEqual(len(metainfo), 1, metainfo)
        self.assertTrue(mypics, "no example own pictures")
        self.assertEqual(self.files, expected)
        self.assertTrue(os.access(self.path("bin/pibo"), os.X_OK))

    def test_media_files_are_what_the_program_reads(self):
        self.assertTrue(os.path.isdir(self.path("share/pibo/sounds")), "no sounds installed")
        for name in harness.SOUND_NAMES:
            with self.subTest(sound=name), wave.open(self.path(f"share/pibo/sounds/{name}")) as w:
                self.assertGreater(w.getnframes(), 0)
        allowed = {f"{c}.bmp" for c in "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"}
        for pic in glob.glob(self.path("share/pibo/mypics/*")):
            with self.subTest(picture=pic):
                self.assertIn(os.path.basename(pic), allowed)
                with open(pic, "rb") as f:
                    head = f.read(18)
                self.assertEqual(head[:2], b"BM")
                self.assertEqual(struct.unpack("<I", head[2:6])[0], os.path.getsize(pic))

    def test_icons_have_their_size(self):
        for s in ICON_SIZES:
            with self.subTest(size=s):
                self.assertEqual(png_size(self.path(f"share/icons/hicolor/{s}x{s}/apps/pibo.png")),
                                 (s, s))

    def test_desktop_entry(self):
        path = self.path("share/applications/pibo.desktop")
        result = run("desktop-file-validate", path)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertNotIn("error", (result.stdout + result.stderr).lower())
        entry = read_desktop_entry(path)
        self.assertEqual(entry["Exec"], "pibo")
        self.assertEqual(entry["Icon"], "pibo")
        self.assertEqual(entry["Terminal"], "false")
        self.assertEqual(entry["Categories"], "Education;Game;KidsGame;")
        # The menu starts the program in the installed media folder: that is how it finds them.
        self.assertEqual(entry["Path"], self.path("share/pibo"))

    def test_metainfo(self):
        (path,) = glob.glob(self.path("share/metainfo/*.metainfo.xml"))
        result = run("appstreamcli", "validate", "--no-net", path)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        with open(path, encoding="utf-8") as f:
            text = f.read()
        component_id = os.path.basename(path)[:-len(".metainfo.xml")]
        self.assertIn(f"<id>{component_id}</id>", text)
        self.assertIn('<launchable type="desktop-id">pibo.desktop</launchable>', text)
        self.assertEqual(re.findall(r"@\w+@", text), [])

    def test_manual_page(self):
        with gzip.open(self.path("share/man/man6/pibo.6.gz"), "rt", encoding="utf-8") as f:
            text = f.read()
        self.assertTrue(text.startswith(".TH PIBO 6 "), text[:40])
        self.assertEqual(re.findall(r"@\w+@", text), [])
        self.assertIn(self.path("share/pibo"), text)
        if shutil.which("man"):
            result = run("man", "--warnings", "-E", "UTF-8", "-l",
                         self.path("share/man/man6/pibo.6.gz"), env=dict(os.environ, MANWIDTH="80"))
            self.assertEqual(result.returncode, 0, result.stderr)
            self.assertEqual(result.stderr.strip(), "")
            self.assertIn("mypics/", result.stdout)

    def test_install_honours_destdir(self):
        root = tempfile.mkdtemp(prefix="pibo-destdir-")
        try:
            result = run("cmake", "--install", BUILD, "--prefix", "/opt/pibo",
                         env=dict(os.environ, DESTDIR=root))
            self.assertEqual(result.returncode, 0, result.stderr)
            installed = os.path.join(root, "opt/pibo/share")
            entry = read_desktop_entry(os.path.join(installed, "applications/pibo.desktop"))
            self.assertEqual(entry["Path"], "/opt/pibo/share/pibo")
            self.assertTrue(os.path.isfile(os.path.join(installed, "pibo/sounds/A.wav")))
        finally:
            shutil.rmtree(root, ignore_errors=True)


class DebianPackageTest(unittest.TestCase):
    """`cpack -G DEB`, once for the class, into a temporary folder."""

    @classmethod
    def setUpClass(cls):
        if not shutil.which("dpkg-deb"):
            raise unittest.SkipTest("needs dpkg-deb")
        cls.out = tempfile.mkdtemp(prefix="pibo-deb-")
        result = run("cpack", "-G", "DEB", "-B", cls.out, "--config",
                     os.path.join(BUILD, "CPackConfig.cmake"), cwd=BUILD)
        if result.returncode != 0:
            raise AssertionError(f"cpack failed:\n{result.stdout}\n{result.stderr}")
        (cls.deb,) = glob.glob(os.path.join(cls.out, "pibo_*.deb"))
        contents = run("dpkg-deb", "--contents", cls.deb).stdout.splitlines()
        # "-rw-r--r-- root/root  315 2024-01-01 00:00 ./usr/share/applications/pibo.desktop"
        cls.entries = [line.split(None, 5) for line in contents]
        cls.files = {e[5][2:] for e in cls.entries if not e[0].startswith("d")}

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.out, ignore_errors=True)

    def field(self, name):
        return run("dpkg-deb", "--field", self.deb, name).stdout.strip()

    def extract(self, member):
        tar = subprocess.run(["dpkg-deb", "--fsys-tarfile", self.deb], capture_output=True,
                             check=True).stdout
        return subprocess.run(["tar", "-xO", f"./{member}"], input=tar, capture_output=True,
                              check=True).stdout

    def test_contents(self):
        self.assertIn("usr/bin/pibo", self.files)
        self.assertIn("usr/share/applications/pibo.desktop", self.files)
        self.assertIn("usr/share/man/man6/pibo.6.gz", self.files)
        for name in harness.SOUND_NAMES:
            self.assertIn(f"usr/share/pibo/sounds/{name}", self.files)
        for s in ICON_SIZES:
            self.assertIn(f"usr/share/icons/hicolor/{s}x{s}/apps/pibo.png", self.files)
        self.assertTrue(any(f.startswith("usr/share/pibo/mypics/") for f in self.files))
        self.assertTrue(any(f.startswith("usr/share/metainfo/") for f in self.files))
        self.assertEqual({f for f in self.files if not f.startswith(("usr/bin/", "usr/share/"))},
                         set())
        self.assertEqual({e[1] for e in self.entries}, {"root/root"})
        self.assertTrue(all(e[0] == "-rw-r--r--" for e in self.entries
                            if e[5].startswith("./usr/share/") and not e[0].startswith("d")))

    def test_desktop_entry_points_at_the_packaged_media(self):
        entry = self.extract("usr/share/applications/pibo.desktop").decode("utf-8")
        self.assertIn("\nPath=/usr/share/pibo\n", entry)
        manual = gzip.decompress(self.extract("usr/share/man/man6/pibo.6.gz")).decode("utf-8")
        self.assertIn("/usr/share/pibo", manual)

    def test_control_fields(self):
        self.assertEqual(self.field("Package"), "pibo")
        self.assertIn(self.field("Section"), ("games", "education"))
        self.assertTrue(self.field("Maintainer"))
        self.assertTrue(self.field("Description"))
        depends = [d.strip() for d in self.field("Depends").split(",")]
        names = [{re.match(r"[\w.+-]+", alt.strip()).group(0) for alt in d.split("|")}
                 for d in depends]
        have = lambda pkg: any(pkg in alts for alts in names)
        self.assertTrue(have("qt6-qpa-plugins"), depends)
        self.assertTrue(have("fonts-dejavu-core"), depends)
        self.assertTrue(have("libqt6core6"), depends)
        binary = os.path.join(BUILD, "pibo")
        if not is_placeholder(binary):
            for lib in ("libqt6widgets6", "libqt6gui6", "libsndfile1", "libsdl2-2.0-0"):
                self.assertTrue(have(lib), f"{lib} missing from {depends}")

    def test_installs_and_removes_cleanly_in_a_throwaway_root(self):
        root = tempfile.mkdtemp(prefix="pibo-root-")
        try:
            admin = os.path.join(root, "var", "lib", "dpkg")
            for sub in ("updates", "info"):
                os.makedirs(os.path.join(admin, sub))
            open(os.path.join(admin, "status"), "w").close()
            dpkg = ["dpkg", f"--root={root}", "--log=/dev/null", "--force-not-root"]
            # The throw-away root has no libraries; dependencies are checked against this system
            # below with apt.
            result = run(*dpkg, "--force-depends", "-i", self.deb)
            self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
            self.assertTrue(os.path.isfile(os.path.join(root, "usr/share/pibo/sounds/takeoff.wav")))
            # The installed tree as a software centre reads it: metainfo, desktop entry, icons.
            result = run("appstreamcli", "validate-tree", "--no-net", root)
            self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
            result = run(*dpkg, "--purge", "pibo")
            self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
            left = [os.path.relpath(os.path.join(d, n), root) for d, ds, fs in os.walk(root)
                    for n in ds + fs]
            self.assertEqual([p for p in left if not p.startswith("var")], [])
        finally:
            shutil.rmtree(root, ignore_errors=True)

    def test_apt_accepts_the_dependencies(self):
        if os.geteuid() != 0 or not shutil.which("apt-get"):
            self.skipTest("apt-get's simulation of a local package needs root")
        result = run("apt-get", "install", "--simulate", "--no-install-recommends", self.deb)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertRegex(result.stdout, r"(?m)^Inst pibo ")


def normalised_match(recording, template):
    """Best normalised cross-correlation of a template anywhere in a recording (1.0: same)."""
    n = len(template)
    if len(recording) < n:
        return 0.0
    size = 1 << int(np.ceil(np.log2(len(recording) + n)))
    corr = np.fft.irfft(np.fft.rfft(recording, size) * np.conj(np.fft.rfft(template, size)), size)
    corr = corr[:len(recording) - n + 1]
    energy = np.concatenate(([0.0], np.cumsum(recording * recording)))
    window = np.sqrt(np.maximum(energy[n:] - energy[:-n], 1e-12))
    return float(np.max(np.abs(corr) / (window * np.linalg.norm(template))))


def share_heard(recording, template, chunk_seconds=0.1, threshold=0.9):
    """The share of a sound's audible 100 ms pieces that the recording holds almost exactly.

    Matching piece by piece keeps a sound recognisable when a busy machine tore a gap into its
    playback (an underrun), which would spoil a match of the whole file at one offset."""
    n = int(chunk_seconds * harness.RATE)
    pieces = [template[i:i + n] for i in range(0, len(template) - n + 1, n)]
    loudest = max(float(np.sqrt(np.mean(p * p))) for p in pieces)
    audible = [p for p in pieces if np.sqrt(np.mean(p * p)) > 0.1 * loudest]
    return sum(normalised_match(recording, p) > threshold for p in audible) / len(audible)


def read_wav(path):
    with wave.open(path) as w:
        assert w.getsampwidth() == 2 and w.getframerate() == harness.RATE, path
        data = np.frombuffer(w.readframes(w.getnframes()), dtype="<i2").astype(np.float64)
        return data.reshape(-1, w.getnchannels()).mean(axis=1) / 32768.0


class InstalledProgramTest(unittest.TestCase):
    """The installed program, started from the desktop entry's working folder, plays the sounds
    installed with it: the start-up sound, then the A key's."""

    def setUp(self):
        if "DISPLAY" not in os.environ or "PULSE_SERVER" not in os.environ:
            self.skipTest("needs the test display and audio server that scripts/test starts")
        if is_placeholder(os.path.join(BUILD, "pibo")):
            self.skipTest("app/main.cpp is still the placeholder that opens no window")
        self.workdir = tempfile.mkdtemp(prefix="pibo-installed-")
        self.prefix = os.path.join(self.workdir, "prefix")
        install_into(self.prefix)
        self.x11 = harness.X11()
        self.proc = None

    def tearDown(self):
        if self.proc:
            if self.proc.poll() is None:
                self.proc.terminate()
            try:
                self.proc.communicate(timeout=5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.communicate()
        self.x11.close()
        shutil.rmtree(self.workdir, ignore_errors=True)

    def launch_from_desktop_entry(self):
        entry = read_desktop_entry(os.path.join(self.prefix, "share/applications/pibo.desktop"))
        home = os.path.join(self.workdir, "home")
        os.makedirs(os.path.join(home, ".config"))
        env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                   XDG_DATA_DIRS=harness.make_sound_theme(os.path.join(self.workdir, "theme")),
                   PATH=os.path.join(self.prefix, "bin") + os.pathsep + os.environ["PATH"])
        env.pop("SESSION_MANAGER", None)
        self.proc = subprocess.Popen(entry["Exec"].split(), cwd=entry["Path"], env=env,
                                     stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            if any(self.x11.window_title(w) == "Untitled - Pibo"
                   for w in self.x11.windows_of(self.proc.pid)):
                return entry
            if self.proc.poll() is not None:
                self.fail(f"the program ended early: {self.proc.communicate()}")
            time.sleep(0.02)
        self.fail("no window titled 'Untitled - Pibo' within 10 s")

    def test_plays_the_installed_sounds(self):
        rec = harness.Recording()
        try:
            entry = self.launch_from_desktop_entry()
            time.sleep(1.2)  # the start-up sound, at most a second long
            self.x11.tap("a")
            time.sleep(1.2)
        finally:
            samples = rec.stop()
        sounds = os.path.join(entry["Path"], "sounds")
        # A sound that played matches its file almost exactly, piece by piece; another shipped
        # sound, which did not play, matches in hardly any piece.
        for name in ("takeoff.wav", "A.wav"):
            with self.subTest(sound=name):
                self.assertGreater(share_heard(samples, read_wav(os.path.join(sounds, name))), 0.5)
        self.assertLess(share_heard(samples, read_wav(os.path.join(sounds, "B.wav"))), 0.2)
        self.assertLess(rec.heard("default"), 0.05, "the default sound played")


if __name__ == "__main__":
    unittest.main()
